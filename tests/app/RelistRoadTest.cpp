// Relisting through the main window's buttons against the practice site and the real browser:
// the bulk relist over several list pages with the price panel in use, ticked boxes, the stop
// button, and the single relist; the site's record of relists is the judge.
#include "app/Mainforinst.h"
#include "browser/Iectrl.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "support/TempFolder.h"
#include "../site/SiteProcess.h"
#include "ui_Mainform.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using zk::MessageService;
using zk::test::ScopedEnv;
using zk::test::TempFolder;

namespace {

zk::test::SiteProcess* site = nullptr;
QTemporaryDir* siteData = nullptr;

constexpr int Unsold = 12;

QString readCp932(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return zk::cp932::toUnicode(file.readAll());
}

class RelistRoadTest : public ::testing::Test {
protected:
    // A fresh site for each test: the relists of one must not change the list of the next.
    RelistRoadTest()
        : data_("ZERKON_DATA_DIR", dir_.path() + "/data"), registry_("ZERKON_REGISTRY_FILE", dir_.file("registry.ini")) {
        MessageService::instance().clearTranscript();
        MessageService::instance().setAnswers({});
    }
    ~RelistRoadTest() override {
        main_.reset(); // quits the browser it started
        delete site;
        site = nullptr;
        delete siteData;
        siteData = nullptr;
    }

    void start() {
        siteData = new QTemporaryDir;
        site = new zk::test::SiteProcess({"--data-folder", siteData->path(), "--unsold", QString::number(Unsold),
                                          "--page-size", "5"});
        const QString error = site->start();
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        for (int i = 0; i < 100 && !QFile::exists(siteData->path() + "/FieldsDefine.ini"); ++i) QTest::qWait(50);
        QString ini = readCp932(siteData->path() + "/System.ini");
        ini.replace(QRegularExpression("EXCEL_DIR=[^\r\n]*"), "EXCEL_DIR=" + dir_.path());
        dir_.writeCp932("data/System.ini", ini + "\r\n[BROWSER]\r\nHEADLESS=1\r\nPROFILE=" + dir_.path() + "/profile\r\n");
        dir_.writeCp932("data/FieldsDefine.ini", readCp932(siteData->path() + "/FieldsDefine.ini"));
        QFile::copy(siteData->path() + "/category.txt", dir_.path() + "/data/category.txt");
        main_ = std::make_unique<zk::TMainForInst1>();
        QElapsedTimer waited;
        waited.start();
        while (!main_->startupRan() && !main_->ended() && waited.elapsed() < 60000) QTest::qWait(20);
        ASSERT_FALSE(main_->ended()) << texts().join(" / ").toStdString();
        ASSERT_EQ(main_->shared().IEConnected, 1);
        // A closing date with every hour, and no jitter.
        ui().ClosingDate->setCurrentIndex(2);
        main_->closingTime().ClosingDateChange();
        ui().ClosingTime->setCurrentIndex(10);
        main_->closingTime().ClosingTimeChange();
        ui().TimeSway->setItemIndex(1);
    }

    Ui::TMain& ui() { return *main_->ui(); }
    zk::TIECtrl& ie() { return *main_->shared().IE; }
    QStringList texts() const {
        QStringList t;
        for (const auto& entry : MessageService::instance().transcript()) t << entry["text"].toString();
        return t;
    }
    int count(const QString& text) const { return int(texts().count(text)); }
    QJsonArray relists() const { return site->state()["relists"].toArray(); }
    QJsonObject item(const QString& id) const {
        for (const auto& v : site->state()["items"].toArray())
            if (v.toObject()["id"].toString() == id) return v.toObject();
        return {};
    }
    void openUnsoldList() {
        ui().GoReShuppin->click();
        ASSERT_TRUE(ie().GetUrl().contains("hasWinner=0")) << ie().GetUrl().toStdString();
    }
    // The price panel slides open; its prices replace the items' own.
    void usePanelPrices(const QString& start, const QString& buy) {
        ui().RSKingakuPanelCheck->click();
        for (int i = 0; i < 100 && !ui().RSKingakuPanelCheck->isEnabled(); ++i) QTest::qWait(50);
        ui().RSStartPrice->setText(start);
        ui().RSBuyPrice->setText(buy);
    }

    TempFolder dir_;
    ScopedEnv data_;
    ScopedEnv registry_;
    std::unique_ptr<zk::TMainForInst1> main_;
};

const QString AllDone = QString::fromUtf8(
    "全ての再出品が終了しました。\n\n残っているものは,既に出品されているか\n再出品に失敗したものです。");

} // namespace

// One item's page is refused by the site every time: it is skipped silently, and the run still
// ends by itself instead of collecting that item again in every pass.
TEST_F(RelistRoadTest, BulkRelistOverThreeListPagesRelistsEveryItemOnceAtThePanelsPrices) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(openUnsoldList());
    ASSERT_EQ(ie().SelectByName("aidlist"), 0);
    const QString refused = ie().GetItemAttribute(2, "value");
    ASSERT_EQ(site->control("fault", "kind=error&count=-1&path=/jp/auction/" + refused.toStdString()), 200);
    usePanelPrices("800", "2400");
    MessageService::instance().clearTranscript();
    MessageService::instance().setAnswers({"Yes", "Yes", "OK"});
    ui().ReShuppinAll->click();

    const QJsonArray done = relists();
    QSet<QString> from;
    for (const auto& r : done) from.insert(r.toObject()["from"].toString());
    EXPECT_EQ(done.size(), Unsold - 1) << texts().join(" / ").toStdString();
    EXPECT_EQ(from.size(), Unsold - 1) << "an item relisted twice";
    EXPECT_FALSE(from.contains(refused));
    for (const auto& r : done) {
        const QJsonObject relisted = item(r.toObject()["to"].toString());
        EXPECT_EQ(relisted["startPrice"].toInt(), 800);
        EXPECT_EQ(relisted["buyNowPrice"].toInt(), 2400);
    }
    EXPECT_EQ(count(AllDone), 1);
    EXPECT_EQ(texts().first(), QString::fromUtf8("開始価格/即決価格が入力されています。\n全てこの価格で再出品されます。続行しますか？"));
    EXPECT_EQ(texts()[1], QString::fromUtf8("全件の再出品処理を行います。よろしいですか？"));
    EXPECT_TRUE(ie().GetUrl().contains("hasWinner=0")) << "back on the list without a winner";
    EXPECT_FALSE(ui().StopReshuppin->isVisible());
    EXPECT_TRUE(ui().ReShuppinAll->isEnabled());
}

TEST_F(RelistRoadTest, TickedBoxesRelistOnlyThoseInOnePassAndStopEndsAfterTheCurrentItem) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(openUnsoldList());
    // The second and fourth items of the first page are ticked.
    QStringList ids;
    ASSERT_EQ(ie().SelectByName("aidlist"), 0);
    for (int i : {1, 3}) {
        ie().List.call("item", {i}).put("checked", true);
        ids << ie().GetItemAttribute(i, "value");
    }
    MessageService::instance().setAnswers({"Yes", "OK"});
    ui().ReShuppinAll->click();
    QStringList from;
    for (const auto& r : relists()) from << r.toObject()["from"].toString();
    EXPECT_EQ(from, ids);
    EXPECT_EQ(texts(), QStringList({QString::fromUtf8("チェックされた項目の再出品処理を行います。よろしいですか？"), AllDone}));

    // Stop pressed while the run waits on the browser: it ends after the item under way, and a
    // second run relists the rest.
    MessageService::instance().clearTranscript();
    MessageService::instance().setAnswers({"Yes", "OK", "Yes", "OK"});
    QTimer::singleShot(1500, [this] { ui().StopReshuppin->click(); });
    ui().ReShuppinAll->click();
    const int afterStop = int(relists().size());
    EXPECT_GT(afterStop, 2);
    EXPECT_LT(afterStop, Unsold) << "the stop came too late to be seen";
    EXPECT_EQ(count(AllDone), 1);
    ui().ReShuppinAll->click();
    EXPECT_EQ(relists().size(), Unsold);
    EXPECT_EQ(count(AllDone), 2);
}

TEST_F(RelistRoadTest, SingleRelistFromAnItemPageAndRefusalsOfOtherPages) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(openUnsoldList());
    // Not an item page: the list itself.
    ui().ReShuppin->click();
    EXPECT_EQ(texts(), QStringList({QString::fromUtf8("商品個別の再出品ページから行って下さい。")}));

    ASSERT_EQ(ie().SelectByName("aidlist"), 0);
    const QString id = ie().GetItemAttribute(0, "value");
    ASSERT_EQ(ie().NavigateWait(site->info().itemUrl(id)), 0);
    MessageService::instance().clearTranscript();
    ui().ReShuppin->click();
    ASSERT_EQ(relists().size(), 1) << texts().join(" / ").toStdString();
    EXPECT_EQ(relists()[0].toObject()["from"].toString(), id);
    EXPECT_TRUE(ie().GetUrl().contains("hasWinner=0")) << "back on the list without a winner";

    // Already relisted: the relist page says so.
    ASSERT_EQ(ie().NavigateWait(site->info().itemUrl(id)), 0);
    MessageService::instance().clearTranscript();
    ui().ReShuppin->click();
    EXPECT_EQ(relists().size(), 1);
    EXPECT_EQ(texts(), QStringList()) << "the site says it is listed already: the relist stops silently";

    // The bulk relist only on the list without a winner.
    MessageService::instance().clearTranscript();
    ui().ReShuppinAll->click();
    EXPECT_EQ(texts(), QStringList({QString::fromUtf8("[出品終了分]の[落札者無し]ページで行って下さい")}));
}
