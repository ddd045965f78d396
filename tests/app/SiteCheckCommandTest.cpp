// `zerkon --check-site` as a process, with its headless browser, against the practice site as it
// is and as each of its variants changes it: the exit status, the page and element named, and
// nothing received by the site.
#include "SiteProcess.h"
#include "platform/AutomationError.h"
#include "platform/ProfileFile.h"
#include "platform/chromium/BrowserSettings.h"
#include "platform/chromium/DevToolsClient.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTcpServer>
#include <algorithm>
#include <QThread>
#include <QRegularExpression>
#include <unistd.h>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString buildDir() { return qEnvironmentVariable("ZERKON_BUILD_DIR"); }

struct CheckRun {
    int status = -1;
    QString out, err;
};

// The check on the site's data folder; a check that does not end in time is ended by its pid.
// (The wait blocks this test's event loop: nothing of this process talks to a browser meanwhile.)
CheckRun checkSite(const QString& dataFolder) {
    QProcess zerkon;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZERKON_DATA_DIR", dataFolder);
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    zerkon.setProcessEnvironment(env);
    zerkon.start(buildDir() + "/zerkon", {"--check-site"});
    CheckRun run;
    if (!zerkon.waitForFinished(90000)) {
        zerkon.kill();
        zerkon.waitForFinished(10000);
        run.err = "did not end within 90 s";
        return run;
    }
    run.status = zerkon.exitStatus() == QProcess::NormalExit ? zerkon.exitCode() : -1;
    run.out = QString::fromUtf8(zerkon.readAllStandardOutput());
    run.err = QString::fromUtf8(zerkon.readAllStandardError());
    return run;
}

QStringList listedVariants() {
    QProcess site;
    site.start(zk::test::SiteProcess::programPath(), {"--list-variants"});
    site.waitForFinished(10000);
    return QString::fromUtf8(site.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

struct Case {
    const char* variant;
    QStringList more;    // the site's other arguments
    int status;
    const char* page;    // the page named, with the element, on a line of its own
    const char* element;
    const char* verdict; // the last line begins so
    QStringList empty{}; // the lists found empty, left unjudged
    bool anItem = true;  // the seller has an item whose completion page is shown again
    bool anUnsold = true; // ... and an unsold one, whose item page and relist form are read
};

// The practice site's own pages hold everything; each variant moves exactly one element. The
// completion page is opened again for an item of any list; only the confirmation page stays
// unopened. A list with no item is the seller's state, not a changed page: a new account, or one
// with only current items, holds.
const Case cases[] = {
    {"", {}, 0, nullptr, nullptr, "異常なし"},
    {"", {"--current", "0"}, 0, nullptr, nullptr, "異常なし", {"出品中の一覧"}},
    {"", {"--new-account"}, 0, nullptr, nullptr, "異常なし", {"出品中の一覧", "落札済みの一覧", "落札者なしの一覧"}, false, false},
    {"", {"--sold", "0", "--unsold", "0"}, 0, nullptr, nullptr, "異常なし", {"落札済みの一覧", "落札者なしの一覧"}, true, false},
    {"", {"--current", "0", "--unsold", "0"}, 0, nullptr, nullptr, "異常なし", {"出品中の一覧", "落札者なしの一覧"}, true, false},
    {"renamed-field", {}, 1, "出品フォーム", "item_condition", "異常あり：1項目"},
    {"short-list", {}, 1, "出品フォーム", "ship_days", "異常あり：1項目"},
    {"moved-item-links", {}, 1, "落札者なしの一覧", "/jp/auction/", "異常あり：1項目"},
    {"login-more", {}, 2, "ログイン画面", "otp", "サイトに接続またはログインできません：ログイン画面／otp"},
    {"completion-text", {}, 1, "出品の完了", "このオークションの商品ページを見る", "異常あり：1項目"},
};

// What the table says was found on a page, one entry per element.
QStringList foundOn(const QStringList& lines, const char* page) {
    QStringList found;
    for (const QString& l : lines)
        if (l.startsWith(QString::fromUtf8(page) + '\t')) found << l.section('\t', 3, 3);
    return found;
}

TEST(SiteCheckCommand, NamesWhatEachVariantMovedAndSendsNothing) {
    ASSERT_FALSE(buildDir().isEmpty()) << "ZERKON_BUILD_DIR names the build folder";
    QStringList covered;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variant);
        QStringList args{"--data-folder"};
        QTemporaryDir dataDir;
        const QString data = dataDir.path() + "/data";
        args << data;
        if (*c.variant) args << "--variant" << c.variant;
        args << c.more;
        zk::test::SiteProcess running(args);
        ASSERT_EQ(running.start(), "");
        // The seller's folder is the seller's alone.
        ASSERT_TRUE(QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QJsonObject before = running.state();

        const CheckRun run = checkSite(data);
        EXPECT_EQ(run.status, c.status) << run.out.toStdString() << run.err.toStdString();
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(lines.last().startsWith(QString::fromUtf8(c.verdict))) << lines.last().toStdString();
        if (c.page) {
            const QString named = QString::fromUtf8(c.page) + '\t';
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) {
                return l.startsWith(named) && l.section('\t', 1, 1).contains(QString::fromUtf8(c.element));
            })) << run.out.toStdString();
        }
        if (c.status != 2) {
            const QString unopened = QString::fromUtf8("送信しないと開けないため、開いていません");
            EXPECT_EQ(foundOn(lines, "出品の確認"), QStringList(2, unopened)) << run.out.toStdString();
            const QStringList completion = foundOn(lines, "出品の完了");
            EXPECT_EQ(completion.size(), 2) << run.out.toStdString();
            EXPECT_FALSE(completion.contains(unopened)) << run.out.toStdString();
            if (c.anItem)
                EXPECT_TRUE(completion.value(0).contains("/jp/config/submit?aID=")) << run.out.toStdString();
            else
                EXPECT_EQ(completion, QStringList(2, QString::fromUtf8("出品した商品がまだないため、開いていません")));
            if (!c.anUnsold) {
                const QString noUnsold = QString::fromUtf8("落札者なしの商品がないため、開いていません");
                EXPECT_EQ(foundOn(lines, "商品ページ"), QStringList(1, noUnsold)) << run.out.toStdString();
                EXPECT_EQ(foundOn(lines, "再出品フォーム"), QStringList(2, noUnsold)) << run.out.toStdString();
            }
            // Each list is known by its address and heading, empty or not; only an empty one
            // leaves its items' elements unjudged, and the verdict names it.
            const QString empty = QString::fromUtf8("空のため確かめていません");
            for (const char* list : {"出品中の一覧", "落札済みの一覧", "落札者なしの一覧"}) {
                const QStringList found = foundOn(lines, list);
                const bool isEmpty = c.empty.contains(QString::fromUtf8(list));
                EXPECT_EQ(found.count(empty), isEmpty ? found.size() - 2 : 0) << list << "\n" << run.out.toStdString();
                EXPECT_EQ(lines.last().contains(QString::fromUtf8(list)), isEmpty) << list;
            }
        }
        // Read, never sent: no item, no relist and no picture reached the site.
        const QJsonObject after = running.state();
        EXPECT_EQ(after.value("items").toArray().size(), before.value("items").toArray().size());
        EXPECT_EQ(after.value("relists").toArray(), before.value("relists").toArray());
        for (const QJsonValue& d : after.value("drafts").toArray()) {
            EXPECT_FALSE(d.toObject().value("submitted").toBool());
            EXPECT_TRUE(d.toObject().value("pictures").toArray().isEmpty());
        }
        running.stop();
        if (*c.variant) covered << c.variant;
    }
    QStringList listed = listedVariants();
    listed.sort();
    covered.sort();
    EXPECT_EQ(covered, listed) << "every variant the site offers is tried";
}

// The seller's own browser, started by hand with a debugging port and the practice site's
// names and certificate, a page of the seller's open in it; ended by its pid.
class SellersBrowser {
public:
    SellersBrowser(const QString& folder, const zk::site::SiteInfo& site) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port_ = probe.serverPort();
        probe.close();
        zk::chromium::BrowserSettings s;
        s.headless = 1;
        s.profileFolder = folder;
        s.hostResolverRules = site.hostResolverRules();
        s.certificateSpki = site.certificateSpki;
        QStringList arguments = s.launchArguments(::geteuid() == 0);
        arguments.replaceInStrings("--remote-debugging-pipe", QString("--remote-debugging-port=%1").arg(port_));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* k : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
            QDir().mkpath(folder + "/" + k);
            env.insert(k, folder + "/" + k);
        }
        process_.setProcessEnvironment(env);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start("/usr/bin/chromium", arguments);
        process_.waitForStarted();
    }
    ~SellersBrowser() {
        client_.close();
        process_.kill(); // our own child, by its pid
        process_.waitForFinished(5000);
    }
    QString endpoint() const { return QString("127.0.0.1:%1").arg(port_); }

    // GET of one of the endpoint's JSON lists; an empty document until the browser answers.
    QJsonDocument json(const QString& path, const QByteArray& verb = "GET") const {
        QNetworkAccessManager manager;
        manager.setProxy(QNetworkProxy::NoProxy);
        QNetworkReply* reply = manager.sendCustomRequest(QNetworkRequest(QUrl("http://" + endpoint() + path)), verb);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        const QJsonDocument doc = QJsonDocument::fromJson(reply->readAll());
        delete reply;
        return doc;
    }
    // The browser's pages, "<target ID> <address>", in a stable order.
    std::vector<std::string> pages() const {
        std::vector<std::string> found;
        for (const QJsonValue& v : json("/json/list").array())
            if (v["type"].toString() == "page") found.push_back((v["id"].toString() + " " + v["url"].toString()).toStdString());
        std::sort(found.begin(), found.end());
        return found;
    }
    // Opens a page as the seller does; its target ID, empty until the browser answers.
    QString open(const QString& url) const { return json("/json/new?" + QString::fromLatin1(QUrl::toPercentEncoding(url)), "PUT")["id"].toString(); }

    // A script run in one of the pages, its value handed back.
    QJsonValue run(const QString& targetId, const QString& expression) {
        if (!client_.isOpen()) {
            QString error;
            if (!client_.open(QUrl(json("/json/version")["webSocketDebuggerUrl"].toString()), 10000, &error)) return {};
        }
        const QString session =
            client_.call("Target.attachToTarget", {{"targetId", targetId}, {"flatten", true}}).value("sessionId").toString();
        const QJsonValue value = client_.call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}}, session)
                                     .value("result")
                                     .toObject()
                                     .value("value");
        client_.call("Target.detachFromTarget", {{"sessionId", session}});
        return value;
    }
    // The site's cookies the browser holds: a login there leaves its session.
    int cookiesOf(const QString& host) {
        int n = 0;
        for (const QJsonValue& c : client_.call("Storage.getCookies").value("cookies").toArray())
            n += host.endsWith(c["domain"].toString().remove(QRegularExpression("^\\."))) ? 1 : 0;
        return n;
    }

private:
    int port_ = 0;
    QProcess process_;
    zk::chromium::DevToolsClient client_;
};

// With a debugging endpoint configured, the check works in the seller's running browser, in a
// tab of its own that it closes at the end: the page the seller has open there, with the form
// half filled in, is still there, at its address, with what was typed.
TEST(SiteCheckCommand, InTheSellersRunningBrowserTheCheckLeavesTheSellersPageAsItWas) {
    ASSERT_FALSE(buildDir().isEmpty()) << "ZERKON_BUILD_DIR names the build folder";
    QTemporaryDir dataDir, browserDir;
    const QString data = dataDir.path() + "/data";
    zk::test::SiteProcess running({"--data-folder", data});
    ASSERT_EQ(running.start(), "");
    ASSERT_TRUE(QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    SellersBrowser seller(browserDir.path(), running.info());
    const QString form = "data:text/html,<title>draft</title><form><textarea name=memo></textarea></form>";
    QString tab;
    for (int i = 0; i < 100 && (tab = seller.open(form)).isEmpty(); ++i) QThread::msleep(100);
    ASSERT_FALSE(tab.isEmpty()) << "the seller's browser did not start";
    const QString typed = QString::fromUtf8("書きかけの説明");
    // Typed once the form is there (the new tab shows an empty document first).
    for (int i = 0; i < 100 && !seller.run(tab, "!!document.forms[0]").toBool(); ++i) QThread::msleep(50);
    ASSERT_EQ(seller.run(tab, "document.forms[0].memo.value = '" + typed + "'").toString(), typed);
    const std::vector<std::string> before = seller.pages();
    ASSERT_NE(std::find(before.begin(), before.end(), (tab + " " + form).toStdString()), before.end());

    zk::ProfileFile ini(data + "/System.ini");
    ASSERT_TRUE(ini.load());
    ASSERT_TRUE(ini.writeString("BROWSER", "DEBUG_ENDPOINT", seller.endpoint()));
    const CheckRun run = checkSite(data);
    EXPECT_EQ(run.status, 0) << run.out.toStdString() << run.err.toStdString();

    EXPECT_GT(seller.cookiesOf(running.info().auctionHost().section(':', 0, 0)), 0)
        << "the check logged in in another browser than the seller's";
    EXPECT_EQ(seller.pages(), before) << "a tab of the seller's was taken, or the check's own left open";
    EXPECT_EQ(seller.run(tab, "document.forms[0].memo.value").toString(), typed);
}

} // namespace
