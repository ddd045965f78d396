#pragma once
// One headless office for a whole test program, started on first use and ended at exit, plus
// helpers to make workbooks on disk.
#include "platform/calc/Application.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>

namespace zk::test {

class SharedOffice : public ::testing::Environment {
public:
    static std::shared_ptr<calc::Application> app();
    void TearDown() override;

private:
    static std::shared_ptr<calc::Application>& slot();
};

// A new workbook with the given cell texts ("A1" -> text) saved as `path` (.xls or .xlsx).
void makeWorkbook(const QString& path, const QList<QPair<QString, QString>>& cells);

// Opens a saved file in the shared office for checking, and closes it again.
class Reopened {
public:
    explicit Reopened(const QString& path);
    ~Reopened();
    std::shared_ptr<calc::Worksheet> sheet(int number = 1) const;
    QString text(const QString& address) const;

private:
    std::shared_ptr<calc::Workbook> book_;
};

} // namespace zk::test
