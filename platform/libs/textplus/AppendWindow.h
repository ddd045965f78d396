#pragma once
// The description-append tool window: the seller picks a stock text or types one, keeps it for
// later, and appends it to the description on the page the browser shows.
#include "Host.h"
#include "StockTexts.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace zk::textplus {

class AppendWindow : public QDialog {
    Q_OBJECT
public:
    // The host outlives the window.
    explicit AppendWindow(Host& host, QWidget* parent = nullptr);

    QListWidget* stockList() const { return stock_; }
    QPlainTextEdit* textEdit() const { return text_; }
    QPushButton* appendButton() const { return append_; }
    QPushButton* keepButton() const { return keep_; }
    QPushButton* removeButton() const { return remove_; }
    // Says which characters of the stock and the typed text CP932 cannot hold; empty when none.
    QLabel* cp932Notice() const { return notice_; }

    void appendClick();
    void keepClick();
    void removeClick();

private:
    void saveStock();
    void updateNotice();

    Host& host_;
    QString dataFolder_;
    StockTexts stockTexts_;
    QListWidget* stock_;
    QPlainTextEdit* text_;
    QPushButton* append_;
    QPushButton* keep_;
    QPushButton* remove_;
    QLabel* notice_;
};

} // namespace zk::textplus
