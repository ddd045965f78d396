#include "browser/Iectrl.h"

#include "browser/Texts.h"
#include "platform/AutomationError.h"
#include "platform/MessageService.h"
#include "platform/chromium/BrowserWindow.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "platform/chromium/PageObject.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonValue>
#include <QThread>

namespace zk {

namespace {
constexpr int kPollMs = 5;
} // namespace

TIECtrl::TIECtrl() = default;

TIECtrl::~TIECtrl() = default;

chromium::BrowserSettings TIECtrl::settings() const {
    return settings_.value_or(chromium::BrowserSettings{});
}

chromium::ChromiumBrowser* TIECtrl::session() const {
    return dynamic_cast<chromium::ChromiumBrowser*>(Browser.object());
}

bool TIECtrl::IsConnected() const {
    const chromium::ChromiumBrowser* browser = session();
    return browser && browser->alive();
}

void TIECtrl::record(const AutomationError& error) {
    LastError = int32_t(error.code());
    LastErrorText = error.text();
}

void TIECtrl::clearError() {
    LastError = 0;
    LastErrorText.clear();
}

struct TIECtrl::LinkSnapshot {
    struct Link {
        QString href, text;
        QStringList cellTexts;
    };
    Variant list;               // held, so that its object cannot be another list's later
    quint64 generation = 0;
    bool collection = false;
    QList<Link> links;
    Link at(int index) const { return index >= 0 && index < links.size() ? links[index] : Link{}; }
};

// ---- Session ----

WindowHandle TIECtrl::FindOrLaunch() {
    Browser.clear();
    const chromium::BrowserSettings s = settings();
    QString error;
    std::shared_ptr<chromium::ChromiumBrowser> browser = chromium::ChromiumBrowser::attach(s, &error);
    LastErrorText.clear();
    if (!browser && !error.isEmpty()) { // an endpoint that answered and failed: start nothing
        LastErrorText = error;
        return 0;
    }
    if (browser) {
        Browser = Variant(std::shared_ptr<Dispatch>(browser));
        try {
            return WindowHandle(Browser.get("HWND").toInt());
        } catch (const AutomationError&) {
            Browser.clear();
            return 0;
        }
    }
    browser = chromium::ChromiumBrowser::launch(s, &error);
    if (!browser) {
        LastErrorText = error; // the cause, for the one message that says the start failed
        return 0;
    }
    Browser = Variant(std::shared_ptr<Dispatch>(browser));
    try {
        Browser.put("Visible", true);
        WaitIdle(10);
        return WindowHandle(Browser.get("HWND").toInt());
    } catch (const AutomationError&) {
        return 0;
    }
}

int TIECtrl::GetDocument() {
    clearError();
    try {
        Document = Browser.get("Document");
        return 0;
    } catch (const AutomationError& e) {
        record(e);
        return -99;
    }
}

int TIECtrl::Navigate(const QString& address) {
    clearError();
    try {
        Browser.call("Navigate2", {address});
        return WaitIdle(60);
    } catch (const AutomationError& e) {
        record(e);
        return -99;
    }
}

int TIECtrl::StartNavigation(const QString& address) {
    clearError();
    try {
        Browser.call("Navigate2", {address});
        return 0;
    } catch (const AutomationError& e) {
        record(e);
        return -99;
    }
}

int TIECtrl::NavigateWait(const QString& address) {
    clearError();
    try {
        Browser.call("Navigate2", {address});
        return WaitComplete(60);
    } catch (const AutomationError& e) {
        record(e);
        return -99;
    }
}

int TIECtrl::WaitIdle(int seconds) { return wait(seconds, false); }
int TIECtrl::WaitComplete(int seconds) { return wait(seconds, true); }

int TIECtrl::wait(int seconds, bool complete) {
    polls_ = 0;
    if (seconds > 120) {
        MessageService::instance().show(browser::texts::WaitLimit);
        return -1;
    }
    int count = seconds * 1000 / kPollMs;
    for (;;) {
        ++polls_;
        if (!Browser.get("busy").toBool()) {
            if (!complete) return 0;
            if (Document.get("ReadyState").toString() == QLatin1String("complete")) return 0;
        }
        QThread::msleep(kPollMs);
        QCoreApplication::processEvents();
        if (--count <= 0) break; // a limit of 0 or less polls once
    }
    MessageService::instance().show(browser::texts::Timeout);
    return -2;
}

int TIECtrl::IsBusy() { return Browser.get("busy").toBool() ? 1 : 0; }

QString TIECtrl::GetUrl() { return Document.get("url").toString(); }

QString TIECtrl::GetTitle() {
    try {
        return Document.get("title").toString();
    } catch (...) {
        return {};
    }
}

void TIECtrl::Quit() {
    try {
        Browser.call("Quit");
    } catch (...) {
        // Gone already: the references are dropped all the same.
    }
    Browser.clear();
    Document.clear();
}

DesktopWindow* TIECtrl::WindowOf(WindowHandle window) { return chromium::BrowserWindow::find(window); }

void TIECtrl::SetPlacement(WindowHandle window, int left, int top, int width, int height) {
    if (DesktopWindow* w = WindowOf(window)) w->setPlacement(QRect(left, top, width, height));
}

bool TIECtrl::GetPlacement(WindowHandle window, int& left, int& top, int& width, int& height) {
    DesktopWindow* w = WindowOf(window);
    QRect r;
    if (!w || !w->placement(r)) return false;
    left = r.left();
    top = r.top();
    width = r.width();
    height = r.height();
    return true;
}

// ---- Form addressing ----

Variant TIECtrl::formAt(int form) {
    if (auto* document = dynamic_cast<chromium::DocumentObject*>(Document.object())) return document->form(form);
    const Variant all = Document.get("all");
    if (all.isNull()) return Variant::null();
    const Variant forms = all.call("tags", {"form"});
    if (forms.isNull()) return Variant::null();
    return forms.call("item", {form});
}

Variant TIECtrl::formElement(int form, const QString& name, std::optional<int> index) {
    // The driven browser's document takes the whole path in one round trip.
    if (auto* document = dynamic_cast<chromium::DocumentObject*>(Document.object()))
        return document->formElement(form, name, index ? QVariantList{*index} : QVariantList{});
    const Variant f = formAt(form);
    if (f.isNull()) return f;
    return index ? f.call("item", {name, *index}) : f.call("item", {name});
}

Variant TIECtrl::formGet(int form, const QString& name, const QString& property) {
    if (auto* document = dynamic_cast<chromium::DocumentObject*>(Document.object()))
        return document->formElementGet(form, name, property);
    const Variant e = formElement(form, name);
    return e.isNull() ? e : e.get(property);
}

bool TIECtrl::formPut(int form, const QString& name, const QString& property, const Variant& value,
                      std::optional<int> index) {
    if (auto* document = dynamic_cast<chromium::DocumentObject*>(Document.object()))
        return !document->formElementPut(form, name, property, value, index ? QVariantList{*index} : QVariantList{})
                    .isNull();
    const Variant e = formElement(form, name, index);
    if (e.isNull()) return false;
    e.put(property, value);
    return true;
}

int TIECtrl::SetFormValue(int form, const QString& name, const QString& value) {
    if (!formPut(form, name, "value", value)) return -1;
    return WaitIdle(5);
}

QString TIECtrl::GetFormValue(int form, const QString& name) {
    return formGet(form, name, "value").toString(); // null, no element: empty
}

int TIECtrl::GetFormChecked(int form, const QString& name) {
    const Variant checked = formGet(form, name, "checked");
    return checked.isNull() ? -1 : checked.toBool() ? 1 : 0;
}

int TIECtrl::SetFormSelectedIndex(int form, const QString& name, int index) {
    return formPut(form, name, "SelectedIndex", index) ? 0 : -1;
}

int TIECtrl::GetFormOptions(int form, const QString& name, QStringList& values, QStringList& texts) {
    values.clear();
    texts.clear();
    const Variant list = formElement(form, name);
    if (list.isNull()) return -1;
    QJsonValue read;
    chromium::ChromiumBrowser* browser = session();
    auto* object = dynamic_cast<chromium::PageObject*>(list.object());
    if (browser && object) {
        read = browser->valueOf(object->objectId(), QStringLiteral(
            "function() { return this.options ? Array.from(this.options).map(o => [o.value, o.text]) : null; }"));
        if (!read.isArray()) return -1;
        for (const QJsonValue& option : read.toArray()) {
            values << option.toArray().at(0).toString();
            texts << option.toArray().at(1).toString();
        }
        return int(values.size());
    }
    // Another late-bound document: option by option.
    const Variant options = list.get("options");
    if (options.isNull()) return -1;
    const int count = options.get("length").toInt();
    for (int i = 0; i < count; ++i) {
        const Variant option = options.call("item", {i});
        values << option.get("value").toString();
        texts << option.get("text").toString();
    }
    return count;
}

int TIECtrl::CheckFormItem(int form, const QString& name) {
    return formPut(form, name, "checked", true) ? 0 : -1;
}

int TIECtrl::UncheckFormItem(int form, const QString& name) {
    return formPut(form, name, "checked", false) ? 0 : -1;
}

int TIECtrl::CheckFormRadio(int form, const QString& name, int index) {
    return formPut(form, name, "checked", true, index) ? 0 : -1;
}

int TIECtrl::ClickFormItem(int form, const QString& name) {
    const Variant e = formElement(form, name);
    if (e.isNull()) return -1;
    e.call("click");
    return WaitIdle(10);
}

int TIECtrl::FocusFormItem(int form, const QString& name) {
    const Variant e = formElement(form, name);
    if (e.isNull()) return -1;
    e.call("focus");
    return WaitIdle(10);
}

int TIECtrl::SetFormImeMode(int form, const QString& name, bool active) {
    const Variant e = formElement(form, name);
    if (e.isNull()) return -1;
    const Variant style = e.call("getAttribute", {"style"});
    if (style.isNull()) return -1;
    style.put("cssText", active ? "ime-mode:active" : "ime-mode:disabled");
    QCoreApplication::processEvents();
    return WaitIdle(5);
}

int TIECtrl::SubmitForm(int form, int argument) {
    const Variant f = formAt(form);
    if (f.isNull()) return -1;
    f.call("submit", {argument});
    return WaitIdle(120);
}

// ---- Document and list ----

int TIECtrl::ExistsByName(const QString& name) {
    clearError();
    try {
        return Document.call("getElementsByName", {name}).get("length").toInt() > 0 ? 1 : 0;
    } catch (const AutomationError& e) {
        record(e);
        return 0;
    }
}

int TIECtrl::SelectByName(const QString& name) {
    try {
        List = Document.call("getElementsByName", {name});
        if (List.isNull()) return -1;
        return WaitIdle(10);
    } catch (...) {
        return -1;
    }
}

int TIECtrl::SelectByTagName(const QString& tag) {
    clearError();
    try {
        List = Document.call("getElementsByTagName", {tag});
    } catch (const AutomationError& e) {
        record(e);
        return -99;
    }
    if (List.isNull()) return -1;
    return WaitComplete(10);
}

int TIECtrl::SelectById(const QString& id) {
    try {
        List = Document.call("getElementById", {id});
        return WaitIdle(10);
    } catch (...) {
        return -1;
    }
}

int TIECtrl::GetListLength() {
    try {
        // While a navigation is on its way, Chromium holds every read of the page until the next
        // page is there: wait first, so that a browser that stays busy still gives the timeout.
        if (IsBusy()) {
            const int waited = WaitIdle(10);
            if (waited != 0) return waited;
        }
        const int length = List.get("length").toInt();
        const int waited = WaitIdle(10);
        return waited != 0 ? waited : length;
    } catch (...) {
        return -1;
    }
}

QString TIECtrl::GetItemText(int index) {
    if (const LinkSnapshot* links = linkSnapshot()) return links->at(index).text;
    try {
        const Variant v = List.call("item", {index}).get("firstChild").get("nodeValue");
        return v.isNull() ? QString() : v.toString();
    } catch (...) {
        return {};
    }
}

QString TIECtrl::GetItemInnerText(int index) {
    try {
        const Variant v = List.call("item", {index}).get("innerText");
        return v.isNull() ? QString() : v.toString();
    } catch (const AutomationError& e) {
        if (e.isDisconnection()) throw;
        return {};
    }
}

QString TIECtrl::GetItemAttribute(int index, const QString& attribute) {
    if (attribute.compare(QLatin1String("href"), Qt::CaseInsensitive) == 0)
        if (const LinkSnapshot* links = linkSnapshot()) return links->at(index).href;
    try {
        const Variant v = List.call("item", {index}).call("getAttribute", {attribute});
        return v.isNull() ? QString() : v.toString();
    } catch (...) {
        return {};
    }
}

bool TIECtrl::GetItemFlag(int index, const QString& property) {
    try {
        return List.call("item", {index}).get(property).toBool();
    } catch (...) {
        return false;
    }
}

bool TIECtrl::GetItemChecked(int index) {
    const Variant item = List.call("item", {index});
    if (item.isNull()) return false;
    const Variant checked = item.get("checked");
    return checked.isNull() ? false : checked.toBool();
}

int TIECtrl::SetItemChecked(int index, bool checked) {
    clearError();
    try {
        List.call("item", {index}).put("checked", checked);
        return 0;
    } catch (const AutomationError& e) {
        record(e);
        return -99;
    }
}

bool TIECtrl::ItemHasChildren(int index) {
    try {
        return List.call("item", {index}).get("ChildNodes").get("length").toInt() > 0;
    } catch (...) {
        return false;
    }
}

int TIECtrl::ItemHasInput(int index, const QString& name) {
    try {
        const Variant inputs = List.call("item", {index}).call("getElementsByTagName", {"input"});
        const int n = inputs.get("length").toInt();
        for (int k = 0; k < n; ++k) {
            const Variant a = inputs.call("item", {k}).call("getAttribute", {"name"});
            if (!a.isNull() && a.toString() == name) return 1;
        }
        return 0;
    } catch (const AutomationError&) {
        return 0;
    }
}

int TIECtrl::FocusItem(int index) {
    try {
        List.call("item", {index}).call("focus");
        return WaitIdle(10);
    } catch (...) {
        return -1;
    }
}

int TIECtrl::NarrowToItem(int index) {
    try {
        const Variant item = List.call("item", {index});
        List = item;
        return 0;
    } catch (...) {
        return -1;
    }
}

int TIECtrl::ClickSelected() {
    try {
        List.call("click");
    } catch (const AutomationError&) {
        return -1;
    }
    return WaitComplete(10);
}

int TIECtrl::FindSubmitInput() {
    if (SelectByTagName("input") != 0) return -1;
    const int n = GetListLength();
    if (n == -1) return -1;
    for (int index = n - 1; index >= 0; --index)
        if (GetItemAttribute(index, "type").toLower() == QLatin1String("submit")) return 0;
    return -1;
}

// ---- Link lists read whole ----

namespace {

// The same reads as the operations one by one: "href" as getAttribute gives it (the property
// where there is one), the first child's value, and the walk to the table cell and its next two
// cells' first texts.
const QString kLinkSnapshotScript = QStringLiteral(R"JS(function() {
  if (!(this instanceof HTMLCollection || this instanceof NodeList)) return null;
  var attr = function(t, n) {
    if (n in t) { var v = t[n]; if (typeof v === 'string' || typeof v === 'number' || typeof v === 'boolean') return String(v); }
    var a = t.getAttribute(n);
    return a === null ? '' : String(a);
  };
  var text = function(node) {
    for (var level = 0; level < 4; level++) {
      if (!node || !node.childNodes || node.childNodes.length === 0) return null;
      if (node.firstChild.nodeType === 3) return node.firstChild.nodeValue === null ? '' : node.firstChild.nodeValue;
      node = node.firstChild;
    }
    return null;
  };
  var out = [];
  for (var i = 0; i < this.length; i++) {
    var a = this[i];
    if (!a || a.nodeType !== 1) { out.push(['', '', []]); continue; }
    var value = a.firstChild ? a.firstChild.nodeValue : null;
    var node = a, cell = null;
    for (var step = 0; step < 10 && node; step++) {
      var parent = node.parentNode;
      if (parent && parent.nodeType === 1 && String(parent.nodeName).toUpperCase() === 'TD') { cell = parent; break; }
      node = parent;
    }
    var texts = [];
    for (var next = cell ? cell.nextSibling : null; next && texts.length < 3; next = next.nextSibling) {
      var t = text(next);
      if (t === null) break;
      texts.push(t);
    }
    out.push([attr(a, 'href'), value === null ? '' : String(value), texts]);
  }
  return out;
})JS");

} // namespace

const TIECtrl::LinkSnapshot* TIECtrl::linkSnapshot() {
    chromium::ChromiumBrowser* browser = session();
    auto* list = dynamic_cast<chromium::PageObject*>(List.object());
    if (!browser || !list) return nullptr;
    const quint64 generation = browser->documentGeneration();
    if (snapshot_ && snapshot_->list.object() == List.object() && snapshot_->generation == generation)
        return snapshot_->collection ? snapshot_.get() : nullptr;
    QJsonValue value;
    try {
        value = browser->valueOf(list->objectId(), kLinkSnapshotScript);
    } catch (const AutomationError&) {
        // Nothing kept: the reads go one by one and meet the same error there.
        snapshot_.reset();
        return nullptr;
    }
    snapshot_ = std::make_unique<LinkSnapshot>();
    snapshot_->list = List;
    snapshot_->generation = generation;
    snapshot_->collection = value.isArray();
    for (const QJsonValue& entry : value.toArray()) {
        const QJsonArray link = entry.toArray();
        QStringList texts;
        for (const QJsonValue& t : link.at(2).toArray()) texts << t.toString();
        snapshot_->links.append({link.at(0).toString(), link.at(1).toString(), texts});
    }
    return snapshot_->collection ? snapshot_.get() : nullptr;
}

int TIECtrl::GetItemCellTexts(int index, QString& first, QString& second) {
    const QStringList texts = GetItemCellTexts(index, 2);
    first = texts.value(0);
    second = texts.value(1);
    return int(texts.size());
}

QStringList TIECtrl::GetItemCellTexts(int index, int cells) {
    if (const LinkSnapshot* links = linkSnapshot()) return links->at(index).cellTexts.mid(0, cells);
    return cellTextsByNodes(index, cells);
}

QStringList TIECtrl::cellTextsByNodes(int index, int cells) {
    Variant node;
    if (GetCollectionItem(index, List, node) != 0) return {};
    bool inCell = false;
    for (int step = 0; step < 10 && !inCell; ++step) {
        Variant parent;
        inCell = GetParentNodeName(node, parent).compare(QLatin1String("TD"), Qt::CaseInsensitive) == 0;
        node = parent;
    }
    QStringList texts;
    if (!inCell) return texts;
    for (Variant cell; texts.size() < cells && GetNextSibling(node, cell) == 0; node = cell) {
        QString text;
        if (!firstTextBelow(cell, text)) break;
        texts << text;
    }
    return texts;
}

bool TIECtrl::firstTextBelow(Variant node, QString& text) {
    for (int level = 0; level < 4; ++level) {
        if (!NodeHasChildren(node)) return false;
        if (GetNodeFirstChildType(node) == 3) {
            text = GetNodeText(node);
            return true;
        }
        Variant child;
        if (!GetFirstChild(node, child)) return false;
        node = child;
    }
    return false;
}

// ---- Nodes ----

QString TIECtrl::GetNodeText(const Variant& node) {
    try {
        const Variant v = node.get("firstChild").get("nodeValue");
        return v.isNull() ? QString() : v.toString();
    } catch (...) {
        return {};
    }
}

bool TIECtrl::GetFirstChild(const Variant& node, Variant& child) {
    try {
        child = node.get("firstChild");
        return !child.isNull();
    } catch (...) {
        return false;
    }
}

int TIECtrl::GetItemFirstChildType(int index, const Variant& collection) {
    try {
        return collection.call("item", {index}).get("firstChild").get("nodeType").toInt();
    } catch (...) {
        return -1;
    }
}

int TIECtrl::GetNodeFirstChildType(const Variant& node) {
    try {
        return node.get("firstChild").get("nodeType").toInt();
    } catch (...) {
        return -1;
    }
}

bool TIECtrl::NodeHasChildren(const Variant& node) {
    try {
        return node.get("ChildNodes").get("length").toInt() > 0;
    } catch (...) {
        return false;
    }
}

int TIECtrl::GetCollectionItem(int index, const Variant& collection, Variant& element) {
    try {
        element = collection.call("item", {index});
        return 0;
    } catch (...) {
        return -1;
    }
}

QString TIECtrl::GetParentNodeName(const Variant& node, Variant& parent) {
    try {
        parent = node.get("parentNode");
        const Variant v = parent.call("getAttribute", {"nodeName"});
        return v.isNull() ? QString() : v.toString();
    } catch (...) {
        return {};
    }
}

int TIECtrl::GetNextSibling(const Variant& node, Variant& sibling) {
    try {
        sibling = node.get("nextSibling");
        return 0;
    } catch (...) {
        return -1;
    }
}

} // namespace zk
