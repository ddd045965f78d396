#include "app/SiteCheckWindow.h"

#include "browser/Texts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zk {

namespace t = browser::texts::check;

SiteCheckWindow::SiteCheckWindow(const browser::SiteCheckReport& report, QWidget* parent) : QDialog(parent) {
    setWindowTitle(t::Caption);
    setObjectName(QStringLiteral("SiteCheckWindow"));
    resize(900, 520);
    auto* layout = new QVBoxLayout(this);
    using Outcome = browser::SiteCheckReport::Outcome;
    verdict_ = new QLabel(report.outcome == Outcome::AllHold ? t::AllHold + report.emptyListsNote()
                          : report.outcome == Outcome::Moved ? t::Moved + report.problemLines()
                                                             : t::Unreachable + report.cause,
                          this);
    verdict_->setObjectName(QStringLiteral("Verdict"));
    verdict_->setWordWrap(true);
    if (report.outcome != Outcome::AllHold) verdict_->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(verdict_);

    table_ = new QTableWidget(int(report.findings.size()), 4, this);
    table_->setObjectName(QStringLiteral("Findings"));
    table_->setHorizontalHeaderLabels({t::ColumnPage, t::ColumnElement, t::ColumnExpected, t::ColumnFound});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < report.findings.size(); ++r) {
        const browser::site::Finding& f = report.findings[r];
        const QStringList cells{browser::pageName(f.page), f.element, f.expected, f.found};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (!f.holds()) item->setForeground(QColor(0xb0, 0, 0));
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    layout->addWidget(table_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(t::Close, QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace zk
