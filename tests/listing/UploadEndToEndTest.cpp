// The upload step through the main window's button, against the practice site, a real browser
// and a real office: what the site received, what the form holds, the workbook on disk and the
// picture folder; then a lost browser and a lost office in the middle of a listing.
#include "app/Mainform.h"
#include "browser/Iectrl.h"
#include "browser/Texts.h"
#include "listing/PicUploader.h"
#include "listing/Texts.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "platform/calc/ExcelPalette.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "site/Catalog.h"
#include "support/CalcFixture.h"
#include "support/EndToEnd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <signal.h>

using zk::MessageService;
namespace texts = zk::listing::texts;

namespace {

::testing::Environment* const office = ::testing::AddGlobalTestEnvironment(new zk::test::SharedOffice);
// The main window with a hook where the upload lowers its curtain (the pictures are sent then).
class Window : public zk::TMain {
public:
    Window() : TMain(zk::paths::dataFolder()) {}
    std::function<void()> afterPictures;
    void setCurtain(bool raised) override {
        TMain::setCurtain(raised);
        if (!raised && afterPictures) std::exchange(afterPictures, nullptr)();
    }
};

class UploadEndToEnd : public zk::test::SiteSuiteTest {
protected:
    UploadEndToEnd() { writeDataFolder(*site, "/tmp", site->dataText("FieldsDefine.ini")); }

    void start() {
        auto window = std::make_unique<Window>();
        window_ = window.get();
        startLoggedIn(std::move(window));
    }
    QStringList said() const {
        QStringList t;
        for (const auto& e : MessageService::instance().transcript())
            if (e["kind"].toString() == "message") t << e["text"].toString();
        return t;
    }

    // A small real JPEG, different for every name.
    QString picture(const QString& name) {
        QImage image(48, 32, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(int(qHash(name) % 360), 200, 200));
        const QString path = dir_.file("pics/" + name);
        EXPECT_TRUE(image.save(path, "JPEG"));
        return path;
    }
    void openWorkbook(const QList<QPair<QString, QString>>& cells) {
        book_ = dir_.file("books/items.xlsx");
        zk::test::makeWorkbook(book_, cells);
        MessageService::instance().setAnswers({book_, "OK"}); // the file dialog, the row prompt
        panel().click("StartExcel");
        ASSERT_EQ(main_->services().book.ExcelState, 1) << said().join(" / ").toStdString();
        main_->services().book.Row.choose(2); // the seller showed the first item row
        MessageService::instance().clearTranscript();
    }
    // The category step's result: the listing form of a category, confirmed.
    void openListingForm() {
        ASSERT_EQ(ie().NavigateWait(site->info().listingUrl() + QString::fromStdString(zk::site::categoryCodes().front())), 0);
        ASSERT_EQ(ie().SelectByName("auc_insertion_ok"), 0);
        ASSERT_EQ(ie().NarrowToItem(0), 0);
        ASSERT_EQ(ie().ClickSelected(), 0);
        ASSERT_EQ(ie().ExistsByName("item_title"), 1) << ie().GetTitle().toStdString();
    }
    void upload(int pictures, const QStringList& answers = {}) {
        control<QSlider>("TrackBar1")->setValue(pictures);
        MessageService::instance().setAnswers(answers);
        panel().click("UploadButton");
    }
    // Original names of the pictures of each draft that has any, in slot order.
    QList<QStringList> draftPictures() const {
        QList<QStringList> all;
        for (const auto& d : site->state().value("drafts").toArray()) {
            QStringList names;
            for (const auto& p : d.toObject().value("pictures").toArray())
                names << p.toObject().value("slot").toVariant().toString() + ":" +
                             p.toObject().value("name").toString();
            if (!names.isEmpty()) all << names;
        }
        return all;
    }
    bool inFolder(const QString& name) const { return QFile::exists(dir_.file("pics/" + name)); }
    bool parked(const QString& name) const { return QFile::exists(dir_.file("pics/zzz.zzz/" + name)); }

    QString book_;
    Window* window_ = nullptr; // main_ with the hook
};

const QString kLong = QString(31, QChar(0x3042));  // 62 bytes: the title dialog opens
const QString kShort = QString(30, QChar(0x3044)); // 60 bytes: it does not

} // namespace

TEST_F(UploadEndToEnd, RowsOfTwoAndThreePicturesReachTheSiteAndTheWorkbook) {
    start();
    for (const char* name : {"b.jpg", "a.JPG", "c.jpg", "d.jpg", "e.jpg", "f.jpg"}) picture(name);
    dir_.writeCp932("pics/template.txt", QString::fromUtf8("状態：%%／付属：%%／以上"));
    openWorkbook({{"B1", "商品名"}, {"D1", "状態"}, {"E1", "付属"}, {"F1", "開始価格"}, {"G1", "即決価格"},
                  {"B2", kShort}, {"D2", "美品"}, {"E2", "箱"}, {"F2", "1200"}, {"G2", "3000"},
                  {"B3", kLong}, {"D3", "傷あり"}, {"F3", "800"}});
    ASSERT_EQ(main_->services().book.Row.PriceColumn, 6);
    openListingForm();

    // No pictures chosen: the button is off.
    control<QSlider>("TrackBar1")->setValue(0);
    EXPECT_FALSE(control<QPushButton>("UploadButton")->isEnabled());

    // Row 2, two pictures: the first press asks for a picture of the folder.
    upload(2, {dir_.file("pics/c.jpg")});
    EXPECT_EQ(said(), QStringList()) << said().join(" / ").toStdString();
    EXPECT_EQ(draftPictures(), (QList<QStringList>{{"1:a.JPG", "2:b.jpg"}}));
    EXPECT_EQ(ie().GetFormValue(0, "item_title"), kShort);
    EXPECT_EQ(ie().GetFormValue(0, "item_description"), QString::fromUtf8("状態：美品／付属：箱／以上"));
    EXPECT_EQ(ie().GetFormValue(0, "price_start"), "1200");
    EXPECT_EQ(ie().GetFormValue(0, "price_buynow"), "3000");
    EXPECT_EQ(main_->services().book.Row.CurrentRow, 3);
    EXPECT_EQ(control<QLabel>("NextTitleLabel")->text(), kLong);
    EXPECT_EQ(main_->services().carry.NextPicture, dir_.file("pics/c.jpg"));
    EXPECT_TRUE(parked("a.JPG") && parked("b.jpg"));
    EXPECT_FALSE(inFolder("a.JPG") || inFolder("b.jpg"));

    // The same form again: its pictures are there already.
    upload(1);
    EXPECT_EQ(said(), QStringList{texts::AlreadyUploaded});
    MessageService::instance().clearTranscript();

    // Row 3, three pictures, a title over 60 bytes shortened in the dialog; E3 empty ends the
    // template's filling; no buy-now price.
    openListingForm();
    upload(3, {"LabeledEdit1=" + QString(29, QChar(0x3042)) + "; Button1"});
    EXPECT_EQ(said(), QStringList{}) << said().join(" / ").toStdString();
    ASSERT_EQ(MessageService::instance().transcript().size(), 1);
    EXPECT_EQ(MessageService::instance().transcript()[0]["kind"].toString(), "dialog"); // the title dialog
    EXPECT_EQ(draftPictures(), (QList<QStringList>{{"1:a.JPG", "2:b.jpg"}, {"1:c.jpg", "2:d.jpg", "3:e.jpg"}}));
    EXPECT_EQ(ie().GetFormValue(0, "item_title"), QString(29, QChar(0x3042)));
    EXPECT_EQ(ie().GetFormValue(0, "item_description"), QString::fromUtf8("状態：傷あり／付属：／以上"));
    EXPECT_EQ(ie().GetFormValue(0, "price_start"), "800");
    EXPECT_EQ(ie().GetFormValue(0, "price_buynow"), "");
    EXPECT_EQ(main_->services().book.Row.CurrentRow, 4);
    EXPECT_EQ(main_->services().book.LastTitle, QString(29, QChar(0x3042)));

    // The preview while the thumbnail is held: f.jpg, then the end.
    panel().press("Image1");
    QWidget* preview = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "PhotoViewForm" && w->isVisible()) preview = w;
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->findChild<QLabel*>("Picture0")->property("pictureName").toString(), dir_.file("pics/f.jpg"));
    EXPECT_FALSE(preview->findChild<QLabel*>("Picture0")->pixmap().isNull());
    EXPECT_EQ(preview->findChild<QLabel*>("Picture1")->property("pictureName").toString(), "");
    panel().release("Image1");
    QApplication::processEvents();

    // Row 4 is empty: nothing is sent for it.
    openListingForm();
    const auto before = draftPictures();
    upload(1);
    EXPECT_EQ(said(), QStringList{texts::NoTitleInRow});
    EXPECT_EQ(draftPictures(), before);
    EXPECT_TRUE(inFolder("f.jpg"));
    EXPECT_EQ(main_->services().book.Row.CurrentRow, 4);

    main_->close(); // saves the workbook
    zk::test::Reopened again(book_);
    EXPECT_EQ(again.sheet()->range("B2")->interiorColorIndex(), 35);
    EXPECT_EQ(again.sheet()->range("Z3")->interiorColorIndex(), 35);
    EXPECT_EQ(again.sheet()->range("B4")->interiorColorIndex(), zk::calc::palette::NoFill);
    EXPECT_EQ(again.text("B3"), kLong) << "the dialog never changes the workbook";
}

TEST_F(UploadEndToEnd, BrowserKilledBeforeTheItemSetIsUndoneOnOurSide) {
    start();
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) picture(name);
    // A title with characters CP932 cannot hold reaches the form as it is, not as '?'.
    const QString title = QString::fromUtf8("カメラ ☃ Café 𠮷");
    openWorkbook({{"B2", title}, {"B3", "レンズ"}});
    main_->services().book.Row.PriceColumn = 0;
    openListingForm();
    upload(2, {dir_.file("pics/a.jpg")});
    ASSERT_EQ(said(), QStringList()) << said().join(" / ").toStdString();
    EXPECT_EQ(ie().GetFormValue(0, "item_title"), title);
    ASSERT_TRUE(parked("a.jpg") && parked("b.jpg"));
    ASSERT_EQ(main_->services().book.Row.CurrentRow, 3);

    ::kill(pid_t(ie().session()->processId()), SIGKILL);
    QTest::qWait(300);
    // What the item set does when it finds the browser gone: one listing back.
    panel().click("PreviousUpload");
    panel().click("PreviousTitle");
    EXPECT_EQ(said(), QStringList{texts::MovedBackOne});
    EXPECT_TRUE(inFolder("a.jpg") && inFolder("b.jpg"));
    EXPECT_FALSE(parked("a.jpg") || parked("b.jpg"));
    EXPECT_EQ(main_->services().book.Row.CurrentRow, 2);
    EXPECT_EQ(main_->services().carry.PicUploader->NextIndex, 0);
    EXPECT_EQ(main_->services().carry.NextPicture, dir_.file("pics/a.jpg"));

    // The next press finds the browser gone: it says so and starts a new one.
    MessageService::instance().clearTranscript();
    upload(2);
    EXPECT_EQ(said(), QStringList{zk::browser::texts::Disconnected});
    EXPECT_EQ(main_->services().browser.IEConnected, 1);
    EXPECT_TRUE(ie().IsConnected());
    EXPECT_TRUE(inFolder("a.jpg") && inFolder("b.jpg"));

    main_->close();
    zk::test::Reopened again(book_);
    EXPECT_EQ(again.sheet()->range("B2")->interiorColorIndex(), zk::calc::palette::NoFill);
}

TEST_F(UploadEndToEnd, OfficeKilledDuringAnUploadIsSaidAndNoPictureIsLost) {
    start();
    for (const char* name : {"a.jpg", "b.jpg"}) picture(name);
    openWorkbook({{"B2", "カメラ"}});
    main_->services().book.Row.PriceColumn = 0;
    openListingForm();
    const pid_t officePid = main_->services().book.Excel->ExcelApp->office().processId();
    ASSERT_GT(officePid, 0);
    window_->afterPictures = [officePid] {
        ::kill(officePid, SIGKILL);
        QTest::qWait(500);
    };
    upload(2, {dir_.file("pics/a.jpg")});
    QList<QJsonObject> t;
    for (const auto& e : MessageService::instance().transcript())
        if (e["kind"].toString() == "message") t << e;
    ASSERT_EQ(t.size(), 2) << said().join(" / ").toStdString();
    EXPECT_EQ(t[0]["caption"].toString(), zk::sheet::texts::ExcelErrorCaption);
    EXPECT_TRUE(t[0]["text"].toString().startsWith(zk::sheet::texts::ReadFailed)) << said().join(" / ").toStdString();
    EXPECT_EQ(t[1]["text"].toString(), texts::MovedBackOne);
    EXPECT_EQ(main_->services().book.Row.CurrentRow, 2);
    // Sent, and back in the folder with the listing that will not be: the next upload takes them.
    EXPECT_EQ(draftPictures(), (QList<QStringList>{{"1:a.jpg", "2:b.jpg"}}));
    EXPECT_TRUE(inFolder("a.jpg") && inFolder("b.jpg"));
    EXPECT_EQ(main_->services().carry.PicUploader->undoDepth(), 0);
    EXPECT_EQ(main_->services().ledger.current(), nullptr);
}

TEST_F(UploadEndToEnd, BrowserKilledAfterThePicturesIsReconnectedAndTheListingUndone) {
    start();
    for (const char* name : {"a.jpg", "b.jpg"}) picture(name);
    openWorkbook({{"B2", "カメラ"}});
    main_->services().book.Row.PriceColumn = 0;
    openListingForm();
    const qint64 browserPid = ie().session()->processId();
    window_->afterPictures = [browserPid] {
        ::kill(pid_t(browserPid), SIGKILL);
        QTest::qWait(500);
    };
    upload(2, {dir_.file("pics/a.jpg")});
    EXPECT_EQ(said(), (QStringList{texts::TitleSetFailed, zk::browser::texts::Disconnected, texts::MovedBackOne}));
    EXPECT_EQ(main_->services().browser.IEConnected, 1);
    EXPECT_TRUE(ie().IsConnected());
    EXPECT_NE(ie().session()->processId(), browserPid);
    EXPECT_TRUE(inFolder("a.jpg") && inFolder("b.jpg"));
    EXPECT_EQ(main_->services().carry.PicUploader->undoDepth(), 0);
    EXPECT_EQ(main_->services().book.Row.CurrentRow, 2);
    EXPECT_EQ(main_->services().book.LastTitle, "");
}

// A file the site would refuse, or one the seller did not mean to send (a link leading out of
// the folder), is named before anything is sent: nothing reaches the site, nothing is parked,
// and the row is not spent.
TEST_F(UploadEndToEnd, PicturesThatMustNotGoAreNamedBeforeAnythingIsSent) {
    start();
    picture("a.jpg");
    const QString secret = dir_.write("secret.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4) + "account data");
    ASSERT_TRUE(QFile::link(secret, dir_.file("pics/b.jpg")));
    dir_.write("pics/c.jpg", "not a picture at all");
    openWorkbook({{"B2", "カメラ"}});
    main_->services().book.Row.PriceColumn = 0;
    openListingForm();
    upload(3, {dir_.file("pics/a.jpg")});
    EXPECT_EQ(said(), QStringList{texts::PicturesNotSendable + "b.jpg：" + texts::PictureOutsideFolder + "\nc.jpg："
                                  + texts::PictureNotJpeg});
    EXPECT_TRUE(draftPictures().isEmpty());
    EXPECT_TRUE(inFolder("a.jpg") && inFolder("b.jpg") && inFolder("c.jpg"));
    EXPECT_FALSE(parked("a.jpg") || parked("b.jpg") || parked("c.jpg"));
    EXPECT_EQ(main_->services().carry.PicUploader->NextIndex, 0);
    EXPECT_EQ(main_->services().book.Row.CurrentRow, 2);
    EXPECT_EQ(main_->services().ledger.current(), nullptr);
}

// The browser sends a name as it is, but for a double quote (percent-encoded); the site shows
// what it received. Every picture the site shows is recognised as sent, whatever its name
// holds, and all are parked.
TEST_F(UploadEndToEnd, PicturesWithQuotesPercentSpacesHashOrJapaneseInTheirNamesAreRecognisedOnTheSite) {
    start();
    const QStringList names = {"a\"quoted\".jpg", "100% #1 b.jpg", QString::fromUtf8("写真　三（表）.jpg")};
    for (const QString& name : names) picture(name);
    openWorkbook({{"B2", "カメラ"}});
    main_->services().book.Row.PriceColumn = 0;
    openListingForm();
    upload(3, {dir_.file("pics/" + names[1])});
    EXPECT_EQ(said(), QStringList()) << said().join(" / ").toStdString();
    EXPECT_EQ(draftPictures(), (QList<QStringList>{{"1:100% #1 b.jpg", "2:a%22quoted%22.jpg",
                                                    QString::fromUtf8("3:写真　三（表）.jpg")}}));
    for (const QString& name : names) EXPECT_TRUE(parked(name) && !inFolder(name)) << name.toStdString();
}
