#include "browser/SiteCheck.h"

#include "browser/Iectrl.h"
#include "browser/Texts.h"
#include "platform/AutomationError.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "workflow/SystemIni.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace zk::browser {

namespace t = texts::check;
using site::Element;
using site::Finding;
using site::Page;
using site::Snapshot;
using site::State;

namespace {

bool heldThisStart_ = false;

// Each page load and press gets what a listing step gets; a site slower than that is unusable.
constexpr int PageSeconds = 30;

// One read of the page: its address, title, the elements with a name or id (inputs, lists,
// buttons, anything named) and the links. Read-only.
const char* const ReadScript = R"JS((function(){
  var out={url:location.href,title:document.title,text:document.body?document.body.textContent:'',nodes:[],links:[]};
  var els=document.querySelectorAll('input,select,textarea,button,[id],[name]');
  for(var i=0;i<els.length;i++){var e=els[i];
    var o={n:e.getAttribute('name')||'',i:e.id||'',t:e.tagName,y:e.getAttribute('type')||'',
           v:(typeof e.value==='string')?e.value:'',s:[],vis:e.getClientRects().length>0};
    if(e.tagName==='SELECT'){for(var k=0;k<e.options.length;k++)o.s.push(e.options[k].value);}
    out.nodes.push(o);}
  for(var j=0;j<document.links.length;j++){var a=document.links[j];out.links.push({t:a.textContent,h:a.href});}
  return out;})())JS";

// The address the item form's picture button goes to, as a plain GET with the form's hidden
// fields only: the page is opened without sending what the form holds.
const char* const PictureAddressScript = R"JS((function(v){
  var all=document.querySelectorAll('input,button'),b=null;
  for(var i=0;i<all.length&&!b;i++)if(all[i].value===v)b=all[i];
  if(!b||!b.form)return '';
  var q=new URLSearchParams(),f=b.form.elements;
  for(var k=0;k<f.length;k++)if(f[k].type==='hidden'&&f[k].name)q.append(f[k].name,f[k].value);
  return (b.formAction||b.form.action)+'?'+q.toString();})(%1))JS";

QJsonValue evaluate(TIECtrl& ie, const QString& expression) {
    chromium::ChromiumBrowser* browser = ie.session();
    if (!browser) throw AutomationError(hresult::Disconnected, {});
    const QJsonObject reply =
        browser->pageCall(QStringLiteral("Runtime.evaluate"),
                          {{QStringLiteral("expression"), expression}, {QStringLiteral("returnByValue"), true}});
    if (reply.contains(QStringLiteral("exceptionDetails")))
        throw AutomationError(hresult::Exception,
                              reply.value("exceptionDetails").toObject().value("text").toString());
    return reply.value("result").toObject().value("value");
}

QString quoted(const QString& text) {
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// The walk over the pages: each page loaded, read and judged; what could not be opened said.
class Walk {
public:
    Walk(TIECtrl& ie, const workflow::Settings& settings, const SiteCheck::Input& input)
        : ie_(ie), settings_(settings), input_(input), table_(site::elements(input.config)) {}

    SiteCheckReport run() {
        const QString before = ie_.GetUrl();
        try {
            walk();
        } catch (const AutomationError& e) {
            unreachable(e.text().isEmpty() ? texts::Disconnected : e.text());
        }
        // Back where the seller (or the workflow) was; a failure here is the next step's to find.
        if (!before.isEmpty() && ie_.IsConnected() && before.startsWith(QLatin1String("http"))) ie_.NavigateWait(before);
        report_.findings = findings_;
        if (report_.outcome != SiteCheckReport::Outcome::Unreachable && !report_.problems().isEmpty())
            report_.outcome = SiteCheckReport::Outcome::Moved;
        return report_;
    }

private:
    void walk() {
        const QString top = QStringLiteral("http://") + input_.config.auctionHost + site::AuctionTopPath;
        if (!open(top)) return;
        Snapshot page = SiteCheck::read(ie_);
        if (holds(page, site::PasswordField)) {
            judgePage(Page::Login, page);
            logIn();
            page = SiteCheck::read(ie_);
        }
        judgePage(Page::LoggedIn, page);
        if (report_.outcome == SiteCheckReport::Outcome::Unreachable) return;
        if (!findings_.last().holds() || holds(page, site::PasswordField)) {
            unreachable(t::PageLoggedIn + QStringLiteral("：") + findings_.last().found);
            return;
        }

        // The item form: opened from its category's page, the way a listing opens it.
        if (open(settings_.value(workflow::ini::ShuppinUrl) + input_.categoryCode)) {
            const Snapshot category = SiteCheck::read(ie_);
            judgePage(Page::Category, category);
            if (holds(category, site::ConfirmElement) && ie_.ClickFormItem(0, site::ConfirmElement) >= 0 &&
                ie_.WaitComplete(PageSeconds) == 0) {
                addRows(site::AddBankElement, input_.bankRows);
                addRows(site::AddPaymentElement, input_.paymentRows);
                const Snapshot form = SiteCheck::read(ie_);
                judgePage(Page::ItemForm, form);
                findings_ << site::judgeDefinitions(input_.fields, form);
                const QString pictures =
                    evaluate(ie_, QString::fromLatin1(PictureAddressScript).arg(quoted(site::ToPicturePage))).toString();
                if (!pictures.isEmpty() && open(pictures)) judgePage(Page::Pictures, SiteCheck::read(ie_));
                else notReached(Page::Pictures, site::ToPicturePage);
            } else {
                const bool follows = !holds(category, site::ConfirmElement);
                notReached(Page::ItemForm, site::ConfirmElement, follows);
                notReached(Page::Pictures, site::ConfirmElement, follows);
            }
        } else {
            notReached(Page::Category, settings_.value(workflow::ini::ShuppinUrl), false);
        }
        for (const Element& e : table_)
            if (site::sendsToOpen(e.page)) findings_ << Finding{e.page, e.key, site::judge(e, {}).expected, t::NotVisited,
                                                               State::NotVisited};

        // The lists, and through their items the pages an item leads to: the completion page of
        // any of the seller's items, the item page and relist form of an unsold one.
        const ListRead selling = readList(Page::Selling, settings_.value(workflow::ini::ShuppinChuuUrl));
        const ListRead sold = readList(Page::Sold, settings_.value(workflow::ini::ShuppinEndUrl) + QStringLiteral("1"));
        const ListRead unsold = readList(Page::Unsold, settings_.value(workflow::ini::ShuppinEndUrl) + QStringLiteral("0"));
        QString listed;
        for (const ListRead* list : {&selling, &unsold, &sold})
            if (listed.isEmpty()) listed = list->firstId;
        // Read as a listing leaves it, without listing: a seller with no item yet has none to show.
        if (listed.isEmpty()) notOpened(Page::Completion, t::NoItemToShow);
        else if (open(site::completionAddress(input_.config.auctionHost, listed))) judgePage(Page::Completion, SiteCheck::read(ie_));
        else notReached(Page::Completion, site::CompletionPath, false);

        if (unsold.empty) {
            notOpened(Page::ItemPage, t::NoUnsoldToShow);
            notOpened(Page::RelistForm, t::NoUnsoldToShow);
            return;
        }
        if (unsold.firstLink.isEmpty() || !open(unsold.firstLink)) {
            notReached(Page::ItemPage, site::ItemPagePath);
            notReached(Page::RelistForm, site::ItemPagePath);
            return;
        }
        judgePage(Page::ItemPage, SiteCheck::read(ie_));
        // The relist form's page, read; its confirm button is not pressed.
        if (open(site::relistAddress(ie_.GetUrl(), input_.config.auctionHost))) judgePage(Page::RelistForm, SiteCheck::read(ie_));
    }

    // A list's first page as read: empty or not, and its first item.
    struct ListRead {
        bool empty = false;
        QString firstId;   // the first item's auction ID
        QString firstLink; // the first link to an item page
    };

    ListRead readList(Page page, const QString& address) {
        ListRead list;
        if (!open(address)) {
            notReached(page, address, false);
            return list;
        }
        const Snapshot read = SiteCheck::read(ie_);
        list.empty = judgePage(page, read);
        list.firstId = firstItemId(read);
        for (const site::PageLink& l : read.links)
            if (list.firstLink.isEmpty() && l.href.contains(input_.config.auctionHost + site::ItemPagePath)) list.firstLink = l.href;
        return list;
    }

    bool open(const QString& address) {
        const int loaded = ie_.NavigateWait(address);
        if (loaded == TIECtrl::AutomationFailed) throw AutomationError(uint32_t(ie_.LastError), ie_.LastErrorText);
        return loaded == 0;
    }

    static bool holds(const Snapshot& page, const QString& name) {
        for (const site::PageNode& n : page.nodes)
            if (n.name == name || n.id == name) return true;
        return false;
    }

    void logIn() {
        if (ie_.SetFormValue(0, site::LoginField, settings_.value(workflow::ini::YahooId)) < 0 ||
            ie_.SetFormValue(0, site::PasswordField, settings_.value(workflow::ini::Password)) < 0 ||
            ie_.SubmitForm(0, 0) != 0)
            return;
        ie_.WaitComplete(PageSeconds);
    }

    // The add buttons pressed as the fill would press them: they only add rows on the page.
    void addRows(const QString& id, int rows) {
        for (int k = 0; k < rows; ++k)
            if (ie_.SelectById(id) != 0 || ie_.List.isNull() || ie_.ClickSelected() != 0) return;
    }

    QString firstItemId(const Snapshot& list) const {
        for (const site::PageLink& l : list.links)
            if (const QString id = site::auctionIdOf(l.href, input_.config.auctionHost); !id.isEmpty()) return id;
        return {};
    }

    // True when the page is a list that shows no item.
    bool judgePage(Page page, const Snapshot& read) {
        const QList<Finding> judged = site::judgePage(table_, page, read);
        findings_ << judged;
        return site::showsEmptyList(judged);
    }

    // A page that could not be opened: a problem of its own, or (`follows`) one already named
    // on the page that leads to it.
    void notReached(Page page, const QString& through, bool follows = true) {
        for (const Element& e : table_)
            if (e.page == page)
                findings_ << Finding{page, e.key, site::judge(e, {}).expected, t::NotReached.arg(through),
                                     follows ? State::NotVisited : State::Missing};
    }

    // A page left unopened on purpose, saying why: not a problem.
    void notOpened(Page page, const QString& why) {
        for (const Element& e : table_)
            if (e.page == page) findings_ << Finding{page, e.key, site::judge(e, {}).expected, why, State::NotVisited};
    }

    void unreachable(const QString& cause) {
        report_.outcome = SiteCheckReport::Outcome::Unreachable;
        QStringList said;
        for (const Finding& f : findings_)
            if (!f.holds()) said << pageName(f.page) + QStringLiteral("／") + f.element + QStringLiteral("：") + f.found;
        said << cause;
        said.removeDuplicates();
        report_.cause = said.join(QStringLiteral("\n"));
    }

    TIECtrl& ie_;
    const workflow::Settings& settings_;
    const SiteCheck::Input& input_;
    const QList<Element> table_;
    QList<Finding> findings_;
    SiteCheckReport report_;
};

} // namespace

QString pageName(Page page) {
    switch (page) {
    case Page::Login: return t::PageLogin;
    case Page::LoggedIn: return t::PageLoggedIn;
    case Page::Category: return t::PageCategory;
    case Page::ItemForm: return t::PageItemForm;
    case Page::Pictures: return t::PagePictures;
    case Page::Confirmation: return t::PageConfirmation;
    case Page::Completion: return t::PageCompletion;
    case Page::Selling: return t::PageSelling;
    case Page::Unsold: return t::PageUnsold;
    case Page::ItemPage: return t::PageItem;
    case Page::RelistForm: return t::PageRelist;
    case Page::Sold: return t::PageSold;
    }
    return {};
}

QList<Finding> SiteCheckReport::problems() const {
    QList<Finding> out;
    for (const Finding& f : findings)
        if (!f.holds()) out << f;
    return out;
}

QString SiteCheckReport::emptyListsNote() const {
    QStringList lists;
    for (const Finding& f : findings)
        if (f.state == State::Empty && !lists.contains(pageName(f.page))) lists << pageName(f.page);
    return lists.isEmpty() ? QString() : t::EmptyLists.arg(lists.join(t::ListJoin));
}

QString SiteCheckReport::table() const {
    QStringList lines{t::OutputHeader};
    for (const Finding& f : findings)
        lines << QStringList{pageName(f.page), f.element, f.expected, f.found}.join('\t');
    // The verdict stays one line, last, for scripts to read.
    if (outcome == Outcome::Unreachable) lines << t::OutputUnreachable.arg(QString(cause).replace('\n', QStringLiteral("；")));
    else if (outcome == Outcome::Moved) lines << t::OutputMoved.arg(problems().size());
    else lines << t::OutputAllHold.arg(findings.size()) + emptyListsNote();
    return lines.join('\n') + '\n';
}

QString SiteCheckReport::problemLines() const {
    if (outcome == Outcome::Unreachable) return cause;
    QStringList lines;
    for (const Finding& f : problems()) lines << t::FindingLine.arg(pageName(f.page), f.element, f.found, f.expected);
    return lines.join('\n');
}

Snapshot SiteCheck::read(TIECtrl& ie) {
    const QJsonObject json = evaluate(ie, QString::fromLatin1(ReadScript)).toObject();
    Snapshot page;
    page.url = json.value("url").toString();
    page.title = json.value("title").toString();
    page.text = json.value("text").toString();
    for (const QJsonValue& v : json.value("nodes").toArray()) {
        const QJsonObject o = v.toObject();
        site::PageNode n{o.value("n").toString(), o.value("i").toString(), o.value("t").toString(),
                         o.value("y").toString(), o.value("v").toString(), {}, o.value("vis").toBool()};
        for (const QJsonValue& option : o.value("s").toArray()) n.options << option.toString();
        page.nodes << n;
    }
    for (const QJsonValue& v : json.value("links").toArray())
        page.links << site::PageLink{v.toObject().value("t").toString(), v.toObject().value("h").toString()};
    return page;
}

bool SiteCheck::showsEmptyList(TIECtrl& ie, Page list, const QString& auctionHost) {
    site::Configuration config;
    config.auctionHost = auctionHost;
    return site::showsEmptyList(site::judgePage(site::elements(config), list, read(ie)));
}

SiteCheckReport SiteCheck::run(TIECtrl& ie, const workflow::Settings& settings, const Input& input) {
    Walk walk(ie, settings, input);
    return walk.run();
}

bool SiteCheck::heldThisStart() { return heldThisStart_; }
void SiteCheck::setHeldThisStart(bool held) { heldThisStart_ = held; }

QString SiteCheck::firstCategoryCode(const QString& categoryFile) {
    QFile file(categoryFile);
    if (!file.open(QIODevice::ReadOnly)) return {};
    // A line holds its code after "^/" (a node without one is only a heading).
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype at = line.indexOf("^/");
        if (at >= 0 && at + 2 < line.size()) return QString::fromLatin1(line.mid(at + 2));
    }
    return {};
}

} // namespace zk::browser
