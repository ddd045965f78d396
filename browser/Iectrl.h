#pragma once
// The browser session: finds or starts the browser, navigates, waits, and reaches the page's
// elements by form, by selection list or by node. Operations return 0 (or a value) on success,
// -1 for a limit error, a missing element or a swallowed error, -2 for a wait that timed out
// (its message already shown) and -99 for an automation error kept in LastError/LastErrorText.
#include "platform/chromium/BrowserSettings.h"
#include "platform/chromium/Variant.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

namespace zk {

class AutomationError;
class DesktopWindow;
namespace chromium {
class ChromiumBrowser;
}

// A top-level window of the driven browser; 0 is none.
using WindowHandle = quintptr;

class TIECtrl {
public:
    // The result of an operation that met an automation error (kept in LastError/LastErrorText).
    static constexpr int AutomationFailed = -99;

    TIECtrl();
    ~TIECtrl();
    TIECtrl(const TIECtrl&) = delete;
    TIECtrl& operator=(const TIECtrl&) = delete;

    Variant Browser;
    Variant Document;
    Variant List;
    int32_t LastError = 0;
    QString LastErrorText;

    // How the next browser is found or started: from System.ini at each browser start (the site
    // login), or a test's own. Without, the defaults.
    void setSettings(const chromium::BrowserSettings& settings) { settings_ = settings; }
    chromium::BrowserSettings settings() const;

    // Session.
    WindowHandle FindOrLaunch();
    int GetDocument();
    int Navigate(const QString& address);
    int NavigateWait(const QString& address);
    // Starts the navigation and returns at once: the caller does other work while the page
    // loads and waits (WaitComplete) before it reads the page.
    int StartNavigation(const QString& address);
    int WaitIdle(int seconds);
    int WaitComplete(int seconds);
    int IsBusy();
    QString GetUrl();
    QString GetTitle();
    void Quit();
    static void SetPlacement(WindowHandle window, int left, int top, int width, int height);
    static bool GetPlacement(WindowHandle window, int& left, int& top, int& width, int& height);
    // The desktop window behind a handle; null once it has gone.
    static DesktopWindow* WindowOf(WindowHandle window);

    // Form addressing.
    int SetFormValue(int form, const QString& name, const QString& value);
    QString GetFormValue(int form, const QString& name);
    // Whether a form's check box or radio button is checked: 1 or 0, -1 when there is no such element.
    int GetFormChecked(int form, const QString& name);
    int SetFormSelectedIndex(int form, const QString& name, int index);
    // The options of a form's list, each as its value and its text, in one read; -1 when there
    // is no such list.
    int GetFormOptions(int form, const QString& name, QStringList& values, QStringList& texts);
    int CheckFormItem(int form, const QString& name);
    int UncheckFormItem(int form, const QString& name);
    int CheckFormRadio(int form, const QString& name, int index);
    int ClickFormItem(int form, const QString& name);
    int FocusFormItem(int form, const QString& name);
    int SetFormImeMode(int form, const QString& name, bool active);
    int SubmitForm(int form, int argument);

    // Document and list.
    int ExistsByName(const QString& name);
    int SelectByName(const QString& name);
    int SelectByTagName(const QString& tag);
    int SelectById(const QString& id);
    int GetListLength();
    QString GetItemText(int index);
    // The whole text the item shows, its elements' included; a lost browser raises.
    QString GetItemInnerText(int index);
    QString GetItemAttribute(int index, const QString& attribute);
    bool GetItemFlag(int index, const QString& property);
    bool GetItemChecked(int index);
    // Ticks or clears the box at `index` of the selected list: 0, or -99 with the error kept.
    int SetItemChecked(int index, bool checked);
    bool ItemHasChildren(int index);
    int ItemHasInput(int index, const QString& name);
    int FocusItem(int index);
    int NarrowToItem(int index);
    int ClickSelected();
    int FindSubmitInput();
    // The table cell that holds the list's item (its parents, at most ten up), and the first
    // texts (at most four levels down) of the two cells after it, as the node operations below
    // would find them: how many were found (0 no cell or no text, 1 the first only, 2 both).
    int GetItemCellTexts(int index, QString& first, QString& second);
    // The same walk on to the cells that follow, each while the one before had a text: at most
    // `cells` texts, in order.
    QStringList GetItemCellTexts(int index, int cells);

    // Nodes.
    QString GetNodeText(const Variant& node);
    bool GetFirstChild(const Variant& node, Variant& child);
    int GetItemFirstChildType(int index, const Variant& collection);
    int GetNodeFirstChildType(const Variant& node);
    bool NodeHasChildren(const Variant& node);
    int GetCollectionItem(int index, const Variant& collection, Variant& element);
    QString GetParentNodeName(const Variant& node, Variant& parent);
    int GetNextSibling(const Variant& node, Variant& sibling);

    // The driven browser behind Browser, null when there is none.
    chromium::ChromiumBrowser* session() const;
    // Whether a browser is driven and its connection still stands.
    bool IsConnected() const;
    // Polls ("busy" reads) of the last wait.
    int lastPollCount() const { return polls_; }

private:
    int wait(int seconds, bool complete);
    // The element of a form by name (with index when given); null when a step is null.
    Variant formElement(int form, const QString& name, std::optional<int> index = std::nullopt);
    Variant formAt(int form);
    // A property of a form's element read or written, in one round trip with the driven
    // browser: null (read) or false (write) when there is no such element.
    Variant formGet(int form, const QString& name, const QString& property);
    bool formPut(int form, const QString& name, const QString& property, const Variant& value,
                 std::optional<int> index = std::nullopt);
    // The selected list's links read in one round trip (address, first child's text, cell
    // texts), served to the item reads while the list and the page's document stay the same;
    // null when the list is no collection or cannot be read so (the reads then go one by one).
    struct LinkSnapshot;
    const LinkSnapshot* linkSnapshot();
    QStringList cellTextsByNodes(int index, int cells);
    bool firstTextBelow(Variant node, QString& text);
    void record(const AutomationError& error);
    void clearError();

    std::optional<chromium::BrowserSettings> settings_;
    int polls_ = 0;
    std::unique_ptr<LinkSnapshot> snapshot_;
};

} // namespace zk
