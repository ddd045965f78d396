#pragma once
// The browser's file chooser, shown as a small window of ours when a page opens it. It takes
// the keys of a person or of the key sender: typing and Ctrl+V into the file-name box, Alt+N
// to go to (and select) the box, Ctrl+C to copy it, Enter to choose the file, Esc to cancel.
#include "platform/Desktop.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace zk::chromium {

class ChromiumBrowser;

class FileChooserWindow : public QWidget {
    Q_OBJECT
public:
    FileChooserWindow(ChromiumBrowser* browser, int backendNodeId);
    ~FileChooserWindow() override;

    // Shows the window in front of the others.
    void open();
    // Chooses the named file; false (and the window stays) when there is no such file.
    bool accept();
    void cancel();
    // The browser went away: closes without choosing.
    void abandon();

    QLineEdit* fileNameBox() const { return name_; }
    DesktopWindow* desktopWindow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class KeyTarget;
    void finish();

    ChromiumBrowser* browser_;
    int backendNodeId_;
    QLineEdit* name_;
    QLabel* status_;
    std::unique_ptr<KeyTarget> target_;
    bool finished_ = false;
};

} // namespace zk::chromium
