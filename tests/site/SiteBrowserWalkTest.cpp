// A seller's round on the practice site in a real headless Chromium, started with the settings
// of the data folder the site writes: log in, open a category, switch the description editor,
// pick the closing date by keys, add bank blocks, register a picture through the file chooser,
// list, relist an unsold item and page through the current list.
#include "SiteProcess.h"

#include "platform/AutomationError.h"
#include "platform/ProfileFile.h"
#include "platform/chromium/BrowserSettings.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "platform/chromium/FileChooserWindow.h"
#include "site/ClosingSlots.h"
#include "site/DataFolder.h"
#include "site/SiteTexts.h"
#include "tests/support/TempFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

using namespace zk::test;
namespace texts = zk::site::texts;

namespace {

constexpr const char* Now = "2026-12-07T10:30:00";

class SiteBrowserWalk : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("chromium").isEmpty()) GTEST_SKIP() << "chromium is not installed";
        ASSERT_TRUE(site_.start().isEmpty());
        ASSERT_TRUE(zk::site::writeDataFolder(site_.info(), temp_.path() + "/data").isEmpty());
        zk::ProfileFile ini(temp_.path() + "/data/System.ini");
        ASSERT_TRUE(ini.load());
        zk::chromium::BrowserSettings settings = zk::chromium::BrowserSettings::read(ini, temp_.path() + "/data/");
        settings.headless = 1;
        settings.profileFolder = temp_.path() + "/profile";
        QString error;
        browser_ = zk::chromium::ChromiumBrowser::launch(settings, &error);
        ASSERT_TRUE(browser_) << error.toStdString();
    }

    void TearDown() override {
        if (browser_) browser_->quit();   // ends the browser this test started
        browser_.reset();
        // The browser leaves some files read-only in its profile.
        QDirIterator it(temp_.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::ReadOwner | QFile::ExeOwner);
        }
    }

    void pump(int ms) {
        QDeadlineTimer t(ms);
        while (!t.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
    }

    // Waits until the page has finished loading.
    void waitIdle() {
        QDeadlineTimer deadline(20000);
        pump(30);
        while (browser_->busy() && !deadline.hasExpired()) pump(10);
        while (!deadline.hasExpired() && eval("document.readyState").toString() != "complete") pump(10);
    }

    void go(const QString& url) {
        browser_->navigate(url);
        waitIdle();
    }

    QJsonValue eval(const QString& expression) {
        const QJsonObject reply = browser_->pageCall("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}});
        return reply.value("result").toObject().value("value");
    }

    // An action that loads another page.
    void act(const QString& expression) {
        eval(expression);
        waitIdle();
    }

    void key(const QString& name, int code, const QString& text = {}) {
        QJsonObject down{{"type", text.isEmpty() ? "rawKeyDown" : "keyDown"}, {"key", name}, {"code", name},
                         {"windowsVirtualKeyCode", code}};
        if (!text.isEmpty()) down.insert("text", text);
        browser_->pageCall("Input.dispatchKeyEvent", down);
        browser_->pageCall("Input.dispatchKeyEvent", {{"type", "keyUp"}, {"key", name}, {"code", name}, {"windowsVirtualKeyCode", code}});
        pump(20);
    }

    QString url() { return eval("location.href").toString(); }

    // The hour values the closing-time list holds now.
    std::vector<int> timeOptions() {
        std::vector<int> hours;
        for (const auto& v : eval("Array.from(document.getElementById('ClosingTime').options).map(o => +o.value)").toArray())
            hours.push_back(v.toInt());
        return hours;
    }

    // The panel's way: eight presses up, then n down.
    void chooseDateByKeys(int steps) {
        eval("document.getElementById('ClosingDate').focus()");
        for (int i = 0; i < 8; ++i) key("ArrowUp", 38);
        for (int i = 0; i < steps; ++i) key("ArrowDown", 40);
    }

    QJsonObject itemById(const QString& id) {
        for (const auto& v : site_.state().value("items").toArray())
            if (v.toObject().value("id").toString() == id) return v.toObject();
        return {};
    }

    SiteProcess site_{{"--now", Now, "--current", "25", "--unsold", "2", "--page-size", "10"}};
    TempFolder temp_;
    std::shared_ptr<zk::chromium::ChromiumBrowser> browser_;
};

} // namespace

TEST_F(SiteBrowserWalk, ListRelistAndPageThroughInARealBrowser) {
    const auto& info = site_.info();
    const auto days = zk::site::closingDays(QDateTime::fromString(Now, Qt::ISODate));
    const int last = static_cast<int>(days.size()) - 1;

    // Log in through form 0 of the login page.
    go(info.loginUrl());
    eval(QString("document.forms[0].login.value=%1;document.forms[0].passwd.value=%2")
             .arg(QJsonDocument(QJsonArray{info.user}).toJson(QJsonDocument::Compact).mid(1).chopped(1),
                  QJsonDocument(QJsonArray{info.password}).toJson(QJsonDocument::Compact).mid(1).chopped(1)));
    act("document.forms[0].submit()");
    ASSERT_EQ(url(), info.auctionTop());

    // Category, then the entry form through the confirm element of form 0.
    go(info.listingUrl() + "2100400201");
    act("document.forms[0].elements['auc_insertion_ok'].click()");
    ASSERT_TRUE(eval("!!document.getElementById('auc_submit1')").toBool()) << url().toStdString();

    // The description editor switches to HTML input when its link gets Enter.
    eval(QString("Array.from(document.links).find(a => a.firstChild && a.firstChild.nodeValue === '%1').focus()")
             .arg(texts::HtmlTagLink));
    key("Enter", 13, "\r");
    EXPECT_EQ(eval("document.getElementById('html_mode').value").toString(), "1");
    EXPECT_EQ(eval("document.getElementById('item_description').style.display").toString(), "");

    // Space on the focused auction radio button selects the sales mode.
    eval("document.getElementById('salesmode_auction').focus()");
    key(" ", 32, " ");
    EXPECT_TRUE(eval("document.getElementById('salesmode_auction').checked").toBool());

    // Closing date by keys: the hour list follows the date as the panel's does.
    chooseDateByKeys(2);
    EXPECT_EQ(eval("document.getElementById('ClosingDate').selectedIndex").toInt(), 2);
    EXPECT_EQ(timeOptions().size(), 24u);
    chooseDateByKeys(0);
    EXPECT_EQ(eval("document.getElementById('ClosingDate').selectedIndex").toInt(), 0);
    EXPECT_EQ(timeOptions(), days[0].hours);
    chooseDateByKeys(last);
    EXPECT_EQ(eval("document.getElementById('ClosingDate').selectedIndex").toInt(), last);
    EXPECT_EQ(timeOptions(), days[last].hours);
    eval("document.getElementById('ClosingTime').selectedIndex = 1");

    // Two more bank blocks by the add button.
    eval("document.getElementById('auc_add_bkform').click(); document.getElementById('auc_add_bkform').click()");
    EXPECT_EQ(eval("document.getElementById('bank_count').value").toString(), "3");
    EXPECT_EQ(eval("document.getElementsByName('bank_name3').length").toInt(), 1);
    eval("document.getElementsByName('bank_name3')[0].value = '第三銀行';"
         "document.forms[0].item_title.value = 'ブラウザからの出品';"
         "document.forms[0].price_start.value = '2500';"
         "document.forms[0].item_description.value = '<p>説明</p>'");

    // Picture registration: focus ImageFile1, Tab to its browse button, Space opens the chooser.
    act(QString("Array.from(document.forms[0].elements).find(e => e.value === '%1').click()").arg(texts::ToPicturePage));
    ASSERT_TRUE(eval("!!document.forms[0].elements['ImageFile1']").toBool()) << url().toStdString();
    const QString picture = temp_.path() + "/p1.jpg";
    {
        QFile f(picture);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(200, 'j'));
    }
    eval("document.forms[0].elements['ImageFile1'].focus()");
    key("Tab", 9);
    key(" ", 32, " ");
    QDeadlineTimer chooserWait(5000);
    while (!browser_->fileChooser() && !chooserWait.hasExpired()) pump(20);
    ASSERT_NE(browser_->fileChooser(), nullptr);
    browser_->fileChooser()->fileNameBox()->setText(picture);
    ASSERT_TRUE(browser_->fileChooser()->accept());
    pump(100);
    act("document.forms[0].submit()");
    EXPECT_TRUE(eval("document.body.innerText.includes('p1.jpg')").toBool());
    act("document.forms[1].submit()");
    EXPECT_TRUE(eval(QString("Array.from(document.forms[0].elements).some(e => e.value === '%1')").arg(texts::EditPictures)).toBool());
    EXPECT_EQ(eval("document.getElementsByName('bank_name3')[0].value").toString(), "第三銀行");

    // Confirmation and completion.
    act("document.getElementById('auc_submit1').click()");
    ASSERT_TRUE(url().endsWith("preview")) << url().toStdString();
    act(QString("Array.from(document.getElementsByTagName('input')).reverse().find(e => e.value === '%1').click()")
            .arg(texts::AgreeAndList));
    ASSERT_TRUE(url().contains(info.auctionHost() + "/jp/config/submit")) << url().toStdString();
    const QString link = eval(QString("Array.from(document.links).find(a => a.firstChild && a.firstChild.nodeValue === '%1').href")
                                  .arg(texts::ItemPageLink)).toString();
    const QString id = link.mid(link.lastIndexOf('/') + 1);
    const QJsonObject item = itemById(id);
    EXPECT_EQ(item.value("title").toString(), "ブラウザからの出品");
    EXPECT_EQ(item.value("closingDate").toString(), days[last].date.toString(Qt::ISODate));
    EXPECT_EQ(item.value("closingHour").toInt(), days[last].hours[1]);
    EXPECT_EQ(item.value("salesMode").toString(), "auction");
    EXPECT_TRUE(item.value("htmlDescription").toBool());
    EXPECT_EQ(item.value("fields").toObject().value("bank_name3").toString(), "第三銀行");
    ASSERT_EQ(item.value("pictures").toArray().size(), 1);
    EXPECT_EQ(item.value("pictures").toArray()[0].toObject().value("name").toString(), "p1.jpg");
    go(link);
    EXPECT_TRUE(url().endsWith("/" + id));

    // Relist the first unsold item from its page, by the address the panel builds.
    go(info.closedListUrl() + "0");
    ASSERT_TRUE(url().contains("hasWinner=0"));
    const QString itemLink = eval("Array.from(document.links).map(a => a.href).find(h => h.includes('/jp/auction/'))").toString();
    go(itemLink);
    EXPECT_TRUE(eval(QString("Array.from(document.links).some(a => a.firstChild && a.firstChild.nodeValue === '%1')")
                         .arg(texts::RelistLink)).toBool());
    const QString unsoldId = itemLink.mid(itemLink.lastIndexOf('/') + 1);
    const QString here = url();
    go(here.left(here.indexOf('.') + 1) + info.auctionHost() + "/jp/show/resubmit?aID=" + unsoldId);
    EXPECT_TRUE(eval("document.title").toString().contains(texts::EntryTitle));
    act("document.forms[0].elements['auc_insertion_ok'].click()");
    eval("document.getElementById('salesmode_auction').focus()");
    key(" ", 32, " ");
    chooseDateByKeys(1);
    eval("document.getElementById('ClosingTime').selectedIndex = 5");
    act("document.getElementById('auc_submit1').click()");
    ASSERT_TRUE(url().endsWith("preview")) << eval("document.body.innerText").toString().toStdString();
    act(QString("Array.from(document.getElementsByTagName('input')).reverse().find(e => e.value === '%1').click()")
            .arg(texts::AgreeAndList));
    EXPECT_TRUE(url().contains("/jp/config/submit"));
    EXPECT_FALSE(itemById(unsoldId).value("relistedAs").toString().isEmpty());
    go(info.closedListUrl() + "0");
    EXPECT_FALSE(eval(QString("document.body.innerHTML.includes('/jp/auction/%1\"')").arg(unsoldId)).toBool());

    // Page through the current list: 26 items by 10, then a page without item links.
    const QString marker = "." + info.auctionHost() + "/jp/auction/";
    const QString countLinks = QString("Array.from(document.links).filter(a => { const i = a.getAttribute('href').indexOf('%1'); "
                                       "return i >= 0 && i < 20 && a.firstChild && a.firstChild.nodeType === 3; }).length").arg(marker);
    std::vector<int> perPage;
    for (int page = 1; page <= 5; ++page) {
        go(info.sellingListUrl() + (page > 1 ? "&apg=" + QString::number(page) : QString()));
        perPage.push_back(eval(countLinks).toInt());
        if (perPage.back() == 0) break;
    }
    EXPECT_EQ(perPage, (std::vector<int>{10, 10, 7, 0}));
}
