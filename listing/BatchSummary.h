#pragma once
// The end of a "連続出品" run: its summary (every listed row with its auction ID, every row skipped
// or failed with its reason) in a window that scrolls however many rows the run had, and a button
// that opens the listing log.
#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

namespace zk::listing {

class BatchSummary : public QDialog {
    Q_OBJECT
public:
    BatchSummary(const QString& text, const QString& logPath, QWidget* parent = nullptr);
    // Shown until the seller closes it.
    static void show(const QString& text, const QString& logPath);

    const QPlainTextEdit* textView() const { return text_; }
    QPushButton* openLogButton() const { return openLog_; }

private:
    void openLog();

    QString logPath_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* openLog_ = nullptr;
};

} // namespace zk::listing
