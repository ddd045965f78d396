#include "listing/PreflightReport.h"

#include "listing/Texts.h"
#include "platform/MessageService.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zk::listing {

namespace t = texts::batch;

PreflightReport::PreflightReport(const QList<batch::Verdict>& verdicts, const QString& siteCheck, const QStringList& notes,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PreflightReport"));
    setWindowTitle(t::ReportCaption);
    int good = 0;
    for (const batch::Verdict& v : verdicts) good += v.ok() ? 1 : 0;
    const int bad = int(verdicts.size()) - good;

    auto* layout = new QVBoxLayout(this);
    if (!siteCheck.isEmpty()) {
        auto* head = new QLabel(siteCheck, this);
        head->setObjectName(QStringLiteral("SiteCheckHead"));
        layout->addWidget(head);
    }
    auto* intro = new QLabel(good > 0 ? t::ReportIntro.arg(verdicts.size()).arg(good).arg(bad)
                                      : t::ReportNothing.arg(verdicts.size()),
                             this);
    intro->setObjectName(QStringLiteral("ReportIntro"));
    layout->addWidget(intro);

    const QStringList headers{t::ColumnRow,   t::ColumnTitle,   t::ColumnStart,    t::ColumnBuy,
                              t::ColumnPriceSource, t::ColumnCategory, t::ColumnClosing, t::ColumnPictures,
                              t::ColumnVerdict, t::ColumnErrors,  t::ColumnWarnings};
    table_ = new QTableWidget(int(verdicts.size()), int(headers.size()), this);
    table_->setObjectName(QStringLiteral("ReportTable"));
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(true);
    for (int i = 0; i < verdicts.size(); ++i) {
        const batch::Verdict& v = verdicts[i];
        QStringList pictures;
        for (const QString& p : v.pictures) pictures << QFileInfo(p).fileName();
        const QStringList cells{QString::number(v.row),
                                v.title,
                                v.start,
                                v.buy.isEmpty() ? t::NoBuy : v.buy,
                                batch::priceSourceName(v.prices),
                                (v.category + QLatin1Char(' ') + v.categoryName).trimmed(),
                                v.closing,
                                pictures.isEmpty() ? t::NoPictures : pictures.join('\n') + (v.named ? t::NamedMark : QString()),
                                v.ok() ? t::VerdictLists : t::VerdictSkipped,
                                v.errors.join('\n'),
                                v.warnings.join('\n')};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            // Rows that will be skipped stand out.
            if (!v.ok()) item->setForeground(QColor(192, 0, 0));
            table_->setItem(i, c, item);
        }
    }
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Interactive);
    table_->horizontalHeader()->setSectionResizeMode(9, QHeaderView::Stretch);
    table_->setColumnWidth(1, 220);
    table_->resizeRowsToContents();
    layout->addWidget(table_);
    if (!notes.isEmpty()) {
        auto* note = new QLabel(notes.join('\n'), this);
        note->setObjectName(QStringLiteral("ReportNotes"));
        note->setWordWrap(true);
        note->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(note);
    }
    auto* rule = new QLabel(t::PictureRule, this);
    rule->setObjectName(QStringLiteral("PictureRule"));
    rule->setWordWrap(true);
    layout->addWidget(rule);
    // What a transcript of the boxes records of this window: the site check, the intro and a
    // line per row.
    setProperty("transcriptText", (siteCheck.isEmpty() ? QString() : siteCheck + QLatin1Char('\n')) + intro->text() +
                                      QLatin1Char('\n') + batch::reportText(verdicts) +
                                      (notes.isEmpty() ? QString() : QLatin1Char('\n') + notes.join('\n')));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* go = buttons->addButton(t::Continue, QDialogButtonBox::AcceptRole);
    go->setObjectName(QStringLiteral("ContinueButton"));
    go->setEnabled(good > 0);
    QPushButton* abort = buttons->addButton(t::Abort, QDialogButtonBox::RejectRole);
    abort->setObjectName(QStringLiteral("AbortButton"));
    // Nothing is sent by a stray Enter.
    abort->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(1100, 480);
}

bool PreflightReport::ask(const QList<batch::Verdict>& verdicts, const QString& siteCheck, const QStringList& notes) {
    PreflightReport report(verdicts, siteCheck, notes);
    return MessageService::instance().exec(report) == QDialog::Accepted;
}

} // namespace zk::listing
