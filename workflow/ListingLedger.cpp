#include "workflow/ListingLedger.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

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
            {"description", r.description},
            {"startPrice", r.startPrice},
            {"buyPrice", r.buyPrice},
            {"startedAt", r.startedAt.toString(Qt::ISODate)},
            {"auctionId", r.auctionId},
            {"link", r.link},
            {"listedAt", r.listedAt},
            {"agreeSentAt", r.agreeSentAt.toString(Qt::ISODate)}};
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
    r.description = o.value("description").toString();
    r.startPrice = o.value("startPrice").toString();
    r.buyPrice = o.value("buyPrice").toString();
    r.startedAt = QDateTime::fromString(o.value("startedAt").toString(), Qt::ISODate);
    r.auctionId = o.value("auctionId").toString();
    r.link = o.value("link").toString();
    r.listedAt = o.value("listedAt").toString();
    r.agreeSentAt = QDateTime::fromString(o.value("agreeSentAt").toString(), Qt::ISODate);
    return r;
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

void ListingLedger::setJournal(const QString& path) { journal_ = path; }

bool ListingLedger::load(QString* error) {
    current_.reset();
    unsaved_.clear();
    known_.clear();
    if (journal_.isEmpty()) return true;
    QFile file(journal_);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        if (error) *error = parse.errorString();
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
    return r;
}

void ListingLedger::savedFor(const QString& workbook) {
    const qsizetype before = unsaved_.size();
    unsaved_.removeIf([&](const ListingRecord& r) { return r.workbook == workbook; });
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
    // Written whole beside the old one and renamed over it: a kill mid-write leaves the old.
    QSaveFile file(journal_);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(QJsonDocument(root).toJson(QJsonDocument::Compact)) < 0 || !file.commit())
        journalError_ = file.errorString();
}

} // namespace zk::workflow
