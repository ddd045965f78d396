#pragma once
// One practice site per test suite, started with a fixed clock, and the steps of a listing that
// several tests share.
#include "SiteProcess.h"

#include <QJsonArray>
#include <gtest/gtest.h>
#include <memory>

namespace zk::test {

class SiteSuite : public ::testing::Test {
protected:
    static inline std::unique_ptr<SiteProcess> site;
    static constexpr const char* Now = "2026-12-07T10:30:00";
    static constexpr const char* Category = "2100200101";

    static void SetUpTestSuite() {
        site = std::make_unique<SiteProcess>(QStringList{"--now", Now, "--current", "25", "--sold", "3", "--unsold",
                                                         "4", "--page-size", "10"});
        const QString error = site->start();
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }
    static void TearDownTestSuite() { site.reset(); }

    const site::SiteInfo& info() const { return site->info(); }
    std::string auction(const std::string& path) const { return "http://" + info().auctionHost().toStdString() + path; }
    std::string listingUrl(const std::string& code = Category) const { return info().listingUrl().toStdString() + code; }

    SiteClient loggedIn() const {
        SiteClient client(info());
        const auto reply = client.login(info().user.toStdString(), info().password.toStdString());
        EXPECT_EQ(reply.status, 200);
        return client;
    }

    // Category confirmation, then the entry form (the reply of pressing "auc_insertion_ok").
    SiteClient::Reply openEntryForm(SiteClient& client, const std::string& code = Category) const {
        const auto confirm = client.get(listingUrl(code));
        EXPECT_EQ(confirm.status, 200);
        const std::string form0 = html::forms(confirm.body).at(0);
        EXPECT_NE(form0.find("name=\"auc_insertion_ok\""), std::string::npos);
        return client.post(auction(html::attributeNear(form0, "<form", "action")),
                           {{"category", html::attributeNear(form0, "name=\"category\"", "value")},
                            {"auc_insertion_ok", "1"}});
    }

    static std::string draftOf(const std::string& page) { return html::attributeNear(page, "name=\"draft\"", "value"); }

    // What a seller sends from the entry form: the first offered closing slot.
    static SiteClient::Params validListing(const std::string& page, const std::string& title = "練習の出品") {
        return {{"draft", draftOf(page)},
                {"item_title", title},
                {"item_description", "<p>説明</p>"},
                {"html_mode", "1"},
                {"salesmode", "auction"},
                {"price_start", "1500"},
                {"price_buynow", " "},
                {"ClosingDate", html::optionValues(page, "ClosingDate").at(0)},
                {"ClosingTime", html::optionValues(page, "ClosingTime").at(0)},
                {"item_condition", "good"},
                {"auto_extend", "1"},
                {"bank_count", "2"},
                {"bank_name1", "練習銀行"},
                {"bank_name2", "見本信用金庫"},
                {"pay_count", "0"}};
    }

    static QJsonObject itemById(const QJsonObject& state, const std::string& id) {
        for (const auto& v : state.value("items").toArray())
            if (v.toObject().value("id").toString().toStdString() == id) return v.toObject();
        return {};
    }
};

} // namespace zk::test
