#pragma once
// The window of "サイト点検": one line per page element the workflows rely on (page, element,
// expected, found), and "異常なし" above them when all hold.
#include "browser/SiteCheck.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace zk {

class SiteCheckWindow : public QDialog {
    Q_OBJECT
public:
    explicit SiteCheckWindow(const browser::SiteCheckReport& report, QWidget* parent = nullptr);

    const QTableWidget* table() const { return table_; }
    const QLabel* verdict() const { return verdict_; }

private:
    QLabel* verdict_ = nullptr;
    QTableWidget* table_ = nullptr;
};

} // namespace zk
