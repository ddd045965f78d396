#pragma once
// One record per listing, from the pictures' upload to the auction ID on disk. The record, not
// the row cursor, says which row a listing belongs to and what may still be taken back: a
// listing whose agree press was sent is never undone, only reconciled with the site.
//
// The open record and the listed ones whose row is not yet saved live in a small journal in the
// data folder (owner-only, written whole and replaced atomically), so that a Zerkon that was
// killed mid-listing finds them at its next start. Only a journal this user wrote is read: a
// link, another user's file, one others may write, or one too large to be ours is renamed aside
// and reported, never read or followed, and never written over.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace zk::workflow {

// The auction IDs on the seller's selling list, read before a listing's press: an item that was
// there then cannot be the listing the press made.
struct SellingSnapshot {
    QStringList ids;
    QDateTime at; // when it was read; invalid when it was not
    bool taken() const { return at.isValid(); }
};

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
    QString rowTitle;      // the title as the row held it: the row is found again by it
    SellingSnapshot before; // the selling list before the press
    QDateTime startedAt;
    QString auctionId, link, listedAt; // the site's answer
    QDateTime agreeSentAt;             // when the agree press went out
    // A relist: the ended auction it puts up again, and that auction's prices.
    QString relistOf, oldStartPrice, oldBuyPrice;

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

// What the selling list's items of the record's title (less those other rows hold) make of a
// listing in doubt. Only an item that was not on the list before the press can be its listing;
// one such is taken, several go to the seller. Without a list read before the press no item is
// taken by its title alone: the seller chooses, whatever their number. A relist without such a
// list keeps to its one title match: the site relists an item once.
struct DoubtCandidates {
    enum class Kind { None, Take, Choose };
    Kind kind = Kind::None;
    QStringList ids; // in the list's order
};
DoubtCandidates judgeCandidates(const ListingRecord& record, const QStringList& titleMatches);

// A row of the open sheet as the listed records are placed by it.
struct SheetRow {
    int row = 0;
    QString title, auctionId;
};
// Where a listed record's ID goes. Into the row that still holds its title (a relist: the ID it
// relists) and no other ID; a row that moved is found again by those, when only one row fits.
// Never an ID that another row holds already.
struct RowPlace {
    enum class Kind {
        Own,        // its own row, as recorded
        Moved,      // another row holds its title now: row
        NotFound,   // no row holds its title
        Ambiguous,  // several rows hold it, none at its own row
        HeldElsewhere, // otherRow holds its ID already; row is where it would have gone
    };
    Kind kind = Kind::NotFound;
    int row = 0;
    int otherRow = 0;
    bool writable() const { return kind == Kind::Own || kind == Kind::Moved; }
};
RowPlace placeListed(const ListingRecord& record, const QList<SheetRow>& rows);
// A journal that was found and not read, and where it went.
struct JournalFault {
    enum class Kind {
        None,
        Link,             // a symbolic link: neither followed nor touched
        NotAFile,         // a folder, a pipe, a device
        OtherOwner,       // another user's file (detail: the owner)
        WritableByOthers, // this user's, but group or others may write it
        TooLarge,         // over MaxJournalBytes (detail: its size in bytes)
        Unreadable,       // detail: the system's reason
        Unparsable,       // detail: the parser's reason
    };
    Kind kind = Kind::None;
    QString path;          // the journal's path
    QString detail;
    QString setAsideAs;    // the path it was renamed to; empty when it could not be
    QString setAsideError; // why it could not be renamed
};

class ListingLedger {
public:
    // The journal's name in the data folder.
    static inline const QString JournalFileName = QStringLiteral("ListingJournal.json");

    // Without a journal the ledger lives in memory only.
    void setJournal(const QString& path);
    QString journalPath() const { return journal_; }
    // A journal of the ledger's own is far smaller: anything larger is not read.
    static constexpr qint64 MaxJournalBytes = 1024 * 1024;

    // What the journal held at start-up; false (with the reason) when a journal was there and not
    // read: loadFault() then says why and the name it was set aside under. A journal that could
    // not be set aside is never written over: persist() refuses until the next load.
    bool load(QString* error = nullptr);
    const JournalFault& loadFault() const { return loadFault_; }

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
    // Told of every record the site showed, whichever way it was found (its answer read, the
    // site asked about one in doubt, or a journal settled at start).
    void setListedHook(std::function<void(const ListingRecord&)> hook) { listedHook_ = std::move(hook); }
    // Listed records not yet on disk, oldest first.
    const QList<ListingRecord>& unsaved() const { return unsaved_; }
    // The rows of a workbook were written and saved: their records are closed, but for those
    // whose IDs still wait (their rows not found, or their IDs held by other rows).
    void savedFor(const QString& workbook, const QStringList& waitingIds = {});
    // Auction IDs this ledger has written, newest last (bounded), so that a search of the site
    // for a listing in doubt does not take an older one for it.
    const QStringList& knownIds() const { return known_; }
    void persist();
    // The journal could not be written: why (empty when it was).
    QString journalError() const { return journalError_; }

private:
    QString journal_;
    QString journalError_;
    JournalFault loadFault_;
    QString blocked_; // why the journal may not be written (a foreign one could not be set aside)
    std::optional<ListingRecord> current_;
    QList<ListingRecord> unsaved_;
    QStringList known_;
    std::function<void(const ListingRecord&)> listedHook_;
};

} // namespace zk::workflow
