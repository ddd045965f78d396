#include "relist/RelistCheck.h"

#include "platform/MessageService.h"
#include "relist/Texts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zk::relist {

RelistCheck::RelistCheck(const QList<CheckLine>& lines, const QString& siteCheck, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RelistCheck"));
    setWindowTitle(texts::CheckCaption);
    int skipped = 0;
    for (const CheckLine& l : lines) skipped += l.skipped ? 1 : 0;
    const int go = int(lines.size()) - skipped;

    auto* layout = new QVBoxLayout(this);
    if (!siteCheck.isEmpty()) {
        auto* head = new QLabel(siteCheck, this);
        head->setObjectName(QStringLiteral("SiteCheckHead"));
        layout->addWidget(head);
    }
    auto* intro = new QLabel(go > 0 ? texts::CheckIntro.arg(lines.size()).arg(go).arg(skipped)
                                    : texts::CheckNothing.arg(lines.size()),
                             this);
    intro->setObjectName(QStringLiteral("CheckIntro"));
    layout->addWidget(intro);
    // What a transcript of the boxes records of this window: the site check, the intro and a line
    // per item.
    QStringList text{intro->text()};
    if (!siteCheck.isEmpty()) text.prepend(siteCheck);
    for (const CheckLine& l : lines) text << texts::CheckLineText.arg(l.id, l.title, l.oldPrice, l.newPrice, l.note).trimmed();
    setProperty("transcriptText", text.join(QLatin1Char('\n')));

    table_ = new QTableWidget(int(lines.size()), 5, this);
    table_->setObjectName(QStringLiteral("CheckTable"));
    table_->setHorizontalHeaderLabels(
        {texts::CheckColumnId, texts::CheckColumnTitle, texts::CheckColumnOld, texts::CheckColumnNew, texts::CheckColumnNote});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int i = 0; i < lines.size(); ++i) {
        const CheckLine& l = lines[i];
        const QStringList cells{l.id, l.title, l.oldPrice, l.newPrice, l.note};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            // Items that will be skipped stand out.
            if (l.skipped) item->setForeground(QColor(192, 0, 0));
            if (c == 2 || c == 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(i, c, item);
        }
    }
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(4, QHeaderView::ResizeToContents);
    layout->addWidget(table_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cont = buttons->addButton(texts::Continue, QDialogButtonBox::AcceptRole);
    cont->setObjectName(QStringLiteral("ContinueButton"));
    cont->setEnabled(go > 0);
    QPushButton* abort = buttons->addButton(texts::Abort, QDialogButtonBox::RejectRole);
    abort->setObjectName(QStringLiteral("AbortButton"));
    // Nothing is relisted by a stray Enter.
    abort->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(820, 420);
}

bool RelistCheck::ask(const QList<CheckLine>& lines, const QString& siteCheck) {
    RelistCheck check(lines, siteCheck);
    return MessageService::instance().exec(check) == QDialog::Accepted;
}

} // namespace zk::relist
