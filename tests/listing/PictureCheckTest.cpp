// The pictures checked on disk before anything is sent: files the seller did not mean to send
// and files the site would refuse, each named with its reason.
#include "listing/PictureCheck.h"
#include "listing/Texts.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace rules = zk::listing::rules;
namespace texts = zk::listing::texts;
using P = rules::PictureProblem;

namespace {

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

} // namespace
