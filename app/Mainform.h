#pragma once
// The main window: the borderless control panel with its main page, sub page and curtain. It
// owns the widgets and the objects of the run, keeps the workflow services in one workflow::Services
// and is the panel the workflows see; each control is wired straight to the step that handles it.
#include "browser/Iectrl.h"
#include "platform/KeySender.h"
#include "browser/SiteLogin.h"
#include "fields/Fields.h"
#include "listing/ClosingTimePanel.h"
#include "relist/RelistPricePanel.h"
#include "platform/Desktop.h"
#include "workflow/Panel.h"
#include "workflow/PressGuard.h"
#include "workflow/Services.h"

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
class ListingRecords;
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
class PracticeSite;
class TextPlusLibrary;
class TMinForm1;

class TMain : public QWidget, public workflow::Panel {
    Q_OBJECT
public:
    // `dataFolder`: the seller's data folder as the program resolved it (empty: it could not).
    explicit TMain(const QString& dataFolder, QWidget* parent = nullptr);
    ~TMain() override;

    // The strip the panel folds into while the mouse is away; entering it unfolds the panel.
    void setMiniBar(TMinForm1* miniBar);
    // The practice site this panel's folder is wired to, if any: the settings area offers to start
    // it afresh.
    void setPracticeSite(PracticeSite* site);
    // The program ended during construction or the start-up step.
    bool ended() const { return ended_; }
    // The start-up step has run (to its end or to a failure).
    bool startupRan() const { return startupRan_; }
    // The workflow services: settings, browser and workbook sessions, the listing's carry-over,
    // the relist tally, the ledger.
    workflow::Services& services() { return services_; }

    // The panel as the workflows see it.
    void setBusy(bool busy) override;
    void setCurtain(bool raised) override;
    void showGuideAt(int step) override;
    void showThumbnail(const QString& fileName) override;
    QString panelStartPrice() const override;
    QString panelBuyPrice() const override;
    bool stopRequested() const override { return StopRequested; }
    StopSource stopSource() const override { return StopFrom; }
    void bringToFront() override;
    int top() const override { return y(); }
    void setTop(int top) override { move(x(), top); }
    void restorePlacement(DesktopWindow* window, const QString& name) override;
    void savePlacement(DesktopWindow* window, const QString& name) override;
    void workbookOpened() override;
    void setNextTitle(const QString& title) override;
    void setPreviousTitleVisible(bool visible) override;
    // The item-set controls.
    bool closingChosen() const override;
    bool closingOffered() const override;
    QString closingLabel() const override;
    ClosingChoice nextClosingSlot() override;
    bool subPageShown() const override { return PageIndex == 1; }
    void showSubPage() override;
    bool sendAfterFill() const override;
    bool panelPricesUsed() const override;
    bool panelSokketu() const override;
    RelistPrices relistPrices() const override;
    void setStopVisible(bool visible) override;
    void clearStopRequest() override {
        StopRequested = false;
        StopFrom = StopSource::Button;
    }
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makePricePanels();
    // The controls made in code beside the form's: the relist progress and "連続出品".
    void addBatchControls();
    // Every control to the handler of its press.
    void connectControls();
    // The start-up step, once, from the event loop: settings, browser, journal, categories.
    void Timer1Timer();
    // Start-up failures: end the program without the closing sequence.
    void endApplication();
    // Start-up failures that close the main window: the closing sequence runs, and the program
    // then ends with a failure's exit code.
    void closeAfterStartupFailure();
    // The data folder kept the seller's alone (0700), or refused with its path and the reason and
    // the program ended: false then.
    bool claimDataFolder();
    int ReadSystemIni();
    void WriteFormInfo();
    bool EditAccountAtStart();
    void startGuide();
    void LoadCategories();
    void loadPictures();
    // The page switch beside the panel: main page and sub page.
    void SideButtonClick();
    // The closing lists are brought up to date at every minute's 20th second.
    void ScheduleClosingRefresh();
    void refreshClosingLists();
    // The closing choice of the last run offered again at start; kept at close.
    void offerLastClosingChoice();
    void keepClosingChoice();
    // The account, the option editor, the description tool.
    void SetYahooIDClick();
    void SetOptionClick();
    // "サイト点検": the site check, its findings in a window.
    void SiteCheckClick();
    // "練習用サイトを初期化", asked first.
    void PracticeResetClick();
    void Button1Click();
    // The workbook opens and closes with the IDs that wait for it saved.
    void StartExcelClick();
    void CloseExcelClick();
    // The fold into the mini bar: switched on and off by the two arrows, watched by Timer5.
    void Image3Click();
    void Image4Click();
    void Timer5Timer();
    void MiniBarEntered();
    // What a press that the guard caught leaves to do: the reconnect rule for the browser, the
    // office's advice for a lost office; one message either way.
    void pressFailed(const AutomationError& error);
    // The controls whose enabled state a failed press gives back.
    std::vector<QWidget*> pressControls() const;

    std::unique_ptr<Ui::TMain> ui_;
    // The objects the main window owns for the whole run; services_ points at them.
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
    // The listing journal against the workbook: settled at start-up, its rows saved beside the
    // workbook's two buttons.
    std::unique_ptr<listing::ListingRecords> Records;
    std::unique_ptr<relist::SingleRelist> SingleRelistStep;
    std::unique_ptr<relist::BulkRelist> BulkRelistStep;
    // How far a bulk relist is, beside its stop button.
    QLabel* RelistProgress = nullptr;
    // "連続出品" beside the listing buttons: the button, the number of rows (0 all), and over
    // the whole panel (the curtain included) its progress and stop button while it runs.
    QPushButton* RenzokuShuppin = nullptr;
    QPushButton* SiteCheckButton = nullptr;
    QPushButton* PracticeResetButton = nullptr;
    PracticeSite* practice_ = nullptr;
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
    // The page shown: 0 main page, 1 sub page, 2 curtain; the page to return to from the curtain.
    int PageIndex = 0;
    int SavedPageIndex = 0;
    // The category dialog's poll (Timer2) belongs to the category navigation, the price panel's
    // slide (Timer6) to the relist price panel. The closing-list refresh is a named child, so
    // that it can be found like any control.
    QTimer Timer1, Timer5, Timer6;
    QTimer* ClosingRefresh = nullptr;
    TMinForm1* MiniBar = nullptr;
    std::unique_ptr<OptionLibrary> optionLibrary_;
    std::unique_ptr<TextPlusLibrary> textPlusLibrary_;
    std::unique_ptr<relist::RelistPricePanel> RelistPanel;
    WidgetWindow selfWindow_;
    workflow::Services services_;
    // The program folder, the current folder of the whole run.
    QString exeFolder_;
    // The stop button was pressed during a bulk relist.
    bool StopRequested = false;
    StopSource StopFrom = StopSource::Button;
    // The six price edits of the item-set panel; the (Left, Top) of the guide for category,
    // upload, item set and submit.
    std::array<QLineEdit*, 6> PriceEdits{};
    std::array<QPoint, 4> GuidePositions;
    // Remembered enabled states of the busy panel.
    bool RememberedSokketu = false;
    bool RememberedClose = false;
    bool RememberedSelectRow = false;
    // Open busy states (setBusy counts them).
    int busyDepth_ = 0;
    // A close asked for while a press ran: done when the press has ended.
    bool closeAfterPress_ = false;
};

} // namespace zk
