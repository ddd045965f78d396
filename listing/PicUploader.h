#pragma once
// TPicUploader: the pictures of the seller's folder, sent a few at a time through the site's
// picture page and the browser's own file chooser, then parked in the folder's "zzz.zzz" so
// that the next upload takes the next ones. Never deletes a file.
#include "workflow/BrowserSession.h"
#include "workflow/Panel.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace zk::listing {

class TPicUploader {
public:
    TPicUploader(workflow::BrowserSession& browser, workflow::Panel& panel) : browser_(browser), panel_(panel) {}

    // Results: 0 done; -1 failed with its message shown.
    int ScanFolder(QString& first);
    void ResetFolder();
    // The next UploadCount pictures of the folder; 1: nothing was left to send (said).
    int UploadPictures(QString& next);
    // Exactly these pictures, through the picture page and back to the listing form; each is
    // parked once the site shows it. 0, or -1 with what went wrong in `failure` (said when
    // none is given). The folder's pointer and undo are the caller's.
    int SendPictures(const QStringList& pictures, QString* failure = nullptr);
    int UploadByDialog(const QStringList& pictures, QString* failure = nullptr);
    // The pictures of the last upload back into the folder and the pointer back to them:
    // 0 done, 1 nothing to undo (said). Also the listing steps' undo after a lost browser.
    int UndoLastUpload(QString& next);
    // Into the done folder, or (back) out of it. False when the picture stayed where it was;
    // an existing file is never replaced.
    static bool ParkPicture(const QString& path, bool back);
    bool HasEnoughPictures(int n) const;
    QString PictureAt(int i) const;
    int undoDepth() const { return int(UndoCounts.size()); }
    // The pictures of the last upload, as they were named in the folder; empty when none.
    QStringList lastUpload() const;

    // Full paths of the folder's pictures in upload order, and the next one to send.
    QStringList Files;
    int NextIndex = 0;
    // Pictures of the next upload (the panel's track bar, 0 to 3).
    int UploadCount = 0;
    // The shares 連続出品 gave rows that did not list, by workbook and row: the same files go to
    // the row when a later run reaches it (a scan of the folder keeps them: they are its files).
    QHash<QPair<QString, int>, QStringList> KeptShares;
    // Pictures sent per upload, the last on top.
    QList<int> UndoCounts;
    WindowHandle BrowserWindow = 0;
    // The picture folder with its trailing separator; empty while none is chosen.
    QString Folder;
    // The workbook the folder was chosen or confirmed for: another one asks for its folder.
    QString Workbook;
    int HasDescription = 0;
    // The folder's description template, as read (cut to the template's byte limit).
    QString DescriptionText;

    static const QString DoneFolder;

private:
    // The sent pictures that the site's picture page does not show, by file name.
    QStringList notShownBySite(const QStringList& sent);

    workflow::BrowserSession& browser_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
