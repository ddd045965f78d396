#include "listing/BatchSummary.h"

#include "listing/Texts.h"
#include "platform/MessageService.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace zk::listing {

namespace t = texts::batch;

BatchSummary::BatchSummary(const QString& text, const QString& logPath, QWidget* parent)
    : QDialog(parent), logPath_(logPath) {
    setObjectName(QStringLiteral("BatchSummary"));
    setWindowTitle(t::SummaryCaption);
    // What a transcript of the boxes records of this window.
    setProperty("transcriptText", text);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(text, this);
    text_->setObjectName(QStringLiteral("SummaryText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    layout->addWidget(text_);

    auto* buttons = new QDialogButtonBox(this);
    openLog_ = buttons->addButton(t::OpenLog, QDialogButtonBox::ActionRole);
    openLog_->setObjectName(QStringLiteral("OpenLogButton"));
    openLog_->setEnabled(!logPath_.isEmpty());
    connect(openLog_, &QPushButton::clicked, this, [this] { openLog(); });
    QPushButton* close = buttons->addButton(t::CloseSummary, QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(640, 420);
}

void BatchSummary::openLog() {
    // The desktop's own program for CSV files (the office, as a rule).
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(logPath_)))
        MessageService::instance().show(t::LogNotOpened.arg(logPath_), t::SummaryCaption, Icon::Exclamation);
}

void BatchSummary::show(const QString& text, const QString& logPath) {
    BatchSummary summary(text, logPath);
    MessageService::instance().exec(summary);
}

} // namespace zk::listing
