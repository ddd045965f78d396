// The pictures checked on disk before anything is sent: files the seller did not mean to send
// and files the site would refuse, each named with its reason.
#include "listing/PictureCheck.h"
#include "listing/Texts.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QScopeGuard>
#include <functional>
#include <gtest/gtest.h>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace rules = zk::listing::rules;
namespace texts = zk::listing::texts;
using P = rules::PictureProblem;

namespace {

// A real JPEG of some kilobytes: a pattern that does not compress to nothing.
QByteArray patternJpeg(int width, int height, bool progressive = false) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb((x * 7) % 256, (y * 5) % 256, (x * y) % 256));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(80);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return buffer.data();
}

// The same bytes with the size in the frame header changed: a header that says 20000x20000
// over data that is still whole as far as its markers go.
QByteArray withFrameSize(QByteArray jpeg, int width, int height) {
    const int frame = int(jpeg.indexOf(QByteArray("\xFF\xC0", 2)));
    EXPECT_GT(frame, 0);
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height & 0xFF);
    jpeg[frame + 7] = char(width >> 8);
    jpeg[frame + 8] = char(width & 0xFF);
    return jpeg;
}

// A JPEG's first bytes and nothing a decoder can use.
const QByteArray kMagicOnly = QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11) + QByteArray(100, 'x');

class PictureCheck : public ::testing::Test {
protected:
    QString folder() const { return tmp.file("pics"); }
    QString realJpeg(const QString& name) const {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = tmp.file("pics/" + name);
        EXPECT_TRUE(image.save(path, "JPEG"));
        return path;
    }
    zk::test::TempFolder tmp;
};

TEST_F(PictureCheck, EachFileTheSellerDidNotMeanOrTheSiteWouldRefuseIsNamedWithItsReason) {
    QDir().mkpath(folder());
    realJpeg("inner.jpg");
    // A secret outside the folder that even begins like a JPEG.
    const QString secret = tmp.write("secret.jpg", kMagicOnly);
    QFile big(tmp.file("pics/big.jpg"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray("\xFF\xD8\xFF", 3));
    ASSERT_TRUE(big.resize(50LL * 1024 * 1024)); // sparse: no 50 MB written
    big.close();
    QFile edge(tmp.file("pics/limit.jpg"));
    ASSERT_TRUE(edge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(edge.resize(rules::PictureByteLimit + 1));
    edge.close();

    struct Case {
        const char* name;
        std::function<void(const QString& path)> make;
        P problem;
    };
    const QList<Case> cases = {
        {"good.jpg", [&](const QString&) { realJpeg("good.jpg"); }, P::None},
        {"link-in.jpg", [&](const QString& p) { QFile::link(folder() + "/inner.jpg", p); }, P::None},
        {"link-out.jpg", [&](const QString& p) { QFile::link(secret, p); }, P::OutsideFolder},
        {"link-up.jpg", [&](const QString& p) { QFile::link("../secret.jpg", p); }, P::OutsideFolder},
        {"dangling.jpg", [&](const QString& p) { QFile::link(folder() + "/gone.jpg", p); }, P::OutsideFolder},
        {"folder.jpg", [&](const QString& p) { QDir().mkpath(p); }, P::NotAFile},
        {"fifo.jpg", [&](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); }, P::NotAFile},
        {"empty.jpg", [&](const QString& p) { tmp.write("pics/" + QFileInfo(p).fileName(), {}); }, P::Empty},
        {"text.jpg", [&](const QString& p) { tmp.write("pics/" + QFileInfo(p).fileName(), "hello, not a picture"); }, P::NotJpeg},
        {"png.jpg", [&](const QString& p) { QImage(4, 4, QImage::Format_RGB32).save(p, "PNG"); }, P::NotJpeg},
        {"magic.jpg", [&](const QString& p) { tmp.write("pics/" + QFileInfo(p).fileName(), kMagicOnly); }, P::Broken},
        {"big.jpg", [](const QString&) {}, P::TooLarge},
        {"limit.jpg", [](const QString&) {}, P::TooLarge},
    };
    QStringList paths;
    QStringList expected;
    for (const Case& c : cases) {
        const QString path = folder() + "/" + c.name;
        c.make(path);
        paths << path;
        const P problem = rules::pictureProblem(zk::listing::examinePicture(folder(), path));
        EXPECT_EQ(int(problem), int(c.problem)) << c.name;
        if (c.problem != P::None) expected << QString(c.name) + "：" + zk::listing::pictureProblemText(c.problem);
    }
    EXPECT_EQ(zk::listing::unsendablePictures(folder() + "/", paths), expected);
}

// Cut files are what a decoder happily reads (grey where the data ends): each one is refused
// by name as cut, whatever kind of JPEG it was and wherever it was cut.
TEST_F(PictureCheck, ACutPictureIsRefusedThoughTheDecoderWouldReadIt) {
    QDir().mkpath(folder());
    const QByteArray whole = patternJpeg(240, 180);
    const QByteArray progressive = patternJpeg(240, 180, true);
    ASSERT_GT(whole.size(), 6000);
    {
        // What the seller ran into: the reader returns a picture for the first 1,500 bytes.
        QBuffer cut;
        cut.setData(whole.left(1500));
        EXPECT_FALSE(QImageReader(&cut, "jpeg").read().isNull());
    }
    struct Case {
        const char* name;
        QByteArray bytes;
        P problem;
    };
    const QList<Case> cases = {
        {"whole.jpg", whole, P::None},
        {"progressive.jpg", progressive, P::None},
        {"appended.jpg", whole + QByteArray(300, 'z'), P::None},
        {"cut1500.jpg", whole.left(1500), P::Truncated},
        {"cut-half.jpg", whole.left(whole.size() / 2), P::Truncated},
        {"no-end-marker.jpg", whole.chopped(2), P::Truncated},
        {"half-end-marker.jpg", whole.chopped(1), P::Truncated},
        {"cut-in-header.jpg", whole.left(200), P::Truncated},
        {"progressive-cut.jpg", progressive.left(progressive.size() * 2 / 3), P::Truncated},
        // Not cut but no JPEG past its header: broken, though the decoder reads it too.
        {"garbage-after-header.jpg", whole.left(whole.indexOf(QByteArray("\xFF\xDA", 2))) + QByteArray(4000, '\x11'), P::Broken},
    };
    QStringList paths, expected;
    for (const Case& c : cases) {
        const QString path = tmp.write("pics/" + QString(c.name), c.bytes);
        paths << path;
        EXPECT_EQ(int(rules::pictureProblem(zk::listing::examinePicture(folder(), path))), int(c.problem)) << c.name;
        if (c.problem != P::None) expected << QString(c.name) + "：" + zk::listing::pictureProblemText(c.problem);
    }
    EXPECT_EQ(zk::listing::unsendablePictures(folder(), paths), expected);
}

// Beyond what the image reader allocates, a valid picture is said as too many pixels, with its
// size, and is not decoded; a broken header stays broken.
TEST_F(PictureCheck, TooManyPixelsIsItsOwnReasonWithTheSize) {
    QDir().mkpath(folder());
    const QByteArray small = patternJpeg(64, 48);
    const QString huge = tmp.write("pics/huge.jpg", withFrameSize(small, 20000, 20000));
    const QString wide = tmp.write("pics/wide.jpg", patternJpeg(1024, 300));
    const QString fine = tmp.write("pics/fine.jpg", small);
    const QString broken = tmp.write("pics/broken.jpg", kMagicOnly + QByteArray("\xFF\xD9", 2));

    EXPECT_EQ(zk::listing::unsendablePictures(folder(), {huge, fine, broken}),
              (QStringList{"huge.jpg：" + texts::PictureTooManyPixels.arg(20000).arg(20000),
                           "broken.jpg：" + texts::PictureBroken}));
    EXPECT_NE(texts::PictureTooManyPixels, texts::PictureBroken);

    // A real picture over a lower bound: 1024x300 at 32 bits is 1.2 MB, over one megabyte.
    const int before = QImageReader::allocationLimit();
    const auto restore = qScopeGuard([before] { QImageReader::setAllocationLimit(before); });
    EXPECT_EQ(zk::listing::unsendablePicture(folder(), wide), QString());
    QImageReader::setAllocationLimit(1);
    EXPECT_EQ(zk::listing::unsendablePicture(folder(), wide), "wide.jpg：" + texts::PictureTooManyPixels.arg(1024).arg(300));
    EXPECT_EQ(zk::listing::unsendablePicture(folder(), fine), QString());
}

} // namespace
