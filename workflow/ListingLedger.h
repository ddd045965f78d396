#pragma once
// One record per listing, from the pictures' upload to the auction ID on disk. The record, not
// the row cursor, says which row a listing belongs to and what may still be taken back: a
// listing whose agree press was sent is never undone, only reconciled with the site.
//
// The open record and the listed ones whose row is not yet saved live in a small journal in the
// data folder (owner-only, written whole and replaced atomically), so that a Zerkon that was
// killed mid-listing finds them at its next start.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zk::workflow {

struct ListingRecord {
    enum class Stage {
        Uploading, // pictures on the site's picture page; the form is being filled
        Uploaded,  // title, description and prices in the form; the row passed
        ItemSet,   // fixed answers and closing time in the form
        AgreeSent, // the agree press went out: the site may hold the item
        Listed,    // the site showed the auction ID
    };
    Stage stage = Stage::Uploading;
    int row = 0;           // the item's workbook row; 0 when no workbook was open
    QString workbook;      // the workbook's file
    QStringList pictures;  // the pictures sent, now in the done folder
    QString title, description, startPrice, buyPrice; // what reached the form
    QDateTime startedAt;
    QString auctionId, link, listedAt; // the site's answer
    QDateTime agreeSentAt;             // when the agree press went out

    // Nothing of it can be on the site yet: it may be taken back.
    bool undoable() const { return stage < Stage::AgreeSent; }
    bool inDoubt() const { return stage == Stage::AgreeSent; }
};

const char* stageName(ListingRecord::Stage stage);

// A listing in doubt is settled by the site alone: found on it, it is listed; not found, it is
// absent only once the site can no longer make it, so long after the agree press. Until then
// it stays in doubt, whatever a look at the site showed.
enum class Doubt { Listed, StillInDoubt, Absent };
Doubt settleDoubt(bool foundOnSite, const QDateTime& agreeSentAt, const QDateTime& now, int boundSeconds);

class ListingLedger {
public:
    // The journal's name in the data folder.
    static inline const QString JournalFileName = QStringLiteral("ListingJournal.json");

    // Without a journal the ledger lives in memory only.
    void setJournal(const QString& path);
    QString journalPath() const { return journal_; }
    // What the journal held at start-up; false (with the reason) when it could not be read.
    bool load(QString* error = nullptr);

    // The listing under way (not listed yet), or null.
    ListingRecord* current();
    // A new listing for this row: one that was under way and never agreed is dropped.
    ListingRecord& begin(int row, const QString& workbook, const QDateTime& now, const QStringList& pictures = {});
    // The current record moved on; written to the journal.
    void advance(ListingRecord::Stage stage);
    // The current record left behind: taken back, or found not to be on the site.
    void drop();
    // The site showed the listing: it moves to the listed records that wait to be saved.
    ListingRecord listed(const QString& auctionId, const QString& link, const QString& listedAt);
    // Listed records not yet on disk, oldest first.
    const QList<ListingRecord>& unsaved() const { return unsaved_; }
    // The rows of a workbook were written and saved: their records are closed.
    void savedFor(const QString& workbook);
    // Auction IDs this ledger has written, newest last (bounded), so that a search of the site
    // for a listing in doubt does not take an older one for it.
    const QStringList& knownIds() const { return known_; }
    void persist();
    // The journal could not be written: why (empty when it was).
    QString journalError() const { return journalError_; }

private:
    QString journal_;
    QString journalError_;
    std::optional<ListingRecord> current_;
    QList<ListingRecord> unsaved_;
    QStringList known_;
};

} // namespace zk::workflow
