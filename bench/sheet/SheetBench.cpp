// Round trips to the spreadsheet through the wrapper, against a real headless office: one cell
// read, one cell write, and reading the rows of a 1,000-item workbook cell by cell (as the
// workflows do) and in one block.
#include "sheet/Excel.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using zk::sheet::TExcel;

namespace {

constexpr int Rows = 1000;

// An office with a saved workbook of `rows` items, ended when the benchmark ends.
struct Workbook {
    explicit Workbook(int rows) {
        zk::calc::Office::Options options = zk::calc::Office::defaultOptions();
        options.headless = true;
        TExcel::setOfficeOptions(options);
        if (excel.Startup() != 0 || excel.OpenNewBook() != 0) return;
        excel.SetSheetNo(1);
        for (int row = 1; row <= rows; ++row) {
            excel.WriteToCell(row, 2, QStringLiteral("商品 %1 ヴィンテージ腕時計").arg(row));
            excel.WriteToCell(row, 6, QString::number(1000 + row));
        }
        excel.SaveAs(dir.filePath("items.xlsx"));
        ready = true;
    }
    ~Workbook() {
        if (excel.ExcelApp) excel.ExcelApp->office().terminate();
    }
    QTemporaryDir dir;
    TExcel excel;
    bool ready = false;
};

void BM_ReadCell(benchmark::State& state) {
    Workbook book(10);
    if (!book.ready) return state.SkipWithError("office not started");
    int row = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TExcel::ToText(book.excel.ReadCell(row, 2)));
        row = row % 10 + 1;
    }
}
BENCHMARK(BM_ReadCell)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_WriteCell(benchmark::State& state) {
    Workbook book(10);
    if (!book.ready) return state.SkipWithError("office not started");
    int n = 0;
    for (auto _ : state) {
        book.excel.WriteToCell(n % 10 + 1, 3, QString::number(n));
        ++n;
    }
}
BENCHMARK(BM_WriteCell)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(3)->ReportAggregatesOnly(true);

// What the listing and the prompts do: one guarded read per cell, title and start price.
void BM_Read1000RowsCellByCell(benchmark::State& state) {
    Workbook book(Rows);
    if (!book.ready) return state.SkipWithError("office not started");
    for (auto _ : state)
        for (int row = 1; row <= Rows; ++row) {
            benchmark::DoNotOptimize(TExcel::ToText(book.excel.ReadCell(row, 2)));
            benchmark::DoNotOptimize(TExcel::ToText(book.excel.ReadCell(row, 6)));
        }
    state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_Read1000RowsCellByCell)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

// What each listing now costs on top of its row: the three cells written and the workbook saved,
// in a workbook of 1,000 items (the file is rewritten whole).
void BM_ListedRowWrittenAndSaved(benchmark::State& state) {
    Workbook book(Rows);
    if (!book.ready) return state.SkipWithError("office not started");
    int row = 1;
    for (auto _ : state) {
        book.excel.WriteToCell(row, 1, QStringLiteral("k%1").arg(100000000 + row));
        book.excel.WriteToCell(row, 3, QStringLiteral("2026/12/07 12:00:00"));
        book.excel.WriteToCell(row, 18, QStringLiteral("http://page.auctions.sim.test/jp/auction/k%1").arg(row));
        if (book.excel.Save() != 0) return state.SkipWithError("save failed");
        row = row % Rows + 1;
    }
}
BENCHMARK(BM_ListedRowWrittenAndSaved)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);

// A collected page's links: 50 cells, one call each, against the whole block at once.
QStringList pageLinks(int page) {
    QStringList links;
    for (int k = 0; k < 50; ++k) links << QStringLiteral("http://page.auctions.sim.test/jp/auction/k%1").arg(page * 50 + k);
    return links;
}

void BM_PageLinksCellByCell(benchmark::State& state) {
    Workbook book(10);
    if (!book.ready) return state.SkipWithError("office not started");
    int page = 0;
    for (auto _ : state) {
        const QStringList links = pageLinks(page);
        for (int k = 0; k < links.size(); ++k) book.excel.WriteToHyperlinkCell(page * 50 + k + 1, 5, links[k]);
        ++page;
    }
    state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(BM_PageLinksCellByCell)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_PageLinksInOneBlock(benchmark::State& state) {
    Workbook book(10);
    if (!book.ready) return state.SkipWithError("office not started");
    int page = 0;
    for (auto _ : state) {
        if (book.excel.WriteHyperlinks(page * 50 + 1, 5, pageLinks(page)) != 0) return state.SkipWithError(book.excel.LastErrorText.toStdString().c_str());
        ++page;
    }
    state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(BM_PageLinksInOneBlock)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_Read1000RowsInOneBlock(benchmark::State& state) {
    Workbook book(Rows);
    if (!book.ready) return state.SkipWithError("office not started");
    for (auto _ : state) benchmark::DoNotOptimize(book.excel.Sheet->texts(1, 1, Rows, 18));
    state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_Read1000RowsInOneBlock)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace
