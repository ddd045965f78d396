#pragma once
// The main window: the borderless control panel with its main page, sub page and curtain. It
// owns the shared objects, keeps the workflow state in one workflow::Shared and is the panel the
// workflows see; each subsystem's handlers live in their own folder and are called from here.
#include "browser/Iectrl.h"
#include "platform/KeySender.h"
#include "browser/SiteLogin.h"
#include "fields/Fields.h"
#include "listing/ClosingTimePanel.h"
#include "relist/RelistPricePanel.h"
#include "platform/Desktop.h"
#include "workflow/Panel.h"
#include "workflow/PressGuard.h"
#include "workflow/Shared.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <array>
#include <memory>

namespace Ui {
class TMain;
}
class TCategory;
namespace zk::sheet {
class TExcel;
class WorkbookSession;
}
namespace zk::collect {
class ColumnPrompts;
}
namespace zk::listing {
class PreviousTitle;
class ItemSet;
class Submission;
class TPicUploader;
class PictureUpload;
}
namespace zk::category {
class CategoryNavigation;
}
namespace zk::relist {
class SingleRelist;
class BulkRelist;
}
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zk {

class OptionLibrary;
class TextPlusLibrary;
class TMinForm1;

class TMain : public QWidget, public workflow::Panel {
    Q_OBJECT
public:
    // `dataFolder`: the seller's data folder as the program resolved it (empty: it could not).
    explicit TMain(const QString& dataFolder, QWidget* parent = nullptr);
    ~TMain() override;

    Ui::TMain* ui() const { return ui_.get(); }
    void setMiniBar(TMinForm1* miniBar) { MiniBar = miniBar; }

    // Control panel states: 0 busy, 1 ready.
    void SetPanelEnabled(int flag);
    // Curtain: 0 raise, 1 lower.
    void ShowCurtain(int flag);
    void SideButtonClick();
    void RestoreWindowPlacement(DesktopWindow* window, const QString& name);
    void SaveWindowPlacement(DesktopWindow* window, const QString& name);
    void ScheduleClosingRefresh();
    // Guarded cell access of the item workbook (the edit mode is repaired, failures shown).
    bool ReadCellText(int row, int column, QString& text);
    bool WriteCellText(int row, int column, const QString& text);
    virtual void ShowThumbnail(const QString& fileName) = 0;

    // Handlers.
    void Timer1Timer();
    void Timer3Timer();
    void Timer5Timer();
    void Image3Click();
    void Image4Click();
    void MiniBarEntered();
    void SetYahooIDClick();
    void SetOptionClick();
    void StartExcelClick();
    void CloseExcelClick();
    void SelectRowClick();
    void PreviousTitleClick();
    void StartIEClick();
    // The relist group's extras: the price panel slides in, the description-append tool.
    void RSKingakuPanelCheckClick() { RelistPanel->RSKingakuPanelCheckClick(); }
    void Timer6Timer() { RelistPanel->Timer6Timer(); }
    void RSTempPriceSelectClick() { RelistPanel->RSTempPriceSelectClick(); }
    void RSSokketuCheckBoxClick() { RelistPanel->RSSokketuCheckBoxClick(); }
    void Button1Click();
    relist::RelistPricePanel& relistPricePanel() const { return *RelistPanel; }

    // The listing steps: category, item set, submission; their shared page checks.
    void CategoryButtonClick();
    void Timer2Timer();
    void GotoGategory(const QString& code);
    void SetShuppinClick();
    int SetItemToForm(int mode);
    void ExhibitClick();
    int AgreeAndList();
    int ConfirmInsertion();
    int IsAlreadyListed();

    // "連続出品": every remaining row (or the next N) through the four steps in one press.
    void RenzokuShuppinClick();

    // The relisting steps: the list without a winner, one item, all items, the stop button.
    void GoReShuppinClick();
    void ReShuppinClick();
    void ReShuppinAllClick();
    void StopReshuppinClick() { StopRequested = true; }
    // The picture upload's handlers (listing/PictureUpload).
    void UploadButtonClick();
    void UploadClearClick();
    void TrackBar1Change(int position);
    void PreviousUploadClick();
    void Image1MouseDown();
    void Image1MouseUp();
    // Item-name collection.
    void ShuppinCollectionClick();

    // The page shown: 0 main page, 1 sub page, 2 curtain; the page to return to from the curtain.
    int PageIndex = 0;
    int SavedPageIndex = 0;
    // What every workflow shares: settings, sessions, row cursor.
    workflow::Shared& shared() { return shared_; }
    // The closing-date and closing-time lists and the temporary price rows of the sub page.
    ClosingTimePanel& closingTime() { return *ClosingTime; }

    DesktopWindow* window() { return &selfWindow_; }
    // The guide animation points at the next step of a listing: 0 category, 1 upload, 2 item set,
    // 3 submit.
    void ShowGuideAt(int step);

    // The panel as the workflows see it.
    void setBusy(bool busy) override { SetPanelEnabled(busy ? 0 : 1); }
    void setCurtain(bool raised) override { ShowCurtain(raised ? 0 : 1); }
    void showGuideAt(int step) override { ShowGuideAt(step); }
    void showThumbnail(const QString& fileName) override { ShowThumbnail(fileName); }
    QString panelStartPrice() const override;
    QString panelBuyPrice() const override;
    bool stopRequested() const override { return StopRequested; }
    void bringToFront() override;
    int top() const override { return y(); }
    void setTop(int top) override { move(x(), top); }
    void restorePlacement(DesktopWindow* w, const QString& name) override { RestoreWindowPlacement(w, name); }
    void savePlacement(DesktopWindow* w, const QString& name) override { SaveWindowPlacement(w, name); }
    void workbookOpened() override;
    void setNextTitle(const QString& title) override;
    void setPreviousTitleVisible(bool visible) override;
    // The item-set controls.
    bool closingChosen() const override;
    bool closingOffered() const override;
    ClosingChoice nextClosingSlot() override;
    bool subPageShown() const override { return PageIndex == 1; }
    void showSubPage() override;
    bool sendAfterFill() const override;
    bool panelPricesUsed() const override;
    bool panelSokketu() const override;
    RelistPrices relistPrices() const override;
    void setStopVisible(bool visible) override;
    void clearStopRequest() override { StopRequested = false; }
    void showRelistProgress(const QString& text) override;
    QString bulkFilterText() const override;
    Snapshot snapshot() const override;
    void restore(const Snapshot& snapshot) override;
    void guardPress(const std::function<void()>& press) override;
    // The picture upload's controls.
    int uploadCount() const override;
    void setUploadEnabled(bool enabled) override;
    void setTopMost(bool topMost) override;
    QRect panelGeometry() const override { return frameGeometry(); }
    int thumbnailLeft() const override;
    // Item-name collection: the chosen list and the progress line under it.
    int collectionMode() const override;
    // "連続出品": the number beside it, its progress line and stop button.
    int batchCount() const override;
    void showBatchProgress(const QString& text) override;
    void setBatchStopVisible(bool visible) override;
    void showProgress(const QString& text) override;

    // The program ended during construction or the start-up step.
    bool ended() const { return ended_; }
    // The start-up step has run (to its end or to a failure).
    bool startupRan() const { return startupRan_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Start-up failures: end the program without the closing sequence.
    void endApplication();
    // Start-up failures that close the main window: the closing sequence runs, and the program
    // then ends with a failure's exit code.
    void closeAfterStartupFailure();
    int ReadSystemIni();
    void WriteFormInfo();
    bool EditAccountAtStart();
    void startGuide();
    void LoadCategories();
    void loadPictures();
    // What a press that the guard caught leaves to do: the reconnect rule for the browser, the
    // office's advice for a lost office; one message either way.
    void pressFailed(const AutomationError& error);
    // The controls whose enabled state a failed press gives back.
    std::vector<QWidget*> pressControls() const;

    std::unique_ptr<Ui::TMain> ui_;
    // The objects the main window owns for the whole run; shared_ points at them.
    std::unique_ptr<TFieldDefs> FieldDefs;
    std::unique_ptr<ClosingTimePanel> ClosingTime;
    std::unique_ptr<TCategory> CategoryDialog;
    std::unique_ptr<sheet::TExcel> Excel;
    std::unique_ptr<sheet::WorkbookSession> Workbook;
    std::unique_ptr<collect::ColumnPrompts> Prompts;
    std::unique_ptr<listing::PreviousTitle> TitleUndo;
    std::unique_ptr<listing::TPicUploader> PicUploader;
    std::unique_ptr<listing::PictureUpload> Upload;
    std::unique_ptr<TIECtrl> IE;
    std::unique_ptr<KeySender> Keys;
    std::unique_ptr<SiteLogin> Login;
    std::unique_ptr<category::CategoryNavigation> Navigation;
    std::unique_ptr<listing::ItemSet> ItemSetStep;
    std::unique_ptr<listing::Submission> SubmissionStep;
    std::unique_ptr<relist::SingleRelist> SingleRelistStep;
    std::unique_ptr<relist::BulkRelist> BulkRelistStep;
    // How far a bulk relist is, beside its stop button.
    QLabel* RelistProgress = nullptr;
    // "連続出品" beside the listing buttons: the button, the number of rows (0 all), and over
    // the whole panel (the curtain included) its progress and stop button while it runs.
    QPushButton* RenzokuShuppin = nullptr;
    QSpinBox* RenzokuCount = nullptr;
    QLabel* RenzokuProgress = nullptr;
    QPushButton* RenzokuStop = nullptr;
    QImage MainBackground, SubBackground, NoTouchBackground;
    bool backgroundsLoaded_ = false;
    bool priceEditsReady_ = false;
    bool closingSequenceRuns_ = true;
    bool ended_ = false;
    bool startupRan_ = false;
    bool startupFailed_ = false;
    // The category dialog's poll (Timer2) belongs to the category navigation.
    QTimer Timer1, Timer3, Timer5, Timer6;
    TMinForm1* MiniBar = nullptr;
    std::unique_ptr<OptionLibrary> optionLibrary_;
    std::unique_ptr<TextPlusLibrary> textPlusLibrary_;
    std::unique_ptr<relist::RelistPricePanel> RelistPanel;
    WidgetWindow selfWindow_;
    workflow::Shared shared_;
    // The stop button was pressed during a bulk relist.
    bool StopRequested = false;
    // The six price edits of the item-set panel; the (Left, Top) of the guide for category,
    // upload, item set and submit.
    std::array<QLineEdit*, 6> PriceEdits{};
    std::array<QPoint, 4> GuidePositions;
    // Remembered enabled states of the busy panel.
    bool RememberedSokketu = false;
    bool RememberedClose = false;
    bool RememberedSelectRow = false;
    // Open busy states (SetPanelEnabled counts them).
    int busyDepth_ = 0;
    // A close asked for while a press ran: done when the press has ended.
    bool closeAfterPress_ = false;
};

} // namespace zk
