// The guide clip reader: frames of every supported kind, the RLE8 codes at their edges, and
// files that are cut short or damaged.
#include "AviTestClip.h"
#include "Artwork.h"
#include "AviWriter.h"
#include "platform/AviReader.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using zk::AviReader;
using zk::test::AviTestClip;

namespace {

const QList<QRgb> FourColours = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.append(char(v));
    return out;
}

// Row 0 is the bottom row, as in the decoder's buffer.
QByteArray decode(const QByteArray& rle, int width, int height, char fill = '.', bool* ok = nullptr) {
    QByteArray indexes(width * height, fill);
    const bool result = AviReader::decodeRle8(rle, width, height, indexes);
    if (ok) *ok = result;
    return indexes;
}

// Pixels of an indexed image as colours, to compare with what the reader returns.
void expectSameColours(const QImage& indexed, const QImage& decoded) {
    ASSERT_EQ(indexed.size(), decoded.size());
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)
            ASSERT_EQ(indexed.pixel(x, y) & 0xFFFFFF, decoded.pixel(x, y) & 0xFFFFFF) << x << "," << y;
}

} // namespace

// --- RLE8 codes ----------------------------------------------------------------------------

TEST(Rle8Decode, EncodedRunsAndEndOfLineFillRowsFromTheBottom) {
    bool ok = false;
    const QByteArray out = decode(bytes({3, 'a', 0, 0, 1, 'b', 2, 'c', 0, 1}), 3, 2, '.', &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(out, QByteArray("aaabcc"));
}

TEST(Rle8Decode, DeltaSkipsPixelsAndKeepsWhatWasThere) {
    // One pixel, then move 2 right and 1 up, then one more pixel.
    const QByteArray out = decode(bytes({1, 'a', 0, 2, 2, 1, 1, 'b', 0, 1}), 4, 2);
    EXPECT_EQ(out, QByteArray("a..." "...b"));
}

TEST(Rle8Decode, AbsoluteRunOfOddLengthSkipsItsPadByte) {
    // Absolute run of 3 followed by one pad byte; the next code must start after the pad.
    bool ok = false;
    const QByteArray out = decode(bytes({0, 3, 'x', 'y', 'z', 0, 2, 'q', 0, 1}), 5, 1, '.', &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(out, QByteArray("xyzqq"));
    // An even-length run has no pad byte.
    EXPECT_EQ(decode(bytes({0, 4, 'a', 'b', 'c', 'd', 1, 'e', 0, 1}), 5, 1), QByteArray("abcde"));
}

TEST(Rle8Decode, RunsPastTheRowEndAreClippedNotWrapped) {
    // A run of 6 on a row of 4, then an end of line: the second row starts fresh.
    EXPECT_EQ(decode(bytes({6, 'a', 0, 0, 1, 'b', 0, 1}), 4, 2), QByteArray("aaaa" "b..."));
    // The same for an absolute run, and for pixels after the clipped run on the same row.
    EXPECT_EQ(decode(bytes({0, 5, 'a', 'b', 'c', 'd', 'e', 0, 1, 'z', 0, 0, 1, 'b', 0, 1}), 3, 2),
              QByteArray("abc" "b.."));
}

TEST(Rle8Decode, MovesAboveTheTopDrawNothing) {
    bool ok = false;
    EXPECT_EQ(decode(bytes({0, 2, 0, 5, 9, 'a', 0, 1}), 3, 2, '.', &ok), QByteArray("......"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(decode(bytes({0, 0, 0, 0, 0, 0, 3, 'a'}), 3, 2), QByteArray("......"));
    EXPECT_EQ(decode(bytes({0, 2, 255, 0, 3, 'a', 0, 1}), 3, 1), QByteArray("..."));
}

TEST(Rle8Decode, EndOfBitmapStopsAndMissingEndIsAccepted) {
    EXPECT_EQ(decode(bytes({1, 'a', 0, 1, 2, 'b'}), 3, 1), QByteArray("a.."));
    bool ok = false;
    EXPECT_EQ(decode(bytes({2, 'a'}), 3, 1, '.', &ok), QByteArray("aa."));
    EXPECT_TRUE(ok);
}

TEST(Rle8Decode, DataCutInsideACodeFails) {
    bool ok = true;
    decode(bytes({0, 5, 'a', 'b'}), 8, 1, '.', &ok);            // absolute run cut short
    EXPECT_FALSE(ok);
    decode(bytes({1, 'a', 0, 2, 1}), 8, 1, '.', &ok);           // delta without its dy
    EXPECT_FALSE(ok);
    decode(bytes({1, 'a', 0}), 8, 1, '.', &ok);                 // lone trailing byte
    EXPECT_FALSE(ok);
    decode(bytes({0, 3, 'a', 'b', 'c'}), 8, 1, '.', &ok);       // pad byte missing at the end: fine
    EXPECT_TRUE(ok);
}

TEST(Rle8Decode, RejectsABufferOfTheWrongSize) {
    QByteArray indexes(5, '.');
    EXPECT_FALSE(AviReader::decodeRle8(bytes({1, 'a'}), 3, 2, indexes));
}

TEST(Rle8Encode, RoundTripsRandomRowsOfEveryWidth) {
    QRandomGenerator random(20261207);
    for (int width = 1; width <= 300; width += (width < 40 ? 1 : 37)) {
        for (int trial = 0; trial < 20; ++trial) {
            QByteArray row(width, '\0');
            // Mix of long runs, short runs and noise, so every encoder branch is taken.
            int x = 0;
            while (x < width) {
                const int length = qMin(width - x, int(random.bounded(1, trial % 3 == 0 ? 300 : 4)));
                const char value = char(random.bounded(0, 4));
                for (int i = 0; i < length; ++i) row[x++] = trial % 2 ? char(random.bounded(0, 256)) : value;
            }
            QByteArray encoded = zk::art::encodeRle8Row(reinterpret_cast<const uchar*>(row.constData()), width);
            encoded.append("\0\1", 2);
            bool ok = false;
            const QByteArray out = decode(encoded, width, 1, '.', &ok);
            ASSERT_TRUE(ok);
            ASSERT_EQ(out, row) << "width " << width << " trial " << trial;
        }
    }
}

// --- Whole files -----------------------------------------------------------------------------

TEST(AviReaderClip, GuideClipRoundTripsInBothStorages) {
    const QList<QImage> frames = zk::art::guideFrames();
    ASSERT_GE(frames.size(), 2);
    for (auto compression : {zk::art::AviCompression::Rle8, zk::art::AviCompression::None}) {
        AviReader reader;
        ASSERT_TRUE(reader.parse(zk::art::encodeAvi(frames, zk::art::GuideFramesPerSecond, compression)))
            << qPrintable(reader.errorString());
        EXPECT_EQ(reader.size(), zk::art::GuideClipSize);
        EXPECT_DOUBLE_EQ(reader.frameRate(), zk::art::GuideFramesPerSecond);
        ASSERT_EQ(reader.frames().size(), frames.size());
        for (int i = 0; i < frames.size(); ++i) expectSameColours(frames[i], reader.frames()[i]);
    }
}

TEST(AviReaderClip, BuiltGuideClipInTheProgramFolderIsTheArtwork) {
    const QString path = qEnvironmentVariable("ZERKON_BUILD_DIR") + "/here.avi";
    ASSERT_TRUE(QFile::exists(path)) << qPrintable(path);
    AviReader reader;
    ASSERT_TRUE(reader.read(path)) << qPrintable(reader.errorString());
    EXPECT_EQ(reader.size(), QSize(20, 40));
    const QList<QImage> frames = zk::art::guideFrames();
    ASSERT_EQ(reader.frames().size(), frames.size());
    for (int i = 0; i < frames.size(); ++i) expectSameColours(frames[i], reader.frames()[i]);
    // The arrow moves: not all frames are alike.
    EXPECT_NE(reader.frames().first(), reader.frames()[frames.size() / 2]);
}

TEST(AviReaderClip, UncompressedEightBitRowsArePaddedAndBottomUp) {
    AviTestClip clip;
    clip.width = 3;
    clip.height = 2;
    clip.palette = FourColours;
    clip.frames = {bytes({1, 2, 3, 0, /* top row: */ 3, 2, 1, 0})};
    AviReader reader;
    ASSERT_TRUE(reader.parse(clip.bytes())) << qPrintable(reader.errorString());
    const QImage f = reader.frames().first();
    EXPECT_EQ(f.pixel(0, 1) & 0xFFFFFF, FourColours[1] & 0xFFFFFF);
    EXPECT_EQ(f.pixel(2, 1) & 0xFFFFFF, FourColours[3] & 0xFFFFFF);
    EXPECT_EQ(f.pixel(0, 0) & 0xFFFFFF, FourColours[3] & 0xFFFFFF);
}

TEST(AviReaderClip, TwentyFourBitTopDownFrames) {
    AviTestClip clip;
    clip.width = 2;
    clip.height = -2; // top-down
    clip.bitCount = 24;
    // Rows of 6 bytes padded to 8, BGR.
    clip.frames = {bytes({0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 10, 20, 30, 0, 0})};
    AviReader reader;
    ASSERT_TRUE(reader.parse(clip.bytes())) << qPrintable(reader.errorString());
    const QImage f = reader.frames().first();
    EXPECT_EQ(f.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(f.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(f.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(f.pixel(1, 1), qRgb(30, 20, 10));
}

TEST(AviReaderClip, Rle8FramesDrawOverThePreviousAndEmptyChunksRepeatIt) {
    AviTestClip clip;
    clip.width = 2;
    clip.height = 1;
    clip.compression = 1;
    clip.palette = FourColours;
    clip.frames = {bytes({2, 1, 0, 1}), bytes({0, 2, 1, 0, 1, 2, 0, 1}), QByteArray()};
    AviReader reader;
    ASSERT_TRUE(reader.parse(clip.bytes())) << qPrintable(reader.errorString());
    ASSERT_EQ(reader.frames().size(), 3);
    EXPECT_EQ(reader.frames()[1].pixel(0, 0), FourColours[1]); // kept from frame 0
    EXPECT_EQ(reader.frames()[1].pixel(1, 0), FourColours[2]);
    EXPECT_EQ(reader.frames()[2], reader.frames()[1]);
}

TEST(AviReaderClip, FindsTheVideoStreamAmongOthersAndInsideRecLists) {
    AviTestClip clip;
    clip.palette = FourColours;
    clip.frames = {QByteArray(8, '\1'), QByteArray(8, '\2')};
    clip.audioStreamFirst = true;
    clip.framesInRecLists = true;
    clip.junkBeforeFrames = true;
    AviReader reader;
    ASSERT_TRUE(reader.parse(clip.bytes())) << qPrintable(reader.errorString());
    ASSERT_EQ(reader.frames().size(), 2);
    EXPECT_EQ(reader.frames()[1].pixel(3, 1), FourColours[2]);
}

TEST(AviReaderClip, FrameRateFallsBackToTheMainHeader) {
    AviTestClip clip;
    clip.palette = FourColours;
    clip.frames = {QByteArray(8, '\0')};
    clip.rate = 0;
    clip.microSecPerFrame = 40000;
    AviReader reader;
    ASSERT_TRUE(reader.parse(clip.bytes()));
    EXPECT_DOUBLE_EQ(reader.frameRate(), 25.0);
    clip.rate = 30000;
    clip.scale = 1001;
    ASSERT_TRUE(reader.parse(clip.bytes()));
    EXPECT_NEAR(reader.frameRate(), 29.97, 0.01);
}

// --- Damaged and hostile files -----------------------------------------------------------------

TEST(AviReaderDamage, EveryTruncationOfTheClipIsAnError) {
    const QByteArray full = zk::art::encodeAvi(zk::art::guideFrames(), 10, zk::art::AviCompression::Rle8);
    AviReader reader;
    for (int n = 0; n < full.size(); ++n) {
        ASSERT_FALSE(reader.parse(full.left(n))) << n;
        ASSERT_FALSE(reader.errorString().isEmpty());
        ASSERT_TRUE(reader.frames().isEmpty());
    }
    EXPECT_TRUE(reader.parse(full));
    EXPECT_TRUE(reader.errorString().isEmpty());
}

TEST(AviReaderDamage, TruncationsWithAPatchedSizeNeverReadPastTheData) {
    // The RIFF size is made to agree with the cut, so the walk reaches the cut inside chunks.
    const QByteArray full = zk::art::encodeAvi(zk::art::guideFrames(), 10, zk::art::AviCompression::Rle8);
    AviReader reader;
    int accepted = 0;
    for (int n = 12; n < full.size(); ++n) {
        QByteArray cut = full.left(n);
        qToLittleEndian(quint32(n - 8), cut.data() + 4);
        if (reader.parse(cut)) {
            ++accepted;
            for (const QImage& f : reader.frames()) ASSERT_EQ(f.size(), QSize(20, 40));
        }
    }
    // Only cuts inside the trailing index can still give the whole clip.
    EXPECT_LT(accepted, 200);
}

TEST(AviReaderDamage, RandomCorruptionGivesAnErrorOrFramesOfTheDeclaredSize) {
    const QByteArray full = zk::art::encodeAvi(zk::art::guideFrames(), 10, zk::art::AviCompression::Rle8);
    QRandomGenerator random(42);
    AviReader reader;
    for (int trial = 0; trial < 3000; ++trial) {
        QByteArray damaged = full;
        const int changes = random.bounded(1, 8);
        for (int i = 0; i < changes; ++i) damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
        if (reader.parse(damaged)) {
            ASSERT_FALSE(reader.frames().isEmpty());
            for (const QImage& f : reader.frames()) ASSERT_EQ(f.size(), reader.size());
        } else {
            ASSERT_FALSE(reader.errorString().isEmpty());
        }
    }
}

TEST(AviReaderDamage, HostileHeadersAreRefused) {
    AviTestClip good;
    good.palette = FourColours;
    good.frames = {QByteArray(8, '\0')};
    AviReader reader;
    ASSERT_TRUE(reader.parse(good.bytes()));

    auto refused = [&](AviTestClip clip) { return !reader.parse(clip.bytes()); };
    AviTestClip c = good;
    c.width = 100000;
    EXPECT_TRUE(refused(c));
    c = good;
    c.width = -4;
    EXPECT_TRUE(refused(c));
    c = good;
    c.height = 0;
    EXPECT_TRUE(refused(c));
    c = good;
    c.colorsUsed = 1000;              // palette larger than 256
    EXPECT_TRUE(refused(c));
    c = good;
    c.colorsUsed = 200;               // says 200 colours, holds 4
    EXPECT_TRUE(refused(c));
    c = good;
    c.compression = 2;                // RLE4 is not played
    EXPECT_TRUE(refused(c));
    c = good;
    c.bitCount = 16;
    EXPECT_TRUE(refused(c));
    c = good;
    c.compression = 1;
    c.height = -2;                    // RLE8 must be bottom-up
    EXPECT_TRUE(refused(c));
    c = good;
    c.frames = {QByteArray(7, '\0')}; // uncompressed frame too short
    EXPECT_TRUE(refused(c));
    c = good;
    c.frames.clear();
    EXPECT_TRUE(refused(c));
    c = good;
    c.width = 1;
    c.height = 1;
    c.frames = QList<QByteArray>(AviReader::MaxFrames + 1, QByteArray(4, '\0')); // tiny, but countless
    EXPECT_TRUE(refused(c));
    c.frames.removeLast();
    EXPECT_FALSE(refused(c));

    QByteArray huge = good.bytes();
    const int movi = huge.indexOf("movi");
    qToLittleEndian(quint32(0xFFFFFFF0), huge.data() + movi - 4); // list size beyond the file
    EXPECT_FALSE(reader.parse(huge));
    EXPECT_FALSE(reader.parse(QByteArray("RIFF\x04\0\0\0WAVE", 12)));
    EXPECT_FALSE(reader.parse(QByteArray()));
    EXPECT_FALSE(reader.read("/nonexistent/here.avi"));
    EXPECT_FALSE(reader.errorString().isEmpty());
}

TEST(AviReaderDamage, DeeplyNestedListsAreRefused) {
    QByteArray inner = AviTestClip::chunk("00dc", QByteArray(8, '\0'));
    for (int i = 0; i < 50; ++i) inner = AviTestClip::list("rec ", inner);
    AviTestClip clip;
    clip.palette = FourColours;
    clip.frames = {QByteArray(8, '\0')};
    QByteArray file = clip.bytes();
    // Put the nested lists into the movi list and fix the sizes.
    const int movi = file.indexOf("movi");
    file.insert(movi + 4, inner);
    qToLittleEndian(quint32(qFromLittleEndian<quint32>(file.constData() + movi - 4) + inner.size()), file.data() + movi - 4);
    qToLittleEndian(quint32(file.size() - 8), file.data() + 4);
    AviReader reader;
    EXPECT_FALSE(reader.parse(file));
}
