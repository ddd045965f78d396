#include "FileChooserWindow.h"

#include "BrowserWindow.h"
#include "ChromiumBrowser.h"
#include "ChromiumTexts.h"
#include "platform/KeyboardLayout.h"
#include "platform/AutomationError.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zk::chromium {

// The window as the desktop sees it: key events as a keyboard would deliver them.
class FileChooserWindow::KeyTarget : public WidgetWindow {
public:
    explicit KeyTarget(FileChooserWindow* w) : WidgetWindow(w), window_(w) {}

    void sendKey(int vk, bool down) override {
        switch (vk) {
        case 16: shift_ = down; return;
        case 17: control_ = down; return;
        case 18: alt_ = down; return;
        default: break;
        }
        if (!down) return;
        QLineEdit* box = window_->name_;
        if (alt_ && vk == 'N') {
            box->setFocus();
            box->selectAll();
        } else if (control_ && vk == 'V') {
            box->paste();
        } else if (control_ && vk == 'C') {
            if (box->hasSelectedText()) QGuiApplication::clipboard()->setText(box->selectedText());
        } else if (control_ && vk == 'A') {
            box->selectAll();
        } else if (vk == 13) {
            window_->accept();
        } else if (vk == 27) {
            window_->cancel();
        } else if (vk == 8) {
            box->backspace();
        } else if (vk == 46) {
            box->del();
        } else if (vk == 37 || vk == 39) {
            box->cursorForward(shift_, vk == 39 ? 1 : -1);
        } else if (vk == 36) {
            box->home(shift_);
        } else if (vk == 35) {
            box->end(shift_);
        } else if (!control_ && !alt_) {
            const QString text = keyboard::textFor(vk, shift_, keyboard::capsLockOn());
            if (!text.isEmpty() && text != "\r") box->insert(text);
        }
    }
    void processKeys() override { QCoreApplication::processEvents(); }

private:
    FileChooserWindow* window_;
    bool shift_ = false, control_ = false, alt_ = false;
};

FileChooserWindow::FileChooserWindow(ChromiumBrowser* browser, int backendNodeId)
    : QWidget(nullptr, Qt::Dialog), browser_(browser), backendNodeId_(backendNodeId) {
    setWindowTitle(texts::FileChooserTitle);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* label = new QLabel(texts::FileNameLabel, this);
    name_ = new QLineEdit(this);
    label->setBuddy(name_);
    status_ = new QLabel(this);
    auto* openButton = new QPushButton(texts::OpenButton, this);
    auto* cancelButton = new QPushButton(texts::CancelButton, this);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(name_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(openButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    resize(520, 110);
    connect(openButton, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    connect(name_, &QLineEdit::returnPressed, this, [this] { accept(); });
    target_ = std::make_unique<KeyTarget>(this);
}

FileChooserWindow::~FileChooserWindow() = default;

DesktopWindow* FileChooserWindow::desktopWindow() { return target_.get(); }

void FileChooserWindow::open() {
    Desktop::instance().setForeground(target_.get());
    name_->setFocus();
}

bool FileChooserWindow::accept() {
    if (finished_) return false;
    QString path = name_->text().trimmed();
    if (path.size() >= 2 && path.startsWith('"') && path.endsWith('"')) path = path.mid(1, path.size() - 2);
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile()) {
        status_->setText(texts::FileNotFound);
        return false;
    }
    try {
        browser_->chooseFiles(backendNodeId_, {file.absoluteFilePath()});
    } catch (const AutomationError& e) {
        status_->setText(e.text());
        return false;
    }
    finish();
    return true;
}

void FileChooserWindow::cancel() {
    if (!finished_) finish();
}

void FileChooserWindow::abandon() {
    if (finished_) return;
    finished_ = true;
    browser_->chooserClosed();
    target_.reset();
    hide();
    deleteLater();
}

void FileChooserWindow::finish() {
    finished_ = true;
    browser_->chooserClosed();
    target_.reset();
    hide();
    deleteLater();
    // As a closed dialog gives the keyboard back to the window that opened it.
    if (BrowserWindow* w = browser_->window()) Desktop::instance().setForeground(w);
}

void FileChooserWindow::closeEvent(QCloseEvent* event) {
    cancel();
    event->accept();
}

} // namespace zk::chromium
