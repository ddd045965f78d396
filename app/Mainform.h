#pragma once
// The main window: the borderless control panel with its main page, sub page and curtain. It
// owns the shared objects and the workflow state; each subsystem's handlers work on it.
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
class QLineEdit;

namespace zk {

class OptionLibrary;
class TMinForm1;

class TMain : public QWidget {
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
    int ExcelState = 0;
    int IEConnected = 0;
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
    // The program ended during construction or the start-up step.
    bool ended() const { return ended_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Start-up failures: end the program without the closing sequence.
    void endApplication();
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
    QTimer Timer1, Timer2, Timer3, Timer5, Timer6;
    TMinForm1* MiniBar = nullptr;
    std::unique_ptr<OptionLibrary> optionLibrary_;
    WidgetWindow selfWindow_;
};

} // namespace zk
