#include "app/Mainform.h"
#include "app/TerminationSignal.h"

#include "app/Minform.h"
#include "collect/ColumnPrompts.h"
#include "listing/PicUploader.h"
#include "listing/PictureUpload.h"
#include "collect/ItemCollection.h"
#include "listing/PreviousTitle.h"
#include "category/CategoryNavigation.h"
#include "relist/BulkRelist.h"
#include "relist/RelistLog.h"
#include "relist/SingleRelist.h"
#include "listing/BatchListing.h"
#include "listing/ItemSet.h"
#include "listing/Texts.h"
#include "listing/ListingRecords.h"
#include "listing/Submission.h"
#include "sheet/Excel.h"
#include "platform/calc/Application.h"
#include "platform/calc/Office.h"
#include "sheet/WorkbookSession.h"
#include "category/Categoryform.h"
#include "app/OptionLibrary.h"
#include "app/TextPlusLibrary.h"
#include "app/Texts.h"
#include "sheet/Texts.h"
#include "platform/Clock.h"
#include "browser/Texts.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "ui_Mainform.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QLabel>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QSpinBox>
#include <QWindow>

namespace zk {
namespace {

// The form's colour, given as a colour value in blue-green-red order (red in the low byte):
// RGB 255, 201, 74. It shows wherever no background bitmap is drawn.
constexpr quint32 kFormColour = 4901375;
QColor fromBlueGreenRed(quint32 value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

// The form's designed place on the screen. setupUi gives a window only its size, so the window
// is put here itself; it stays here when no stored placement applies.
constexpr QPoint kDesignedPosition(0, 328);

} // namespace

TMain::TMain(const QString& dataFolder, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), ui_(std::make_unique<Ui::TMain>()), selfWindow_(this) {
    services_.settings.setDataFolder(dataFolder);
    ui_->setupUi(this);
    move(kDesignedPosition);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, fromBlueGreenRed(kFormColour));
    setPalette(colours);
    MessageService::instance().setParentWindow(this);
    Excel = std::make_unique<sheet::TExcel>();
    // The office keeps the workbook it is driven on; the seller who tries its X is told the way.
    calc::setCloseRefusedHandler([] {
        MessageService::instance().show(sheet::texts::CloseWithPanel, {}, Icon::Information);
    });
    IE = std::make_unique<TIECtrl>();
    FieldDefs = std::make_unique<TFieldDefs>(IE.get());
    Keys = std::make_unique<KeySender>();
    services_.carry.FieldDefs = FieldDefs.get();
    services_.browser.Keys = Keys.get();
    // The steps the panel's controls run; each is built once, for the whole run.
    Login = std::make_unique<SiteLogin>(services_.browser, services_.settings, *this);
    Workbook = std::make_unique<sheet::WorkbookSession>(services_.browser, services_.book, services_.settings, *this);
    Prompts = std::make_unique<collect::ColumnPrompts>(services_.book, *this);
    TitleUndo = std::make_unique<listing::PreviousTitle>(services_.book, *this);
    Navigation = std::make_unique<category::CategoryNavigation>(services_.browser, services_.carry, services_.settings, *this);
    ItemSetStep = std::make_unique<listing::ItemSet>(services_.browser, services_.book, services_.carry, services_.ledger, services_.settings, *this);
    SubmissionStep = std::make_unique<listing::Submission>(services_.browser, services_.book, services_.carry, services_.ledger, services_.settings, *this);
    Records = std::make_unique<listing::ListingRecords>(services_.browser, services_.book, services_.carry, services_.ledger, services_.settings, *this);
    SingleRelistStep = std::make_unique<relist::SingleRelist>(services_.browser, services_.book, services_.carry, services_.settings, services_.relist, services_.ledger, *this);
    BulkRelistStep = std::make_unique<relist::BulkRelist>(services_.browser, services_.book, services_.carry, services_.settings, services_.relist, services_.ledger, *this);
    // Every relist the site showed goes into the relist log, however it was found: its answer
    // read, the site asked about one in doubt, or the journal settled at start.
    services_.ledger.setListedHook([](const workflow::ListingRecord& record) {
        if (record.relistOf.isEmpty()) return;
        QString error;
        if (relist::appendRelistLog({relist::relistedEntry(record, clock::now())}, &error).isEmpty())
            MessageService::instance().show(error);
    });
    PicUploader = std::make_unique<listing::TPicUploader>(services_.browser, *this);
    Upload = std::make_unique<listing::PictureUpload>(services_.browser, services_.book, services_.carry, services_.ledger, services_.settings, *this);
    services_.carry.PicUploader = PicUploader.get();
    services_.book.Excel = Excel.get();
    services_.browser.IE = IE.get();
    services_.book.Workbook = Workbook.get();
    services_.book.Columns = Prompts.get();

    // Timers: the start-up step once, the closing-list refresh, the mini-bar watch.
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &TMain::Timer1Timer);
    ClosingRefresh = new QTimer(this);
    ClosingRefresh->setObjectName(QStringLiteral("ClosingRefresh"));
    ClosingRefresh->setSingleShot(true);
    connect(ClosingRefresh, &QTimer::timeout, this, &TMain::refreshClosingLists);
    connect(&Timer5, &QTimer::timeout, this, &TMain::Timer5Timer);
    ui_->SubPanel->hide();
    ui_->NoTouchPanel->hide();
    ui_->Animate1->hide();

    exeFolder_ = paths::exeFolder();
    QDir::setCurrent(exeFolder_);

    const bool loaded = MainBackground.load("backgroundMain.bmp") && SubBackground.load("backgroundSub.bmp") &&
                        NoTouchBackground.load("NoTouch.bmp");
    PageIndex = 0;
    if (loaded) {
        backgroundsLoaded_ = true;
        SideButtonClick();
        // Red pixels of the background are see-through: they give the window its shape.
        setMask(QBitmap::fromImage(MainBackground.createMaskFromColor(qRgb(255, 0, 0), Qt::MaskInColor)));
        setFixedSize(MainBackground.size());
    } else {
        setFixedSize(930, 135);
        ui_->MainPanel->show();
    }

    loadPictures();

    ui_->SubPanel->move(ui_->SubPanel->x(), ui_->MainPanel->y());
    ui_->NoTouchPanel->move(ui_->NoTouchPanel->x(), ui_->MainPanel->y());
    ui_->ReShuppinKakakuPanel->hide();
    ui_->ReShuppinKakakuPanel->setGeometry(ui_->Panel1->geometry().right() + 1, ui_->Panel1->y(), 0,
                                           ui_->ReShuppinKakakuPanel->height());

    services_.relist.RelistedCount = 0;
    StopRequested = false;
    RememberedClose = false;
    makePricePanels();
    GuidePositions = {QPoint(14, 35), QPoint(165, 47), QPoint(625, 58), QPoint(759, 58)};

    addBatchControls();
    connectControls();
    ui_->Image1->installEventFilter(this);
    for (QWidget* page : {ui_->MainPanel, ui_->SubPanel}) page->installEventFilter(this);
    ui_->Image3->installEventFilter(this);
    ui_->Image4->installEventFilter(this);
    // One version everywhere: the project's, after the form's caption and on its label.
    setWindowTitle(texts::VersionedCaption.arg(texts::AppCaption, QStringLiteral(ZERKON_VERSION)));
    ui_->Label8->setText(QStringLiteral(ZERKON_VERSION));
    ui_->GoReShuppin->setText(texts::ReShuppinCaption);
    ui_->UploadButton->setToolTip(texts::UploadHint);

    restorePlacement(&selfWindow_, "Zerkon");

    optionLibrary_ = std::make_unique<OptionLibrary>();
    if (!optionLibrary_->load(exeFolder_)) {
        MessageService::instance().show(texts::OptionLibraryMissing.arg(optionLibrary_->errorString()),
                                        texts::CaptionFatal, Icon::Error);
        endApplication();
        return;
    }
    if (!Upload->loadPreview(exeFolder_)) {
        MessageService::instance().show(texts::PreviewLibraryMissing.arg(Upload->preview().errorString()),
                                        texts::CaptionFatal, Icon::Error);
        endApplication();
        return;
    }

    textPlusLibrary_ = std::make_unique<TextPlusLibrary>();
    textPlusLibrary_->load(exeFolder_);

    Timer1.setInterval(100);
    Timer1.start();
}

// The closing lists with the temporary prices, and the relist price panel, over their controls.
void TMain::makePricePanels() {
    ClosingTimeControls controls;
    controls.ClosingDate = ui_->ClosingDate;
    controls.ClosingTime = ui_->ClosingTime;
    controls.TimeSway = ui_->TimeSway;
    controls.TempPriceSelect = ui_->TempPriceSelect;
    controls.ManualPrice = ui_->ManualPrice;
    controls.SokketuCheckBox = ui_->SokketuCheckBox;
    QRadioButton* radios[3] = {ui_->PriceRadio1, ui_->PriceRadio2, ui_->PriceRadio3};
    QLineEdit* starts[3] = {ui_->StartPrice1, ui_->StartPrice2, ui_->StartPrice3};
    QLineEdit* buys[3] = {ui_->BuyPrice1, ui_->BuyPrice2, ui_->BuyPrice3};
    for (int i = 0; i < 3; ++i) {
        controls.PriceRadio[i] = radios[i];
        controls.StartPrice[i] = starts[i];
        controls.BuyPrice[i] = buys[i];
    }
    ClosingTime = std::make_unique<ClosingTimePanel>(controls);
    ClosingTime->PriceRadioClick(1);
    relist::RelistPriceControls relistControls;
    relistControls.RSKingakuPanelCheck = ui_->RSKingakuPanelCheck;
    relistControls.ReShuppinKakakuPanel = ui_->ReShuppinKakakuPanel;
    relistControls.Panel1 = ui_->Panel1;
    relistControls.RSTempPriceSelect = ui_->RSTempPriceSelect;
    relistControls.RSKakakuGroup = ui_->RSKakakuGroup;
    relistControls.RSLabel8 = ui_->RSLabel8;
    relistControls.RSStartPrice = ui_->RSStartPrice;
    relistControls.RSBuyPrice = ui_->RSBuyPrice;
    relistControls.RSSokketuCheckBox = ui_->RSSokketuCheckBox;
    relistControls.Timer6 = &Timer6;
    RelistPanel = std::make_unique<relist::RelistPricePanel>(relistControls);
}

void TMain::addBatchControls() {
    // The bulk relist's counter has a band of its own on the bottom row, from the closing lists to
    // the stop button: the controls it covers are disabled while the run goes on.
    RelistProgress = new QLabel(ui_->SubPanel);
    RelistProgress->setObjectName(QStringLiteral("RelistProgress"));
    const int left = ui_->Panel4->x();
    RelistProgress->setGeometry(left, ui_->StopReshuppin->y(), ui_->StopReshuppin->x() - 4 - left,
                                ui_->StopReshuppin->height());
    RelistProgress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    RelistProgress->setAutoFillBackground(true);
    RelistProgress->hide();
    // "連続出品" under the listing button, with the number of rows beside it.
    RenzokuShuppin = new QPushButton(listing::texts::batch::Button, ui_->MainPanel);
    RenzokuShuppin->setObjectName(QStringLiteral("RenzokuShuppin"));
    RenzokuShuppin->setGeometry(ui_->Exhibit->x() - 32, ui_->Exhibit->y() + ui_->Exhibit->height() + 1, 66, 18);
    RenzokuCount = new QSpinBox(ui_->MainPanel);
    RenzokuCount->setObjectName(QStringLiteral("RenzokuCount"));
    RenzokuCount->setRange(0, 999);
    RenzokuCount->setSpecialValueText(listing::texts::batch::AllRows);
    RenzokuCount->setSuffix(listing::texts::batch::CountSuffix);
    RenzokuCount->setGeometry(RenzokuShuppin->geometry().right() + 2, RenzokuShuppin->y(), 56, 18);
    RenzokuProgress = new QLabel(this);
    RenzokuProgress->setObjectName(QStringLiteral("RenzokuProgress"));
    RenzokuProgress->setGeometry(ui_->MainPanel->x() + 187, ui_->MainPanel->y() + 2, 480, 16);
    RenzokuProgress->setAutoFillBackground(true);
    RenzokuProgress->hide();
    RenzokuStop = new QPushButton(listing::texts::batch::Stop, this);
    RenzokuStop->setObjectName(QStringLiteral("RenzokuStop"));
    RenzokuStop->setGeometry(RenzokuProgress->geometry().right() + 4, RenzokuProgress->y(), 60, 18);
    RenzokuStop->hide();
    // "サイト点検" on the bottom row, left of the browser's start: the cell above 終了 is too
    // narrow for its text, so it is as wide as its text needs, in line with 終了.
    SiteCheckButton = new QPushButton(browser::texts::check::Button, ui_->SetOption->parentWidget());
    SiteCheckButton->setObjectName(QStringLiteral("SiteCheck"));
    const int checkWidth = SiteCheckButton->fontMetrics().horizontalAdvance(SiteCheckButton->text()) + 12;
    SiteCheckButton->setGeometry(ui_->StartIE->x() - 4 - checkWidth, ui_->EndButton->y(), checkWidth,
                                 ui_->EndButton->height());
    // "練習用サイトを初期化" above it, right-aligned with it; shown for a practice folder only.
    PracticeResetButton = new QPushButton(texts::PracticeResetButton, SiteCheckButton->parentWidget());
    PracticeResetButton->setObjectName(QStringLiteral("PracticeReset"));
    const int resetWidth = PracticeResetButton->fontMetrics().horizontalAdvance(PracticeResetButton->text()) + 12;
    PracticeResetButton->setGeometry(SiteCheckButton->geometry().right() + 1 - resetWidth,
                                     SiteCheckButton->y() - 2 - ui_->EndButton->height(), resetWidth,
                                     ui_->EndButton->height());
    PracticeResetButton->hide();
}

void TMain::connectControls() {
    // A press runs inside the one guard; what only shows, slides or switches pages runs as it is.
    auto onClick = [this](QAbstractButton* button, std::function<void()> press) {
        connect(button, &QAbstractButton::clicked, this, [this, press] { guardPress(press); });
    };
    Ui::TMain& u = *ui_;
    connect(u.SideButton, &QPushButton::clicked, this, &TMain::SideButtonClick);
    connect(u.EndButton, &QPushButton::clicked, this, &QWidget::close);
    onClick(u.SetYahooID, [this] { SetYahooIDClick(); });
    onClick(u.SetOption, [this] { SetOptionClick(); });
    onClick(SiteCheckButton, [this] { SiteCheckClick(); });
    onClick(PracticeResetButton, [this] { PracticeResetClick(); });
    onClick(u.StartExcel, [this] { StartExcelClick(); });
    onClick(u.CloseExcel, [this] { CloseExcelClick(); });
    onClick(u.SelectRow, [this] { Prompts->SelectRowClick(); });
    onClick(u.PreviousTitle, [this] { TitleUndo->PreviousTitleClick(); });
    onClick(u.StartIE, [this] { Login->StartIEClick(); });
    connect(u.CategoryButton, &QPushButton::clicked, this, [this] {
        const bool shift = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
        guardPress([this, shift] { Navigation->CategoryButtonClick(shift); });
    });
    onClick(u.SetShuppin, [this] { ItemSetStep->SetShuppinClick(); });
    onClick(u.Exhibit, [this] { SubmissionStep->ExhibitClick(); });
    onClick(RenzokuShuppin, [this] { listing::BatchListing(services_.browser, services_.book, services_.carry, services_.ledger, services_.settings, *this).RenzokuShuppinClick(); });
    connect(RenzokuStop, &QPushButton::clicked, this, [this] {
        StopRequested = true;
        StopFrom = StopSource::Button;
    });
    onClick(u.GoReShuppin, [this] { SingleRelistStep->GoReShuppinClick(); });
    onClick(u.ReShuppin, [this] { SingleRelistStep->ReShuppinClick(false); });
    onClick(u.ReShuppinAll, [this] { BulkRelistStep->ReShuppinAllClick(); });
    connect(u.StopReshuppin, &QPushButton::clicked, this, [this] { StopRequested = true; });
    // The relist group's extras: the price panel slides in, the description-append tool.
    connect(u.RSKingakuPanelCheck, &QCheckBox::clicked, this, [this] { RelistPanel->RSKingakuPanelCheckClick(); });
    connect(&Timer6, &QTimer::timeout, this, [this] { RelistPanel->Timer6Timer(); });
    connect(u.RSTempPriceSelect, &RadioGroup::clicked, this, [this] { RelistPanel->RSTempPriceSelectClick(); });
    connect(u.RSSokketuCheckBox, &QCheckBox::clicked, this, [this] { RelistPanel->RSSokketuCheckBoxClick(); });
    onClick(u.Button1, [this] { Button1Click(); });
    onClick(u.ShuppinCollection, [this] { collect::ItemCollection(services_.browser, services_.book, services_.settings, *this).ShuppinCollectionClick(); });
    // The closing lists and the temporary prices.
    connect(u.ClosingDate, qOverload<int>(&QComboBox::activated), this, [this] { ClosingTime->ClosingDateChange(); });
    connect(u.ClosingTime, qOverload<int>(&QComboBox::activated), this, [this] { ClosingTime->ClosingTimeChange(); });
    connect(u.TempPriceSelect, &RadioGroup::clicked, this, [this] { ClosingTime->TempPriceSelectClick(); });
    connect(u.SokketuCheckBox, &QCheckBox::clicked, this, [this] { ClosingTime->SokketuCheckBoxClick(); });
    QRadioButton* radios[3] = {u.PriceRadio1, u.PriceRadio2, u.PriceRadio3};
    for (int i = 0; i < 3; ++i)
        connect(radios[i], &QRadioButton::clicked, this, [this, i] { ClosingTime->PriceRadioClick(i + 1); });
    // The picture upload.
    connect(u.TrackBar1, &QSlider::valueChanged, this, [this](int position) { Upload->TrackBar1Change(position); });
    onClick(u.UploadButton, [this] { Upload->UploadButtonClick(); });
    onClick(u.UploadClear, [this] { Upload->UploadClearClick(); });
    onClick(u.PreviousUpload, [this] { Upload->PreviousUploadClick(); });
}

TMain::~TMain() {
    calc::setCloseRefusedHandler({});
    // Quitting the browser waits in an event loop: the window must not paint or tick on
    // half-destroyed state meanwhile.
    for (QTimer* timer : {&Timer1, ClosingRefresh, &Timer5, &Timer6}) timer->stop();
    hide();
    Keys.reset();
    Login.reset();
    FieldDefs.reset();
    backgroundsLoaded_ = false;
    MainBackground = SubBackground = NoTouchBackground = QImage();
    TitleUndo.reset();
    Upload.reset();
    services_.carry.PicUploader = nullptr;
    PicUploader.reset();
    Prompts.reset();
    Workbook.reset();
    IE.reset();
    Excel.reset();
}

void TMain::loadPictures() {
    // Missing pictures leave plain buttons and empty labels: nothing depends on them.
    ui_->Image2->setPixmap(QPixmap("art/Image2.png"));
    ui_->Image3->setPixmap(QPixmap("art/Image3.png"));
    ui_->Image4->setPixmap(QPixmap("art/Image4.png"));
    for (QPushButton* button : {ui_->StartIE, ui_->StartExcel}) {
        const QPixmap picture("art/" + button->objectName() + ".png");
        if (picture.isNull()) {
            button->setText(button->toolTip());
            continue;
        }
        button->setIcon(picture);
        button->setIconSize(button->size() - QSize(6, 6));
    }
}

void TMain::endApplication() {
    ended_ = true;
    closingSequenceRuns_ = false;
    Timer1.stop();
    ClosingRefresh->stop();
    Timer5.stop();
    hide();
    QApplication::exit(1);
}

void TMain::closeAfterStartupFailure() {
    startupFailed_ = true;
    close();
}

bool TMain::claimDataFolder() {
    using Kind = paths::DataFolderFault::Kind;
    const QString& folder = services_.settings.dataFolder();
    const paths::DataFolderFault fault = paths::claimDataFolder(folder);
    QString why;
    switch (fault.kind) {
    case Kind::None: return true;
    case Kind::Missing: why = texts::DataFolderMissing.arg(fault.detail); break;
    case Kind::NotAFolder: why = texts::DataFolderNotAFolder; break;
    case Kind::OtherOwner: why = texts::DataFolderOtherOwner.arg(fault.detail); break;
    case Kind::CannotRestrict: why = texts::DataFolderCannotRestrict.arg(fault.detail); break;
    }
    MessageService::instance().show(texts::DataFolderRefused.arg(folder, why), texts::CaptionFatal, Icon::Error);
    endApplication();
    return false;
}

void TMain::Timer1Timer() {
    Timer1.stop();
    struct Ran {
        bool& flag;
        ~Ran() { flag = true; }
    } ran{startupRan_};
    services_.book.ExcelState = 0;
    services_.browser.IEConnected = 0;
    services_.book.Row.forgetChoice();

    ClosingTime->ShowPricePanel(false);
    QApplication::processEvents();

    // The data folder the program resolved; without one nothing can go on.
    if (services_.settings.dataFolder().isEmpty()) {
        MessageService::instance().show(texts::NoAppFolder, texts::CaptionFatal, Icon::Error);
        endApplication();
        return;
    }
    if (!claimDataFolder()) return;
    paths::protectSellerFiles(services_.settings.dataFolder());
    if (FieldDefs->LoadFromFolder(services_.settings.dataFolder()) != 0) {
        endApplication();
        return;
    }

    QApplication::processEvents();

    const int read = ReadSystemIni();
    if (read == 1) { // already shown; the window closes
        closeAfterStartupFailure();
        return;
    }
    if (read == 2) { // a required key is empty: the application ends at once
        endApplication();
        return;
    }

    QApplication::processEvents();
    ClosingTime->FillClosingDates();
    ClosingTime->FillClosingTimes();
    offerLastClosingChoice();
    ScheduleClosingRefresh();
    QApplication::processEvents();

    if (services_.settings.accountMissing()) EditAccountAtStart();

    if (services_.settings.firstStart()) {
        SetOptionClick();
        if (!closingSequenceRuns_) return; // the reload failed and ended the program
        services_.settings.markFirstStartDone();
    }

    startGuide();
    guardPress([this] { Login->StartIEClick(); });
    // A listing that a killed run left open is settled with the site before anything else.
    services_.ledger.setJournal(services_.settings.dataFile(workflow::ListingLedger::JournalFileName));
    Records->RecoverJournal();
    LoadCategories();

    ui_->RSSokketuCheckBox->setToolTip(texts::RSSokketuHint.section('|', 1, 1));
}

void TMain::LoadCategories() {
    ui_->SubPanel->hide();
    ui_->ReadingPanel->setGeometry(256, 40, 387, 41);
    ui_->ReadingPanel->show();
    QApplication::processEvents();
    CategoryDialog = std::make_unique<TCategory>(services_.settings.dataFolder(), this);
    CategoryDialog->LoadTree();
    services_.carry.CategoryDialog = CategoryDialog.get();
    ui_->ReadingPanel->hide();
    // The seller may have switched pages meanwhile: show the page that is current.
    if (PageIndex == 1) ui_->SubPanel->show();
}

void TMain::startGuide() {
    const QString clip = exeFolder_ + "here.avi";
    if (QFileInfo::exists(clip) && ui_->Animate1->open(clip)) {
        ui_->Animate1->move(GuidePositions[0]);
        ui_->Animate1->show();
        ui_->Animate1->play();
    } else {
        ui_->Animate1->stop();
        ui_->Animate1->hide();
    }
}

void TMain::showGuideAt(int step) {
    if (step < 0 || step >= int(GuidePositions.size()) || !ui_->Animate1->isOpen()) return;
    ui_->Animate1->move(GuidePositions[size_t(step)]);
}

// Every press runs inside the one guard: nothing a step throws reaches the event loop, and a
// failed press leaves the panel as it found it.
void TMain::guardPress(const std::function<void()>& press) {
    workflow::PressGuard::run(*this, press, [this](const AutomationError& e) { pressFailed(e); });
    // A close that came while the press ran (the end button, a termination signal) is done now,
    // from the event loop, so that no step finds its browser or office gone under it.
    if (closeAfterPress_ && workflow::PressGuard::running() == 0) {
        closeAfterPress_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TMain::pressFailed(const AutomationError& e) {
    TIECtrl& ie = *IE;
    const bool browserLost = services_.browser.IEConnected && !ie.IsConnected();
    const bool officeLost = services_.book.ExcelState == 1 && Excel->ExcelApp && !Excel->ExcelApp->office().connected();
    if (!browserLost && officeLost) {
        // The browser still answers: what went away is the office.
        bringToFront();
        MessageService::instance().show(e.text() + sheet::texts::RestartAdvice, sheet::texts::ExcelErrorCaption,
                                        Icon::Exclamation);
        return;
    }
    // A browser that vanished (or was ended as hung) counts as lost whatever the error said.
    Login->ReconnectRule(AutomationError(browserLost && !e.isDisconnection() ? hresult::Disconnected : e.code(), e.text()));
}

// The workbook's two buttons: auction IDs that wait for the workbook go into their rows while it
// is there.
void TMain::StartExcelClick() {
    Workbook->StartExcelClick();
    // What could not go into its row is said: the row moved, or another row holds the ID.
    if (services_.book.ExcelState == 1) Records->SayListedRows();
    if (services_.book.ExcelState == 1) Upload->WorkbookOpened(services_.book.Excel->BookPath);
}
void TMain::CloseExcelClick() {
    // IDs whose save failed get another chance while the workbook is still there.
    if (services_.book.ExcelState == 1) Records->SaveListedRows();
    Workbook->CloseExcelClick();
}

int TMain::batchCount() const { return RenzokuCount->value(); }
void TMain::showBatchProgress(const QString& text) {
    RenzokuProgress->setText(text);
    RenzokuProgress->setVisible(!text.isEmpty());
    if (!text.isEmpty()) RenzokuProgress->raise();
}
void TMain::setBatchStopVisible(bool visible) {
    RenzokuStop->setVisible(visible);
    // The one control that works while the run goes on.
    RenzokuStop->setEnabled(visible);
    if (visible) RenzokuStop->raise();
}

void TMain::setStopVisible(bool visible) {
    ui_->StopReshuppin->setVisible(visible);
    RelistProgress->setVisible(visible);
    if (visible) RelistProgress->raise();
    // The stop button is the one control that works while the loop runs.
    if (visible) ui_->StopReshuppin->setEnabled(true);
}
void TMain::showRelistProgress(const QString& text) { RelistProgress->setText(text); }
QString TMain::bulkFilterText() const { return ui_->IkkatuFilterText->text(); }

bool TMain::closingChosen() const {
    return ui_->ClosingDate->currentIndex() >= 0 && ui_->ClosingTime->currentIndex() >= 0;
}
bool TMain::closingOffered() const {
    const closing::Slot slot = ClosingTime->ChosenSlot();
    return slot.isValid() && closing::isOffered(clock::now(), slot);
}
QString TMain::closingLabel() const {
    const closing::Slot slot = ClosingTime ? ClosingTime->ChosenSlot() : closing::Slot{};
    return slot.isValid() ? closing::slotLabel(slot) : QString();
}
workflow::Panel::ClosingChoice TMain::nextClosingSlot() {
    const closing::Slot slot = ClosingTime->NextClosingSlot();
    if (!slot.isValid()) return {};
    return {ClosingTime->dateRow(slot.date), ClosingTime->timeRow(slot), slot.date, slot.hour, closing::slotLabel(slot)};
}
void TMain::showSubPage() {
    if (PageIndex == 0) SideButtonClick();
}
bool TMain::sendAfterFill() const { return ui_->SendSelect->itemIndex() == 0; }
bool TMain::panelPricesUsed() const { return ui_->TempPriceSelect->itemIndex() == 0; }
bool TMain::panelSokketu() const { return ui_->SokketuCheckBox->isChecked(); }
workflow::Panel::RelistPrices TMain::relistPrices() const { return RelistPanel->prices(); }
int TMain::uploadCount() const { return ui_->TrackBar1->value(); }
void TMain::setUploadEnabled(bool enabled) { ui_->UploadButton->setEnabled(enabled); }
int TMain::thumbnailLeft() const { return ui_->UploadPanel->x() + ui_->Image1->x(); }
void TMain::setTopMost(bool topMost) {
    if (windowHandle()) windowHandle()->setFlag(Qt::WindowStaysOnTopHint, topMost);
}
int TMain::collectionMode() const { return ui_->CollectionRadio->itemIndex(); }
void TMain::showProgress(const QString& text) { ui_->CollectionProgress->setText(text); }

QString TMain::panelStartPrice() const { return ClosingTime ? ClosingTime->PanelStartPrice() : QString(); }
QString TMain::panelBuyPrice() const { return ClosingTime ? ClosingTime->PanelBuyPrice() : QString(); }
void TMain::showThumbnail(const QString& fileName) {
    if (fileName.isEmpty()) {
        ui_->Image1->clear();
        return;
    }
    QImageReader reader(fileName, "jpeg");
    const QImage picture = reader.read();
    ui_->Image1->setPixmap(QPixmap::fromImage(
        picture.scaled(ui_->Image1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void TMain::bringToFront() { Desktop::instance().setForeground(&selfWindow_); }

void TMain::workbookOpened() {
    ui_->PreviousTitle->show();
    ui_->CloseExcel->setEnabled(true);
    ui_->SelectRow->setEnabled(true);
    RememberedClose = true;
}

void TMain::setNextTitle(const QString& title) { ui_->NextTitleLabel->setText(title); }
void TMain::setPreviousTitleVisible(bool visible) { ui_->PreviousTitle->setVisible(visible); }

// The closing date, hour and jitter chosen last are kept per user beside the window positions and
// offered again at the next start while the schedule still offers them.
namespace {
const QString kClosingKey = QStringLiteral("Software\\Zerkon\\ClosingChoice");
}

void TMain::offerLastClosingChoice() {
    const Registry registry;
    const std::optional<int> date = registry.readInteger(kClosingKey, QStringLiteral("Date"));
    const std::optional<int> hour = registry.readInteger(kClosingKey, QStringLiteral("Hour"));
    const std::optional<int> sway = registry.readInteger(kClosingKey, QStringLiteral("TimeSway"));
    const QDate day = date ? QDate::fromString(QString::number(*date), QStringLiteral("yyyyMMdd")) : QDate();
    ClosingTime->OfferAgain({day, hour.value_or(-1)}, sway.value_or(-1));
}

void TMain::keepClosingChoice() {
    Registry registry;
    const closing::Slot slot = ClosingTime->ChosenSlot();
    const QDate day = ui_->ClosingDate->currentIndex() >= 0 ? ui_->ClosingDate->currentData().toDate() : QDate();
    registry.writeInteger(kClosingKey, QStringLiteral("Date"), day.isValid() ? day.toString(QStringLiteral("yyyyMMdd")).toInt() : 0);
    registry.writeInteger(kClosingKey, QStringLiteral("Hour"), slot.isValid() ? slot.hour : -1);
    registry.writeInteger(kClosingKey, QStringLiteral("TimeSway"), ClosingTime->swayIndex());
}

void TMain::ScheduleClosingRefresh() {
    const int s = clock::now().time().second();
    ClosingRefresh->setInterval(s < 20 ? (20 - s) * 1000 : (80 - s) * 1000);
    ClosingRefresh->start();
}

void TMain::refreshClosingLists() {
    ClosingRefresh->stop();
    // While a step runs the lists are disabled and left as they are (the form is given the chosen
    // date and hour, not rows); the first tick after it brings them up to date.
    if (ui_->ClosingDate->isEnabled()) ClosingTime->Timer3Timer();
    ScheduleClosingRefresh();
}

void TMain::paintEvent(QPaintEvent*) {
    if (!backgroundsLoaded_) return;
    QPainter painter(this);
    const QImage* pages[3] = {&MainBackground, &SubBackground, &NoTouchBackground};
    if (PageIndex >= 0 && PageIndex < 3) painter.drawImage(0, 0, *pages[PageIndex]);
}

void TMain::closeEvent(QCloseEvent* event) {
    if (!closingSequenceRuns_) {
        event->accept();
        return;
    }
    if (workflow::PressGuard::running() > 0) {
        // A press is under way (the close came during one of its waits): a bulk relist stops
        // after its current item, and the window closes when the press has ended.
        StopRequested = true;
        StopFrom = property(ClosedBySignal).toBool() ? StopSource::Signal : StopSource::Window;
        closeAfterPress_ = true;
        event->ignore();
        return;
    }
    closingSequenceRuns_ = false;
    ClosingRefresh->stop();
    Timer5.stop();

    if (services_.book.ExcelState == 1) guardPress([this] { CloseExcelClick(); });
    if (services_.browser.IEConnected == 1) Login->CloseBrowser();

    if (CategoryDialog) {
        CategoryDialog->close();
        services_.carry.CategoryDialog = nullptr;
        CategoryDialog.reset();
    }

    PageIndex = 1;
    SideButtonClick();
    savePlacement(&selfWindow_, "Zerkon");
    if (priceEditsReady_) keepClosingChoice();

    if (priceEditsReady_) WriteFormInfo();
    if (MiniBar) MiniBar->hide();
    event->accept();
    QApplication::exit(startupFailed_ ? 1 : 0);
}

void TMain::SideButtonClick() {
    // The side button turns between the two pages; under the curtain it does nothing.
    if (PageIndex == 0 || PageIndex == 1) {
        const bool toSub = PageIndex == 0;
        (toSub ? ui_->MainPanel : ui_->SubPanel)->hide();
        ui_->SideButton->setText(toSub ? texts::SideToSub : texts::SideToMain);
        PageIndex = toSub ? 1 : 0;
        update();
        (toSub ? ui_->SubPanel : ui_->MainPanel)->show();
    }
    QApplication::processEvents();
}

void TMain::setCurtain(bool raised) {
    if (raised) {
        ui_->MainPanel->hide();
        ui_->SubPanel->hide();
        SavedPageIndex = PageIndex;
        PageIndex = 2;
        if (backgroundsLoaded_) update();
        else ui_->NoTouchPanel->show();
    } else {
        PageIndex = SavedPageIndex;
        ui_->NoTouchPanel->hide();
        if (PageIndex == 0) ui_->MainPanel->show();
        if (PageIndex == 1) ui_->SubPanel->show();
        update();
    }
    QApplication::processEvents();
}

void TMain::mousePressEvent(QMouseEvent*) {
    if (QWindow* handle = windowHandle()) handle->startSystemMove();
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
    // The preview of the next pictures, while the thumbnail is held.
    if (watched == ui_->Image1 && event->type() == QEvent::MouseButtonPress) {
        Upload->Image1MouseDown();
        return true;
    }
    if (watched == ui_->Image1 && event->type() == QEvent::MouseButtonRelease) {
        Upload->Image1MouseUp();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == ui_->MainPanel || watched == ui_->SubPanel) {
            if (QWindow* handle = windowHandle()) handle->startSystemMove();
            return true;
        }
        if (watched == ui_->Image3) {
            Image3Click();
            return true;
        }
        if (watched == ui_->Image4) {
            Image4Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TMain::Image3Click() {
    ui_->Image3->hide();
    ui_->Image4->show();
    Timer5.start(400);
}

void TMain::Image4Click() {
    ui_->Image4->hide();
    ui_->Image3->show();
    Timer5.stop();
}

void TMain::Timer5Timer() {
    const QPoint p = QCursor::pos();
    const QRect r = geometry();
    if (p.x() >= r.left() && p.x() <= r.left() + r.width() && p.y() >= r.top() && p.y() <= r.top() + r.height()) return;
    if (MiniBar) {
        MiniBar->move(r.left(), r.top() + r.height() - MiniBar->height());
        MiniBar->show();
    }
    hide();
    Timer5.stop();
}

void TMain::setMiniBar(TMinForm1* miniBar) {
    MiniBar = miniBar;
    if (MiniBar) MiniBar->setEnteredHandler([this] { MiniBarEntered(); });
}

void TMain::setPracticeSite(PracticeSite* site) {
    practice_ = site;
    PracticeResetButton->setVisible(site != nullptr);
}

void TMain::MiniBarEntered() {
    if (MiniBar) MiniBar->hide();
    show();
    Timer5.start(400);
    raise();
    activateWindow();
}

} // namespace zk
