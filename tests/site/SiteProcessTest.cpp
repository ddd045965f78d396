// Starting and stopping the site program, its options, and the data-folder mode.
#include "SiteProcess.h"

#include "tests/support/TempFolder.h"
#include "platform/ProfileFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <atomic>
#include <thread>
#include <unistd.h>

using namespace zk::test;

namespace {

// Connections that are opened and then send nothing, as a stalled or hostile client leaves
// them; closed when the test ends, also when it fails.
class IdleConnections {
public:
    IdleConnections(int port, int count) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (int i = 0; i < count; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (fd < 0) break;
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
                ::close(fd);
                break;
            }
            fds_.push_back(fd);
        }
    }
    ~IdleConnections() {
        for (int fd : fds_) ::close(fd);
    }
    IdleConnections(const IdleConnections&) = delete;
    IdleConnections& operator=(const IdleConnections&) = delete;
    int count() const { return static_cast<int>(fds_.size()); }

private:
    std::vector<int> fds_;
};

// Far longer than a page takes, far shorter than idle connections holding every worker for
// their whole timeout would make a page wait.
constexpr int AnswerBoundSeconds = 15;

} // namespace

TEST(SiteProcess, PublishesItsPortsAndStopsCleanlyOnSigterm) {
    SiteProcess site;
    ASSERT_TRUE(site.start().isEmpty());
    EXPECT_GT(site.info().httpPort, 0);
    EXPECT_GT(site.info().httpsPort, 0);
    EXPECT_NE(site.info().httpPort, site.info().httpsPort);
    EXPECT_EQ(site.info().pid, site.pid());
    EXPECT_TRUE(QFile::exists(site.info().certificateFile));
    EXPECT_EQ(site.info().certificateSpki.size(), 44);
    QFile cert(site.info().certificateFile);
    ASSERT_TRUE(cert.open(QIODevice::ReadOnly));
    const QByteArray pem = cert.readAll();
    EXPECT_TRUE(pem.startsWith("-----BEGIN CERTIFICATE-----"));
    EXPECT_FALSE(pem.contains("PRIVATE KEY"));
    const auto state = site.state();
    EXPECT_EQ(state.value("items").toArray().size(), 45 + 25 + 12);

    EXPECT_EQ(site.stop(), 0);
    EXPECT_FALSE(QFile::exists(site.stateFile()));
    EXPECT_TRUE(site.output().contains("stopped (SIGTERM)"));
}

TEST(SiteProcess, SeedFileSetsCountsAndAccount) {
    TempFolder temp;
    const QString seed = temp.write("seed.json", R"({"current": 2, "sold": 0, "unsold": 7, "pageSize": 5,
                                                   "user": "seller_b", "password": "pw b"})");
    SiteProcess site({"--seed", seed});
    ASSERT_TRUE(site.start().isEmpty());
    const auto state = site.state();
    EXPECT_EQ(state.value("items").toArray().size(), 9);
    EXPECT_EQ(state.value("pageSize").toInt(), 5);
    EXPECT_EQ(site.info().user, "seller_b");
    SiteClient client(site.info());
    EXPECT_EQ(client.login("seller_b", "pw b").url, site.info().auctionTop().toStdString());
}

TEST(SiteProcess, BadOptionsAndABusyPortFailWithAMessage) {
    for (const QStringList& args : {QStringList{"--http-port", "70000"}, QStringList{"--current", "-1"},
                                    QStringList{"--bogus"}, QStringList{"--auction-host", "nodots"},
                                    QStringList{"--now", "yesterday"}}) {
        QProcess p;
        p.start(SiteProcess::programPath(), args);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains("zerkon-site:"));
    }
    SiteProcess first;
    ASSERT_TRUE(first.start().isEmpty());
    QProcess second;
    second.start(SiteProcess::programPath(), {"--http-port", QString::number(first.info().httpPort)});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 2);
    EXPECT_TRUE(second.readAllStandardError().contains("cannot listen"));
}

TEST(SiteProcess, WritesTheDataFolderForARunningSiteFromItsStateFile) {
    SiteProcess site;
    ASSERT_TRUE(site.start().isEmpty());
    TempFolder temp;
    QProcess writer;
    writer.start(SiteProcess::programPath(), {"--write-data-folder", temp.path() + "/data", "--state", site.stateFile()});
    ASSERT_TRUE(writer.waitForFinished(10000));
    ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    zk::ProfileFile ini(temp.path() + "/data/System.ini");
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("SITE", "AUCTION_HOST"), site.info().auctionHost());
    EXPECT_EQ(ini.readString("SITE", "CERT_SPKI"), site.info().certificateSpki);
    EXPECT_TRUE(QFile::exists(temp.path() + "/data/FieldsDefine.ini"));
    EXPECT_TRUE(QFile::exists(temp.path() + "/data/category.txt"));

    QProcess missing;
    missing.start(SiteProcess::programPath(), {"--write-data-folder", temp.path() + "/x", "--state", temp.path() + "/none.json"});
    ASSERT_TRUE(missing.waitForFinished(10000));
    EXPECT_EQ(missing.exitCode(), 2);
}

TEST(SiteProcess, DataFolderOptionWritesTheFolderAtStart) {
    TempFolder temp;
    SiteProcess site({"--data-folder", temp.path() + "/d", "--http-port", "0"});
    ASSERT_TRUE(site.start().isEmpty());
    zk::ProfileFile ini(temp.path() + "/d/System.ini");
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("SYSTEM", "SHUPPIN_CHUU_URL"), site.info().sellingListUrl());
}

TEST(SiteProcess, WritesAFolderForFixedPortsWithoutARunningSiteByteForByteTheSame) {
    TempFolder temp;
    QByteArray first[3];
    for (int run = 0; run < 2; ++run) {
        const QString dir = temp.path() + "/run" + QString::number(run);
        QProcess writer;
        writer.start(SiteProcess::programPath(), {"--write-data-folder", dir, "--http-port", "18080", "--https-port",
                                                  "18443", "--excel-dir", "/home/seller/workbooks"});
        ASSERT_TRUE(writer.waitForFinished(10000));
        ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
        int i = 0;
        for (const char* name : {"System.ini", "FieldsDefine.ini", "category.txt"}) {
            QFile f(dir + "/" + name);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            if (run == 0) first[i] = bytes;
            else EXPECT_EQ(bytes, first[i]) << name;
            ++i;
        }
    }
    zk::ProfileFile ini(temp.path() + "/run0/System.ini");
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("SITE", "AUCTION_HOST"), "auctions.sim.test:18080");
    EXPECT_EQ(ini.readString("SYSTEM", "EXCEL_DIR"), "/home/seller/workbooks");
    EXPECT_TRUE(ini.readString("SITE", "CERT_SPKI").isEmpty());

    QProcess noPorts;
    noPorts.start(SiteProcess::programPath(), {"--write-data-folder", temp.path() + "/x"});
    ASSERT_TRUE(noPorts.waitForFinished(10000));
    EXPECT_EQ(noPorts.exitCode(), 2);
}

TEST(SiteProcess, AnswersPagesWhileManyIdleConnectionsWait) {
    SiteProcess site;
    ASSERT_TRUE(site.start().isEmpty());
    IdleConnections idleAuction(site.info().httpPort, 200);
    IdleConnections idleLogin(site.info().httpsPort, 200);
    ASSERT_EQ(idleAuction.count(), 200);
    ASSERT_EQ(idleLogin.count(), 200);

    httplib::Client auction("127.0.0.1", site.info().httpPort);
    auction.set_connection_timeout(AnswerBoundSeconds);
    auction.set_read_timeout(AnswerBoundSeconds);
    const auto item = auction.Get("/jp/auction/k100000001", {{"Host", site.info().pageHost().toStdString()}});
    ASSERT_TRUE(item) << httplib::to_string(item.error());
    EXPECT_EQ(item->status, 200);

    httplib::SSLClient login("127.0.0.1", site.info().httpsPort);
    login.enable_server_certificate_verification(false);
    login.set_connection_timeout(AnswerBoundSeconds);
    login.set_read_timeout(AnswerBoundSeconds);
    const auto page = login.Get("/config/login", {{"Host", site.info().loginHost().toStdString()}});
    ASSERT_TRUE(page) << httplib::to_string(page.error());
    EXPECT_EQ(page->status, 200);
}

// The slow page is open to anyone on the machine: a client asking for many at once gets a few,
// the rest of the site keeps answering, and a SIGTERM ends the site without waiting them out.
TEST(SiteProcess, SlowPagesAreFewAtATimeAndASigtermCutsThemShort) {
    SiteProcess site;
    ASSERT_TRUE(site.start().isEmpty());
    const std::string host = site.info().pageHost().toStdString();
    std::atomic<int> refused{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < 7; ++i)
        clients.emplace_back([&] {
            httplib::Client client("127.0.0.1", site.info().httpPort);
            client.set_read_timeout(60);
            const auto reply = client.Get("/_sim/slow?ms=600000", {{"Host", host}});
            if (reply && reply->status == 503) ++refused;
        });
    for (int waited = 0; refused < 3 && waited < AnswerBoundSeconds * 100; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(refused, 3);

    httplib::Client auction("127.0.0.1", site.info().httpPort);
    auction.set_read_timeout(AnswerBoundSeconds);
    const auto item = auction.Get("/jp/auction/k100000001", {{"Host", host}});
    ASSERT_TRUE(item) << httplib::to_string(item.error());
    EXPECT_EQ(item->status, 200);

    // Four pages still wait (up to their 30 s bound); the stop does not.
    QElapsedTimer stopping;
    stopping.start();
    EXPECT_EQ(site.stop(), 0);
    EXPECT_LT(stopping.elapsed(), 5000) << "a stop waited for the slow pages";
    for (std::thread& t : clients) t.join();
}
