#pragma once
// The main window: the borderless control panel with its main page, sub page and curtain. It
// owns the shared objects and the workflow state; each subsystem's handlers work on it.
#include "browser/Iectrl.h"
#include "browser/KeySender.h"
#include "browser/SiteLogin.h"
#include "fields/Fields.h"
#include "listing/ClosingTimePanel.h"
#include "platform/Desktop.h"
#include "platform/NameValueList.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>
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
}
class QLineEdit;

namespace zk {

class MainWorkbookHost;
class OptionLibrary;
class TMinForm1;

class TMain : public QWidget, public BrowserHost {
    Q_OBJECT
public:
    explicit TMain(QWidget* parent = nullptr);
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

    // Main window state.
    int PageIndex = 0;
    int SavedPageIndex = 0;
    QString ExeFolder;
    QString DataFolder;
    QString SystemIniPath;
    NameValueList SystemValues;
    std::unique_ptr<TFieldDefs> FieldDefs;
    std::unique_ptr<ClosingTimePanel> ClosingTime;
    std::unique_ptr<TCategory> CategoryDialog;
    std::unique_ptr<sheet::TExcel> Excel;
    int ExcelState = 0;
    // The workbook session, the column prompts and the title undo, over this window.
    std::unique_ptr<MainWorkbookHost> WorkbookHost;
    std::unique_ptr<sheet::WorkbookSession> Workbook;
    std::unique_ptr<collect::ColumnPrompts> Prompts;
    std::unique_ptr<listing::PreviousTitle> TitleUndo;
    std::unique_ptr<TIECtrl> IE;
    int IEConnected = 0;
    WindowHandle IEWindow = 0;
    std::unique_ptr<KeySender> Keys;
    std::unique_ptr<SiteLogin> Login;
    int CurrentRow = 0;
    int FirstRow = 0;
    int NameColumn = 2;
    int PriceColumn = -1;
    int ResultColumn = 1;
    int RowChosen = 0;
    QString LastTitle;
    QString NextPicture;
    QString LastDescription;
    QString LastCategory;
    int RelistedCount = 0;
    bool StopRequested = false;
    std::array<QLineEdit*, 6> PriceEdits{};
    std::array<QPoint, 4> GuidePositions; // (Left, Top) of the guide for category, upload, item set, submit
    // Remembered enabled states of the busy panel.
    bool RememberedSokketu = false;
    bool RememberedClose = false;
    bool RememberedSelectRow = false;

    DesktopWindow* window() { return &selfWindow_; }
    // The guide animation points at the next step of a listing: 0 category, 1 upload, 2 item set,
    // 3 submit.
    void ShowGuideAt(int step);

    // What the browser start needs of the main window.
    TIECtrl& ie() override { return *IE; }
    int& ieConnected() override { return IEConnected; }
    WindowHandle& ieWindow() override { return IEWindow; }
    QString systemValue(const QString& name) const override { return SystemValues.value(name); }
    QString systemIniPath() const override { return SystemIniPath; }
    void setPanelEnabled(int flag) override { SetPanelEnabled(flag); }
    void restoreWindowPlacement(DesktopWindow* w, const QString& name) override { RestoreWindowPlacement(w, name); }
    void saveWindowPlacement(DesktopWindow* w, const QString& name) override { SaveWindowPlacement(w, name); }
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
    void ReadFormInfo();
    void WriteFormInfo();
    bool EditAccountAtStart();
    void startGuide();
    void LoadCategories();
    void loadPictures();

    std::unique_ptr<Ui::TMain> ui_;
    QImage MainBackground, SubBackground, NoTouchBackground;
    bool backgroundsLoaded_ = false;
    bool priceEditsReady_ = false;
    bool closingSequenceRuns_ = true;
    bool ended_ = false;
    bool startupRan_ = false;
    bool startupFailed_ = false;
    QTimer Timer1, Timer2, Timer3, Timer5, Timer6;
    TMinForm1* MiniBar = nullptr;
    std::unique_ptr<OptionLibrary> optionLibrary_;
    WidgetWindow selfWindow_;
};

} // namespace zk
