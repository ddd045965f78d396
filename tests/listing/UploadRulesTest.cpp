// The picture upload's pure rules: order, enough pictures, the template, the byte counts, a
// picture's verdict and the names the site shows.
#include "listing/UploadRules.h"
#include "platform/Cp932.h"

#include <QMap>
#include <functional>
#include <limits>
#include <gtest/gtest.h>

namespace rules = zk::listing::rules;

TEST(PictureOrder, LettersWithoutRegardToCaseThenAFixedOrder) {
    EXPECT_EQ(rules::sortPictureNames({"b.jpg", "a.JPG", "c.jpg"}), (QStringList{"a.JPG", "b.jpg", "c.jpg"}));
    EXPECT_EQ(rules::sortPictureNames({"B.jpg", "b.jpg", "a10.jpg", "a2.jpg"}),
              (QStringList{"a10.jpg", "a2.jpg", "B.jpg", "b.jpg"}));
    EXPECT_TRUE(rules::isPictureName("x.JpG"));
    EXPECT_FALSE(rules::isPictureName("x.jpeg"));
    EXPECT_FALSE(rules::isPictureName("x.jpg.txt"));
}

TEST(EnoughPictures, CountsWhatIsLeftAndWhatIsStillOnDisk) {
    const QStringList files{"a", "b", "c"};
    const auto all = [](const QString&) { return true; };
    EXPECT_TRUE(rules::enoughPictures(files, 0, 3, all));
    EXPECT_FALSE(rules::enoughPictures(files, 2, 2, all)); // one left, two wanted
    EXPECT_TRUE(rules::enoughPictures(files, 3, 0, all));
    const auto noB = [](const QString& f) { return f != "b"; };
    EXPECT_FALSE(rules::enoughPictures(files, 0, 2, noB));
    EXPECT_TRUE(rules::enoughPictures(files, 2, 1, noB));
    EXPECT_FALSE(rules::enoughPictures(files, -1, 1, all));
}

TEST(PictureAt, EndPastTheLastEmptyBelowTheFirst) {
    const QStringList files{"a", "b"};
    EXPECT_EQ(rules::pictureAt(files, 1), "b");
    EXPECT_EQ(rules::pictureAt(files, 2), "END");
    EXPECT_EQ(rules::pictureAt(files, -1), "");
}

TEST(DescriptionTemplate, MarksFilledInOrderUntilTheFirstEmptyCell) {
    using Cells = QMap<int, QString>;
    const auto cells = [](const Cells& values) -> std::function<QString(int)> {
        return [values](int c) { return values.value(c); };
    };
    // D holds x, E is empty: that mark vanishes, the later ones stay.
    EXPECT_EQ(rules::expandDescription("A%%B%%C", 4, cells(Cells{{4, "x"}})), "AxBC");
    EXPECT_EQ(rules::expandDescription("A%%B%%C%%", 4, cells(Cells{{4, "x"}, {5, "y"}})), "AxByC");
    EXPECT_EQ(rules::expandDescription("A%%B%%C%%", 4, cells(Cells{{4, "x"}})), "AxBC%%");
    EXPECT_EQ(rules::expandDescription("no marks", 4, cells(Cells{{4, "x"}})), "no marks");
    // A cell's own "%%" is text: it neither takes the next cell nor loops.
    EXPECT_EQ(rules::expandDescription("[%%][%%]", 4, cells(Cells{{4, "50%%"}, {5, "z"}})), "[50%%][z]");
    EXPECT_EQ(rules::expandDescription("%%%", 4, cells(Cells{{4, "1"}})), "1%");
}

TEST(DescriptionTemplate, CutOnACharacterBoundary) {
    // 9998 single bytes and then a double-byte character: the whole character would end at
    // 10000 bytes, so it goes.
    QByteArray bytes(9998, 'a');
    bytes += zk::cp932::fromUnicode(QString::fromUtf8("あい"));
    const QByteArray cut = rules::cutOnCharacter(bytes);
    EXPECT_EQ(cut.size(), 9998);
    // 9997 single bytes: one double-byte character fits exactly.
    EXPECT_EQ(rules::cutOnCharacter(bytes.mid(1)).size(), 9999);
    // A template of 20 kB of full-width text: cut at 9998, decodes without a broken character.
    const QByteArray wide = zk::cp932::fromUnicode(QString(10240, QChar(0x3042)));
    const QByteArray wideCut = rules::cutOnCharacter(wide);
    EXPECT_EQ(wideCut.size(), 9998);
    EXPECT_EQ(zk::cp932::toUnicode(wideCut), QString(4999, QChar(0x3042)));
    // Half-width katakana are single bytes.
    EXPECT_EQ(rules::cutOnCharacter(QByteArray("\xB1\xB2", 2), 2).size(), 2);
}

TEST(TitleBytes, FullWidthCountsTwoAndTheDialogOpensOver60) {
    EXPECT_TRUE(rules::titleTooLong(QString(31, QChar(0x3042))));  // 62 bytes
    EXPECT_FALSE(rules::titleTooLong(QString(30, QChar(0x3042)))); // 60 bytes
    EXPECT_TRUE(rules::titleTooLong(QString(61, 'a')));
    EXPECT_TRUE(rules::titleTooLong(QString(30, QChar(0x3042)) + "a"));
    EXPECT_EQ(rules::titleBytes(QString::fromUtf8("ｱｲｳ")), 3);
    EXPECT_EQ(rules::titleBytes("a?b"), 3);
    // Characters CP932 cannot hold count as full-width, not as the one-byte '?' they would
    // turn into; an emoji is one character, not two.
    EXPECT_EQ(rules::titleBytes(QString::fromUtf8("☃")), 2);
    EXPECT_EQ(rules::titleBytes(QString::fromUtf8("😀x")), 3);
    EXPECT_TRUE(rules::titleTooLong(QString(29, QChar(0x3042)) + QString::fromUtf8("☃☃")));
}

// The title is measured as it is sent: the ASCII spaces, tabs and breaks around it go (the
// site drops them too); a full-width space and the spaces inside stay.
TEST(TitleBytes, TitlesAreMeasuredAsSent) {
    const QString sixty(60, 'a');
    const QString wideSpace(1, QChar(0x3000));
    const struct {
        QString title, sent;
        bool tooLong;
    } cases[] = {
        {" " + sixty + " ", sixty, false},
        {"\t" + sixty + "\r\n", sixty, false},
        {"  a b  ", "a b", false},
        {wideSpace + QString(29, QChar(0x3042)), wideSpace + QString(29, QChar(0x3042)), false},
        {wideSpace + QString(30, QChar(0x3042)), wideSpace + QString(30, QChar(0x3042)), true},
        {" " + sixty + "b", sixty + "b", true},
        {"   ", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rules::titleAsSent(c.title), c.sent) << c.title.toStdString();
        EXPECT_EQ(rules::titleTooLong(c.title), c.tooLong) << c.title.toStdString();
    }
}

namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }
// A segment: its marker and a length that counts itself and the payload.
QByteArray segment(unsigned char code, const QByteArray& payload) {
    const int length = int(payload.size()) + 2;
    return QByteArray(1, char(0xFF)) + char(code) + char(length >> 8) + char(length & 0xFF) + payload;
}
const QByteArray kSoi = hex("FFD8");
const QByteArray kEoi = hex("FFD9");
const QByteArray kHeader = segment(0xE0, "JFIF\0") + segment(0xDB, QByteArray(65, 1)) + segment(0xC0, hex("0800100010011100"));
const QByteArray kScan = segment(0xDA, hex("01010000003F00"));

} // namespace

TEST(JpegEnd, TheMarkersMustReachTheEndOfImageBeforeTheBytesRunOut) {
    using E = rules::JpegEnd;
    const QByteArray whole = kSoi + kHeader + kScan + hex("1234FF005678") + kEoi;
    struct Case {
        const char* what;
        QByteArray bytes;
        E end;
    };
    const QList<Case> cases = {
        {"a whole picture", whole, E::Whole},
        {"bytes after the end marker (a camera's appendix)", whole + "appended data", E::Whole},
        {"fill bytes before a marker", kSoi + hex("FFFF") + kHeader.mid(1) + kScan + hex("00") + kEoi, E::Whole},
        {"restart markers and stuffed bytes inside the scan", kSoi + kHeader + kScan + hex("11FFD022FF00FFD733") + kEoi, E::Whole},
        {"two scans, as a progressive picture has", kSoi + kHeader + kScan + hex("AA") + kScan + hex("BB") + kEoi, E::Whole},
        {"cut before its end marker", whole.chopped(2), E::Cut},
        {"cut inside the end marker", whole.chopped(1), E::Cut},
        {"cut inside the scan's coded data", whole.left(whole.size() - 6), E::Cut},
        {"cut inside a header segment", (kSoi + kHeader).left(30), E::Cut},
        {"cut after a marker's code, before its length", kSoi + hex("FFDB00"), E::Cut},
        {"an end marker inside a segment (a thumbnail's) does not end the picture",
         kSoi + segment(0xE1, hex("FFD8AAFFD9")) + kHeader + kScan + hex("12"), E::Cut},
        {"a stuffed 0xFF00 followed by 0xD9 is coded data", kSoi + kHeader + kScan + hex("FF00D9"), E::Cut},
        {"a length that reaches past the end", kSoi + hex("FFE0FFFF") + QByteArray(100, 0) + kEoi, E::Cut},
        {"only the first byte", hex("FF"), E::Cut},
        {"a length below two", kSoi + hex("FFE00001") + kEoi, E::Malformed},
        {"something else where a marker must be", kSoi + kHeader + "junk" + kEoi, E::Malformed},
        {"no start-of-image", whole.mid(2), E::Malformed},
    };
    for (const Case& c : cases) EXPECT_EQ(int(rules::jpegEnd(c.bytes)), int(c.end)) << c.what;
}

TEST(DecodedImageBytes, RowsPaddedTo32BitsAndSizesThatCannotBeHeld) {
    struct Case {
        int width, height, bits;
        qint64 bytes;
    };
    const QList<Case> cases = {
        {40, 30, 32, 4800},
        {3, 1, 8, 4},                   // a grey row of three bytes takes four
        {20000, 20000, 8, 400000000LL}, // beyond the reader's 128 MB even in grey
        {20000, 20000, 32, 1600000000LL},
        {0, 10, 32, -1},
        {10, 10, 0, -1},
        {std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 32, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rules::decodedImageBytes(c.width, c.height, c.bits), c.bytes) << c.width << "x" << c.height << "x" << c.bits;
}

TEST(PictureProblem, ContentReasonsComeInTheOrderTheyAreFound) {
    using P = rules::PictureProblem;
    rules::PictureFacts sound;
    sound.insideFolder = sound.regularFile = sound.readable = sound.jpegMagic = sound.whole = sound.decodes = true;
    sound.size = 5000;
    sound.width = 40;
    sound.height = 30;
    sound.decodedBytes = 4800;
    sound.decodeLimit = 128LL << 20;
    struct Case {
        const char* what;
        std::function<void(rules::PictureFacts&)> change;
        P problem;
    };
    const QList<Case> cases = {
        {"sound", [](rules::PictureFacts&) {}, P::None},
        {"cut, though the decoder read it", [](rules::PictureFacts& f) { f.whole = false; f.cut = true; }, P::Truncated},
        {"cut and too many pixels: the cut is said", [](rules::PictureFacts& f) { f.whole = false; f.cut = true; f.decodedBytes = 1LL << 40; }, P::Truncated},
        {"no JPEG structure, though the decoder read it", [](rules::PictureFacts& f) { f.whole = false; }, P::Broken},
        {"more than the reader allocates", [](rules::PictureFacts& f) { f.decodedBytes = (128LL << 20) + 1; f.decodes = false; }, P::TooManyPixels},
        {"just what the reader allocates", [](rules::PictureFacts& f) { f.decodedBytes = 128LL << 20; }, P::None},
        {"a size that cannot be held", [](rules::PictureFacts& f) { f.decodedBytes = -1; f.decodes = false; }, P::TooManyPixels},
        {"no bound on the reader", [](rules::PictureFacts& f) { f.decodeLimit = 0; f.decodedBytes = 1LL << 40; }, P::None},
        {"no size in its header: broken, not too large", [](rules::PictureFacts& f) { f.width = f.height = 0; f.decodedBytes = -1; f.decodes = false; }, P::Broken},
        {"whole but it does not decode", [](rules::PictureFacts& f) { f.decodes = false; }, P::Broken},
        {"not a JPEG at all", [](rules::PictureFacts& f) { f.jpegMagic = f.whole = f.decodes = false; }, P::NotJpeg},
    };
    for (const Case& c : cases) {
        rules::PictureFacts facts = sound;
        c.change(facts);
        EXPECT_EQ(int(rules::pictureProblem(facts)), int(c.problem)) << c.what;
    }
}

// The browser percent-encodes only a double quote, CR and LF in the name it sends; the site
// shows what it received (or, a site that decodes, the name itself).
TEST(PictureShownAs, TheNameAsSentOrAsTheBrowserEncodedIt) {
    struct Case {
        const char* shown;
        QString name;
        bool found;
    };
    const QList<Case> cases = {
        {"a%22b.jpg 削除", "a\"b.jpg", true},
        {"a\"b.jpg 削除", "a\"b.jpg", true},
        {"%22quoted%22.jpg", "\"quoted\".jpg", true},
        {"a%22b.jpg", "a%22b.jpg", true},       // a name that holds %22 itself goes as it is
        {"100% off.jpg 削除", "100% off.jpg", true},
        {"two  spaces .jpg", "two  spaces .jpg", true},
        {"#1 #2.jpg", "#1 #2.jpg", true},
        {"写真　１（表）.jpg 削除", QString::fromUtf8("写真　１（表）.jpg"), true},
        {"line%0Abreak%0D.jpg", "line\nbreak\r.jpg", true},
        {"a%2522b.jpg", "a\"b.jpg", false},     // encoded once only
        {"a%22b.jpg", "a'b.jpg", false},
        {"100%25 off.jpg", "100% off.jpg", false}, // a percent sign is not encoded
        {"写真１.jpg", QString::fromUtf8("写真2.jpg"), false},
        {"", "a.jpg", false},
        {"a.jpg", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rules::pictureShownAs(QString::fromUtf8(c.shown), c.name), c.found) << c.shown << " / " << c.name.toStdString();
    EXPECT_EQ(rules::multipartFileName("a\"b\r\n%.jpg"), "a%22b%0D%0A%.jpg");
}
