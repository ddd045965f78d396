#include "AppendWindow.h"

#include "DescriptionAppend.h"
#include "Texts.h"
#include "platform/MessageService.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zk::textplus {

AppendWindow::AppendWindow(Host& host, QWidget* parent)
    : QDialog(parent, Qt::Tool), host_(host), dataFolder_(host.dataFolder()),
      stockTexts_(dataFolder_ + StockTexts::fileName()) {
    setWindowTitle(texts::WindowTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    stock_ = new QListWidget(this);
    stock_->addItems(stockTexts_.load());
    text_ = new QPlainTextEdit(this);
    append_ = new QPushButton(texts::Append, this);
    keep_ = new QPushButton(texts::Keep, this);
    remove_ = new QPushButton(texts::Remove, this);
    auto* close = new QPushButton(texts::Close, this);
    notice_ = new QLabel(this);
    notice_->setWordWrap(true);
    notice_->setStyleSheet(QStringLiteral("color: #b00000;"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(append_);
    buttons->addWidget(keep_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(texts::StockLabel, this));
    layout->addWidget(stock_);
    layout->addWidget(new QLabel(texts::TextLabel, this));
    layout->addWidget(text_);
    layout->addWidget(notice_);
    layout->addLayout(buttons);
    resize(420, 360);

    connect(stock_, &QListWidget::currentTextChanged, text_, &QPlainTextEdit::setPlainText);
    connect(append_, &QPushButton::clicked, this, &AppendWindow::appendClick);
    connect(keep_, &QPushButton::clicked, this, &AppendWindow::keepClick);
    connect(remove_, &QPushButton::clicked, this, &AppendWindow::removeClick);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(text_, &QPlainTextEdit::textChanged, this, &AppendWindow::updateNotice);
    updateNotice();
}

void AppendWindow::updateNotice() {
    QStringList all{text_->toPlainText()};
    for (int i = 0; i < stock_->count(); ++i) all << stock_->item(i)->text();
    const QString missing = StockTexts::notInCp932(all);
    notice_->setText(missing.isEmpty() ? QString() : texts::NotInCp932.arg(missing));
    notice_->setVisible(!missing.isEmpty());
}

void AppendWindow::appendClick() {
    MessageService& messages = MessageService::instance();
    const QString field = descriptionFieldName(dataFolder_);
    if (field.isEmpty()) {
        messages.show(texts::NoDescriptionName, texts::Caption, Icon::Exclamation);
        return;
    }
    switch (appendToDescription(host_, field, text_->toPlainText())) {
    case AppendResult::Appended: messages.show(texts::Appended, texts::Caption, Icon::Information); return;
    case AppendResult::NoBrowser: messages.show(texts::NoBrowser, texts::Caption, Icon::Exclamation); return;
    case AppendResult::NoField: messages.show(texts::NoDescriptionField, texts::Caption, Icon::Exclamation); return;
    case AppendResult::Failed: break;
    }
    // The browser's own words, as the session recorded them.
    messages.show(texts::NoDescriptionField + QLatin1Char('\n') + host_.lastError(), texts::Caption, Icon::Exclamation);
}

void AppendWindow::keepClick() {
    const QString text = text_->toPlainText();
    if (text.trimmed().isEmpty()) return;
    stock_->addItem(text);
    saveStock();
}

void AppendWindow::removeClick() {
    delete stock_->takeItem(stock_->currentRow());
    saveStock();
}

void AppendWindow::saveStock() {
    QStringList all;
    for (int i = 0; i < stock_->count(); ++i) all << stock_->item(i)->text();
    if (!stockTexts_.save(all))
        MessageService::instance().show(texts::NotSaved + stockTexts_.path(), texts::Caption, Icon::Exclamation);
    updateNotice();
}

} // namespace zk::textplus
