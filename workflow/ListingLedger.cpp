#include "workflow/ListingLedger.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zk::workflow {

namespace {

using Stage = ListingRecord::Stage;
constexpr int MaxKnownIds = 500;
constexpr Stage Stages[] = {Stage::Uploading, Stage::Uploaded, Stage::ItemSet, Stage::AgreeSent, Stage::Listed};

QJsonObject toJson(const ListingRecord& r) {
    return {{"stage", stageName(r.stage)},
            {"row", r.row},
            {"workbook", r.workbook},
            {"pictures", QJsonArray::fromStringList(r.pictures)},
            {"title", r.title},
            {"rowTitle", r.rowTitle},
            {"before", QJsonArray::fromStringList(r.before.ids)},
            {"beforeAt", r.before.at.toString(Qt::ISODate)},
            {"description", r.description},
            {"startPrice", r.startPrice},
            {"buyPrice", r.buyPrice},
            {"startedAt", r.startedAt.toString(Qt::ISODate)},
            {"auctionId", r.auctionId},
            {"link", r.link},
            {"listedAt", r.listedAt},
            {"agreeSentAt", r.agreeSentAt.toString(Qt::ISODate)},
            {"relistOf", r.relistOf},
            {"oldStartPrice", r.oldStartPrice},
            {"oldBuyPrice", r.oldBuyPrice}};
}

std::optional<ListingRecord> fromJson(const QJsonObject& o) {
    ListingRecord r;
    bool known = false;
    for (Stage s : Stages)
        if (o.value("stage").toString() == QLatin1String(stageName(s))) {
            r.stage = s;
            known = true;
        }
    if (!known) return std::nullopt;
    r.row = o.value("row").toInt();
    r.workbook = o.value("workbook").toString();
    for (const QJsonValue& p : o.value("pictures").toArray()) r.pictures << p.toString();
    r.title = o.value("title").toString();
    r.rowTitle = o.value("rowTitle").toString();
    for (const QJsonValue& id : o.value("before").toArray()) r.before.ids << id.toString();
    r.before.at = QDateTime::fromString(o.value("beforeAt").toString(), Qt::ISODate);
    r.description = o.value("description").toString();
    r.startPrice = o.value("startPrice").toString();
    r.buyPrice = o.value("buyPrice").toString();
    r.startedAt = QDateTime::fromString(o.value("startedAt").toString(), Qt::ISODate);
    r.auctionId = o.value("auctionId").toString();
    r.link = o.value("link").toString();
    r.listedAt = o.value("listedAt").toString();
    r.agreeSentAt = QDateTime::fromString(o.value("agreeSentAt").toString(), Qt::ISODate);
    r.relistOf = o.value("relistOf").toString();
    r.oldStartPrice = o.value("oldStartPrice").toString();
    r.oldBuyPrice = o.value("oldBuyPrice").toString();
    return r;
}

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString ownerName(uid_t uid) {
    const passwd* pw = ::getpwuid(uid);
    return pw ? QStringLiteral("%1 (uid %2)").arg(QString::fromLocal8Bit(pw->pw_name)).arg(uid)
              : QStringLiteral("uid %1").arg(uid);
}

// What stat says of a journal: a fault, or none for a file this user alone may write.
JournalFault::Kind judge(const struct stat& st, QString* detail) {
    using Kind = JournalFault::Kind;
    if (S_ISLNK(st.st_mode)) return Kind::Link;
    if (!S_ISREG(st.st_mode)) return Kind::NotAFile;
    if (st.st_uid != ::geteuid()) {
        *detail = ownerName(st.st_uid);
        return Kind::OtherOwner;
    }
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) return Kind::WritableByOthers;
    if (st.st_size > ListingLedger::MaxJournalBytes) {
        *detail = QString::number(st.st_size);
        return Kind::TooLarge;
    }
    return Kind::None;
}

// Reads the journal at `name` only when it is a file of this user's that no one else may write,
// and at most the bound: `text` stays null when there is no journal.
JournalFault readJournal(const QByteArray& name, QByteArray* text) {
    using Kind = JournalFault::Kind;
    JournalFault fault;
    struct stat st {};
    // Looked at first without opening: a link is not followed, a pipe or device not opened.
    if (::lstat(name.constData(), &st) != 0) {
        if (errno != ENOENT) {
            fault.kind = Kind::Unreadable;
            fault.detail = systemError(errno);
        }
        return fault;
    }
    if ((fault.kind = judge(st, &fault.detail)) != Kind::None) return fault;
    // Judged again on what was opened: the name may have been swapped meanwhile.
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) return fault;
        fault.kind = error == ELOOP ? Kind::Link : Kind::Unreadable;
        if (error != ELOOP) fault.detail = systemError(error);
        return fault;
    }
    if (::fstat(fd, &st) != 0) {
        fault.kind = Kind::Unreadable;
        fault.detail = systemError(errno);
    } else {
        fault.kind = judge(st, &fault.detail);
    }
    QByteArray bytes(0, Qt::Uninitialized);
    if (fault.kind == Kind::None) {
        // One byte past the bound tells a file that grew since fstat.
        bytes.resize(qsizetype(ListingLedger::MaxJournalBytes) + 1);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                fault.kind = Kind::Unreadable;
                fault.detail = systemError(errno);
                break;
            }
            if (n == 0) break;
            got += n;
        }
        bytes.truncate(got);
        if (fault.kind == Kind::None && got > ListingLedger::MaxJournalBytes) {
            fault.kind = Kind::TooLarge;
            fault.detail = QStringLiteral("%1+").arg(ListingLedger::MaxJournalBytes);
        }
    }
    ::close(fd);
    if (fault.kind == Kind::None) *text = bytes.isNull() ? QByteArray("") : bytes;
    return fault;
}

// Renames the journal beside itself with the time, never over another file; a link is renamed
// as the link it is.
void setAside(JournalFault& fault) {
    const QByteArray from = QFile::encodeName(fault.path);
    const QString base = fault.path + '.' + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n <= 100; ++n) {
        const QString to = n == 1 ? base : QStringLiteral("%1-%2").arg(base, QString::number(n));
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(to).constData(), RENAME_NOREPLACE) == 0) {
            fault.setAsideAs = to;
            return;
        }
        if (errno != EEXIST) {
            fault.setAsideError = systemError(errno);
            return;
        }
    }
    fault.setAsideError = systemError(EEXIST);
}

// Written whole into a new owner-only file beside the journal and renamed over it: a kill
// mid-write leaves the old one, and a link in the journal's place is replaced, not followed.
QString writeReplacing(const QString& path, const QByteArray& data) {
    QByteArray temp = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return systemError(errno);
    int error = 0;
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0) error = errno;
    for (qsizetype done = 0; error == 0 && done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        else done += n;
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) error = errno;
    if (error == 0) return {};
    ::unlink(temp.constData());
    return systemError(error);
}

} // namespace

const char* stageName(ListingRecord::Stage stage) {
    switch (stage) {
    case Stage::Uploading: return "uploading";
    case Stage::Uploaded: return "uploaded";
    case Stage::ItemSet: return "itemset";
    case Stage::AgreeSent: return "agreesent";
    case Stage::Listed: return "listed";
    }
    return "uploading";
}

Doubt settleDoubt(bool foundOnSite, const QDateTime& agreeSentAt, const QDateTime& now, int boundSeconds) {
    if (foundOnSite) return Doubt::Listed;
    // A record without the press's time (an older journal's) counts from its first look now.
    if (!agreeSentAt.isValid() || !now.isValid()) return Doubt::StillInDoubt;
    return agreeSentAt.secsTo(now) >= boundSeconds ? Doubt::Absent : Doubt::StillInDoubt;
}

DoubtCandidates judgeCandidates(const ListingRecord& record, const QStringList& titleMatches) {
    DoubtCandidates out;
    for (const QString& id : titleMatches)
        if (!record.before.ids.contains(id) && !out.ids.contains(id)) out.ids << id;
    if (out.ids.isEmpty()) return out;
    const bool byTitleAlone = !record.before.taken() && record.relistOf.isEmpty();
    out.kind = out.ids.size() == 1 && !byTitleAlone ? DoubtCandidates::Kind::Take : DoubtCandidates::Kind::Choose;
    return out;
}

RowPlace placeListed(const ListingRecord& record, const QList<SheetRow>& rows) {
    using Kind = RowPlace::Kind;
    const QString title = (record.rowTitle.trimmed().isEmpty() ? record.title : record.rowTitle).trimmed();
    const bool relist = !record.relistOf.isEmpty();
    auto fits = [&](const SheetRow& r) {
        const QString id = r.auctionId.trimmed();
        if (relist) return id == record.relistOf || (!record.auctionId.isEmpty() && id == record.auctionId);
        return r.title.trimmed() == title && (id.isEmpty() || id == record.auctionId);
    };
    RowPlace place;
    QList<int> fitting;
    for (const SheetRow& r : rows)
        if (fits(r)) fitting << r.row;
    // A record that knows no title (a form typed by hand) has only its row.
    if ((!relist && title.isEmpty()) || fitting.contains(record.row)) {
        place = {Kind::Own, record.row, 0};
    } else if (fitting.size() == 1) {
        place = {Kind::Moved, fitting.first(), 0};
    } else {
        place = {fitting.isEmpty() ? Kind::NotFound : Kind::Ambiguous, record.row, 0};
    }
    const QString id = record.auctionId.trimmed();
    if (id.isEmpty()) return place;
    for (const SheetRow& r : rows)
        if (r.row != place.row && r.auctionId.trimmed() == id) {
            place.kind = Kind::HeldElsewhere;
            place.otherRow = r.row;
            break;
        }
    return place;
}

void ListingLedger::setJournal(const QString& path) { journal_ = path; }

bool ListingLedger::load(QString* error) {
    current_.reset();
    unsaved_.clear();
    known_.clear();
    loadFault_ = {};
    blocked_.clear();
    if (journal_.isEmpty()) return true;
    QByteArray text;
    JournalFault fault = readJournal(QFile::encodeName(journal_), &text);
    if (fault.kind == JournalFault::Kind::None && text.isNull()) return true;
    QJsonDocument doc;
    if (fault.kind == JournalFault::Kind::None) {
        QJsonParseError parse{};
        doc = QJsonDocument::fromJson(text, &parse);
        if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
            fault.kind = JournalFault::Kind::Unparsable;
            fault.detail = parse.error != QJsonParseError::NoError ? parse.errorString() : QStringLiteral("not an object");
        }
    }
    if (fault.kind != JournalFault::Kind::None) {
        fault.path = journal_;
        setAside(fault);
        if (fault.setAsideAs.isEmpty()) blocked_ = fault.setAsideError;
        if (error) *error = fault.detail.isEmpty() ? fault.path : fault.detail;
        loadFault_ = fault;
        return false;
    }
    const QJsonObject root = doc.object();
    if (root.contains("current")) current_ = fromJson(root.value("current").toObject());
    for (const QJsonValue& v : root.value("unsaved").toArray())
        if (auto r = fromJson(v.toObject())) unsaved_ << *r;
    for (const QJsonValue& v : root.value("known").toArray()) known_ << v.toString();
    return true;
}

ListingRecord* ListingLedger::current() { return current_ ? &*current_ : nullptr; }

ListingRecord& ListingLedger::begin(int row, const QString& workbook, const QDateTime& now,
                                    const QStringList& pictures) {
    current_ = ListingRecord{};
    current_->row = row;
    current_->workbook = workbook;
    current_->pictures = pictures;
    current_->startedAt = now;
    persist();
    return *current_;
}

void ListingLedger::advance(ListingRecord::Stage stage) {
    if (!current_) return;
    current_->stage = stage;
    persist();
}

void ListingLedger::drop() {
    current_.reset();
    persist();
}

ListingRecord ListingLedger::listed(const QString& auctionId, const QString& link, const QString& listedAt) {
    ListingRecord r = current_ ? *current_ : ListingRecord{};
    current_.reset();
    r.stage = Stage::Listed;
    r.auctionId = auctionId;
    r.link = link;
    r.listedAt = listedAt;
    if (!auctionId.isEmpty()) {
        known_.removeAll(auctionId);
        known_ << auctionId;
        while (known_.size() > MaxKnownIds) known_.removeFirst();
    }
    // A listing without a row has nothing to wait for.
    if (r.row > 0) unsaved_ << r;
    persist();
    if (listedHook_) listedHook_(r);
    return r;
}

void ListingLedger::savedFor(const QString& workbook, const QStringList& waitingIds) {
    const qsizetype before = unsaved_.size();
    unsaved_.removeIf([&](const ListingRecord& r) { return r.workbook == workbook && !waitingIds.contains(r.auctionId); });
    if (unsaved_.size() != before) persist();
}

void ListingLedger::persist() {
    journalError_.clear();
    if (journal_.isEmpty()) return;
    QJsonObject root;
    if (current_) root.insert("current", toJson(*current_));
    QJsonArray unsaved;
    for (const ListingRecord& r : unsaved_) unsaved << toJson(r);
    root.insert("unsaved", unsaved);
    root.insert("known", QJsonArray::fromStringList(known_));
    if (!blocked_.isEmpty()) {
        journalError_ = blocked_;
        return;
    }
    journalError_ = writeReplacing(journal_, QJsonDocument(root).toJson(QJsonDocument::Compact));
}

} // namespace zk::workflow
