#include "relist/RelistLog.h"

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "relist/Texts.h"

#include <QDir>
#include <QFile>

namespace zk::relist {

QString appendRelistLog(const QList<RelistLogEntry>& entries, QString* error) {
    QString unusable;
    paths::DocumentsFault fault = paths::DocumentsFault::None;
    const QString folder = paths::writableDocumentsFolder(unusable, &fault);
    if (folder.isEmpty()) {
        // The folder is named, with what is wrong with it: not there and cannot be made, or
        // there and takes no file (read-only, immutable).
        const QString why = fault == paths::DocumentsFault::CannotMake ? texts::DocumentsNotMade : texts::DocumentsReadOnly;
        if (error) *error = texts::LogUnwritable.arg(unusable, why);
        return {};
    }
    const QString path = QDir(folder).filePath(relistLogName(clock::now().date()));
    QFile file(path);
    const bool fresh = !file.exists() || file.size() == 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error) *error = texts::LogUnwritable.arg(path, file.errorString());
        return {};
    }
    QByteArray out;
    if (fresh) out += "\xEF\xBB\xBF" + texts::LogHeader.toUtf8() + "\r\n";
    for (const RelistLogEntry& e : entries) out += relistLogLine(e).toUtf8() + "\r\n";
    if (file.write(out) != out.size() || !file.flush()) {
        if (error) *error = texts::LogUnwritable.arg(path, file.errorString());
        return {};
    }
    return path;
}

RelistLogEntry relistedEntry(const workflow::ListingRecord& r, const QDateTime& at) {
    RelistLogEntry e;
    e.at = at;
    e.oldId = r.relistOf;
    e.newId = r.auctionId;
    e.title = r.title;
    e.oldStart = r.oldStartPrice;
    e.oldBuy = r.oldBuyPrice;
    e.newStart = r.startPrice;
    e.newBuy = r.buyPrice;
    e.result = texts::ResultRelisted;
    return e;
}

} // namespace zk::relist
