#pragma once
// Every page of the auction site the workflows use, and every element, address part and text
// they rely on there, in one table. The workflows take their names from here and the site check
// walks the same table, so that what is checked is what is used. Pure data and the judgement of
// a page read (a snapshot) against it; the reading itself is in SiteCheck.
#include <QList>
#include <QString>
#include <QStringList>

namespace zk::browser::site {

// Element names (name or id attributes) the workflows address.
inline const QString LoginField = QStringLiteral("login");
inline const QString PasswordField = QStringLiteral("passwd");
inline const QString ConfirmElement = QStringLiteral("auc_insertion_ok");
inline const QString SubmitElement = QStringLiteral("auc_submit1");
inline const QString AddBankElement = QStringLiteral("auc_add_bkform");
inline const QString AddPaymentElement = QStringLiteral("auc_add_pyform");
inline const QString SalesModeRadio = QStringLiteral("salesmode_auction");
inline const QString ClosingDateList = QStringLiteral("ClosingDate");
inline const QString ClosingTimeList = QStringLiteral("ClosingTime");
// The picture page's file inputs are this followed by 1, 2, 3.
inline const QString PictureInput = QStringLiteral("ImageFile");
inline constexpr int PictureInputs = 3;
inline const QString AidList = QStringLiteral("aidlist");

// Texts the workflows look for on the pages.
inline const QString HtmlTagLink = QStringLiteral("HTMLタグ入力");
inline const QString ToPicturePage = QStringLiteral("画像登録画面へ");
inline const QString EditPictures = QStringLiteral("画像の編集");
inline const QString AgreeButtonValue = QStringLiteral("利用規約とガイドラインに同意して出品する");
inline const QString ItemPageLinkText = QStringLiteral("このオークションの商品ページを見る");
inline const QString EntryTitle = QStringLiteral("商品情報入力");

// Address parts.
inline const QString AuctionTopPath = QStringLiteral("/jp");
inline const QString CompletionPath = QStringLiteral("/jp/config/submit");
// The completion page of one of the seller's items, shown again by its address: the item's ID
// follows this after CompletionPath.
inline const QString CompletionItemQuery = QStringLiteral("?aID=");
inline const QString ConfirmationEnd = QStringLiteral("preview");
inline const QString ItemPagePath = QStringLiteral("/jp/auction/");
inline const QString RelistPath = QStringLiteral("/jp/show/resubmit?aID=");
inline const QString UnsoldMarker = QStringLiteral("hasWinner=0");
inline const QString SoldMarker = QStringLiteral("hasWinner=1");
inline const QString SellingMarker = QStringLiteral("select=selling");

// The headings the seller's lists are known by, empty or not, and what a list with no item says
// in place of its table.
inline const QString SellingHeading = QStringLiteral("出品中の商品");
inline const QString SoldHeading = QStringLiteral("落札された商品");
inline const QString UnsoldHeading = QStringLiteral("落札者なしの商品");
inline const QString NoItemsText = QStringLiteral("該当する商品はありません。");

// The relist form of the item whose page is at `itemPageUrl`: on the item page's own sub-host
// (the address up to its first "."), under the auction host's name.
QString relistAddress(const QString& itemPageUrl, const QString& auctionHost);
// The completion page of the seller's item `auctionId`, opened without listing anything.
QString completionAddress(const QString& auctionHost, const QString& auctionId);
// The auction ID of a link to an item page on `auctionHost`; empty for any other link.
QString auctionIdOf(const QString& href, const QString& auctionHost);

enum class Page { Login, LoggedIn, Category, ItemForm, Pictures, Confirmation, Completion,
                  Selling, Unsold, ItemPage, RelistForm, Sold };

// How an element is looked for on its page.
enum class Look {
    Named,        // an element whose name or id is the key
    ById,         // an element whose id is the key
    InputValued,  // an input or button whose value is the key
    LinkText,     // a link whose text is the key
    LinkHref,     // a link whose address contains the key
    Address,      // the page's address contains the key
    Title,        // the page's title contains the key
    NoOtherInput, // the page asks for nothing beyond the named inputs (the key, "|"-separated)
};

// What a found element must be.
enum class Shape { Any, Text, Check, Radio, List, File, Button };

struct Element {
    Page page;
    Look look;
    QString key;
    Shape shape = Shape::Any;
    // Lists: at least this many options; radio groups: at least this many buttons.
    int atLeast = 0;
    // On a list page: shown only beside an item, so an empty list has none to judge.
    bool withItems = false;
};

// A field the definition file fills: its name, its kind as the file says it (TEXT, CHECK,
// COMBO, RADIO) and its value.
struct DefinedField {
    QString name;
    QString kind;
    QString value;
};

// What the table's elements are, for one seller's configuration.
struct Configuration {
    QString auctionHost;       // with port
    QString relistLinkText;    // RESHUPPIN_STR
    QString titleField;        // the definition file's title and description fields
    QString descriptionField;
    bool addsBankRows = false;     // the definitions need more bank rows than the form shows
    bool addsPaymentRows = false;
};

// Every element of every page, in the order the pages are visited.
QList<Element> elements(const Configuration& config);
// The pages that cannot be opened without sending something: the check names them, unvisited.
bool sendsToOpen(Page page);

// One element of a page as read by the check.
struct PageNode {
    QString name, id, tag, type, value;
    QStringList options; // a list's option values
    bool visible = true;
};
struct PageLink {
    QString text, href;
};
struct Snapshot {
    QString url, title;
    QString text; // the page's text, for the words a page shows outside any element
    QList<PageNode> nodes;
    QList<PageLink> links;
};

// Empty: an element of a list page that shows no item, left unjudged.
enum class State { Found, Missing, OtherKind, NotVisited, Empty };

struct Finding {
    Page page;
    QString element;  // what the table names
    QString expected; // what the workflows need, for the seller
    QString found;    // what the page has
    State state = State::Found;
    bool holds() const { return state == State::Found || state == State::NotVisited || state == State::Empty; }
};

// Judges one element against its page as read.
Finding judge(const Element& element, const Snapshot& page);
// Every element of `page` in the table judged against the page as read. A list page known by its
// address and heading that shows its no-items text and none of its items' elements is empty:
// those elements are Empty, not missing.
QList<Finding> judgePage(const QList<Element>& table, Page page, const Snapshot& read);
// Whether findings of one page say that its list was empty.
bool showsEmptyList(const QList<Finding>& findings);
// The definition file's fields against the item form as read: each exists, is of its kind, and
// a list or radio group offers the index it sets.
QList<Finding> judgeDefinitions(const QList<DefinedField>& fields, const Snapshot& form);

} // namespace zk::browser::site
