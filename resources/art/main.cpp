// zk_artgen <folder>: draws the panel's artwork into the program folder: the three page
// backgrounds and the guide clip where the program loads them, the other pictures as PNG files
// in <folder>/art/, and the program's icon at the icon theme's sizes in <folder>/icons/.
#include "Artwork.h"
#include "AviWriter.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

namespace {

bool save(const QImage& image, const QString& path, const char* format) {
    if (image.save(path, format)) return true;
    std::fprintf(stderr, "zk_artgen: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zk_artgen <program folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("art")) || !out.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "zk_artgen: cannot create %s/art or %s/icons\n", argv[1], argv[1]);
        return 1;
    }
    using namespace zk::art;
    bool ok = true;
    ok &= save(mainBackground(), out.filePath("backgroundMain.bmp"), "BMP");
    ok &= save(subBackground(), out.filePath("backgroundSub.bmp"), "BMP");
    ok &= save(noTouchBackground(), out.filePath("NoTouch.bmp"), "BMP");
    ok &= save(miniBar(), out.filePath("art/MiniBar.png"), "PNG");
    ok &= save(programIcon(), out.filePath("art/Image2.png"), "PNG");
    ok &= save(foldOffIcon(), out.filePath("art/Image3.png"), "PNG");
    ok &= save(foldOnIcon(), out.filePath("art/Image4.png"), "PNG");
    ok &= save(browserButton(), out.filePath("art/StartIE.png"), "PNG");
    ok &= save(sheetButton(), out.filePath("art/StartExcel.png"), "PNG");
    ok &= save(hintIcon(), out.filePath("art/ImageList1.png"), "PNG");
    for (int size : ThemeIconSizes)
        ok &= save(programIcon(size), out.filePath(QStringLiteral("icons/%1x%1.png").arg(size)), "PNG");
    if (!writeAvi(out.filePath("here.avi"), guideFrames(), GuideFramesPerSecond, AviCompression::Rle8)) {
        std::fprintf(stderr, "zk_artgen: cannot write here.avi\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
