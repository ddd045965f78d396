// The uploader's folder work without a browser: the scan, the done folder, the undo, and the
// step's folder choice, against real files.
#include "listing/PicUploader.h"
#include "listing/PictureUpload.h"
#include "listing/Texts.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "support/TempFolder.h"
#include "tests/support/NullPanel.h"
#include "workflow/Services.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <gtest/gtest.h>
#include <unistd.h>

using zk::MessageService;
using zk::listing::TPicUploader;
namespace texts = zk::listing::texts;

namespace {

class RecordingPanel : public zk::test::NullPanel {
public:
    void setBusy(bool busy) override { busy_ << busy; }
    void showThumbnail(const QString& fileName) override { thumbnails << fileName; }
    void setUploadEnabled(bool enabled) override { uploadEnabled = enabled; }
    QRect panelGeometry() const override { return geometry; }
    int thumbnailLeft() const override { return 393; }

    QList<bool> busy_;
    QStringList thumbnails;
    bool uploadEnabled = false;
    QRect geometry{100, 500, 930, 135};
};

const QByteArray kJpeg = QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11) + QByteArray(100, 'x');

class PicUploaderTest : public ::testing::Test {
protected:
    PicUploaderTest() : uploader_(services_.browser, panel_) {
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
        services_.carry.PicUploader = &uploader_;
    }
    QStringList said() const {
        QStringList t;
        for (const auto& e : MessageService::instance().transcript()) t << e["text"].toString();
        return t;
    }
    QString folder(const QString& name) const { return dir_.path() + "/" + name + "/"; }

    zk::test::TempFolder dir_;
    zk::workflow::Services services_;
    RecordingPanel panel_;
    TPicUploader uploader_;
};

} // namespace

TEST_F(PicUploaderTest, ScanListsThePicturesInOrderAndReadsTheFirstTemplate) {
    for (const char* name : {"b.jpg", "a.JPG", "c.jpg", "d.png", "notes.md"}) dir_.write(QString("p/") + name, kJpeg);
    dir_.writeCp932("p/template.txt", QString::fromUtf8("状態：%%"));
    uploader_.Folder = folder("p");
    QString first;
    ASSERT_EQ(uploader_.ScanFolder(first), 0);
    EXPECT_EQ(first, dir_.file("p/a.JPG"));
    EXPECT_EQ(uploader_.Files, (QStringList{dir_.file("p/a.JPG"), dir_.file("p/b.jpg"), dir_.file("p/c.jpg")}));
    EXPECT_EQ(uploader_.HasDescription, 1);
    EXPECT_EQ(uploader_.DescriptionText, QString::fromUtf8("状態：%%"));
    EXPECT_EQ(uploader_.PictureAt(3), "END");
}

TEST_F(PicUploaderTest, ScanFailuresSayWhy) {
    QString first;
    EXPECT_EQ(uploader_.ScanFolder(first), -1);
    dir_.write("empty/readme.txt", "x");
    uploader_.Folder = folder("empty");
    EXPECT_EQ(uploader_.ScanFolder(first), -1);
    EXPECT_EQ(said(), (QStringList{texts::NoFolder, texts::NoJpegFiles}));
}

TEST_F(PicUploaderTest, ATemplateOf20kBIsCutOnACharacterBoundary) {
    dir_.write("p/a.jpg", kJpeg);
    // One single byte first: the 9999-byte limit falls inside a double-byte character.
    dir_.write("p/t.txt", "x" + zk::cp932::fromUnicode(QString(10240, QChar(0x3042))));
    uploader_.Folder = folder("p");
    QString first;
    ASSERT_EQ(uploader_.ScanFolder(first), 0);
    EXPECT_EQ(uploader_.DescriptionText, "x" + QString(4999, QChar(0x3042)));
    EXPECT_FALSE(uploader_.DescriptionText.contains(QChar(0xFFFD)));
}

TEST_F(PicUploaderTest, ParkingNeverReplacesAFileAndUndoBringsThePicturesBack) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) dir_.write(QString("p/") + name, kJpeg);
    uploader_.Folder = folder("p");
    QString next;
    ASSERT_EQ(uploader_.ScanFolder(next), 0);
    EXPECT_EQ(uploader_.UndoLastUpload(next), 1);
    EXPECT_EQ(said(), QStringList{texts::CannotGoBack});
    EXPECT_EQ(uploader_.NextIndex, 0);

    // As an upload of two leaves them.
    EXPECT_TRUE(TPicUploader::ParkPicture(dir_.file("p/a.jpg"), false));
    EXPECT_TRUE(TPicUploader::ParkPicture(dir_.file("p/b.jpg"), false));
    uploader_.NextIndex = 2;
    uploader_.UndoCounts << 2;
    EXPECT_TRUE(QFile::exists(dir_.file("p/zzz.zzz/a.jpg")));
    EXPECT_FALSE(QFile::exists(dir_.file("p/a.jpg")));

    // A new a.jpg put into the folder meanwhile is kept; the parked one stays parked.
    dir_.write("p/a.jpg", "newer");
    ASSERT_EQ(uploader_.UndoLastUpload(next), 0);
    EXPECT_EQ(next, dir_.file("p/a.jpg"));
    EXPECT_EQ(uploader_.NextIndex, 0);
    EXPECT_EQ(dir_.read("p/a.jpg"), "newer");
    EXPECT_TRUE(QFile::exists(dir_.file("p/zzz.zzz/a.jpg")));
    EXPECT_TRUE(QFile::exists(dir_.file("p/b.jpg")));
    EXPECT_EQ(said().last(), texts::MovedBackOne);

    // Parking onto a picture of the same name already parked keeps both.
    dir_.write("p/zzz.zzz/c.jpg", "old");
    EXPECT_FALSE(TPicUploader::ParkPicture(dir_.file("p/c.jpg"), false));
    EXPECT_EQ(dir_.read("p/zzz.zzz/c.jpg"), "old");
    EXPECT_EQ(dir_.read("p/c.jpg"), kJpeg);
}

TEST_F(PicUploaderTest, EnoughPicturesMeansLeftReadableAndStillThere) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) dir_.write(QString("p/") + name, kJpeg);
    uploader_.Folder = folder("p");
    QString next;
    ASSERT_EQ(uploader_.ScanFolder(next), 0);
    uploader_.NextIndex = 2;
    EXPECT_TRUE(uploader_.HasEnoughPictures(1));
    EXPECT_FALSE(uploader_.HasEnoughPictures(2));
    uploader_.NextIndex = 0;
    QFile::remove(dir_.file("p/b.jpg"));
    EXPECT_FALSE(uploader_.HasEnoughPictures(2));
    EXPECT_TRUE(uploader_.HasEnoughPictures(1));
    // Swapped for a folder of the same name: nothing to read.
    QFile::remove(dir_.file("p/a.jpg"));
    ASSERT_TRUE(QDir(dir_.file("p")).mkdir("a.jpg"));
    EXPECT_FALSE(uploader_.HasEnoughPictures(1));
    QDir(dir_.file("p")).rmdir("a.jpg");
    dir_.write("p/a.jpg", kJpeg);
    EXPECT_TRUE(uploader_.HasEnoughPictures(1));
    if (::geteuid() != 0) { // root reads every file
        QFile::setPermissions(dir_.file("p/a.jpg"), QFileDevice::WriteOwner);
        EXPECT_FALSE(uploader_.HasEnoughPictures(1)) << "an unreadable picture would reach the site empty";
        QFile::setPermissions(dir_.file("p/a.jpg"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

TEST_F(PicUploaderTest, ReChoosingAFolderWithoutPicturesLeavesNoFolder) {
    for (const char* name : {"a.jpg", "b.jpg"}) dir_.write(QString("p/") + name, kJpeg);
    dir_.write("none/x.txt", "x");
    zk::listing::PictureUpload step(services_.browser, services_.book, services_.carry, services_.ledger,
                                    services_.settings, panel_);
    MessageService::instance().setAnswers({dir_.file("p/b.jpg"), dir_.file("none/x.txt"), "Cancel"});
    step.UploadClearClick();
    EXPECT_EQ(uploader_.Folder, dir_.path() + "/p");
    EXPECT_EQ(services_.carry.NextPicture, dir_.file("p/a.jpg"));
    step.UploadClearClick();
    EXPECT_EQ(uploader_.Folder, "");
    EXPECT_EQ(services_.carry.NextPicture, "");
    EXPECT_EQ(panel_.thumbnails, (QStringList{dir_.file("p/a.jpg"), ""}));
    step.UploadClearClick(); // cancelled: nothing changes
    EXPECT_EQ(panel_.thumbnails.size(), 2);
    step.TrackBar1Change(0);
    EXPECT_FALSE(panel_.uploadEnabled);
    step.TrackBar1Change(2);
    EXPECT_TRUE(panel_.uploadEnabled);
}

// Another workbook asks for its picture folder, the current one offered and named; the same
// workbook again, or one opened before any folder was chosen, asks nothing.
TEST_F(PicUploaderTest, AnotherWorkbookAsksForItsPictureFolder) {
    for (const char* name : {"p/a.jpg", "q/c.jpg", "q/d.jpg"}) dir_.write(name, kJpeg);
    zk::listing::PictureUpload step(services_.browser, services_.book, services_.carry, services_.ledger,
                                    services_.settings, panel_);
    auto dialogs = [] {
        QStringList captions;
        for (const auto& e : MessageService::instance().transcript())
            if (e["kind"].toString() == "open-file") captions << e["caption"].toString() + " @ " + e["folder"].toString();
        return captions;
    };
    const QString asked = texts::WorkbookPictureCaption.arg(QDir::toNativeSeparators(dir_.path() + "/p")) + " @ " +
                          dir_.path() + "/p";
    const struct {
        const char* name;
        const char* workbook;
        QString answer;     // the dialog's answer, when one is asked
        QStringList asked;  // the dialogs of this step
        QString folder;     // the folder after it
        QString next;
    } steps[] = {
        {"the first workbook, no folder yet", "one.xlsx", {}, {}, "", ""},
        {"its folder chosen", nullptr, dir_.file("p/a.jpg"), {}, dir_.path() + "/p", dir_.file("p/a.jpg")},
        {"the same workbook again", "one.xlsx", {}, {}, dir_.path() + "/p", dir_.file("p/a.jpg")},
        {"another workbook, cancelled: the folder stays", "two.xlsx", "Cancel", {asked}, dir_.path() + "/p",
         dir_.file("p/a.jpg")},
        {"a third one takes another folder", "three.xlsx", dir_.file("q/d.jpg"), {asked}, dir_.path() + "/q",
         dir_.file("q/c.jpg")},
    };
    for (const auto& s : steps) {
        MessageService::instance().clearTranscript();
        MessageService::instance().setAnswers(s.answer.isEmpty() ? QStringList{} : QStringList{s.answer});
        if (s.workbook) step.WorkbookOpened(dir_.file(s.workbook));
        else step.UploadClearClick();
        if (s.workbook) EXPECT_EQ(dialogs(), s.asked) << s.name;
        EXPECT_EQ(uploader_.Folder, s.folder) << s.name;
        EXPECT_EQ(services_.carry.NextPicture, s.next) << s.name;
    }
}

TEST_F(PicUploaderTest, PreviewShowsTheNextPicturesUpToTheEndBesideThePanel) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) dir_.write(QString("p/") + name, kJpeg);
    zk::listing::PictureUpload step(services_.browser, services_.book, services_.carry, services_.ledger,
                                    services_.settings, panel_);
    ASSERT_TRUE(step.loadPreview(qEnvironmentVariable("ZERKON_BUILD_DIR") + "/")) << step.preview().errorString().toStdString();
    step.Image1MouseDown(); // no folder yet: nothing
    auto previewWindow = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "PhotoViewForm") return w;
        return static_cast<QWidget*>(nullptr);
    };
    EXPECT_EQ(previewWindow(), nullptr);

    uploader_.Folder = folder("p");
    QString next;
    ASSERT_EQ(uploader_.ScanFolder(next), 0);
    uploader_.NextIndex = 1; // two left
    step.Image1MouseDown();
    QWidget* w = previewWindow();
    ASSERT_NE(w, nullptr);
    auto slot = [w](int i) { return w->findChild<QLabel*>("Picture" + QString::number(i))->property("pictureName").toString(); };
    EXPECT_EQ(slot(0), dir_.file("p/b.jpg"));
    EXPECT_EQ(slot(1), dir_.file("p/c.jpg"));
    EXPECT_EQ(slot(2), "");
    EXPECT_EQ(slot(3), "");
    // Above the panel when there is room, left of the thumbnail by 50.
    EXPECT_EQ(w->pos(), QPoint(100 + 393 - 50, 500 - w->height()));
    step.Image1MouseUp();
    EXPECT_EQ(previewWindow(), nullptr);

    panel_.geometry.moveTop(20); // no room above: below it
    step.Image1MouseDown();
    ASSERT_NE(previewWindow(), nullptr);
    EXPECT_EQ(previewWindow()->pos().y(), 20 + 135);
    step.Image1MouseUp();
}
