// The picture upload's pure rules: order, enough pictures, the template and the byte counts.
#include "listing/UploadRules.h"
#include "platform/Cp932.h"

#include <QMap>
#include <functional>
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
