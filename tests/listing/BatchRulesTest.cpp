// The check of a "連続出品" run before anything is sent, against what the practice site refuses,
// and the texts the run leaves: progress, log lines, summary.
#include "listing/BatchRules.h"
#include "listing/UploadRules.h"
#include "platform/Cp932.h"
#include "site/ListingForm.h"

#include <QFile>

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
        {"start negative", [](RowData& r) { r.start = "-5"; }, u("開始価格が1円未満です：-5")},
        {"buy negative", [](RowData& r) { r.buy = "-1"; }, u("即決価格が1円未満です：-1")},
        {"a lone minus", [](RowData& r) { r.start = "-"; }, u("開始価格が半角の整数ではありません：-")},
        {"title over 60 bytes once trimmed", [](RowData& r) { r.title = " " + QString(61, 'a') + " "; },
         u("商品名が全角30文字（半角60文字）を超えています（61バイト）")},
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
        // Refused or not, a row takes its share; one listed before takes none.
        EXPECT_EQ(v[0].pictures.isEmpty(), !row.auctionId.isEmpty()) << c.name;
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

namespace {

QStringList pics(std::initializer_list<int> numbers) {
    QStringList out;
    for (int n : numbers) out << QStringLiteral("/p/%1.jpg").arg(n, 2, 10, QLatin1Char('0'));
    return out;
}

// Rows by what they are: "ok", "bad" (refused for something of its own), "id" (listed before),
// or a "画像" cell ("=a,b").
QList<RowData> sheetOf(const QStringList& kinds) {
    QList<RowData> rows;
    for (int i = 0; i < kinds.size(); ++i) {
        RowData r = goodRow(i + 2);
        if (kinds[i] == "bad") r.start = "0";
        if (kinds[i] == "id") r.auctionId = "x1";
        if (kinds[i].startsWith('=')) r.pictureNames = kinds[i].mid(1);
        rows << r;
    }
    return rows;
}

} // namespace

// Each row takes its share in row order, listing or refused; a row listed before takes none; a
// "画像" cell's files are that row's and leave the folder's order; a share kept from an earlier
// run goes to its own row again.
TEST(BatchPreflight, EveryRowTakesItsOwnShareInRowOrder) {
    struct Case {
        const char* name;
        QStringList rows;
        int folder;                       // pictures in the folder, all not sent yet
        QHash<int, QStringList> kept;      // by row
        QList<QStringList> shares;        // per row
        QList<QStringList> errors;        // per row, the picture errors only (empty: none)
    };
    const QString missing = u("「画像」列の %1 がフォルダにありません");
    const std::vector<Case> cases{
        {"refused rows between good ones keep theirs", {"ok", "bad", "bad", "ok"}, 8, {},
         {pics({0, 1}), pics({2, 3}), pics({4, 5}), pics({6, 7})}, {}},
        {"a row listed before takes none", {"ok", "id", "ok"}, 4, {}, {pics({0, 1}), {}, pics({2, 3})}, {}},
        {"a named row's files leave the order", {"ok", "=05.jpg 04", "ok"}, 6, {},
         {pics({0, 1}), pics({5, 4}), pics({2, 3})}, {}},
        {"names split at commas and full-width marks", {"=00.JPG，01、02　03"}, 4, {}, {pics({0, 1, 2, 3})}, {}},
        {"a name not in the folder", {"=00 zz.jpg", "ok"}, 4, {}, {pics({0}), pics({1, 2})},
         {{missing.arg("zz.jpg")}, {}}},
        {"a file named twice goes to the first", {"=03", "=03"}, 4, {}, {pics({3}), {}},
         {{}, {u("「画像」列の 03 は行2 でも指定されています")}}},
        {"a kept share goes back to its row", {"ok", "ok", "ok"}, 8, {{3, pics({0, 1})}},
         {pics({2, 3}), pics({0, 1}), pics({4, 5})}, {}},
        {"a kept share with a file gone is given anew", {"ok", "ok"}, 6, {{2, pics({0, 9})}},
         {pics({0, 1}), pics({2, 3})}, {}},
        {"a kept share of a row listed meanwhile goes back to the order", {"id", "ok"}, 4, {{2, pics({0, 1})}},
         {{}, pics({0, 1})}, {}},
        {"the row where they run out, and after", {"ok", "bad", "ok", "ok"}, 5, {},
         {pics({0, 1}), pics({2, 3}), {}, {}},
         {{}, {}, {u("画像が足りません：この行で画像がなくなります（残り1枚、2枚必要）")}, {u("画像が足りません（前の行で使い切ります）")}}},
    };
    for (const Case& c : cases) {
        RunPlan plan = goodPlan(c.folder);
        plan.inFolder = plan.pictures;
        plan.kept = c.kept;
        const QList<Verdict> v = preflight(sheetOf(c.rows), plan);
        ASSERT_EQ(v.size(), c.rows.size()) << c.name;
        for (int i = 0; i < v.size(); ++i) {
            EXPECT_EQ(v[i].pictures, c.shares.value(i)) << c.name << " row " << v[i].row;
            QStringList pictureErrors = v[i].errors;
            pictureErrors.removeAll(u("開始価格が1円未満です：0"));
            pictureErrors.removeAll(u("出品済みです（オークションID：x1）。もう一度出品すると二重になります"));
            EXPECT_EQ(pictureErrors, c.errors.value(i)) << c.name << " row " << v[i].row;
        }
    }
}

// Where the folder's pointer stands after each row: past the last share of the folder's order.
TEST(BatchPreflight, ThePointerPassesOnlyTheFolderOrder) {
    RunPlan plan = goodPlan(6);
    plan.inFolder = plan.pictures;
    const QList<Verdict> v = preflight(sheetOf({"ok", "=05", "id", "bad"}), plan);
    EXPECT_EQ(v[0].poolNext, 2);
    EXPECT_EQ(v[1].poolNext, 2);
    EXPECT_EQ(v[2].poolNext, 2);
    // The named 05 is skipped over by nobody: rows 5 takes 02 and 03.
    EXPECT_EQ(v[3].pictures, pics({2, 3}));
    EXPECT_EQ(v[3].poolNext, 4);
}

// A picture that cannot be sent stops only the row whose share holds it: the rows after it
// keep their own.
TEST(BatchPreflight, APictureThatCannotBeSentStopsOnlyItsRow) {
    RunPlan plan = goodPlan(6);
    plan.inFolder = plan.pictures;
    plan.unsendable.insert("/p/03.jpg", u("03.jpg：JPEGではありません"));
    const QList<Verdict> v = preflight({goodRow(2), goodRow(3), goodRow(4)}, plan);
    ASSERT_EQ(v.size(), 3);
    EXPECT_TRUE(v[0].ok());
    EXPECT_EQ(v[1].errors, QStringList{u("送れない画像があります：03.jpg：JPEGではありません")});
    EXPECT_EQ(v[1].pictures, pics({2, 3}));
    EXPECT_TRUE(v[2].ok());
    EXPECT_EQ(v[2].pictures, pics({4, 5}));
}

// A description over the limit once the template is filled says the template's share.
TEST(BatchPreflight, ADescriptionTooLongSaysWhatTheTemplateAdds) {
    RowData row = goodRow(2);
    row.description = QString(5000, QChar(0x3042));
    RunPlan plan = goodPlan();
    plan.templateBytes = 61;
    EXPECT_EQ(preflight({row}, plan)[0].errors,
              QStringList{u("テンプレートに埋めた商品説明が9,999バイトを超えています（10000バイト、うちテンプレート61バイト）")});
}

// What the check says once for the run: why the descriptions are empty, which folder runs short.
TEST(BatchPreflight, TheNotesNameTheMissingTemplateAndTheFolderThatRunsShort) {
    const QString noTemplate = u("画像フォルダに template.txt がないため、説明列は使われません");
    const struct {
        const char* name;
        int pictures;
        bool hasTemplate;
        QString description;
        QStringList notes;
    } cases[] = {
        {"no template: every description empty", 6, false, {}, {noTemplate}},
        {"a template whose marks found nothing is not the cause", 6, true, {}, {}},
        {"descriptions there", 6, false, u("説明"), {}},
        {"the folder runs out at the second row", 3, true, u("説明"),
         {u("画像フォルダ /home/s/pics/ の画像が足りません（残り3枚、2行が画像なし）。画像を足すか、「再選択」で別のフォルダを選んで下さい")}},
        {"both", 0, false, {},
         {noTemplate,
          u("画像フォルダ /home/s/pics/ の画像が足りません（残り0枚、3行が画像なし）。画像を足すか、「再選択」で別のフォルダを選んで下さい")}},
    };
    for (const auto& c : cases) {
        RunPlan plan = goodPlan(c.pictures);
        plan.inFolder = plan.pictures;
        plan.folder = "/home/s/pics/";
        plan.hasTemplate = c.hasTemplate;
        QList<RowData> rows{goodRow(2), goodRow(3), goodRow(4)};
        for (RowData& r : rows) r.description = c.description;
        EXPECT_EQ(reportNotes(preflight(rows, plan), plan), c.notes) << c.name;
    }
}

// The sample picture folder's template takes the sample sheet's description columns and
// nothing past them.
TEST(BatchPreflight, TheSampleTemplateTakesTheSampleDescriptionColumns) {
    QFile tmpl(QStringLiteral(ZK_SOURCE_DIR "/resources/sample-data/pictures/template.txt"));
    ASSERT_TRUE(tmpl.open(QIODevice::ReadOnly));
    const QString text = zk::cp932::toUnicode(tmpl.readAll());
    QFile csv(QStringLiteral(ZK_SOURCE_DIR "/resources/demo/items.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    const QStringList header = lines[0].trimmed().split(',');
    const QStringList row = lines[1].trimmed().split(',');
    // The description columns start two after the title's, as the upload and the run fill them.
    const int first = int(header.indexOf(u("商品名"))) + 1 + 2;
    const QString filled = zk::listing::rules::expandDescription(text, first, [&](int column) { return row.value(column - 1); });
    EXPECT_TRUE(filled.contains(row.value(header.indexOf(u("説明1"))))) << filled.toStdString();
    EXPECT_TRUE(filled.contains(row.value(header.indexOf(u("説明2"))))) << filled.toStdString();
    EXPECT_FALSE(filled.contains(row.value(header.indexOf(u("開始価格"))))) << filled.toStdString();
    EXPECT_FALSE(filled.contains("%%")) << filled.toStdString();
}

// What the report shows of a row: prices as sent and whence, category code and name, closing,
// files, verdict.
TEST(BatchPreflight, TheReportShowsWhatEachRowWillBecome) {
    RunPlan plan = goodPlan(6);
    plan.inFolder = plan.pictures;
    plan.categoryNames.insert("2100100101", u("カメラ"));
    plan.closing = u("12/10 21時");
    RowData bad = goodRow(3);
    bad.buy = "10";
    RowData named = goodRow(4);
    named.pictureNames = "03";
    const QList<Verdict> v = preflight({goodRow(2), bad, named}, plan);
    EXPECT_EQ(reportText(v),
              u("行2「カメラ 一眼レフ」 開始3000 即決5000（ブック） カテゴリ2100100101 カメラ 終了12/10 21時 画像 00.jpg 01.jpg → 出品\n"
                "行3「カメラ 一眼レフ」 開始3000 即決10（ブック） カテゴリ2100100101 カメラ 終了12/10 21時 画像 02.jpg 04.jpg → "
                "飛ばす：即決価格（10）が開始価格（3000）より低くなっています\n"
                "行4「カメラ 一眼レフ」 開始3000 即決5000（ブック） カテゴリ2100100101 カメラ 終了12/10 21時 画像 03.jpg（画像列） → 出品"
                "（「画像」列の1枚で出品します（画像数は2枚））"));
    RunPlan panel = plan;
    panel.workbookPrices = false;
    panel.panelPrices = true;
    panel.panelStart = "900";
    EXPECT_EQ(preflight({goodRow(2)}, panel)[0].start, "900");
    EXPECT_EQ(priceSourceName(preflight({goodRow(2)}, panel)[0].prices), u("パネル"));
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
    EXPECT_EQ(logLine(listed, u("商品.xlsx"), at.addSecs(-60)),
              u("2026/12/07 19:05:01,2,\"カメラ, \"\"美品\"\"\",x1,https://page.a/x1,出品,,商品.xlsx,2026/12/07 19:04:01"));
    EXPECT_EQ(logFileName(QDate(2026, 12, 7)), u("20261207出品ログ.csv"));

    const Outcome skipped{Outcome::Kind::Skipped, 3, u("靴"), {}, {}, u("開始価格がありません"), at};
    const Outcome failed{Outcome::Kind::Failed, 4, u("鞄"), {}, {}, u("カテゴリが正しくありません。"), at};
    EXPECT_EQ(summaryText({listed, skipped, failed}, {}, "/d/log.csv"),
              u("連続出品が終わりました。\n出品 1件　スキップ 1件　失敗 1件\n\n"
                "出品した行：\n行2「カメラ, \"美品\"」：x1\n\n"
                "スキップした行：\n行3「靴」：開始価格がありません\n\n"
                "失敗した行：\n行4「鞄」：カテゴリが正しくありません。\n\n出品ログ：/d/log.csv"));
    EXPECT_EQ(summaryText({listed}, u("停止ボタン。次は行3 から続けます"), {}),
              u("連続出品を途中で止めました（停止ボタン。次は行3 から続けます）。\n出品 1件　スキップ 0件　失敗 0件\n\n"
                "出品した行：\n行2「カメラ, \"美品\"」：x1"));
}

// A title counts as what it becomes in CP932, as the site counts it: the forms an input method
// types for the wave dash, the minus sign and their kin are CP932 characters of two bytes; only a
// character with no CP932 form stops the row.
TEST(BatchPreflight, ATitleCountsAsWhatItBecomesInCp932) {
    const struct {
        QString title;
        QStringList errors;
    } cases[] = {
        {u("ブーツ 22〜24cm 黒"), {}},
        {u("電源 −5V〜＋5V 切替式"), {}},
        {u("A—B‖C ¢£¬"), {}},
        {QString(30, QChar(0x301C)), {}},                                                  // 60 bytes
        {QString(31, QChar(0x301C)), {u("商品名が全角30文字（半角60文字）を超えています（62バイト）")}},
        {u("靴♥セット〜♥"), {u("商品名にサイトで使えない文字があります：♥")}},
        {u("絵😀文字"), {u("商品名にサイトで使えない文字があります：😀")}},
    };
    for (const auto& c : cases) {
        RowData row = goodRow(2);
        row.title = c.title;
        const Verdict v = preflight({row}, goodPlan())[0];
        EXPECT_EQ(v.errors, c.errors) << c.title.toStdString() << ": " << v.errors.join(" | ").toStdString();
        // Sent as the seller typed it.
        EXPECT_EQ(v.title, c.title);
    }
    // What only the site would change in a description is no warning either.
    RowData row = goodRow(2);
    row.description = u("サイズ 22〜24cm −5V");
    EXPECT_TRUE(preflight({row}, goodPlan())[0].warnings.isEmpty());
}

// A seller's "%1" or "%%" is text: every report line, summary line and message takes titles,
// file names and the site's words in one substitution, so none of them is filled again.
TEST(BatchTexts, PercentSignsInTitlesNamesAndSiteWordsAreText) {
    const QStringList titles{u("綿100%2枚組 タオル"), "%1", "%2", "%3", "%4", "%5", "%6", "%7", "%8", "%9",
                             "%%", u("50%OFF %1%2%9 %%"), "%"};
    for (const QString& title : titles) {
        SCOPED_TRACE(title.toStdString());
        RunPlan plan = goodPlan(4);
        plan.inFolder = plan.pictures << QStringLiteral("/p/%1.jpg") << QStringLiteral("/p/a%2%%.jpg");
        plan.closing = u("12/10 21時");
        RowData first = goodRow(2);
        first.title = title;
        first.pictureNames = QStringLiteral("a%2%%");
        RowData second = goodRow(3);
        second.title = title;
        second.pictureNames = QStringLiteral("a%2%% %1");
        const QList<Verdict> v = preflight({first, second}, plan);
        EXPECT_EQ(reportText(v).split('\n').first(),
                  u("行2「") + title + u("」 開始3000 即決5000（ブック） カテゴリ2100100101 終了12/10 21時 画像 a%2%%.jpg（画像列） → 出品") +
                      u("（「画像」列の1枚で出品します（画像数は2枚））"));
        EXPECT_TRUE(v[1].errors.contains(u("「画像」列の a%2%% は行2 でも指定されています"))) << v[1].errors.join(" | ").toStdString();

        const QDateTime at(QDate(2026, 12, 7), QTime(19, 5, 1));
        const QString siteWords = u("カテゴリ%1が正しくありません（%2）");
        const Outcome listed{Outcome::Kind::Listed, 2, title, "x1", {}, {}, at};
        const Outcome failed{Outcome::Kind::Failed, 4, title, {}, {}, siteWords, at};
        const QString stopped = u("停止ボタン。次は行5 から続けます");
        EXPECT_EQ(summaryText({listed, failed}, stopped, {}),
                  u("連続出品を途中で止めました（") + stopped + u("）。\n出品 1件　スキップ 0件　失敗 1件\n\n") +
                      u("出品した行：\n行2「") + title + u("」：x1\n\n失敗した行：\n行4「") + title + u("」：") + siteWords);
        EXPECT_TRUE(logLine(failed, u("綿%1.xlsx"), at).contains(title + u(",,,失敗,") + siteWords + u(",綿%1.xlsx")));
    }
}
