// Renders the category dialog with a category tree and history into a PNG, to check the layout
// and the Japanese text without a display:
//   category_snapshot [data folder] [output.png]
// Without a data folder it makes one with a small sample tree and history.
#include "category/Categoryform.h"
#include "platform/Cp932.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItem>
#include <cstdio>

namespace {

void writeCp932(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(zk::cp932::fromUnicode(text));
}

void writeSample(const QString& folder) {
    writeCp932(folder + "/category.txt",
               "コンピュータ\r\n"
               "\tパソコン\r\n"
               "\t\tノートパソコン ^/2084005145\r\n"
               "\t\tデスクトップ ^/2084005146\r\n"
               "\tタブレット ^/2084307189\r\n"
               "家電、AV、カメラ\r\n"
               "\tカメラ、光学機器\r\n"
               "\t\tデジタルカメラ ^/2084261685\r\n"
               "\t\tフィルムカメラ ^/2084261634\r\n"
               "\tオーディオ機器 ^/2084019040\r\n"
               "\tテレビ、映像機器 ^/23632\r\n"
               "本、雑誌\r\n"
               "\t漫画、コミック ^/21600\r\n"
               "\t雑誌 ^/21852\r\n"
               "おもちゃ、ゲーム\r\n"
               "\tテレビゲーム ^/2084021774\r\n");
    writeCp932(folder + "/ctg_history.txt",
               "家電、AV、カメラ>カメラ、光学機器>デジタルカメラ ^/2084261685\r\n"
               "本、雑誌>漫画、コミック ^/21600\r\n"
               "コンピュータ>パソコン>ノートパソコン ^/2084005145\r\n");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (folder.isEmpty()) {
        folder = scratch.path();
        writeSample(folder);
    }
    const QString output = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/category-dialog.png");

    TCategory dialog(folder);
    dialog.LoadTree();
    dialog.show();
    dialog.LoadHistory();
    if (!QTest::qWaitForWindowExposed(&dialog)) return 1;
    // Open the path to a category in the second top category, as a user would.
    int chosen = -1;
    for (int i = 0; i < dialog.tree().size() && chosen < 0; ++i)
        if (dialog.tree().node(i).depth == 2 && dialog.tree().topOf(i) > 0) chosen = i;
    dialog.selectNode(chosen >= 0 ? chosen : 0);
    if (dialog.tree().size() > 0) dialog.nodeItem(0)->setExpanded(true);
    QApplication::processEvents();

    if (!dialog.grab().save(output)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s: %d nodes, %d history entries\n", qPrintable(output), dialog.tree().size(),
                dialog.history().size());
    return 0;
}
