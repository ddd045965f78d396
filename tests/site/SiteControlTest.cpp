// Who may use the site's control addresses, and what the published state gives away.
#include "SiteProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>

using namespace zk::test;

namespace {

constexpr const char* Password = "pw-only-in-the-state-file";

std::string itemStatus(const QJsonObject& state, const std::string& id) {
    for (const auto& v : state.value("items").toArray())
        if (v.toObject().value("id").toString().toStdString() == id)
            return v.toObject().value("status").toString().toStdString();
    return {};
}

std::string firstSellingItem(const QJsonObject& state) {
    for (const auto& v : state.value("items").toArray())
        if (v.toObject().value("status").toString() == "selling") return v.toObject().value("id").toString().toStdString();
    return {};
}

class SiteControl : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(site.start().isEmpty()); }

    // A request as another program on the machine would send it: no token, or a wrong one.
    int status(const std::string& method, const std::string& target, const std::string& token) {
        httplib::Client client("127.0.0.1", site.info().httpPort);
        httplib::Headers headers;
        if (!token.empty()) headers.emplace(zk::site::ControlTokenHeader, token);
        const auto res = method == "GET" ? client.Get(target.c_str(), headers)
                                         : client.Post(target.c_str(), headers, std::string(),
                                                       "application/x-www-form-urlencoded");
        return res ? res->status : 0;
    }

    SiteProcess site{{"--password", Password}};
};

} // namespace

TEST_F(SiteControl, ControlAddressesRefuseARequestWithoutTheTokenAndChangeNothing) {
    const std::string id = firstSellingItem(site.state());
    ASSERT_FALSE(id.empty());
    const std::string wrong(site.info().controlToken.size(), '0');
    ASSERT_FALSE(site.info().controlToken.isEmpty());
    ASSERT_NE(site.info().controlToken.toStdString(), wrong);
    const std::pair<std::string, std::string> requests[] = {
        {"GET", "/_sim/state"},
        {"POST", "/_sim/fault?kind=error&count=-1"},
        {"POST", "/_sim/close?winner=1&aID=" + id},
        {"POST", "/_sim/session"},
    };
    for (const auto& [method, target] : requests) {
        EXPECT_EQ(status(method, target, {}), 403) << target;
        EXPECT_EQ(status(method, target, wrong), 403) << target;
        EXPECT_EQ(status(method, target, site.info().controlToken.toStdString() + "0"), 403) << target;
    }
    const QJsonObject state = site.state();
    EXPECT_EQ(state.value("faults").toObject().value("error").toObject().value("count").toInt(), 0);
    EXPECT_EQ(itemStatus(state, id), "selling");
    EXPECT_EQ(state.value("sessions").toInt(), 0);

    // With the token from the state file they work.
    std::string handoff;
    EXPECT_EQ(site.control("session", "", &handoff), 200);
    EXPECT_NE(handoff.find("/config/session?t="), std::string::npos);
    EXPECT_EQ(site.control("close", "winner=1&aID=" + id), 200);
    EXPECT_EQ(site.control("fault", "kind=clear"), 200);
    EXPECT_EQ(itemStatus(site.state(), id), "sold");

    // The slow page reads and changes nothing; a browser reaches it without a token.
    EXPECT_EQ(status("GET", "/_sim/slow?ms=0", {}), 200);
}

TEST_F(SiteControl, PublishedStateHoldsNoSecretAndTheStateFileIsOwnerOnly) {
    const QJsonObject state = site.state();
    ASSERT_FALSE(state.isEmpty());
    const QByteArray text = QJsonDocument(state).toJson();
    EXPECT_FALSE(text.contains(Password));
    EXPECT_FALSE(text.contains("password"));
    EXPECT_FALSE(text.contains(site.info().controlToken.toUtf8()));
    EXPECT_EQ(state.value("site").toObject().value("user").toString(), site.info().user);

    // The state file keeps both for its owner.
    EXPECT_EQ(site.info().password, Password);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(site.stateFile()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}
