// The key sender's event sequences, recorded exactly.
#include "platform/KeySender.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

using zk::KeySender;

namespace {

class RecordingSink : public zk::KeyEventSink {
public:
    void sendKey(int vk, bool down) override {
        events << QString("%1%2").arg(down ? "d" : "u").arg(vk);
        if (down) held.insert(vk);
        else held.remove(vk);
    }
    void processKeys() override { ++pumps; }
    QStringList events;
    QSet<int> held;
    int pumps = 0;
};

// "p65" stands for d65 u65.
QString expand(const QString& expected) {
    QStringList out;
    for (const QString& t : expected.split(' ', Qt::SkipEmptyParts)) {
        if (t.startsWith('p')) out << "d" + t.mid(1) << "u" + t.mid(1);
        else out << t;
    }
    return out.join(' ');
}

struct Typed {
    int result;
    QString events;
    bool anyHeld;
};

Typed send(const QByteArray& text, bool caps = false) {
    RecordingSink sink;
    KeySender sender(&sink, [caps] { return caps; });
    const int r = sender.SendKeys(text, true);
    EXPECT_FALSE(sender.ShiftHeld);
    EXPECT_EQ(sink.pumps, 1);
    return {r, sink.events.join(' '), !sink.held.isEmpty()};
}

void expectTyped(const QByteArray& text, const QString& expected, int result = 0, bool caps = false) {
    const Typed t = send(text, caps);
    EXPECT_EQ(t.result, result) << text.constData();
    EXPECT_EQ(t.events, expand(expected)) << text.constData();
    EXPECT_FALSE(t.anyHeld) << text.constData();
}

} // namespace

TEST(KeySenderTest, ModifierWithLetterAndBraceKeys) {
    expectTyped("^v{ENTER}", "d17 p86 u17 p13");
    expectTyped("%N^c", "d18 p78 u18 d17 p67 u17");
    expectTyped("^{F4}", "d17 p115 u17");
    expectTyped("+{TAB}", "d16 p9 u16");
}

TEST(KeySenderTest, BraceKeysWithCountsAndPrefixNames) {
    expectTyped("{UP 8}", "p38 p38 p38 p38 p38 p38 p38 p38");
    expectTyped("{DOWN 3}", "p40 p40 p40");
    expectTyped("{TAB}", "p9");
    expectTyped("{F10}{F1}{F9}", "p121 p112 p120");
    expectTyped("{ESCAPE}{ESC}", "p27 p27");
    expectTyped("{BACKSPACE}{BS}{BKSP}", "p8 p8 p8");
    expectTyped("{PRTSC}", "p42");
    expectTyped("{SCROLLLOCK}{NUMLOCK}{HELP}{BREAK}", "p145 p144 p47 p3");
}

TEST(KeySenderTest, BadBraceKeyEndsTheTextWithoutError) {
    expectTyped("{tab}a", "");
    expectTyped("a{NOPE}b", "p65");
    expectTyped("a{TAB", "p65");
    expectTyped("a{UP x}b", "p65");
    expectTyped("a{UP 0}b", "p65");
    expectTyped("a{UP -1}b", "p65");
    expectTyped("a{UP 99999999999}b", "p65");
    expectTyped("a{", "p65");
    expectTyped("^{nope}a", "d17 u17");
    expectTyped("{F1 2}", "p112 p112");
}

TEST(KeySenderTest, TildeIsEnter) { expectTyped("a~b", "p65 p13 p66"); }

TEST(KeySenderTest, DoubledPrefixIsLiteral) {
    expectTyped("++", "d16 p187 u16");
    expectTyped("^^", "p222");
    expectTyped("%%", "d16 p53 u16");
    expectTyped("{{", "d16 p219 u16");
}

TEST(KeySenderTest, CapsLockDecidesShiftForLetters) {
    expectTyped("Ab", "d16 p65 u16 p66");
    expectTyped("Ab", "p65 d16 p66 u16", 0, true);
}


TEST(KeySenderTest, ShiftedTableOneByOne) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"!", "d16 p49 u16"},  {"\"", "d16 p50 u16"}, {"#", "d16 p51 u16"}, {"$", "d16 p52 u16"},
        {"&", "d16 p54 u16"},  {"'", "d16 p55 u16"},  {"(", "d16 p56 u16"}, {")", "d16 p57 u16"},
        {"=", "d16 p189 u16"}, {"`", "d16 p192 u16"}, {"*", "d16 p186 u16"}, {"}", "d16 p221 u16"},
        {"<", "d16 p188 u16"}, {">", "d16 p190 u16"}, {"?", "d16 p191 u16"}, {"-", "p189"},
        {"@", "p192"},         {"[", "p219"},         {"/", "p191"},         {" ", "p32"},
        // Characters that need Shift on the layout but are not in the table go unshifted.
        {"_", "p226"},         {"|", "p220"},
    };
    for (const auto& c : cases) expectTyped(c.text, c.expected);
}

TEST(KeySenderTest, GroupHoldsModifierWithoutShiftPerLetter) {
    expectTyped("+(ab)", "d16 p65 p66 u16");
    expectTyped("+(AB)c", "d16 p65 p66 u16 p67");
    expectTyped("^(a!)", "d17 p65 p49 u17");
    expectTyped("%(a{ENTER})b", "d18 p65 p13 u18 p66");
}

TEST(KeySenderTest, MalformedGroupsReturnErrorAndReleaseTheModifier) {
    const Typed endOfText = send("^(");
    EXPECT_EQ(endOfText.result, -1);
    EXPECT_EQ(endOfText.events, "d17 u17");
    EXPECT_FALSE(endOfText.anyHeld);
    expectTyped("x+(a", "p88 d16 u16", -1);
    expectTyped("+()abc", "d16 u16", -1);
    expectTyped("+((a))", "d16 u16", -1);
    expectTyped("+(abc", "d16 u16", -1);
    expectTyped("+(ab))c", "d16 u16", -1);
    // A group inside a group ends at the first ")", which leaves the inner one unclosed.
    expectTyped("+(^(a)b)", "d16 d17 u17 u16", -1);
}

TEST(KeySenderTest, BadBraceKeyInsideGroupStopsEverything) {
    expectTyped("+(a{NOPE})b", "d16 p65 u16");
}

TEST(KeySenderTest, ModifierAtEndAndBeforeOtherCharacters) {
    expectTyped("^", "d17 u17");
    expectTyped("a+", "p65 d16 u16");
    expectTyped("+~", "d16 p222 u16");
    expectTyped("^{{", "d17 d16 p219 u16 u17");
    expectTyped("+1", "d16 p49 u16");
}

TEST(KeySenderTest, CombinedPrefixesHoldEveryNamedModifier) {
    expectTyped("+^a", "d16 d17 p65 u17 u16");
    expectTyped("%+{TAB}", "d18 d16 p9 u16 u18");
    expectTyped("+^%x", "d16 d17 d18 p88 u18 u17 u16");
    expectTyped("^%(ab)", "d17 d18 p65 p66 u18 u17");
    // A repeated character ends the prefix: "^+" then "+" as the key.
    expectTyped("^++", "d17 d16 p187 u16 u17");
}

TEST(KeySenderTest, CharactersWithoutKeyAreSkipped) {
    expectTyped(QByteArray("a\x82\xa0" "b"), "p65 p66");
    expectTyped("\t", "p9");
}

TEST(KeySenderTest, UnicodeTextIsSentAsNarrowBytes) {
    RecordingSink sink;
    KeySender sender(&sink, [] { return false; });
    EXPECT_EQ(sender.SendKeys(QString("{TAB}"), false), 0);
    EXPECT_EQ(sink.events.join(' '), expand("p9"));
    EXPECT_EQ(sink.pumps, 0);
}

TEST(KeySenderTest, NothingHeldAfterAnyInput) {
    // Every text of up to three characters from a telling alphabet.
    const QByteArray alphabet = "+^%(){}~aA1 ";
    int count = 0;
    for (char a : alphabet)
        for (char b : alphabet)
            for (char c : alphabet) {
                const QByteArray text = QByteArray() + a + b + c;
                RecordingSink sink;
                KeySender sender(&sink, [] { return false; });
                sender.SendKeys(text, false);
                ASSERT_TRUE(sink.held.isEmpty()) << text.constData();
                ASSERT_FALSE(sender.ShiftHeld) << text.constData();
                ++count;
            }
    EXPECT_EQ(count, 12 * 12 * 12);
}
