// The check of a "連続出品" run before anything is sent, against what the practice site refuses,
// and the texts the run leaves: progress, log lines, summary.
#include "listing/BatchRules.h"
#include "site/ListingForm.h"

#include <gtest/gtest.h>

using namespace zk::listing::batch;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// A plan under which a plain row lists: a known category, a closing slot, two pictures each.
RunPlan goodPlan(int pictures = 20) {
    RunPlan plan;
    plan.perItem = 2;
    for (int i = 0; i < pictures; ++i) plan.pictures << QStringLiteral("/p/%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
    plan.categoryCodes = {"2100100101", "2100500001"};
    plan.defaultCategory = "2100100101";
    plan.workbookPrices = true;
    plan.closingChosen = plan.closingOffered = true;
    return plan;
}

RowData goodRow(int row) { return {row, {}, u("カメラ 一眼レフ"), {}, "3000", "5000", u("<b>説明</b>")}; }

} // namespace

// One refusal per row; each case names the one thing wrong and nothing else.
TEST(BatchPreflight, EachRefusedRowSaysWhyAndOnlyThat) {
    struct Case {
        const char* name;
        std::function<void(RowData&)> change;
        QString error;
    };
    const QString long61 = QString(31, QChar(0x3042)); // 62 bytes
    const std::vector<Case> cases{
        {"no title", [](RowData& r) { r.title = "  "; }, u("商品名がありません")},
        {"title over 60 bytes", [&](RowData& r) { r.title = long61; },
         u("商品名が全角30文字（半角60文字）を超えています（62バイト）")},
        {"title CP932 lacks", [](RowData& r) { r.title = u("靴♥セット"); }, u("商品名にサイトで使えない文字があります：♥")},
        {"title with a line break", [](RowData& r) { r.title = u("上\n下"); }, u("商品名に改行やタブがあります")},
        {"start not whole", [](RowData& r) { r.start = "1500.5"; }, u("開始価格が半角の整数ではありません：1500.5")},
        {"start full-width", [](RowData& r) { r.start = u("３０００"); }, u("開始価格が半角の整数ではありません：３０００")},
        {"start with a comma", [](RowData& r) { r.start = "3,000"; }, u("開始価格が半角の整数ではありません：3,000")},
        {"start negative", [](RowData& r) { r.start = "-5"; }, u("開始価格が半角の整数ではありません：-5")},
        {"start zero", [](RowData& r) { r.start = "0"; }, u("開始価格が1円未満です：0")},
        {"start too high", [](RowData& r) { r.start = "1000000000"; r.buy = ""; },
         u("開始価格が999,999,999円を超えています：1000000000")},
        {"no start", [](RowData& r) { r.start = ""; }, u("開始価格がありません")},
        {"buy below start", [](RowData& r) { r.buy = "2999"; }, u("即決価格（2999）が開始価格（3000）より低くなっています")},
        {"buy zero", [](RowData& r) { r.buy = "0"; }, u("即決価格が1円未満です：0")},
        {"description over 9,999 bytes", [](RowData& r) { r.description = QString(5000, QChar(0x3042)); },
         u("商品説明が9,999バイトを超えています（10000バイト）")},
        {"already listed", [](RowData& r) { r.auctionId = "x100000123"; },
         u("出品済みです（オークションID：x100000123）。もう一度出品すると二重になります")},
        {"unknown category", [](RowData& r) { r.category = "999"; }, u("カテゴリ 999 は category.txt にありません")},
    };
    for (const Case& c : cases) {
        RowData row = goodRow(5);
        c.change(row);
        const QList<Verdict> v = preflight({row}, goodPlan());
        ASSERT_EQ(v.size(), 1);
        EXPECT_EQ(v[0].errors, QStringList{c.error}) << c.name << ": " << v[0].errors.join(" | ").toStdString();
        EXPECT_TRUE(v[0].pictures.isEmpty()) << c.name;
    }
}

// Whatever the run uses besides the row: category, closing slot, prices from the panel.
TEST(BatchPreflight, RunWideChoicesRefuseEveryRow) {
    struct Case {
        const char* name;
        std::function<void(RunPlan&)> change;
        QString error;
    };
    const std::vector<Case> cases{
        {"no category anywhere", [](RunPlan& p) { p.defaultCategory.clear(); },
         u("カテゴリがありません（カテゴリー選択で選ぶか、「カテゴリ」列に書いて下さい）")},
        {"no closing slot", [](RunPlan& p) { p.closingChosen = p.closingOffered = false; }, u("終了日時が選ばれていません")},
        {"closing slot past", [](RunPlan& p) { p.closingOffered = false; }, u("選んだ終了日時はもう選べません")},
        {"no prices at all", [](RunPlan& p) { p.workbookPrices = false; }, u("開始価格がありません")},
        {"panel buy below panel start",
         [](RunPlan& p) {
             p.workbookPrices = false;
             p.panelPrices = true;
             p.panelStart = "900";
             p.panelBuy = "800";
         },
         u("即決価格（800）が開始価格（900）より低くなっています")},
    };
    for (const Case& c : cases) {
        RunPlan plan = goodPlan();
        c.change(plan);
        const QList<Verdict> v = preflight({goodRow(2), goodRow(3)}, plan);
        for (const Verdict& one : v) EXPECT_EQ(one.errors, QStringList{c.error}) << c.name;
    }
    // "即決" with panel prices puts the start price into both: nothing to refuse.
    RunPlan sokketu = goodPlan();
    sokketu.workbookPrices = false;
    sokketu.panelPrices = true;
    sokketu.panelStart = "900";
    sokketu.panelBuy = "100";
    sokketu.panelSokketu = true;
    EXPECT_TRUE(preflight({goodRow(2)}, sokketu)[0].ok());
    // A row's own category wins over the dialog's.
    RowData own = goodRow(2);
    own.category = "2100500001";
    EXPECT_EQ(preflight({own}, goodPlan())[0].category, "2100500001");
}

// Pictures go in folder order to the rows that list; the row where they run out says how many
// were left, the rows after it that they are gone.
TEST(BatchPreflight, PicturesGoOnlyToListingRowsAndTheRowThatRunsOutIsNamed) {
    RowData refused = goodRow(3);
    refused.title.clear();
    const QList<Verdict> v = preflight({goodRow(2), refused, goodRow(4), goodRow(5), goodRow(6)}, goodPlan(5));
    ASSERT_EQ(v.size(), 5);
    EXPECT_EQ(v[0].pictures, (QStringList{"/p/00.jpg", "/p/01.jpg"}));
    EXPECT_TRUE(v[1].pictures.isEmpty());
    EXPECT_EQ(v[2].pictures, (QStringList{"/p/02.jpg", "/p/03.jpg"}));
    EXPECT_EQ(v[3].errors, QStringList{u("画像が足りません：この行で画像がなくなります（残り1枚、2枚必要）")});
    EXPECT_EQ(v[4].errors, QStringList{u("画像が足りません（前の行で使い切ります）")});
}

// A picture that cannot be sent stops the row that would take it and every row after it: the
// pictures go in folder order, so nothing after it lists until it is mended.
TEST(BatchPreflight, APictureThatCannotBeSentStopsTheRowsThatWouldTakeIt) {
    RunPlan plan = goodPlan(6);
    plan.unsendable.insert("/p/03.jpg", u("03.jpg：JPEGではありません"));
    const QList<Verdict> v = preflight({goodRow(2), goodRow(3), goodRow(4)}, plan);
    ASSERT_EQ(v.size(), 3);
    EXPECT_EQ(v[0].pictures, (QStringList{"/p/00.jpg", "/p/01.jpg"}));
    for (int i : {1, 2}) {
        EXPECT_EQ(v[i].errors, QStringList{u("送れない画像があります：03.jpg：JPEGではありません")}) << i;
        EXPECT_TRUE(v[i].pictures.isEmpty()) << i;
    }
}

// Worth a look, but the row lists.
TEST(BatchPreflight, WarningsLeaveTheRowListing) {
    RowData row = goodRow(2);
    row.title = u(" カメラ ");
    row.buy.clear();
    row.description = u("状態：良♥");
    const Verdict v = preflight({row}, goodPlan())[0];
    EXPECT_TRUE(v.ok()) << v.errors.join(" | ").toStdString();
    EXPECT_EQ(v.warnings, (QStringList{u("商品名の前後の空白は送られません"), u("即決価格なし"),
                                       u("商品説明にサイトで化ける文字があります：♥")}));
}

// A row the check passes is one the practice site takes, and the prices it refuses the check
// refuses: the two judged against each other on the same values.
TEST(BatchPreflight, AgreesWithThePracticeSiteOnTitlesAndPrices) {
    const QDateTime now(QDate(2026, 12, 7), QTime(10, 0));
    const QStringList titles{u("カメラ"), QString(30, QChar(0x3042)), QString(31, QChar(0x3042)), QString(60, 'a'),
                             QString(61, 'a'), "  "};
    const QList<QPair<QString, QString>> prices{{"1", ""}, {"0", ""}, {"1.5", ""}, {"３", ""}, {"999999999", ""},
                                                {"1000000000", ""}, {"100", "99"}, {"100", "100"}, {"100", "x"}};
    for (const QString& title : titles) {
        for (const auto& [start, buy] : prices) {
            RowData row = goodRow(2);
            row.title = title;
            row.start = start;
            row.buy = buy;
            const bool passes = preflight({row}, goodPlan())[0].ok();
            zk::site::FieldMap fields{{"item_title", title.toStdString()}, {"salesmode", "auction"},
                                      {"price_start", start.toStdString()}, {"price_buynow", buy.toStdString()},
                                      {"ClosingDate", "2026-12-10"}, {"ClosingTime", "12"}};
            zk::site::Item item;
            const bool siteTakes = zk::site::validateListing(fields, "2100100101", now, now, item).empty();
            EXPECT_EQ(passes, siteTakes) << title.toStdString() << " " << start.toStdString() << "/" << buy.toStdString();
        }
    }
}

TEST(BatchTexts, ProgressLogAndSummary) {
    EXPECT_EQ(progressText(1, 10, 4000), u("連続出品 1/10件目　経過 0:04"));
    // Three rows done in 90 s: seven more at 30 s each.
    EXPECT_EQ(progressText(4, 10, 90000), u("連続出品 4/10件目　経過 1:30　残り 約3:30"));
    EXPECT_EQ(durationText(3723000), "1:02:03");

    const QDateTime at(QDate(2026, 12, 7), QTime(19, 5, 1));
    const Outcome listed{Outcome::Kind::Listed, 2, u("カメラ, \"美品\""), "x1", "https://page.a/x1", {}, at};
    EXPECT_EQ(logLine(listed), u("2026/12/07 19:05:01,2,\"カメラ, \"\"美品\"\"\",x1,https://page.a/x1,出品,"));
    EXPECT_EQ(logFileName(QDate(2026, 12, 7)), u("20261207出品ログ.csv"));

    const Outcome skipped{Outcome::Kind::Skipped, 3, u("靴"), {}, {}, u("開始価格がありません"), at};
    const Outcome failed{Outcome::Kind::Failed, 4, u("鞄"), {}, {}, u("カテゴリが正しくありません。"), at};
    EXPECT_EQ(summaryText({listed, skipped, failed}, {}, "/d/log.csv"),
              u("連続出品が終わりました。\n出品 1件　スキップ 1件　失敗 1件\n\n"
                "スキップした行：\n行3「靴」：開始価格がありません\n\n"
                "失敗した行：\n行4「鞄」：カテゴリが正しくありません。\n\n出品ログ：/d/log.csv"));
    EXPECT_EQ(summaryText({listed}, u("停止ボタン。次は行3 から続けます"), {}),
              u("連続出品を途中で止めました（停止ボタン。次は行3 から続けます）。\n出品 1件　スキップ 0件　失敗 0件"));
}
