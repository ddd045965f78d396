// Loading a large category.txt: the tree building alone, and the dialog's whole LoadTree with
// its tree view; plus one search through the largest top category, and the link file that the
// dialog reads when it is made.
#include "category/CategoryTree.h"
#include "category/CategoryLinks.h"
#include "category/CategorySearch.h"
#include "category/Categoryform.h"
#include "platform/Cp932.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// A file shaped like a real category list: top categories with three levels below them,
// Japanese names, codes on most lines, about 45 bytes a line.
QByteArray makeCategoryFile(int lines) {
    const QStringList words = {"カメラ", "パソコン", "アクセサリー", "ゲーム", "本、雑誌", "ファッション",
                               "スポーツ", "家電", "コレクション", "おもちゃ"};
    QByteArray data;
    data.reserve(lines * 48);
    int depth = 0;
    for (int i = 0; i < lines; ++i) {
        // 0, 1, 2, 3, 3, 3, 2, 3, ... : a new top category every 600 lines.
        if (i % 600 == 0) depth = 0;
        else if (depth < 3) ++depth;
        else if (i % 7 == 0) depth = 2;
        const QString name = words[i % words.size()] + QString::number(i) + words[(i / 3) % words.size()];
        QByteArray line(depth, '\t');
        line += zk::cp932::fromUnicode(name);
        if (depth > 0) line += " ^/" + QByteArray::number(2084000000 + i);
        data += line + "\r\n";
    }
    return data;
}

const QByteArray& sampleFile() {
    static const QByteArray data = makeCategoryFile(30000);
    return data;
}

// Puts the sample category.txt into the folder; false (the benchmark skipped) when it cannot.
bool writeSample(const QTemporaryDir& folder, benchmark::State& state) {
    QFile file(folder.filePath("category.txt"));
    if (file.open(QIODevice::WriteOnly) && file.write(sampleFile()) == sampleFile().size()) return true;
    state.SkipWithError("cannot write category.txt");
    return false;
}

void BM_ParseCategoryTree(benchmark::State& state) {
    const QByteArray& data = sampleFile();
    for (auto _ : state) {
        zk::category::CategoryTree tree;
        benchmark::DoNotOptimize(tree.parse(data));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
    state.counters["lines"] = 30000;
}
BENCHMARK(BM_ParseCategoryTree)->Unit(benchmark::kMillisecond);

void BM_DialogLoadTree(benchmark::State& state) {
    QTemporaryDir folder;
    if (!writeSample(folder, state)) return;
    for (auto _ : state) {
        auto dialog = std::make_unique<TCategory>(folder.path());
        dialog->LoadTree();
        if (dialog->tree().size() != 30000) state.SkipWithError("tree did not load completely");
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
    state.counters["lines"] = 30000;
}
BENCHMARK(BM_DialogLoadTree)->Unit(benchmark::kMillisecond);

// The same while the dialog is on screen (the dialog was missing when the button was pressed),
// until the view has laid out and painted the loaded tree.
void BM_DialogLoadTreeShown(benchmark::State& state) {
    QTemporaryDir folder;
    if (!writeSample(folder, state)) return;
    for (auto _ : state) {
        auto dialog = std::make_unique<TCategory>(folder.path());
        dialog->show();
        dialog->LoadTree();
        dialog->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
    state.counters["lines"] = 30000;
}
BENCHMARK(BM_DialogLoadTreeShown)->Unit(benchmark::kMillisecond);

void BM_SearchTopCategory(benchmark::State& state) {
    const QByteArray& data = sampleFile();
    const QByteArray text = zk::cp932::fromUnicode("存在しない");
    for (auto _ : state) benchmark::DoNotOptimize(zk::category::searchLines(data, 0, 30000, text));
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}
BENCHMARK(BM_SearchTopCategory)->Unit(benchmark::kMillisecond);

// CategoryLink.ini with one entry per link node, as a list of a few hundred thousand lines may
// need. The load must grow in step with the entries: it runs at every start-up.
void BM_LoadCategoryLinks(benchmark::State& state) {
    const int entries = int(state.range(0));
    QTemporaryDir folder;
    QByteArray data = "[LINK]\r\n";
    data.reserve(entries * 16);
    for (int i = 0; i < entries; ++i)
        data += QByteArray::number(3 * i + 2) + "=" + QByteArray::number((i * 7919) % (3 * entries)) + "\r\n";
    QFile file(folder.filePath("CategoryLink.ini"));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        state.SkipWithError("cannot write CategoryLink.ini");
        return;
    }
    file.close();
    for (auto _ : state) {
        zk::category::CategoryLinks links;
        links.load(file.fileName());
        if (links.size() != entries) state.SkipWithError("links did not load completely");
    }
    state.SetComplexityN(entries);
    state.counters["entries"] = entries;
}
BENCHMARK(BM_LoadCategoryLinks)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
