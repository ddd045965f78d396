// The login, category and entry pages as the workflows meet them: names, texts and addresses.
#include "SiteFixture.h"

#include "site/ClosingSlots.h"
#include "site/DataFolder.h"
#include "site/SiteTexts.h"

#include "platform/ProfileFile.h"
#include "tests/support/TempFolder.h"

#include <httplib.h>

using namespace zk::test;
namespace texts = zk::site::texts;

using SitePages = SiteSuite;

TEST_F(SitePages, LoginPageHasTheTwoFieldsInFormZeroAtTheConfiguredAddress) {
    SiteClient client(info());
    const auto reply = client.get(info().loginUrl().toStdString());
    ASSERT_EQ(reply.status, 200);
    const auto forms = html::forms(reply.body);
    ASSERT_FALSE(forms.empty());
    EXPECT_NE(forms[0].find("name=\"login\""), std::string::npos);
    EXPECT_NE(forms[0].find("name=\"passwd\""), std::string::npos);
    EXPECT_EQ(html::attributeNear(forms[0], "name=\".done\"", "value"), info().auctionTop().toStdString());
}

TEST_F(SitePages, WrongPasswordShowsTheLoginPageAgainAndRecordsTheAttempt) {
    SiteClient client(info());
    const auto reply = client.login(info().user.toStdString(), "wrong");
    EXPECT_EQ(reply.status, 200);
    EXPECT_NE(reply.body.find(texts::LoginFailed), std::string::npos);
    EXPECT_NE(reply.body.find("name=\"passwd\""), std::string::npos);
    EXPECT_TRUE(client.cookie("zk_session").empty());
    const auto logins = site->state().value("logins").toArray();
    ASSERT_FALSE(logins.isEmpty());
    EXPECT_FALSE(logins.last().toObject().value("ok").toBool());
}

TEST_F(SitePages, LoginReturnsToTheAuctionTopWithASessionForAuctionAndItemHosts) {
    SiteClient client(info());
    const auto reply = client.login(info().user.toStdString(), info().password.toStdString());
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.url, info().auctionTop().toStdString());
    EXPECT_NE(reply.body.find(info().user.toStdString()), std::string::npos);
    EXPECT_FALSE(client.cookie("zk_session").empty());
    // The session reaches the item-page host too (the relist form lives there).
    const auto relist = client.get("http://" + info().pageHost().toStdString() + "/jp/show/mystatus?select=selling");
    EXPECT_EQ(relist.status, 200);
    EXPECT_EQ(relist.url.find("https://"), std::string::npos);
    const auto logins = site->state().value("logins").toArray();
    EXPECT_TRUE(logins.last().toObject().value("ok").toBool());
}

TEST_F(SitePages, SellerPagesSendAStrangerToTheLoginPageAndBack) {
    SiteClient client(info());
    const auto first = client.get(listingUrl(), false);
    EXPECT_EQ(first.status, 302);
    // (The HTTP client hands over the Location header already decoded.)
    const std::string loginPage = "https://" + info().loginHost().toStdString() + "/config/login?.lg=jp&.intl=jp&.src=auc&.done=";
    EXPECT_EQ(first.location, loginPage + listingUrl());
    // After logging in from there, the browser lands on the page it asked for.
    const auto login = client.get(loginPage + httplib::detail::encode_query_param(listingUrl()));
    const std::string done = html::attributeNear(login.body, "name=\".done\"", "value");
    EXPECT_EQ(done, listingUrl());
    const auto back = client.login(info().user.toStdString(), info().password.toStdString(), done);
    EXPECT_EQ(back.url, listingUrl());
    EXPECT_NE(back.body.find("auc_insertion_ok"), std::string::npos);
}

TEST_F(SitePages, LoginDoesNotFollowAReturnAddressOffTheSite) {
    SiteClient client(info());
    const auto reply = client.login(info().user.toStdString(), info().password.toStdString(), "http://example.com/");
    EXPECT_EQ(reply.url, info().auctionTop().toStdString());
}

TEST_F(SitePages, EachHostAnswersOnlyOnItsOwnServer) {
    SiteClient client(info());
    const std::string http = std::to_string(info().httpPort);
    const std::string https = std::to_string(info().httpsPort);
    EXPECT_EQ(client.get("http://other.sim.test:" + http + "/jp").status, 404);
    EXPECT_EQ(client.get("https://" + info().auctionHostName.toStdString() + ":" + https + "/jp").status, 404);
    EXPECT_EQ(client.get("http://" + info().loginHostName.toStdString() + ":" + http + "/config/login").status, 404);
    EXPECT_EQ(client.get("http://" + info().pageHost().toStdString() + "/jp/auction/k100000001").status, 200);
}

TEST_F(SitePages, CategoryConfirmationAndEntryFormCarryEveryNamedElement) {
    SiteClient client = loggedIn();
    const auto entry = openEntryForm(client);
    ASSERT_EQ(entry.status, 200);
    const std::string& page = entry.body;
    const auto forms = html::forms(page);
    ASSERT_EQ(forms.size(), 1u);
    const std::string& form0 = forms[0];
    for (const char* name : {"item_title", "item_description", "price_start", "price_buynow", "ClosingDate",
                             "ClosingTime", "item_condition", "return_ok", "ship_payer", "ship_note"})
        EXPECT_NE(form0.find("name=\"" + std::string(name) + "\""), std::string::npos) << name;
    for (const char* id : {"salesmode_auction", "auc_add_bkform", "auc_add_pyform", "auc_submit1"})
        EXPECT_NE(form0.find("id=\"" + std::string(id) + "\""), std::string::npos) << id;
    EXPECT_EQ(html::attributeNear(form0, "id=\"auc_submit1\"", "type"), "submit");
    EXPECT_EQ(html::attributeNear(form0, "id=\"auc_add_bkform\"", "type"), "button");
    // The link's first child is its text.
    EXPECT_NE(page.find(std::string(">") + texts::HtmlTagLink + "</a>"), std::string::npos);
    EXPECT_NE(form0.find(std::string("value=\"") + texts::ToPicturePage + "\""), std::string::npos);
    EXPECT_EQ(form0.find(texts::EditPictures), std::string::npos);
    EXPECT_NE(html::title(page).find(texts::EntryTitle), std::string::npos);
}

TEST_F(SitePages, UnknownCategoryGivesAnErrorPage) {
    SiteClient client = loggedIn();
    const auto reply = client.get(listingUrl("2100200100"));
    EXPECT_EQ(reply.status, 404);
    EXPECT_NE(reply.body.find(texts::UnknownCategory), std::string::npos);
    EXPECT_EQ(reply.body.find("auc_insertion_ok"), std::string::npos);
}

TEST_F(SitePages, ClosingListsOfferWhatThePanelOffersAtTheSameMoment) {
    SiteClient client = loggedIn();
    const auto entry = openEntryForm(client);
    const auto state = site->state();
    const auto days = zk::site::closingDays(QDateTime::fromString(Now, Qt::ISODate));
    const auto dates = html::optionValues(entry.body, "ClosingDate");
    ASSERT_EQ(dates.size(), days.size());
    for (size_t i = 0; i < days.size(); ++i) {
        EXPECT_EQ(dates[i], days[i].date.toString(Qt::ISODate).toStdString());
        EXPECT_NE(entry.body.find(">" + days[i].label.toStdString() + "</option>"), std::string::npos);
    }
    // The first date is preselected, so its hours are the ones shown; the script table holds
    // the hours of every date for the rebuild when the date changes.
    std::vector<std::string> firstHours;
    for (int h : days[0].hours) firstHours.push_back(std::to_string(h));
    EXPECT_EQ(html::optionValues(entry.body, "ClosingTime"), firstHours);
    EXPECT_EQ(firstHours, (std::vector<std::string>{"22", "23"}));
    std::string table = "var zkHours=[";
    for (size_t i = 0; i < days.size(); ++i) {
        table += i ? ",[" : "[";
        for (size_t k = 0; k < days[i].hours.size(); ++k) table += (k ? "," : "") + std::to_string(days[i].hours[k]);
        table += "]";
    }
    EXPECT_NE(entry.body.find(table + "]"), std::string::npos);
}

TEST_F(SitePages, FieldsDefineNamesAreAllOnTheEntryFormOnceTheBlocksAreAdded) {
    zk::test::TempFolder temp;
    ASSERT_TRUE(zk::site::writeDataFolder(info(), temp.path()).isEmpty());
    zk::ProfileFile ini(temp.path() + "/FieldsDefine.ini");
    ASSERT_TRUE(ini.load());
    SiteClient client = loggedIn();
    const std::string page = openEntryForm(client).body;
    const std::string templates = html::between(page, "var zkBlockTemplates=", "</script>");
    for (int s = 1; s <= ini.readInteger("SYSTEM", "SECTION_NUM", 0); ++s) {
        const QString section = "SECTION" + QString::number(s);
        for (int i = 1; i <= ini.readInteger(section, "NUM", 0); ++i) {
            const std::string name = ini.readString(section, "NAME" + QString::number(i)).toStdString();
            const std::string attr = "name=\"" + name + "\"";
            if (page.find(attr) != std::string::npos) continue;
            // A block field the add buttons create: its stem is in the script's template.
            std::string stem = name;
            while (!stem.empty() && std::isdigit(static_cast<unsigned char>(stem.back()))) stem.pop_back();
            EXPECT_NE(templates.find("name=\\\"" + stem + "__N__\\\""), std::string::npos) << name;
        }
    }
}
