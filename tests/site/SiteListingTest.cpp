// A listing from the entry form through pictures, confirmation and completion, the checks that
// refuse a bad one, and a relist of an ended item.
#include "SiteFixture.h"

#include "platform/Cp932.h"
#include "site/SiteTexts.h"

#include <QDir>
#include <QFile>

using namespace zk::test;
namespace texts = zk::site::texts;

namespace {

std::string jpeg(const std::string& tag) { return std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF-" + tag + std::string(64, 'x'); }

} // namespace

using SiteListing = SiteSuite;

TEST_F(SiteListing, PicturesAreStoredAndTheEntryFormKeepsWhatWasTyped) {
    SiteClient client = loggedIn();
    const auto entry = openEntryForm(client);
    const std::string draft = draftOf(entry.body);
    // "画像登録画面へ" sends the form to the picture page.
    auto typed = validListing(entry.body, "写真つき<b>&\"出品\"");
    typed.push_back({"to_pictures", texts::ToPicturePage});
    const auto pictures = client.post(auction("/jp/show/image"), typed);
    ASSERT_EQ(pictures.status, 200);
    const auto forms = html::forms(pictures.body);
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(html::attributeNear(forms[0], "<form", "enctype"), "multipart/form-data");
    for (const char* input : {"ImageFile1", "ImageFile2", "ImageFile3"})
        EXPECT_EQ(html::attributeNear(forms[0], "name=\"" + std::string(input) + "\"", "type"), "file") << input;

    const auto uploaded = client.postMultipart(auction(html::attributeNear(forms[0], "<form", "action")),
                                               {{"draft", draft, "", ""},
                                                {"ImageFile1", jpeg("one"), "a.JPG", "image/jpeg"},
                                                {"ImageFile2", jpeg("two"), "b.jpg", "image/jpeg"},
                                                {"ImageFile3", "", "", "application/octet-stream"}});
    ASSERT_EQ(uploaded.status, 200);
    EXPECT_EQ(html::forms(uploaded.body).size(), 2u);
    EXPECT_NE(uploaded.body.find("a.JPG"), std::string::npos);

    // Form 1 returns to the entry form.
    const auto back = client.post(auction(html::attributeNear(html::forms(uploaded.body)[1], "<form", "action")),
                                  {{"draft", draft}});
    ASSERT_EQ(back.status, 200);
    EXPECT_NE(back.body.find(std::string("value=\"") + texts::EditPictures + "\""), std::string::npos);
    EXPECT_EQ(back.body.find(texts::ToPicturePage), std::string::npos);
    EXPECT_EQ(html::attributeNear(back.body, "name=\"item_title\"", "value"), "写真つき<b>&\"出品\"");
    EXPECT_EQ(back.body.find("<b>&"), std::string::npos);
    EXPECT_EQ(html::attributeNear(back.body, "name=\"bank_name2\"", "value"), "見本信用金庫");
    EXPECT_NE(back.body.find("id=\"salesmode_auction\" value=\"auction\" checked"), std::string::npos);

    const auto state = site->state();
    QJsonArray stored;
    for (const auto& d : state.value("drafts").toArray())
        if (d.toObject().value("id").toString().toStdString() == draft) stored = d.toObject().value("pictures").toArray();
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[0].toObject().value("name").toString(), "a.JPG");
    QFile file(QDir(info().storeDir).filePath(stored[1].toObject().value("stored").toString()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), jpeg("two"));
}

TEST_F(SiteListing, AReplacedOrRemovedPictureLeavesTheStoreUnlessAnItemStillShowsIt) {
    SiteClient client = loggedIn();
    auto picturesOf = [&](const std::string& draft) {
        for (const auto& d : site->state().value("drafts").toArray())
            if (d.toObject().value("id").toString().toStdString() == draft) return d.toObject().value("pictures").toArray();
        return QJsonArray();
    };
    auto storedFile = [&](const QJsonArray& pictures, int i) {
        return QDir(info().storeDir).filePath(pictures.at(i).toObject().value("stored").toString());
    };
    auto upload = [&](const std::string& draft, const std::string& tag) {
        return client.postMultipart(auction("/jp/show/image/upload"),
                                    {{"draft", draft, "", ""}, {"ImageFile1", jpeg(tag), tag + ".jpg", "image/jpeg"}})
            .status;
    };

    const std::string draft = draftOf(openEntryForm(client).body);
    ASSERT_EQ(upload(draft, "first"), 200);
    const QString first = storedFile(picturesOf(draft), 0);
    ASSERT_TRUE(QFile::exists(first));
    ASSERT_EQ(upload(draft, "second"), 200);
    const QJsonArray replaced = picturesOf(draft);
    ASSERT_EQ(replaced.size(), 1);
    EXPECT_FALSE(QFile::exists(first));
    const QString second = storedFile(replaced, 0);
    ASSERT_TRUE(QFile::exists(second));
    ASSERT_EQ(client.postMultipart(auction("/jp/show/image/upload"), {{"draft", draft, "", ""}, {"remove", "1", "", ""}})
                  .status,
              200);
    EXPECT_TRUE(picturesOf(draft).isEmpty());
    EXPECT_FALSE(QFile::exists(second));

    // A relist starts with the ended item's own picture files: replacing one there keeps the
    // item's file.
    ASSERT_EQ(upload(draft, "listed"), 200);
    const QString listed = storedFile(picturesOf(draft), 0);
    const auto form = client.post(auction("/jp/show/submit/form"), {{"draft", draft}});
    ASSERT_EQ(client.post(auction("/jp/show/preview"), validListing(form.body)).status, 200);
    const auto done = client.post(auction("/jp/config/submit"), {{"draft", draft}});
    ASSERT_EQ(done.status, 200);
    const std::string link = html::attributeNear(done.body, std::string(">") + texts::ItemPageLink + "</a>", "href");
    const std::string id = link.substr(link.rfind('/') + 1);
    ASSERT_EQ(site->control("close", "aID=" + id + "&winner=0"), 200);
    const auto relist = client.post(auction("/jp/show/resubmit"), {{"aID", id}, {"auc_insertion_ok", "1"}});
    ASSERT_EQ(relist.status, 200);
    const std::string relistDraft = draftOf(relist.body);
    ASSERT_EQ(storedFile(picturesOf(relistDraft), 0), listed);
    ASSERT_EQ(upload(relistDraft, "relisted"), 200);
    EXPECT_TRUE(QFile::exists(listed));
    EXPECT_TRUE(QFile::exists(storedFile(picturesOf(relistDraft), 0)));
    EXPECT_NE(storedFile(picturesOf(relistDraft), 0), listed);
}

// A description as long as the template may be: 9,999 bytes in CP932, half again as long in UTF-8
// and three times that percent-encoded, which a form body of at most 8 KB could never carry.
TEST_F(SiteListing, AFullDescriptionIsStoredWholeFromEitherEncodingAndAnOversizedFormGetsAPage) {
    // Nine one-byte characters, among them what the encodings must escape, and 4,995 two-byte ones.
    std::string description = "A&B=C+D%\n";
    for (int i = 0; i < 4995; ++i) description += "説";
    ASSERT_EQ(zk::cp932::fromUnicode(QString::fromStdString(description)).size(), 9999);

    for (const bool multipart : {false, true}) {
        SCOPED_TRACE(multipart ? "multipart" : "form-encoded");
        SiteClient client = loggedIn();
        const auto entry = openEntryForm(client);
        auto fields = validListing(entry.body);
        for (auto& [name, value] : fields)
            if (name == texts::DescriptionField) value = description;
        std::vector<SiteClient::Part> parts;
        for (const auto& [name, value] : fields) parts.push_back({name, value, "", ""});
        const auto preview = multipart ? client.postMultipart(auction("/jp/show/preview"), parts)
                                       : client.post(auction("/jp/show/preview"), fields);
        ASSERT_EQ(preview.status, 200) << preview.body.substr(0, 400);
        const auto done = client.post(auction("/jp/config/submit"), {{"draft", draftOf(entry.body)}});
        ASSERT_EQ(done.status, 200);
        const std::string link = html::attributeNear(done.body, std::string(">") + texts::ItemPageLink + "</a>", "href");
        const QJsonObject item = itemById(site->state(), link.substr(link.rfind('/') + 1));
        EXPECT_EQ(item.value("description").toString().toStdString(), description);
    }

    // Beyond what any form needs: a page that says so, and the connection still serves.
    SiteClient client = loggedIn();
    const auto entry = openEntryForm(client);
    auto fields = validListing(entry.body);
    fields.push_back({"padding", std::string(1100 * 1024, 'x')});
    const auto refused = client.post(auction("/jp/show/preview"), fields);
    EXPECT_EQ(refused.status, 413);
    EXPECT_NE(refused.body.find(texts::FormTooLarge), std::string::npos);
    EXPECT_EQ(client.post(auction("/jp/show/preview"), validListing(entry.body)).status, 200);
}

TEST_F(SiteListing, AListingGoesThroughConfirmationToItsItemPage) {
    SiteClient client = loggedIn();
    const auto entry = openEntryForm(client);
    const std::string draft = draftOf(entry.body);
    ASSERT_EQ(client.postMultipart(auction("/jp/show/image/upload"),
                                   {{"draft", draft, "", ""}, {"ImageFile1", jpeg("p"), "p.jpg", "image/jpeg"}})
                  .status,
              200);
    const auto again = client.post(auction("/jp/show/submit/form"), {{"draft", draft}});
    auto params = validListing(again.body, "鉄道模型 出品テスト");
    params.push_back({"auc_submit1", texts::ConfirmButton});
    const auto preview = client.post(auction(html::attributeNear(html::forms(again.body)[0], "<form", "action")), params);
    ASSERT_EQ(preview.status, 200);
    ASSERT_GE(preview.url.size(), 7u);
    EXPECT_EQ(preview.url.substr(preview.url.size() - 7), "preview");
    EXPECT_NE(preview.body.find(std::string("value=\"") + texts::AgreeAndList + "\""), std::string::npos);

    const std::string agreeForm = html::forms(preview.body).at(0);
    const auto done = client.post(auction(html::attributeNear(agreeForm, "<form", "action")), {{"draft", draft}});
    ASSERT_EQ(done.status, 200);
    EXPECT_NE(done.url.find(info().auctionHost().toStdString() + "/jp/config/submit"), std::string::npos);
    EXPECT_NE(done.body.find(texts::ListedMessage), std::string::npos);
    const std::string link = html::attributeNear(done.body, std::string(">") + texts::ItemPageLink + "</a>", "href");
    ASSERT_FALSE(link.empty());
    const std::string id = link.substr(link.rfind('/') + 1);
    EXPECT_EQ(link, info().itemUrl(QString::fromStdString(id)).toStdString());

    // On the current list the item has a picture link (no text) and then its title link.
    const auto selling = client.get(info().sellingListUrl().toStdString());
    const size_t pictureLink = selling.body.find("<a href=\"" + link + "\"><img");
    ASSERT_NE(pictureLink, std::string::npos);
    EXPECT_EQ(selling.body.find("<a href=\"" + link + "\">鉄道模型 出品テスト</a>"),
              selling.body.find("<a href=\"" + link + "\"", pictureLink + 1));

    const auto itemPage = client.get(link);
    EXPECT_EQ(itemPage.status, 200);
    EXPECT_NE(itemPage.body.find("鉄道模型 出品テスト"), std::string::npos);
    EXPECT_NE(itemPage.body.find("/jp/image/"), std::string::npos);

    const QJsonObject item = itemById(site->state(), id);
    ASSERT_FALSE(item.isEmpty());
    EXPECT_EQ(item.value("status").toString(), "selling");
    EXPECT_EQ(item.value("category").toString(), Category);
    EXPECT_EQ(item.value("startPrice").toInt(), 1500);
    EXPECT_EQ(item.value("buyNowPrice").toInt(), 0);
    EXPECT_EQ(item.value("salesMode").toString(), "auction");
    EXPECT_EQ(item.value("closingDate").toString(), "2026-12-09");
    EXPECT_EQ(item.value("closingHour").toInt(), 22);
    EXPECT_TRUE(item.value("htmlDescription").toBool());
    EXPECT_EQ(item.value("fields").toObject().value("bank_name2").toString(), "見本信用金庫");
    EXPECT_EQ(item.value("pictures").toArray().size(), 1);

    // The same draft cannot list a second time.
    const auto twice = client.post(auction("/jp/config/submit"), {{"draft", draft}});
    EXPECT_EQ(twice.status, 404);
    EXPECT_EQ(twice.body.find(texts::ItemPageLink), std::string::npos);

    // The completion page again by its address, for the seller's own item only, listing nothing;
    // a stranger is sent to log in first.
    const int items = site->state().value("items").toArray().size();
    const struct {
        std::string query;
        int status;
    } shownAgain[] = {{"?aID=" + id, 200}, {"?aID=k999999999", 404}, {"?aID=", 404}, {"", 404}};
    for (const auto& c : shownAgain) {
        const auto page = client.get(auction("/jp/config/submit" + c.query));
        EXPECT_EQ(page.status, c.status) << c.query;
        if (c.status == 200)
            EXPECT_EQ(html::attributeNear(page.body, std::string(">") + texts::ItemPageLink + "</a>", "href"), link);
        else
            EXPECT_NE(page.body.find(texts::UnknownAuction), std::string::npos) << c.query;
    }
    EXPECT_EQ(SiteClient(info()).get(auction("/jp/config/submit?aID=" + id), false).status, 302);
    EXPECT_EQ(site->state().value("items").toArray().size(), items);
}

TEST_F(SiteListing, BadSubmissionsGiveAnErrorPageAndNoListing) {
    SiteClient client = loggedIn();
    const auto entry = openEntryForm(client);
    const int before = site->state().value("items").toArray().size();
    struct Case {
        const char* field;
        std::string value;
        const char* message;
    };
    std::string longTitle;
    for (int i = 0; i < 31; ++i) longTitle += "長";
    const std::vector<Case> cases{
        {"item_title", "", texts::TitleMissing},
        {"item_title", longTitle, texts::TitleTooLong},
        {"price_start", "千円", texts::StartPriceInvalid},
        {"price_buynow", "1000", texts::BuyNowBelowStart},
        {"ClosingTime", "21", texts::ClosingTimeInvalid},
        {"ClosingDate", "2026-12-08", texts::ClosingTimeInvalid},
        {"salesmode", "", texts::SalesModeMissing},
    };
    for (const Case& c : cases) {
        auto params = validListing(entry.body);
        for (auto& p : params)
            if (p.first == c.field) p.second = c.value;
        const auto preview = client.post(auction("/jp/show/preview"), params);
        EXPECT_EQ(preview.status, 400) << c.field;
        EXPECT_NE(preview.body.find(c.message), std::string::npos) << c.field;
        EXPECT_EQ(preview.body.find(texts::AgreeAndList), std::string::npos) << c.field;
        // Sending the agree step anyway lists nothing either.
        EXPECT_EQ(client.post(auction("/jp/config/submit"), {{"draft", draftOf(entry.body)}}).status, 400) << c.field;
    }
    EXPECT_EQ(site->state().value("items").toArray().size(), before);
}

TEST_F(SiteListing, ANonPictureUploadIsRefusedAndNothingIsStored) {
    SiteClient client = loggedIn();
    const std::string draft = draftOf(openEntryForm(client).body);
    const auto reply = client.postMultipart(auction("/jp/show/image/upload"),
                                            {{"draft", draft, "", ""},
                                             {"ImageFile1", "#!/bin/sh\necho not a picture\n", "x.jpg", "image/jpeg"}});
    EXPECT_EQ(reply.status, 400);
    EXPECT_NE(reply.body.find(texts::PictureNotImage), std::string::npos);
    const auto back = client.post(auction("/jp/show/submit/form"), {{"draft", draft}});
    EXPECT_NE(back.body.find(texts::ToPicturePage), std::string::npos);
}

TEST_F(SiteListing, AnotherSessionCannotUseSomeonesDraft) {
    SiteClient owner = loggedIn();
    const std::string draft = draftOf(openEntryForm(owner).body);
    SiteClient other = loggedIn();
    const auto reply = other.post(auction("/jp/show/submit/form"), {{"draft", draft}});
    EXPECT_EQ(reply.status, 404);
    EXPECT_NE(reply.body.find(texts::UnknownDraft), std::string::npos);
}

TEST_F(SiteListing, AnEndedItemIsRelistedOnceAndLeavesTheWithoutWinnerList) {
    SiteClient client = loggedIn();
    const auto list = client.get(info().closedListUrl().toStdString() + "0");
    const auto links = html::attributesNear(list.body, "/jp/auction/", "href");
    ASSERT_FALSE(links.empty());
    const std::string itemUrl = links.front();
    const std::string id = itemUrl.substr(itemUrl.rfind('/') + 1);

    const auto itemPage = client.get(itemUrl);
    const std::string relistHref = html::attributeNear(itemPage.body, std::string(">") + texts::RelistLink + "</a>", "href");
    ASSERT_FALSE(relistHref.empty());
    // The relist address the panel builds: up to the first ".", the auction host, the path.
    const std::string built = itemUrl.substr(0, itemUrl.find('.') + 1) + info().auctionHost().toStdString() +
                              "/jp/show/resubmit?aID=" + id;
    const auto relist = client.get(built);
    ASSERT_EQ(relist.status, 200);
    EXPECT_NE(html::title(relist.body).find(texts::EntryTitle), std::string::npos);
    const std::string form0 = html::forms(relist.body).at(0);
    EXPECT_NE(form0.find("name=\"auc_insertion_ok\""), std::string::npos);

    const std::string pageBase = "http://" + info().pageHost().toStdString();
    const auto entry = client.post(pageBase + html::attributeNear(form0, "<form", "action"), {{"aID", id}, {"auc_insertion_ok", "1"}});
    ASSERT_EQ(entry.status, 200);
    EXPECT_NE(html::title(entry.body).find(texts::EntryTitle), std::string::npos);
    EXPECT_EQ(html::attributeNear(entry.body, "id=\"auc_submit1\"", "type"), "submit");
    EXPECT_FALSE(html::attributeNear(entry.body, "name=\"item_title\"", "value").empty());

    auto params = validListing(entry.body, html::attributeNear(entry.body, "name=\"item_title\"", "value"));
    const auto preview = client.post(pageBase + "/jp/show/preview", params);
    ASSERT_EQ(preview.status, 200);
    const auto done = client.post(pageBase + "/jp/config/submit", {{"draft", draftOf(entry.body)}});
    ASSERT_EQ(done.status, 200);
    EXPECT_NE(done.url.find(info().auctionHost().toStdString() + "/jp/config/submit"), std::string::npos);
    const std::string newLink = html::attributeNear(done.body, std::string(">") + texts::ItemPageLink + "</a>", "href");
    const std::string newId = newLink.substr(newLink.rfind('/') + 1);

    const QJsonObject state = site->state();
    EXPECT_EQ(itemById(state, id).value("relistedAs").toString().toStdString(), newId);
    EXPECT_EQ(itemById(state, newId).value("relistOf").toString().toStdString(), id);
    bool recorded = false;
    for (const auto& r : state.value("relists").toArray())
        recorded |= r.toObject().value("from").toString().toStdString() == id;
    EXPECT_TRUE(recorded);

    const auto after = client.get(info().closedListUrl().toStdString() + "0");
    EXPECT_EQ(after.body.find("/jp/auction/" + id + "\""), std::string::npos);
    // The relist page of a relisted item says so in a div's own text, and offers no button.
    const auto again = client.get(built);
    EXPECT_NE(again.body.find(std::string("<div>") + texts::ListedMessage), std::string::npos);
    EXPECT_EQ(again.body.find("auc_insertion_ok"), std::string::npos);
}

TEST_F(SiteListing, OnlyEndedUnsoldItemsCanBeRelisted) {
    SiteClient client = loggedIn();
    const auto selling = client.get(info().sellingListUrl().toStdString());
    const std::string link = html::attributesNear(selling.body, "/jp/auction/", "href").at(0);
    const std::string id = link.substr(link.rfind('/') + 1);
    const auto itemPage = client.get(link);
    EXPECT_EQ(itemPage.body.find(texts::RelistLink), std::string::npos);
    const auto relist = client.get(info().relistUrl().toStdString() + id);
    EXPECT_EQ(relist.status, 404);
    EXPECT_EQ(html::title(relist.body).find(texts::EntryTitle), std::string::npos);
    EXPECT_EQ(client.get(info().relistUrl().toStdString() + "k999999999").status, 404);
}
