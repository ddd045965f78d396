#pragma once
// The window that shows the check of a "連続出品" run before anything is sent: the site check's
// result at its head, one line per row with what the site would refuse and what is only worth a
// look, "続行" (list the good rows, skip the rest) and "中止".
#include "listing/BatchRules.h"

#include <QDialog>
#include <QList>

class QTableWidget;

namespace zk::listing {

class PreflightReport : public QDialog {
    Q_OBJECT
public:
    // `siteCheck`: the site check's result, shown above the rows (nothing when empty).
    // `notes`: what is said once for the whole run, below the rows.
    explicit PreflightReport(const QList<batch::Verdict>& verdicts, const QString& siteCheck = {},
                             const QStringList& notes = {}, QWidget* parent = nullptr);
    // True when the seller chose "続行".
    static bool ask(const QList<batch::Verdict>& verdicts, const QString& siteCheck = {}, const QStringList& notes = {});

    const QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_ = nullptr;
};

} // namespace zk::listing
