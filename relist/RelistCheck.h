#pragma once
// The window that shows the check of a bulk relist with the step-down before anything is sent:
// the site check's result at its head, one line per item with its price now and the price it
// goes up again at, or why it is skipped; "続行" and "中止".
#include "relist/StepDown.h"

#include <QDialog>
#include <QList>
#include <QString>

class QTableWidget;

namespace zk::relist {

using CheckLine = PlannedRelist;

class RelistCheck : public QDialog {
    Q_OBJECT
public:
    // `siteCheck`: the site check's result, shown above the items (nothing when empty).
    explicit RelistCheck(const QList<CheckLine>& lines, const QString& siteCheck = {}, QWidget* parent = nullptr);
    // True when the seller chose "続行".
    static bool ask(const QList<CheckLine>& lines, const QString& siteCheck = {});

    const QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_ = nullptr;
};

} // namespace zk::relist
