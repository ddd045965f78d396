// The pages in a real headless Chromium: the HTTPS login host with the pinned certificate and
// the host-resolver rule the data folder names, and the entry form's scripts parsing cleanly.
#include "SiteProcess.h"

#include "tests/support/TempFolder.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <httplib.h>

using namespace zk::test;

namespace {

class Chromium {
public:
    explicit Chromium(const zk::site::SiteInfo& info) : info_(info) {}

    struct Result {
        QString dom;
        QString log;
        int exitCode = -1;
    };

    // Loads the address and returns the DOM after load, with the console log.
    Result dumpDom(const QString& url) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", temp_.path());
        env.insert("XDG_CONFIG_HOME", temp_.path() + "/config");
        env.insert("XDG_CACHE_HOME", temp_.path() + "/cache");
        env.insert("TMPDIR", temp_.path());
        p.setProcessEnvironment(env);
        p.start(program(), {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                            "--disable-background-networking", "--disable-component-update", "--disable-sync",
                            "--user-data-dir=" + temp_.path() + "/profile",
                            "--host-resolver-rules=" + info_.hostResolverRules(),
                            "--ignore-certificate-errors-spki-list=" + info_.certificateSpki,
                            "--enable-logging=stderr", "--v=0", "--dump-dom", url});
        Result r;
        if (!p.waitForStarted(10000)) return r;
        if (!p.waitForFinished(60000)) {
            p.kill();   // our own child
            p.waitForFinished(5000);
            return r;
        }
        r.exitCode = p.exitCode();
        r.dom = QString::fromUtf8(p.readAllStandardOutput());
        r.log = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    static QString program() { return QStandardPaths::findExecutable("chromium"); }

private:
    zk::site::SiteInfo info_;
    TempFolder temp_;
};

class SiteChromium : public ::testing::Test {
protected:
    void SetUp() override {
        if (Chromium::program().isEmpty()) GTEST_SKIP() << "chromium is not installed";
        ASSERT_TRUE(site.start().isEmpty());
    }
    SiteProcess site{{"--now", "2026-12-07T10:30:00"}};
};

} // namespace

TEST_F(SiteChromium, LoginPageLoadsOverHttpsWithThePinnedCertificate) {
    Chromium chromium(site.info());
    const auto r = chromium.dumpDom(site.info().loginUrl());
    EXPECT_TRUE(r.dom.contains("name=\"login\"")) << r.log.right(2000).toStdString();
    EXPECT_TRUE(r.dom.contains("name=\"passwd\""));
}

TEST_F(SiteChromium, EntryFormLoadsInTheBrowsersSessionWithoutScriptErrors) {
    SiteClient client(site.info());
    client.login(site.info().user.toStdString(), site.info().password.toStdString());
    const auto confirm = client.post("http://" + site.info().auctionHost().toStdString() + "/jp/show/submit",
                                     {{"category", "2100200101"}, {"auc_insertion_ok", "1"}});
    const std::string draft = html::attributeNear(confirm.body, "name=\"draft\"", "value");
    ASSERT_FALSE(draft.empty());
    // Hand this session to the browser, landing on the entry form of the draft.
    const std::string done = "http://" + site.info().auctionHost().toStdString() + "/jp/show/submit/form?draft=" + draft;
    std::string handoff;
    ASSERT_EQ(site.control("session", "session=" + client.cookie("zk_session") + "&done=" +
                                          httplib::detail::encode_query_param(done),
                           &handoff),
              200);
    QString url = QString::fromStdString(handoff).trimmed();

    Chromium chromium(site.info());
    const auto r = chromium.dumpDom(url);
    EXPECT_TRUE(r.dom.contains("id=\"auc_submit1\"")) << r.log.right(2000).toStdString();
    EXPECT_TRUE(r.dom.contains("HTMLタグ入力"));
    EXPECT_TRUE(r.dom.contains("id=\"ClosingTime\""));
    EXPECT_FALSE(r.log.contains("Uncaught")) << r.log.toStdString();
    EXPECT_FALSE(r.log.contains("SyntaxError")) << r.log.toStdString();
}

TEST_F(SiteChromium, ItemPageOnTheItemHostLoads) {
    Chromium chromium(site.info());
    const auto r = chromium.dumpDom(site.info().itemUrl("k100000001"));
    EXPECT_TRUE(r.dom.contains("k100000001")) << r.log.right(2000).toStdString();
}
