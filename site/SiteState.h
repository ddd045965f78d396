#pragma once
// Everything the practice site remembers: the seller's items, the listing drafts in progress,
// sessions, logins, relists and the fault switches. One lock guards it all; the server takes it
// for the whole of a request. With a store, the items, relists and the next auction ID are kept
// across starts; drafts and sessions end with the site (a new start has new logins).
#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zk::site {

enum class ItemStatus { Selling, Sold, Unsold };

struct Picture {
    int slot = 0;                 // 1..3, as in ImageFile1..ImageFile3
    std::string originalName;     // the file name the browser sent
    std::string storedName;       // the name in the picture store
    std::string contentType;
    size_t size = 0;
};

using FieldMap = std::map<std::string, std::string>;

struct Item {
    std::string id;
    std::string seller;
    std::string category;
    std::string title;
    std::string description;
    bool htmlDescription = false;
    long long startPrice = 0;
    long long buyNowPrice = 0;    // 0: none
    std::string salesMode;
    QDate closingDate;
    int closingHour = -1;
    QDateTime listedAt;
    ItemStatus status = ItemStatus::Selling;
    long long finalPrice = 0;     // sold items
    QDateTime endedAt;            // ended items: when the auction ended, to the minute
    std::string winner;
    std::string relistOf;         // the ended item this one relists
    std::string relistedAs;       // set on an ended item once relisted
    // How many times the item was relisted to reach this auction, and the start and buy-now
    // prices of each of its auctions, the first one first and this one last.
    int relistCount = 0;
    struct Prices {
        long long start = 0;
        long long buyNow = 0;
    };
    std::vector<Prices> priceHistory;
    bool seeded = false;
    std::vector<Picture> pictures;
    FieldMap fields;              // every submitted field, as received
    // How the seller's lists show the item, changed by tests to reach the lists' odd cases.
    struct ListShape {
        bool pictureLink = false;   // a picture link even without a picture
        bool redirectLink = false;  // a further link that carries the item's address as a parameter
        bool trailingSlash = false; // the title link's address ends in "/"
        bool emptyPrice = false;    // the price cell holds no text
    } listShape;
};

// A listing being entered: what the entry form held when it was last sent, and the pictures.
struct Draft {
    std::string id;
    std::string session;
    std::string category;
    std::string relistOf;         // empty for a new listing
    FieldMap fields;
    std::vector<Picture> pictures;
    QDateTime createdAt;
    bool submitted = false;
    std::string resultId;         // the auction ID once listed
};

struct Session {
    std::string token;
    std::string user;
    QDateTime createdAt;
};

struct LoginRecord {
    QDateTime at;
    std::string user;
    bool ok = false;
};

struct RelistRecord {
    std::string from;
    std::string to;
    QDateTime at;
    long long fromStart = 0, fromBuyNow = 0; // the prices of the auction relisted
    long long toStart = 0, toBuyNow = 0;     // and of the new one
};

// A fault applies to the next `count` requests whose path contains `path` (count < 0: all).
struct FaultRule {
    int count = 0;
    std::string path;
    int delayMs = 0;
    // Only requests of this method ("GET", "POST"); empty for any.
    std::string method;
    bool matches(const std::string& target, const std::string& requestMethod = {}) const {
        return count != 0 && target.find(path) != std::string::npos && (method.empty() || method == requestMethod);
    }
};

struct Faults {
    FaultRule delay;
    FaultRule error;
    FaultRule drop;
    // The entry form's own script takes its sales mode back (no choice) delayMs after the page
    // has loaded, as a page still applying its state does to a choice made early.
    FaultRule reset;
};

class SiteStore;

class SiteState {
public:
    SiteState();
    ~SiteState();

    std::mutex mutex;

    std::string user;
    std::string password;
    int pageSize = 20;
    std::string storeDir;

    std::vector<Item> items;                  // in listing order
    std::map<std::string, Draft> drafts;
    std::map<std::string, Session> sessions;
    struct Handoff {
        std::string session;
        std::string done;     // where the browser goes once the cookie is set
    };
    std::map<std::string, Handoff> handoffs;   // one-time token -> session
    std::vector<LoginRecord> logins;
    std::vector<RelistRecord> relists;
    Faults faults;

    // Seeds current, sold and unsold items, listed and closed around `now`.
    void seed(int current, int sold, int unsold, const QDateTime& now);

    // Keeps the state in `folder` from now on, taking what it kept before: the items, relists and
    // the next auction ID; pictures no kept item shows (a draft's of the last start) are removed.
    // *seeded: whether the sample items were made there once. Error text on failure.
    QString openStore(const QString& folder, bool* seeded);
    bool hasStore() const { return store_ != nullptr; }
    // Writes these new or changed items and new relists, with the next auction ID, in one step;
    // nothing without a store. The caller changes the state only once this succeeded.
    QString keep(const std::vector<const Item*>& changed, const std::vector<RelistRecord>& added = {});
    // Every item kept (after a seed).
    QString keepAll();
    // Starts afresh: items, relists, drafts and pictures gone; the auction IDs go on from where
    // they were, since a seller's workbook may still hold the old ones.
    QString clear();

    std::string newSession(const std::string& user, const QDateTime& now);
    const Session* session(const std::string& token) const;
    std::string newHandoff(const std::string& sessionToken, const std::string& done);
    // The handoff of that one-time token (empty session when there is none); it is used up.
    Handoff takeHandoff(const std::string& token);

    Draft& newDraft(const std::string& session, const std::string& category, const QDateTime& now);
    // The draft, only when it belongs to that session.
    Draft* draft(const std::string& id, const std::string& session);

    std::string nextAuctionId();
    Item* item(const std::string& id);
    // Items of one list, newest first: selling, sold, or ended without a winner and not relisted.
    std::vector<const Item*> list(ItemStatus status) const;

    // Whether an item or a draft still shows that stored picture (a relist starts with the
    // pictures of the item it relists).
    bool pictureInUse(const std::string& storedName) const;

    QJsonObject toJson() const;

private:
    static constexpr long long FirstAuctionNumber = 100000001;
    std::unique_ptr<SiteStore> store_;
    long long nextId_ = FirstAuctionNumber;
    long long nextDraft_ = 1;
};

std::string statusName(ItemStatus status);
// Random hex text for tokens.
std::string randomToken(int bytes = 16);

} // namespace zk::site
