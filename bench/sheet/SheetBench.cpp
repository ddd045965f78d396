// Round trips to the spreadsheet through the wrapper, against a real headless office: one cell
// read, one cell write beside its floor (one raw UNO call on a cell already held, and the raw
// calls the wrapper's write is made of), reading the rows of a 1,000-item workbook cell by cell
// (as the workflows do) and in one block (also with dates and formatted prices), and a collected
// page's links cell by cell and as one block.
#include "collect/CollectionRules.h"
#include "sheet/Excel.h"
#include "bench/MedianReporter.h"
#include "bench/ProcessTime.h"
#include "platform/calc/Model.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

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

// The floor of a cell write: one UNO call on a cell whose reference is already held.
void BM_RawUnoWrite(benchmark::State& state) {
    Workbook book(10);
    if (!book.ready) return state.SkipWithError("office not started");
    QList<Reference<css::table::XCell>> cells;
    for (int row = 1; row <= 10; ++row) cells << book.excel.Sheet->cells(row, 3)->state().cell;
    int n = 0;
    for (auto _ : state) {
        cells[n % 10]->setFormula(zk::calc::uno::ou(QString::number(n)));
        ++n;
    }
}
BENCHMARK(BM_RawUnoWrite)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(3)->ReportAggregatesOnly(true);

// The raw calls a cell write is made of: the cell looked up, its format read (to store text in a
// text cell as Excel does), the write.
void BM_RawUnoLookupFormatWrite(benchmark::State& state) {
    Workbook book(10);
    if (!book.ready) return state.SkipWithError("office not started");
    const Reference<css::sheet::XSpreadsheet> sheet = book.excel.Sheet->cells(1, 1)->state().sheet;
    int n = 0;
    for (auto _ : state) {
        Reference<css::table::XCell> cell = sheet->getCellByPosition(2, n % 10);
        sal_Int32 key = 0;
        Reference<css::beans::XPropertySet>(cell, UNO_QUERY_THROW)->getPropertyValue("NumberFormat") >>= key;
        benchmark::DoNotOptimize(key);
        cell->setFormula(zk::calc::uno::ou(QString::number(n)));
        ++n;
    }
}
BENCHMARK(BM_RawUnoLookupFormatWrite)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(3)->ReportAggregatesOnly(true);

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

// A collected page's links: 50 cells, one call each, against the whole block at once; and ten
// pages of links in one block.
QStringList pageLinks(int page, int count = 50) {
    QStringList links;
    for (int k = 0; k < count; ++k) links << QStringLiteral("http://page.auctions.sim.test/jp/auction/k%1").arg(page * 50 + k);
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
        if (book.excel.WriteHyperlinks(page * 50 + 1, 5, pageLinks(page)) != 0) return state.SkipWithError("links failed");
        ++page;
    }
    state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(BM_PageLinksInOneBlock)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_TenPagesOfLinksInOneBlock(benchmark::State& state) {
    Workbook book(10);
    if (!book.ready) return state.SkipWithError("office not started");
    int block = 0;
    for (auto _ : state) {
        if (book.excel.WriteHyperlinks(block * 500 + 1, 5, pageLinks(block * 10, 500)) != 0)
            return state.SkipWithError("links failed");
        ++block;
    }
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_TenPagesOfLinksInOneBlock)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);

double officeCpuMs(const TExcel& excel) { return zk::bench::processCpuMs(excel.ExcelApp->office().processId()); }

// The collection's office work alone: 2,500 rows of 50 a page, the cells and (when the second
// argument is 1) the links of `pages` pages given in one block, and the workbook saved where the
// collection saves it and at the end. The time in the block writes and in the saves is shown
// apart, and the processor time the office's process spent on it all and on the saves.
void BM_CollectionWrites(benchmark::State& state) {
    const int pages = int(state.range(0));
    const bool withLinks = state.range(1) != 0;
    Workbook book(0);
    if (!book.ready) return state.SkipWithError("office not started");
    for (int column : {3, 4, 6, 7}) book.excel.SetColProperty(column, "NumberFormatLocal", "@");
    for (auto _ : state) {
        QElapsedTimer clock;
        double writes = 0, saves = 0, saveCpu = 0;
        const double cpu = officeCpuMs(book.excel);
        QList<QVariantList> cells;
        QStringList links;
        int first = 4;
        constexpr int lastPage = 50;
        for (int page = 1; page <= lastPage; ++page) {
            for (int k = 0; k < 50; ++k) {
                const int n = page * 50 + k;
                cells << QVariantList{page, k + 1, QStringLiteral("k%1").arg(1000000000 + n),
                                      QStringLiteral("商品 %1 ヴィンテージ腕時計 1/2 セット").arg(n), QVariant(),
                                      QStringLiteral("%1,500").arg(n % 90 + 1), QStringLiteral("buyer%1").arg(n)};
                links << QStringLiteral("http://page.auctions.sim.test/jp/auction/k%1").arg(1000000000 + n);
            }
            const bool save = zk::collect::isSavePage(page, zk::collect::FirstSavePages) || page == lastPage;
            if (page % pages == 0 || save) {
                clock.start();
                if (book.excel.WriteRows(first, 1, cells) != 0 || (withLinks && book.excel.WriteHyperlinks(first, 5, links) != 0))
                    return state.SkipWithError("write failed");
                writes += clock.nsecsElapsed() / 1e6;
                first += int(cells.size());
                cells.clear();
                links.clear();
            }
            if (save) {
                clock.start();
                const double before = officeCpuMs(book.excel);
                if (book.excel.Save() != 0) return state.SkipWithError("save failed");
                saves += clock.nsecsElapsed() / 1e6;
                saveCpu += officeCpuMs(book.excel) - before;
            }
        }
        state.counters["writes_ms"] = writes;
        state.counters["saves_ms"] = saves;
        state.counters["office_cpu_ms"] = officeCpuMs(book.excel) - cpu;
        state.counters["save_cpu_ms"] = saveCpu;
    }
    state.SetItemsProcessed(state.iterations() * 2500);
}
BENCHMARK(BM_CollectionWrites)->Args({1, 1})->Args({5, 1})->Args({1, 0})->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_Read1000RowsInOneBlock(benchmark::State& state) {
    Workbook book(Rows);
    if (!book.ready) return state.SkipWithError("office not started");
    for (auto _ : state) benchmark::DoNotOptimize(book.excel.Sheet->texts(1, 1, Rows, 18));
    state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_Read1000RowsInOneBlock)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true);

// The same rows with a date of their own and a price in a format of its own: each such cell is
// asked for as the office shows it, one call per cell of a different format or value.
void BM_Read1000FormattedRowsInOneBlock(benchmark::State& state) {
    Workbook book(Rows);
    if (!book.ready) return state.SkipWithError("office not started");
    book.excel.SetColProperty(7, "NumberFormat", "YYYY/MM/DD");
    book.excel.SetColProperty(8, "NumberFormat", "#,##0");
    const QDate first(2024, 5, 1);
    for (int row = 1; row <= Rows; ++row) {
        book.excel.WriteToCell(row, 7, first.addDays(row).toString(Qt::ISODate));
        book.excel.WriteToCell(row, 8, QString::number(1000 + row % 50));
    }
    for (auto _ : state) {
        QList<QStringList> values, shown;
        book.excel.ReadTexts(1, 1, Rows, 18, values, &shown);
        benchmark::DoNotOptimize(shown);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_Read1000FormattedRowsInOneBlock)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

using zk::bench::MedianReporter;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto& m = reporter.medians;
    const auto ratio = [&](const char* a, const char* b) {
        return m.count(a) && m.count(b) && m[b] > 0 ? m[a] / m[b] : -1.0;
    };
    const char* write = "BM_WriteCell";
    const char* raw = "BM_RawUnoWrite";
    const char* parts = "BM_RawUnoLookupFormatWrite";
    if (m.count(write) && m.count(raw)) {
        std::printf("\ncell write %.0f us, one raw UNO call %.0f us, the raw calls it is made of (look-up, format, "
                    "write) %.0f us\n",
                    m[write], m[raw], m.count(parts) ? m[parts] : -1.0);
        std::printf("cell write ratio to floor: %.2f\n", ratio(write, raw));
    }
    const char* cells = "BM_PageLinksCellByCell";
    const char* block = "BM_PageLinksInOneBlock";
    const char* ten = "BM_TenPagesOfLinksInOneBlock";
    if (m.count(cells) && m.count(block))
        std::printf("page of 50 links: %.1f ms cell by cell, %.1f ms in one block (%.1fx); 500 links in one block "
                    "%.0f ms\n",
                    m[cells], m[block], ratio(cells, block), m.count(ten) ? m[ten] : -1.0);
    return 0;
}
