#include "listing/PicUploader.h"

#include "browser/Iectrl.h"
#include "platform/KeySender.h"
#include "listing/Texts.h"
#include "listing/UploadRules.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "workflow/Pause.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

namespace zk::listing {
namespace {

void say(const QString& text) { MessageService::instance().show(text); }

// Sleeps while the browser's events (the chooser among them) keep coming in.
using workflow::pause;

void front(WindowHandle window) {
    if (DesktopWindow* w = TIECtrl::WindowOf(window)) Desktop::instance().setForeground(w);
}

DesktopWindow* chooser() { return Desktop::instance().findByTitle(texts::FileChooserTitle); }

} // namespace

const QString TPicUploader::DoneFolder = QStringLiteral("zzz.zzz");

int TPicUploader::ScanFolder(QString& first) {
    if (Folder.isEmpty()) {
        say(texts::NoFolder);
        return -1;
    }
    while (Folder.size() > 1 && Folder.endsWith('/')) Folder.chop(1);
    const QDir dir(Folder);
    QStringList names;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Readable | QDir::Hidden))
        if (rules::isPictureName(name)) names << name;
    if (names.isEmpty()) {
        say(texts::NoJpegFiles);
        return -1;
    }
    Files.clear();
    for (const QString& name : rules::sortPictureNames(names)) Files << dir.filePath(name);
    NextIndex = 0;
    first = Files[0];
    UndoCounts.clear();

    HasDescription = 0;
    DescriptionText.clear();
    QStringList templates = dir.entryList({"*.txt", "*.TXT", "*.Txt"}, QDir::Files, QDir::Name);
    templates.removeDuplicates();
    if (!templates.isEmpty()) {
        QFile file(dir.filePath(templates.first()));
        if (file.open(QIODevice::ReadOnly)) {
            // One byte over the limit tells a cut from a file that just fits.
            DescriptionText = cp932::toUnicode(rules::cutOnCharacter(file.read(rules::TemplateByteLimit + 1)));
            HasDescription = 1;
        }
    }
    return 0;
}

void TPicUploader::ResetFolder() {
    Folder.clear();
    Files.clear();
    UndoCounts.clear();
    KeptShares.clear();
    NextIndex = 0;
}

int TPicUploader::UploadPictures(QString& next) {
    if (UploadCount == 0) {
        say(texts::SetPictureCount);
        return -1;
    }
    if (NextIndex >= Files.size() && !Files.isEmpty()) {
        say(texts::NoMorePicturesLeft);
        return 1;
    }
    if (Files.isEmpty()) {
        say(texts::FileListNotLoaded);
        return -1;
    }
    const QStringList pictures = Files.mid(NextIndex, UploadCount);
    if (SendPictures(pictures) != 0) return -1;
    NextIndex += int(pictures.size());
    UndoCounts.append(int(pictures.size()));
    next = NextIndex < Files.size() ? Files[NextIndex] : QString();
    return 0;
}

int TPicUploader::SendPictures(const QStringList& pictures, QString* failure) {
    auto fail = [failure](const QString& text) {
        if (failure) *failure = text;
        else say(text);
        return -1;
    };
    TIECtrl& ie = *browser_.IE;
    if (ie.SelectByTagName("INPUT") < 0) return fail(texts::NoLink);
    const int n = ie.GetListLength();
    if (n < 0) return fail(texts::NoInputCount);
    int found = -1;
    for (int i = 0; i < n && found < 0; ++i)
        if (ie.GetItemAttribute(i, "value") == texts::ToPicturePage) found = i;
    if (found < 0) return fail(texts::PageDoesNotChange);
    ie.NarrowToItem(found);
    QCoreApplication::processEvents();
    front(BrowserWindow);
    if (ie.ClickSelected() < 0 || !ie.ExistsByName(browser::site::PictureInput + QStringLiteral("1"))) return fail(texts::PageDoesNotChange);
    if (UploadByDialog(pictures, failure) == -1) return -1;
    if (ie.SubmitForm(1, 0) < 0) return fail(texts::SendErrorShort);
    if (ie.WaitIdle(20) != 0) return fail(texts::PageDoesNotChange);
    return 0;
}

int TPicUploader::UploadByDialog(const QStringList& pictures, QString* failure) {
    auto fail = [failure](const QString& text) {
        if (failure) *failure = text;
        else say(text);
        return -1;
    };
    TIECtrl& ie = *browser_.IE;
    KeySender& keys = *browser_.Keys;
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (int k = 1; k <= pictures.size(); ++k) {
        const QString picture = QDir::toNativeSeparators(pictures[k - 1]);
        const QString input = browser::site::PictureInput + QString::number(k);
        front(BrowserWindow);
        ie.SetFormImeMode(0, input, false);
        ie.FocusFormItem(0, input);
        pause(100);
        front(BrowserWindow);
        keys.SendKeys("{TAB}");
        pause(100);
        front(BrowserWindow);
        keys.SendKeys(" ");
        pause(200);
        // The browser is busy from the moment its chooser is open.
        int polls = 0;
        while (!ie.IsBusy()) {
            pause(50);
            if (++polls >= 62) return -1;
        }
        if (!chooser()) return fail(texts::ChooserNotShown);
        bool chosen = false;
        for (int attempt = 0; attempt < 27 && !chosen; ++attempt) {
            DesktopWindow* dialog = chooser();
            if (!dialog) break;
            clipboard->setText(picture);
            Desktop::instance().setForeground(dialog);
            pause(200);
            keys.SendKeys("^v{ENTER}");
            pause(50);
            // Chosen only when the chooser took the file and closed; a name it refused stays in
            // its box and is tried again.
            dialog = chooser();
            if (!dialog) {
                chosen = true;
                break;
            }
            Desktop::instance().setForeground(dialog);
            keys.SendKeys("%N^c");
        }
        if (!chosen) {
            // Left open, the chooser would keep the browser busy for good.
            if (DesktopWindow* dialog = chooser()) {
                Desktop::instance().setForeground(dialog);
                keys.SendKeys("{ESC}");
            }
            return fail(texts::UploadTimeout);
        }
    }
    pause(100);
    if (ie.SubmitForm(0, 0) < 0) return fail(texts::SendError);
    if (ie.WaitIdle(120) < 0) return fail(texts::UploadTimeout);
    // A picture is parked only once the site's picture page shows it: one the site refused
    // stays in the folder for the seller to look at.
    const QStringList refused = notShownBySite(pictures);
    if (!refused.isEmpty()) return fail(texts::PicturesRefused + refused.join(QStringLiteral("\n")));
    for (const QString& picture : pictures) ParkPicture(picture, false);
    return 0;
}

QStringList TPicUploader::notShownBySite(const QStringList& sent) {
    TIECtrl& ie = *browser_.IE;
    QStringList shown;
    ie.WaitComplete(10);
    if (ie.SelectByTagName("td") == 0) {
        const int n = ie.GetListLength();
        for (int i = 0; i < n; ++i) shown << ie.GetItemInnerText(i);
    }
    QStringList missing;
    for (const QString& path : sent) {
        const QString name = QFileInfo(path).fileName();
        const bool onPage = std::any_of(shown.begin(), shown.end(), [&](const QString& t) { return rules::pictureShownAs(t, name); });
        if (!onPage) missing << name;
    }
    return missing;
}

QStringList TPicUploader::lastUpload() const {
    if (UndoCounts.isEmpty()) return {};
    const int m = UndoCounts.last();
    return Files.mid(NextIndex - m, m);
}

int TPicUploader::UndoLastUpload(QString& next) {
    if (UndoCounts.isEmpty()) {
        say(texts::CannotGoBack);
        return 1;
    }
    const int m = UndoCounts.last();
    NextIndex -= m;
    for (int j = 0; j < m; ++j) ParkPicture(Files[NextIndex + j], true);
    next = Files[NextIndex];
    UndoCounts.removeLast();
    say(texts::MovedBackOne);
    return 0;
}

bool TPicUploader::ParkPicture(const QString& path, bool back) {
    const QFileInfo file(path);
    QDir dir = file.dir();
    const QString parked = dir.filePath(DoneFolder + "/" + file.fileName());
    if (!back) {
        if (!dir.exists(DoneFolder) && !dir.mkdir(DoneFolder)) return false;
        // QFile::rename never replaces an existing file.
        return QFile::rename(path, parked);
    }
    return QFileInfo::exists(parked) && QFile::rename(parked, path);
}

bool TPicUploader::HasEnoughPictures(int n) const {
    // A picture that cannot be read would reach the site empty: it counts as missing.
    return rules::enoughPictures(Files, NextIndex, n, [](const QString& path) {
        const QFileInfo file(path);
        return file.isFile() && file.isReadable();
    });
}

QString TPicUploader::PictureAt(int i) const { return rules::pictureAt(Files, i); }

} // namespace zk::listing
