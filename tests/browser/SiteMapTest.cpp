// The table of the site's pages judged against pages as read: what counts as found, as missing,
// and as found but of another kind; the definition file's fields against the item form.
#include "browser/SiteMap.h"

#include <gtest/gtest.h>

namespace zk::browser::site {
namespace {

PageNode input(const QString& name, const QString& type, const QString& value = {}) {
    return {name, {}, QStringLiteral("INPUT"), type, value, {}, true};
}
PageNode list(const QString& name, int options) {
    PageNode n{name, {}, QStringLiteral("SELECT"), {}, {}, {}, true};
    for (int k = 0; k < options; ++k) n.options << QString::number(k);
    return n;
}

Snapshot form() {
    Snapshot s;
    s.url = QStringLiteral("http://auctions.sim.test:1/jp/show/submit");
    s.title = QStringLiteral("出品 - 商品情報入力");
    s.nodes = {input("item_title", "text"),
               {QStringLiteral("item_description"), QStringLiteral("item_description"), QStringLiteral("TEXTAREA"), {}, {}, {}, false},
               input("ship_payer", "radio", "buyer"), input("ship_payer", "radio", "seller"),
               list("ship_days", 3), input("return_ok", "checkbox", "1"), input("draft", "hidden", "d1"),
               {{}, QStringLiteral("auc_submit1"), QStringLiteral("INPUT"), QStringLiteral("submit"), QStringLiteral("確認する"), {}, true},
               input("to_pictures", "submit", ToPicturePage)};
    s.links = {{QStringLiteral(" HTMLタグ入力 "), QStringLiteral("http://auctions.sim.test:1/jp#")},
               {QStringLiteral("商品"), QStringLiteral("http://page.auctions.sim.test:1/jp/auction/a1")}};
    return s;
}

struct ElementCase {
    const char* why;
    Element element;
    State state;
};

TEST(SiteMapJudge, EachWayOfLookingForAnElement) {
    const ElementCase cases[] = {
        {"a text field by name", {Page::ItemForm, Look::Named, "item_title", Shape::Text}, State::Found},
        {"a textarea counts as a text field, shown or not", {Page::ItemForm, Look::Named, "item_description", Shape::Text}, State::Found},
        {"a name the page lacks", {Page::ItemForm, Look::Named, "item_state", Shape::Text}, State::Missing},
        {"a list where a text field is needed", {Page::ItemForm, Look::Named, "ship_days", Shape::Text}, State::OtherKind},
        {"a list with enough options", {Page::ItemForm, Look::Named, "ship_days", Shape::List, 3}, State::Found},
        {"a list with fewer options than needed", {Page::ItemForm, Look::Named, "ship_days", Shape::List, 4}, State::OtherKind},
        {"a radio group counts its buttons", {Page::ItemForm, Look::Named, "ship_payer", Shape::Radio, 2}, State::Found},
        {"a name is looked for among ids too", {Page::ItemForm, Look::Named, "auc_submit1", Shape::Button}, State::Found},
        {"a name is not an id", {Page::ItemForm, Look::ById, "item_title"}, State::Missing},
        {"a button by its value", {Page::ItemForm, Look::InputValued, ToPicturePage, Shape::Button}, State::Found},
        {"a hidden field's value is no button", {Page::ItemForm, Look::InputValued, "d1", Shape::Button}, State::Missing},
        {"a link's text, spaces around it aside", {Page::ItemForm, Look::LinkText, HtmlTagLink}, State::Found},
        {"a link's text must be whole", {Page::ItemForm, Look::LinkText, "HTMLタグ"}, State::Missing},
        {"a link by a part of its address", {Page::Unsold, Look::LinkHref, "auctions.sim.test:1/jp/auction/"}, State::Found},
        {"item links moved elsewhere", {Page::Unsold, Look::LinkHref, "auctions.sim.test:1/jp/item/"}, State::Missing},
        {"a part of the page's address", {Page::ItemForm, Look::Address, "/jp/show/submit"}, State::Found},
        {"a part of the page's title", {Page::RelistForm, Look::Title, EntryTitle}, State::Found},
    };
    const Snapshot page = form();
    for (const ElementCase& c : cases) EXPECT_EQ(judge(c.element, page).state, c.state) << c.why;
}

TEST(SiteMapJudge, ALoginPageThatAsksForMoreNamesWhatItAsks) {
    Snapshot login;
    login.nodes = {input("login", "text"), input("passwd", "password"), input(".done", "hidden"),
                   input({}, "submit", "ログイン")};
    const Element none{Page::Login, Look::NoOtherInput, LoginField + '|' + PasswordField};
    EXPECT_EQ(judge(none, login).state, State::Found) << "hidden fields and buttons ask nothing";

    PageNode hiddenAway = input("captcha", "text");
    hiddenAway.visible = false;
    login.nodes << hiddenAway;
    EXPECT_EQ(judge(none, login).state, State::Found) << "a field not shown asks nothing of the seller";

    login.nodes << input("otp", "text");
    const Finding more = judge(none, login);
    EXPECT_EQ(more.state, State::OtherKind);
    EXPECT_EQ(more.element, "otp");
    EXPECT_TRUE(more.found.contains("otp"));
}

struct DefinitionCase {
    const char* why;
    DefinedField field;
    State state;
};

TEST(SiteMapJudge, TheDefinitionFileAgainstTheForm) {
    const DefinitionCase cases[] = {
        {"a list offering the index", {"ship_days", "COMBO", "2"}, State::Found},
        {"a list without the index", {"ship_days", "COMBO", "3"}, State::OtherKind},
        {"an index that is no number", {"ship_days", "COMBO", "two"}, State::OtherKind},
        {"a negative index", {"ship_days", "COMBO", "-1"}, State::OtherKind},
        {"a radio group with the button", {"ship_payer", "RADIO", "1"}, State::Found},
        {"a radio group without the button", {"ship_payer", "RADIO", "2"}, State::OtherKind},
        {"a check box", {"return_ok", "CHECK", "ON"}, State::Found},
        {"a check box defined as a list", {"return_ok", "COMBO", "0"}, State::OtherKind},
        {"a text field", {"item_title", "TEXT", "x"}, State::Found},
        {"a field renamed on the site", {"item_condition", "COMBO", "2"}, State::Missing},
        {"kinds in lower case are the file's too", {"ship_days", "combo", "1"}, State::Found},
    };
    const Snapshot page = form();
    for (const DefinitionCase& c : cases) {
        const QList<Finding> found = judgeDefinitions({c.field}, page);
        ASSERT_EQ(found.size(), 1) << c.why;
        EXPECT_EQ(found.first().state, c.state) << c.why;
        EXPECT_EQ(found.first().element, c.field.name) << c.why;
        EXPECT_EQ(found.first().page, Page::ItemForm) << c.why;
    }
}

// A list page as the site shows it: its address and heading, and either its items (a check box
// each on the unsold list) or the text of a list without any.
Snapshot listPage(const char* address, const QString& heading, int items, const char* itemPath = "/jp/auction/") {
    Snapshot s;
    s.url = QStringLiteral("http://auctions.sim.test:1/jp/show/mystatus?") + QString::fromUtf8(address);
    s.title = heading + QStringLiteral(" - 練習用オークション");
    s.text = QStringLiteral("練習用オークション") + heading + QStringLiteral("全%1件　1ページ目").arg(items);
    if (items == 0) s.text += NoItemsText;
    for (int k = 0; k < items; ++k) {
        const QString id = QStringLiteral("a%1").arg(k);
        if (s.url.contains(UnsoldMarker)) s.nodes << input(AidList, "checkbox", id);
        s.links << PageLink{QStringLiteral("商品"), QStringLiteral("http://page.auctions.sim.test:1") + QString::fromUtf8(itemPath) + id};
    }
    return s;
}

TEST(SiteMapLists, AnEmptyListIsToldFromAChangedOne) {
    const Configuration config{QStringLiteral("auctions.sim.test:1"), QStringLiteral("この商品を再出品"),
                               QStringLiteral("item_title"), QStringLiteral("item_description"), false, false};
    const auto withText = [](Snapshot s, const QString& text) {
        s.text += text;
        return s;
    };
    const auto at = [](Snapshot s, const QString& url) {
        s.url = url;
        return s;
    };
    const auto titled = [](Snapshot s, const QString& title) {
        s.title = title;
        return s;
    };
    const auto withoutNoItems = [](Snapshot s) {
        s.text.remove(NoItemsText);
        return s;
    };
    const Snapshot emptyUnsold = listPage("select=closed&hasWinner=0", UnsoldHeading, 0);
    const struct {
        const char* why;
        Page page;
        Snapshot read;
        bool empty;
        int problems;
    } cases[] = {
        {"a selling list with items", Page::Selling, listPage("select=selling", SellingHeading, 3), false, 0},
        {"a selling list with none", Page::Selling, listPage("select=selling", SellingHeading, 0), true, 0},
        {"a sold list with none", Page::Sold, listPage("select=closed&hasWinner=1", SoldHeading, 0), true, 0},
        {"an unsold list with none: neither boxes nor links", Page::Unsold, emptyUnsold, true, 0},
        {"an unsold list with items", Page::Unsold, listPage("select=closed&hasWinner=0", UnsoldHeading, 2), false, 0},
        {"items whose links moved elsewhere", Page::Unsold,
         listPage("select=closed&hasWinner=0", UnsoldHeading, 2, "/jp/item/"), false, 1},
        {"boxes and moved links beside a no-items text are still items", Page::Unsold,
         withText(listPage("select=closed&hasWinner=0", UnsoldHeading, 2, "/jp/item/"), NoItemsText), false, 1},
        {"no item and no no-items text: the list's table changed", Page::Selling,
         withoutNoItems(listPage("select=selling", SellingHeading, 0)), false, 1},
        {"the no-items text under another heading", Page::Unsold, titled(emptyUnsold, QStringLiteral("エラー")), false, 3},
        {"the no-items text at another address (the login page)", Page::Unsold,
         at(emptyUnsold, QStringLiteral("https://login.sim.test:2/config/login")), false, 3},
        {"a page of no list says no items: nothing is empty", Page::ItemPage, withText(Snapshot{}, NoItemsText), false, 1},
    };
    const QList<Element> table = elements(config);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const QList<Finding> found = judgePage(table, c.page, c.read);
        ASSERT_FALSE(found.isEmpty());
        EXPECT_EQ(showsEmptyList(found), c.empty);
        int problems = 0;
        for (const Finding& f : found) {
            EXPECT_EQ(f.page, c.page);
            problems += f.holds() ? 0 : 1;
            // Only what a list shows beside an item is left unjudged, and it says why.
            if (f.state == State::Empty) {
                EXPECT_EQ(f.found, QStringLiteral("空のため確かめていません")) << f.element.toStdString();
            }
            if (c.empty && (f.element == AidList || f.element.contains(ItemPagePath))) {
                EXPECT_EQ(f.state, State::Empty) << f.element.toStdString();
            }
        }
        EXPECT_EQ(problems, c.problems);
    }
}

TEST(SiteMapTable, EveryPageTheWorkflowsUseHasItsElementsAndTheAddButtonsOnlyWhenUsed) {
    Configuration config{QStringLiteral("auctions.sim.test:1"), QStringLiteral("この商品を再出品"),
                         QStringLiteral("item_title"), QStringLiteral("item_description"), false, false};
    QList<Page> pages;
    for (const Element& e : elements(config)) {
        if (!pages.contains(e.page)) pages << e.page;
        EXPECT_NE(e.key, AddBankElement);
        EXPECT_FALSE(e.key.isEmpty());
    }
    EXPECT_EQ(pages.size(), 12) << "login, login state, category, form, pictures, confirmation, completion, "
                                   "selling, sold, unsold, item page, relist form";
    config.addsBankRows = true;
    const QList<Element> withRows = elements(config);
    EXPECT_TRUE(std::any_of(withRows.begin(), withRows.end(), [](const Element& e) { return e.key == AddBankElement; }));
    EXPECT_TRUE(sendsToOpen(Page::Confirmation));
    EXPECT_FALSE(sendsToOpen(Page::Completion)) << "opened again for an item the lists show";
    EXPECT_FALSE(sendsToOpen(Page::ItemForm));
}

TEST(SiteMapTable, AnItemsIdIsTakenFromItsLinkWhateverFollowsIt) {
    const QString host = QStringLiteral("auctions.sim.test:1");
    const struct {
        const char* why;
        const char* href;
        const char* id;
    } cases[] = {
        {"an item page", "http://page.auctions.sim.test:1/jp/auction/a123", "a123"},
        {"with a trailing slash", "http://page.auctions.sim.test:1/jp/auction/a123/", "a123"},
        {"with a fragment", "http://page.auctions.sim.test:1/jp/auction/a123#top", "a123"},
        {"through the site's redirect", "http://auctions.sim.test:1/jp/jump?u=http://page.auctions.sim.test:1/jp/auction/a123", "a123"},
        {"items moved elsewhere", "http://page.auctions.sim.test:1/jp/item/a123", ""},
        {"another host's item", "http://page.other.test:1/jp/auction/a123", ""},
        {"the list's next page", "http://auctions.sim.test:1/jp/show/mystatus?select=closed&apg=2", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(auctionIdOf(QString::fromUtf8(c.href), host), QString::fromUtf8(c.id)) << c.why;
    EXPECT_EQ(auctionIdOf(QStringLiteral("http://page.auctions.sim.test:1/jp/auction/a123"), {}), QString());
}

TEST(SiteMapTable, TheRelistFormIsOnTheItemPagesHost) {
    EXPECT_EQ(relistAddress("http://page.auctions.sim.test:1/jp/auction/a123", "auctions.sim.test:1"),
              "http://page.auctions.sim.test:1/jp/show/resubmit?aID=a123");
}

} // namespace
} // namespace zk::browser::site
