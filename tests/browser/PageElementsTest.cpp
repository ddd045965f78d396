// The page operations against a real headless Chromium on pages of our own.
#include "BrowserFixture.h"

#include "platform/KeySender.h"
#include "browser/SiteMessages.h"
#include "browser/Texts.h"
#include "platform/AutomationError.h"
#include "platform/MessageService.h"
#include "platform/chromium/BrowserWindow.h"
#include "platform/chromium/ChromiumBrowser.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QThread>

namespace zk::test {

TempFolder* BrowserSuite::folder_ = nullptr;
PageServer* BrowserSuite::server_ = nullptr;
TIECtrl* BrowserSuite::ie_ = nullptr;
WindowHandle BrowserSuite::window_ = 0;

namespace {

const QByteArray kFormsPage = R"(<html><head><title>フォームの頁</title></head><body>
<form action="/posted" method="post"><input name="login" value="">
<input name="passwd" type="password"><input type="SUBMIT" value="送信"></form>
<form><input type="radio" name="r" value="a"><input type="radio" name="r" value="b">
<input type="radio" name="r" value="c"><select name="s"><option>1</option><option>2</option>
<option>3</option></select><input type="checkbox" name="c"><input name="t" value="">
<div id="box"><input name="Inner"><span>x</span></div></form>
<ul id="list"><li>a</li><li>b</li><li>c</li><li>d</li><li>e</li><li>f</li><li>g</li></ul>
<p id="p1"><b>bold</b>text</p><a id="lnk" href="/linked">link</a>
</body></html>)";

const QByteArray kPlainPage = R"(<html><head><title>plain</title></head><body>
<form><input type="button" value="x"><input type="text" name="a"></form></body></html>)";

class PageElementsTest : public BrowserSuite {
protected:
    void SetUp() override {
        BrowserSuite::SetUp();
        server_->setPage("/forms", kFormsPage);
        server_->setPage("/plain", kPlainPage);
        server_->setPage("/posted", "<html><head><title>posted</title></head><body>ok</body></html>");
        server_->setPage("/linked", "<html><head><title>linked</title></head><body>linked</body></html>");
        server_->setPage("/slow", "<html><head><title>slow</title></head><body>slow</body></html>");
        server_->setDelay("/posted", 500);
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
        ASSERT_EQ(ie_->GetDocument(), 0);
        ASSERT_EQ(ie_->NavigateWait(server_->url("/forms")), 0) << ie_->LastErrorText.toStdString();
    }
    QStringList messages() const {
        QStringList texts;
        for (const QJsonObject& o : MessageService::instance().transcript()) texts << o.value("text").toString();
        return texts;
    }
};

TEST_F(PageElementsTest, DocumentReachesThePageShownNow) {
    EXPECT_EQ(ie_->GetTitle(), QString("フォームの頁"));
    EXPECT_EQ(ie_->GetUrl(), server_->url("/forms"));
    ASSERT_EQ(ie_->NavigateWait(server_->url("/plain")), 0);
    // The same document reference, no new fetch.
    EXPECT_EQ(ie_->GetTitle(), QString("plain"));
    EXPECT_EQ(ie_->Document.get("ReadyState").toString(), QString("complete"));
}

TEST_F(PageElementsTest, FormValuesByIndexAndName) {
    EXPECT_EQ(ie_->SetFormValue(0, "login", "山田　太郎"), 0);
    EXPECT_EQ(ie_->GetFormValue(0, "login"), QString("山田　太郎"));
    EXPECT_EQ(ie_->SetFormValue(2, "login", "x"), -1);
    EXPECT_EQ(ie_->GetFormValue(0, "LOGIN"), QString()) << "element names keep their case";
    EXPECT_EQ(ie_->GetFormValue(1, "missing"), QString());
    EXPECT_EQ(ie_->SetFormValue(1, "missing", "x"), -1);
    EXPECT_EQ(ie_->SetFormValue(0, "", "x"), -1) << "an empty name is no element";
    EXPECT_EQ(ie_->SetFormSelectedIndex(1, "s", 2), 0);
    EXPECT_EQ(ie_->GetFormValue(1, "s"), QString("3"));
    EXPECT_EQ(ie_->CheckFormItem(1, "c"), 0);
    EXPECT_TRUE(ie_->Document.call("getElementsByName", {"c"}).call("item", {0}).get("checked").toBool());
    EXPECT_EQ(ie_->UncheckFormItem(1, "c"), 0);
    EXPECT_FALSE(ie_->Document.call("getElementsByName", {"c"}).call("item", {0}).get("checked").toBool());
    EXPECT_EQ(ie_->SetFormImeMode(0, "login", false), 0);
    EXPECT_EQ(ie_->SetFormImeMode(0, "nothing", true), -1);
    EXPECT_EQ(ie_->CheckFormItem(3, "c"), -1);
}

TEST_F(PageElementsTest, RadioByIndexInItsGroup) {
    EXPECT_EQ(ie_->CheckFormRadio(1, "r", 2), 0);
    ASSERT_EQ(ie_->SelectByName("r"), 0);
    EXPECT_FALSE(ie_->GetItemChecked(0));
    EXPECT_FALSE(ie_->GetItemChecked(1));
    EXPECT_TRUE(ie_->GetItemChecked(2));
    EXPECT_FALSE(ie_->GetItemChecked(7)) << "an index past the list is a null item";
    EXPECT_EQ(ie_->CheckFormRadio(1, "r", 3), -1);
    // A single element counts as a group of one.
    EXPECT_EQ(ie_->CheckFormRadio(1, "c", 0), 0);
    EXPECT_EQ(ie_->CheckFormRadio(1, "c", 1), -1);
}

TEST_F(PageElementsTest, ListsAndTheirNeutralValues) {
    ASSERT_EQ(ie_->SelectByTagName("li"), 0);
    EXPECT_EQ(ie_->GetListLength(), 7);
    EXPECT_EQ(ie_->GetItemText(6), QString("g"));
    EXPECT_EQ(ie_->GetItemText(7), QString());
    EXPECT_TRUE(ie_->ItemHasChildren(0));
    EXPECT_FALSE(ie_->ItemHasChildren(9));

    EXPECT_EQ(ie_->SelectById("nowhere"), 0);
    EXPECT_TRUE(ie_->List.isNull());
    EXPECT_EQ(ie_->GetListLength(), -1);
    EXPECT_EQ(ie_->GetItemText(0), QString());
    EXPECT_FALSE(ie_->GetItemFlag(0, "checked"));
    EXPECT_EQ(ie_->FocusItem(0), -1);
    EXPECT_EQ(ie_->NarrowToItem(0), -1);

    ASSERT_EQ(ie_->SelectById("p1"), 0);
    EXPECT_EQ(ie_->ClickSelected(), 0);
    ASSERT_EQ(ie_->SelectByTagName("p"), 0);
    EXPECT_EQ(ie_->GetItemText(0), QString()) << "first child is an element: its nodeValue is null";
    EXPECT_EQ(ie_->NarrowToItem(0), 0);
    EXPECT_EQ(ie_->GetListLength(), -1) << "one element has no length";

    ASSERT_EQ(ie_->SelectByName("t"), 0);
    EXPECT_EQ(ie_->SelectByName("nothing"), 0);
    EXPECT_EQ(ie_->GetListLength(), 0);
}

TEST_F(PageElementsTest, AttributesAndInputs) {
    ASSERT_EQ(ie_->SelectByTagName("div"), 0);
    EXPECT_EQ(ie_->ItemHasInput(0, "Inner"), 1);
    EXPECT_EQ(ie_->ItemHasInput(0, "inner"), 0);
    EXPECT_EQ(ie_->ItemHasInput(3, "Inner"), 0);
    EXPECT_EQ(ie_->GetItemAttribute(0, "id"), QString("box"));
    EXPECT_EQ(ie_->GetItemAttribute(0, "nodeName"), QString("DIV"));
    EXPECT_EQ(ie_->GetItemAttribute(0, "data-none"), QString());
    ASSERT_EQ(ie_->SelectByTagName("a"), 0);
    EXPECT_EQ(ie_->GetItemAttribute(0, "href"), server_->url("/linked")) << "a link's address is absolute";
    EXPECT_EQ(ie_->FindSubmitInput(), 0) << "type written SUBMIT";
    ASSERT_EQ(ie_->NavigateWait(server_->url("/plain")), 0);
    EXPECT_EQ(ie_->FindSubmitInput(), -1);
    EXPECT_EQ(ie_->GetListLength(), 2) << "the list holds the page's inputs";
}

TEST_F(PageElementsTest, NodesAroundAnElement) {
    ASSERT_EQ(ie_->SelectByTagName("li"), 0);
    Variant li;
    ASSERT_EQ(ie_->GetCollectionItem(1, ie_->List, li), 0);
    EXPECT_EQ(ie_->GetNodeText(li), QString("b"));
    EXPECT_EQ(ie_->GetNodeFirstChildType(li), 3);
    EXPECT_EQ(ie_->GetItemFirstChildType(0, ie_->List), 3);
    EXPECT_EQ(ie_->GetItemFirstChildType(70, ie_->List), -1);
    EXPECT_TRUE(ie_->NodeHasChildren(li));
    Variant parent;
    EXPECT_EQ(ie_->GetParentNodeName(li, parent), QString("UL"));
    EXPECT_EQ(parent.get("id").toString(), QString("list"));
    Variant next;
    ASSERT_EQ(ie_->GetNextSibling(li, next), 0);
    EXPECT_EQ(ie_->GetNodeText(next), QString("c"));
    Variant child;
    EXPECT_TRUE(ie_->GetFirstChild(li, child));
    EXPECT_FALSE(ie_->GetFirstChild(child, child)) << "a text node has no child";
    EXPECT_TRUE(child.isNull());
    EXPECT_EQ(ie_->GetNodeText(Variant()), QString());
    EXPECT_FALSE(ie_->NodeHasChildren(Variant::null()));
    Variant none;
    EXPECT_EQ(ie_->GetCollectionItem(99, ie_->List, none), 0);
    EXPECT_TRUE(none.isNull());
}

TEST_F(PageElementsTest, LateBoundNamesValuesAndErrors) {
    // Names without regard to case; null apart from empty.
    EXPECT_EQ(ie_->Document.get("readystate").toString(), QString("complete"));
    EXPECT_EQ(ie_->Document.get("URL").toString(), ie_->Document.get("url").toString());
    EXPECT_EQ(ie_->Document.get("all").call("tags", {"FORM"}).get("Length").toInt(), 2);
    const Variant p = ie_->Document.call("GetElementById", {"p1"});
    EXPECT_TRUE(p.get("nodeValue").isNull());
    EXPECT_TRUE(p.get("onclick").isNull());
    EXPECT_EQ(p.get("ChildNodes").get("length").toInt(), 2);
    const Variant style = p.call("getAttribute", {"style"});
    ASSERT_TRUE(style.isObject());
    style.put("cssText", "color: red");
    EXPECT_EQ(style.get("csstext").toString(), QString("color: red;"));
    EXPECT_TRUE(p.call("getAttribute", {"title"}).toString().isEmpty());
    p.put("zkMark", Variant());
    EXPECT_TRUE(p.get("zkMark").isEmpty());
    try {
        ie_->Document.get("noSuchMember");
        FAIL() << "an unknown name must fail";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.code(), hresult::UnknownName);
    }
    try {
        ie_->Document.call("querySelector", {"!!"});
        FAIL() << "a script exception must fail";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.code(), hresult::Exception);
        EXPECT_TRUE(e.text().contains("querySelector")) << e.text().toStdString();
    }
    try {
        Variant().get("x");
        FAIL() << "an empty reference is no object";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.code(), hresult::TypeMismatch);
    }
    EXPECT_EQ(ie_->ExistsByName("login"), 1);
    EXPECT_EQ(ie_->ExistsByName("nobody"), 0);
    EXPECT_EQ(ie_->LastError, 0);
}

TEST_F(PageElementsTest, WaitLimitsAndPollCounts) {
    EXPECT_EQ(ie_->WaitIdle(121), -1);
    EXPECT_EQ(ie_->lastPollCount(), 0);
    EXPECT_EQ(ie_->WaitComplete(121), -1);
    EXPECT_EQ(messages(), QStringList({browser::texts::WaitLimit, browser::texts::WaitLimit}));
    EXPECT_EQ(ie_->WaitIdle(120), 0);
    EXPECT_EQ(ie_->lastPollCount(), 1) << "an idle browser returns at the first poll";
    EXPECT_EQ(ie_->IsBusy(), 0);
}

TEST_F(PageElementsTest, CompleteWaitKeepsPollingAnIdlePageThatIsNotComplete) {
    server_->setPage("/interactive", "<html><head><title>i</title><script>Object.defineProperty(document, "
                                     "'readyState', {get: function() { return 'interactive'; }});</script></head>"
                                     "<body>i</body></html>");
    ASSERT_EQ(ie_->Navigate(server_->url("/interactive")), 0);
    EXPECT_EQ(ie_->IsBusy(), 0);
    EXPECT_EQ(ie_->WaitIdle(1), 0);
    EXPECT_EQ(ie_->WaitComplete(1), -2);
    EXPECT_EQ(ie_->lastPollCount(), 200);
    EXPECT_EQ(messages(), QStringList{browser::texts::Timeout});
}

TEST_F(PageElementsTest, BusyFromTheMomentAnActionThatNavigatesReturns) {
    EXPECT_EQ(ie_->SetFormValue(0, "login", "someone"), 0);
    EXPECT_EQ(ie_->ClickFormItem(0, "login"), 0);
    // The submit button has no name: click it through the list.
    ASSERT_EQ(ie_->SelectByTagName("input"), 0);
    ASSERT_EQ(ie_->NarrowToItem(2), 0);
    ie_->List.call("click");
    EXPECT_EQ(ie_->IsBusy(), 1);
    EXPECT_EQ(ie_->WaitComplete(10), 0);
    EXPECT_EQ(ie_->GetUrl(), server_->url("/posted"));
    ASSERT_FALSE(server_->posts().isEmpty());
    EXPECT_TRUE(server_->posts().last().contains("login=someone"));
}

TEST_F(PageElementsTest, SubmitWaitsForTheNextPage) {
    EXPECT_EQ(ie_->SetFormValue(0, "passwd", ""), 0);
    EXPECT_EQ(ie_->SubmitForm(0, 0), 0);
    EXPECT_EQ(ie_->GetTitle(), QString("posted"));
    EXPECT_EQ(ie_->SubmitForm(5, 0), -1);
}

TEST_F(PageElementsTest, ListLengthTimesOutWhileTheBrowserStaysBusy) {
    // The page stays away far longer than the 2,000 polls take, even when each poll's round trip
    // is slowed by a loaded machine.
    server_->setDelay("/slow", 60000);
    ASSERT_EQ(ie_->SelectByTagName("li"), 0);
    ie_->Browser.call("Navigate2", {server_->url("/slow")});
    EXPECT_EQ(ie_->GetListLength(), -2);
    EXPECT_EQ(ie_->lastPollCount(), 2000);
    EXPECT_EQ(messages(), QStringList{browser::texts::Timeout});
    server_->setDelay("/slow", 0);
}

TEST_F(PageElementsTest, KeysIntoSelectRadioTextAndLink) {
    DesktopWindow* window = TIECtrl::WindowOf(window_);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Desktop::instance().setForeground(window));
    KeySender keys;
    ASSERT_EQ(ie_->FocusFormItem(1, "s"), 0);
    keys.SendKeys("{DOWN 2}");
    EXPECT_EQ(ie_->GetFormValue(1, "s"), QString("3"));
    keys.SendKeys("{UP}");
    EXPECT_EQ(ie_->GetFormValue(1, "s"), QString("2"));

    ASSERT_EQ(ie_->SelectByName("r"), 0);
    ASSERT_EQ(ie_->FocusItem(1), 0);
    keys.SendKeys(" ");
    EXPECT_TRUE(ie_->GetItemChecked(1));

    ASSERT_EQ(ie_->FocusFormItem(1, "t"), 0);
    keys.SendKeys("Ab1{{-x+(yz)");
    EXPECT_EQ(ie_->GetFormValue(1, "t"), QString("Ab1{-xYZ"));
    keys.SendKeys("^a{DEL}");
    EXPECT_EQ(ie_->GetFormValue(1, "t"), QString());

    ASSERT_EQ(ie_->SelectById("lnk"), 0);
    ie_->List.call("focus");
    keys.SendKeys("~");
    EXPECT_EQ(ie_->IsBusy(), 1) << "Enter on a link navigates";
    EXPECT_EQ(ie_->WaitComplete(10), 0);
    EXPECT_EQ(ie_->GetTitle(), QString("linked"));
}

TEST_F(PageElementsTest, PlacementThroughTheWindowBounds) {
    TIECtrl::SetPlacement(window_, 40, 30, 900, 700);
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(TIECtrl::GetPlacement(window_, left, top, width, height));
    EXPECT_EQ(QRect(left, top, width, height), QRect(40, 30, 900, 700));
    DesktopWindow* window = TIECtrl::WindowOf(window_);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isAlive());
    EXPECT_EQ(window->title(), QString("フォームの頁"));
    EXPECT_FALSE(TIECtrl::GetPlacement(window_ + 1, left, top, width, height));
}

} // namespace
// A link list read whole gives what the reads one by one give, and nothing of a page that has
// gone: another document or another list is read anew.
TEST_F(PageElementsTest, LinkListsReadWholeMatchTheNodeReadsAndFollowThePage) {
    const QByteArray table = R"(<html><head><title>t</title></head><body><table><tr>
<td><a href="/i/1"><img alt=""></a></td><td><a href="/i/1">one</a></td><td><b>1,500 円</b></td><td>bidder</td></tr><tr>
<td><a href="/i/2/">two</a></td><td></td><td>x</td></tr></table><a href="/out">out</a></body></html>)";
    server_->setPage("/table", table);
    server_->setPage("/table2", QByteArray(table).replace("one", "uno").replace("/i/2/", "/i/9"));
    ASSERT_EQ(ie_->NavigateWait(server_->url("/table")), 0);
    ASSERT_EQ(ie_->SelectByTagName("A"), 0);
    ASSERT_EQ(ie_->GetListLength(), 4);
    const QStringList hrefs = {server_->url("/i/1"), server_->url("/i/1"), server_->url("/i/2/"), server_->url("/out")};
    const QStringList texts = {"", "one", "two", "out"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ie_->GetItemAttribute(i, "href"), hrefs[i]) << i;
        EXPECT_EQ(ie_->GetItemText(i), texts[i]) << i;
        // The cells after the link's cell, as the node operations find them.
        QString first, second, byNodes[2];
        const int found = ie_->GetItemCellTexts(i, first, second);
        Variant node, parent, cell;
        ASSERT_EQ(ie_->GetCollectionItem(i, ie_->List, node), 0);
        int nodesFound = 0;
        for (int step = 0; step < 10; ++step, node = parent)
            if (ie_->GetParentNodeName(node, parent) == "TD") {
                Variant next = parent;
                for (; nodesFound < 2; ++nodesFound) {
                    if (ie_->GetNextSibling(next, cell) != 0 || !ie_->NodeHasChildren(cell)) break;
                    Variant inner = cell;
                    while (ie_->GetNodeFirstChildType(inner) != 3 && ie_->GetFirstChild(inner, inner)) {}
                    byNodes[nodesFound] = ie_->GetNodeText(inner);
                    next = cell;
                }
                break;
            }
        EXPECT_EQ(found, nodesFound) << i;
        EXPECT_EQ(first, byNodes[0]) << i;
        EXPECT_EQ(second, byNodes[1]) << i;
    }
    QString first, second;
    EXPECT_EQ(ie_->GetItemCellTexts(1, first, second), 2);
    EXPECT_EQ(first, QString::fromUtf8("1,500 円"));
    EXPECT_EQ(second, "bidder");
    EXPECT_EQ(ie_->GetItemCellTexts(3, first, second), 0); // no table cell around it
    EXPECT_EQ(ie_->GetItemAttribute(9, "href"), "");        // past the end

    // Another document: the same list object is no longer read from the old page.
    ASSERT_EQ(ie_->NavigateWait(server_->url("/table2")), 0);
    ASSERT_EQ(ie_->SelectByTagName("A"), 0);
    EXPECT_EQ(ie_->GetItemText(1), "uno");
    EXPECT_EQ(ie_->GetItemAttribute(2, "href"), server_->url("/i/9"));
    // Another list on the same page.
    ASSERT_EQ(ie_->SelectByTagName("td"), 0);
    EXPECT_EQ(ie_->GetItemAttribute(0, "href"), "");
}

// What the site says when it sends a page back: only its error paragraphs, in page order, with
// their inner elements' text; a paragraph of another class, an empty one or no paragraph at all
// says nothing.
TEST_F(PageElementsTest, SiteErrorsAreTheErrorParagraphsTexts) {
    struct Case {
        const char* name;
        const char* body;
        QStringList said;
    };
    const Case cases[] = {
        {"none", "<p>ようこそ</p><div class=\"error\">div</div>", {}},
        {"no paragraph", "<span>x</span>", {}},
        {"one among others", "<p class=\"note\">注意</p><p class=\"error\"> 価格が<b>不正</b>です </p>",
         {QString::fromUtf8("価格が不正です")}},
        {"several classes, in order", "<p class=\"error wide\">一</p><p class=\"errors\">x</p><p class=\"error\">二</p>",
         {QString::fromUtf8("一"), QString::fromUtf8("二")}},
        {"an empty one left out", "<p class=\"error\">  </p><p class=\"error\">三</p>", {QString::fromUtf8("三")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server_->setPage("/said", QByteArray("<html><head><title>said</title></head><body>") + c.body + "</body></html>");
        ASSERT_EQ(ie_->NavigateWait(server_->url("/said")), 0);
        EXPECT_EQ(browser::siteErrors(*ie_), c.said);
    }
}

} // namespace zk::test
