#pragma once
// What a workflow step may do to the control panel, and nothing more: the main window implements
// it; tests record it. Busy and curtain are scoped so that every way out (errors included)
// leaves the panel ready and uncovered.
#include <QDate>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

namespace zk {
class DesktopWindow;
}

namespace zk::workflow {

class Panel {
public:
    virtual ~Panel() = default;

    // Control groups disabled while busy, enabled (with their remembered states) when ready.
    // Busy is counted: only the outermost busy remembers and disables, only the matching ready
    // enables, so a step that runs inside another cannot leave controls disabled.
    virtual void setBusy(bool busy) = 0;
    // The curtain that asks the user not to touch mouse and keyboard while keys are typed.
    virtual void setCurtain(bool raised) = 0;
    // The guide animation points at the next listing step: 0 category, 1 upload, 2 item set, 3 submit.
    virtual void showGuideAt(int step) = 0;
    // The thumbnail of the next picture; empty clears it.
    virtual void showThumbnail(const QString& fileName) = 0;
    // The temporary prices of the checked panel row; empty when the panel prices are not used.
    virtual QString panelStartPrice() const = 0;
    virtual QString panelBuyPrice() const = 0;
    // The stop button was pressed during a long run, or the window is closing.
    virtual bool stopRequested() const = 0;
    // What asked for the stop: the button, the window's closing, or a termination signal.
    enum class StopSource { Button, Window, Signal };
    virtual StopSource stopSource() const { return StopSource::Button; }

    // The panel window itself: to the front, and its top edge (moved out of the user's way).
    virtual void bringToFront() = 0;
    virtual int top() const = 0;
    virtual void setTop(int top) = 0;
    // Where the browser and spreadsheet windows sit, remembered between runs under a name.
    virtual void restorePlacement(DesktopWindow* window, const QString& name) = 0;
    virtual void savePlacement(DesktopWindow* window, const QString& name) = 0;

    // The workbook controls: opened (undo shown, close and row selection enabled), the next
    // title, and the undo button.
    virtual void workbookOpened() = 0;
    virtual void setNextTitle(const QString& title) = 0;
    virtual void setPreviousTitleVisible(bool visible) = 0;

    // The item-set controls, read by the listing and relist steps. The defaults describe a panel
    // without them: nothing chosen, nothing sent, no panel prices.
    // The form is given the date and hour; the rows are where the panel's lists show them now
    // and mean nothing on a page built at another time.
    struct ClosingChoice {
        int date = -1; // row in the closing-date list, -1 none
        int time = -1; // row in the closing-time list, -1 none
        QDate day;     // the closing date, invalid when none is chosen
        int hour = -1; // the closing hour (the slot from hour to hour + 1), -1 none
        QString label; // the slot as the panel shows it
    };
    // Both closing lists have a selection.
    virtual bool closingChosen() const { return false; }
    // The chosen date and hour are still offered now (not past the site's earliest slot).
    virtual bool closingOffered() const { return closingChosen(); }
    // The chosen slot as the panel shows it (no jitter applied); empty when none.
    virtual QString closingLabel() const { return {}; }
    // The date and time for the next item set, the jitter applied (and advanced).
    virtual ClosingChoice nextClosingSlot() { return {}; }
    // The sub page, which holds the closing lists, is shown; showSubPage switches to it.
    virtual bool subPageShown() const { return false; }
    virtual void showSubPage() {}
    // "送信" is "有": the form's confirm button is pressed after filling.
    virtual bool sendAfterFill() const { return false; }
    // "価格一時変更" is "使用", and "即決" (buy now at the start price) is checked.
    virtual bool panelPricesUsed() const { return false; }
    virtual bool panelSokketu() const { return false; }
    // The relist price panel: shown and "使用" chosen, its two prices and its "即決".
    struct RelistPrices {
        bool used = false;
        QString start, buy;
        bool sokketu = false;
        // "値下げ" chosen instead: each item a step below its own price, down to a floor.
        bool stepDown = false;
        QString step;           // percent or yen, as typed
        bool stepPercent = true;
        QString floor;          // yen, as typed
        bool floorFromColumn = false; // the item's own "最低価格" where its row has one
        bool skipAtFloor = false;
        bool dropBuyNow = false;
    };
    virtual RelistPrices relistPrices() const { return {}; }

    // The bulk relist: its stop button shown while its loop runs, the stop request cleared at
    // its end, how far it is, and the hidden title filter of its question.
    virtual void setStopVisible(bool) {}
    virtual void clearStopRequest() {}
    virtual void showRelistProgress(const QString&) {}
    virtual QString bulkFilterText() const { return {}; }
    // The picture upload's controls. Defaults for panels without them (tests, tools).
    // The number of pictures per upload (the track bar, 0 to 3) and the button that follows it.
    virtual int uploadCount() const { return 0; }
    virtual void setUploadEnabled(bool) {}
    // Kept above the other windows while keys are typed into them.
    virtual void setTopMost(bool) {}
    // The panel window's frame, and the thumbnail's left edge within it (the preview opens there).
    virtual QRect panelGeometry() const { return {}; }
    virtual int thumbnailLeft() const { return 0; }
    // The item-name collection: the list chosen in the collection group (0 current, 1 sold,
    // 2 unsold), and a line of progress while it runs (empty clears it). Defaults for panels
    // that run no collection.
    virtual int collectionMode() const { return 0; }
    virtual void showProgress(const QString& text) { (void)text; }

    // "連続出品": how many rows from the cursor on (0 every remaining one), a line of its
    // progress while it runs (empty hides it) and its stop button. Defaults for panels without.
    virtual int batchCount() const { return 0; }
    virtual void showBatchProgress(const QString&) {}
    virtual void setBatchStopVisible(bool) {}

    // What a press may change on its way and must find again when it fails: the enabled state of
    // every control, the busy depth with its remembered states, the curtain and the stop button.
    // Opaque to the workflows; the default panel has nothing to keep.
    struct Snapshot {
        std::vector<bool> enabled;
        std::vector<bool> remembered;
        int busyDepth = 0;
        bool curtain = false;
        bool stopVisible = false;
        bool batchStopVisible = false;
    };
    virtual Snapshot snapshot() const { return {}; }
    virtual void restore(const Snapshot&) {}
    // Runs a press (or a step's own timer tick) inside the panel's one guard (PressGuard); a
    // panel without one just runs it.
    virtual void guardPress(const std::function<void()>& press) { press(); }
};

// Busy on entry, ready on every way out; ready() ends it early where the panel must be ready
// before the step's last actions.
class BusyGuard {
public:
    explicit BusyGuard(Panel& panel) : panel_(&panel) { panel_->setBusy(true); }
    ~BusyGuard() { ready(); }
    void ready() {
        if (panel_) panel_->setBusy(false);
        panel_ = nullptr;
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    Panel* panel_;
};

// The curtain raised on entry and lowered on every way out.
class CurtainGuard {
public:
    explicit CurtainGuard(Panel& panel) : panel_(&panel) { panel_->setCurtain(true); }
    ~CurtainGuard() { lower(); }
    void lower() {
        if (panel_) panel_->setCurtain(false);
        panel_ = nullptr;
    }
    CurtainGuard(const CurtainGuard&) = delete;
    CurtainGuard& operator=(const CurtainGuard&) = delete;

private:
    Panel* panel_;
};

} // namespace zk::workflow
