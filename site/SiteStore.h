#pragma once
// What the practice site keeps between starts, in one SQLite file: the seller's items (with
// their pictures' names, fields and prices), the relists and the next auction ID. Each change is
// one transaction in WAL mode with full syncs, so a site killed at any moment comes back with
// every change it had answered; at most the request under way is lost. The picture files sit
// beside it. The folder is the owner's alone (0700), its files too (0600).
//
// The server changes its state under the state's one lock, but the store takes its own lock as
// well: every call may come from any of the worker threads.
#include "site/SiteState.h"

#include <QString>
#include <mutex>
#include <vector>

struct sqlite3;

namespace zk::site {

class SiteStore {
public:
    SiteStore() = default;
    ~SiteStore();
    SiteStore(const SiteStore&) = delete;
    SiteStore& operator=(const SiteStore&) = delete;

    static constexpr const char* DatabaseName = "site.sqlite";
    static constexpr const char* PictureFolderName = "pictures";

    // Opens the store in `folder`, making the folder, the database and its picture folder when
    // they are not there. Returns the cause of a failure, empty on success.
    QString open(const QString& folder);
    QString pictureFolder() const;

    struct Contents {
        std::vector<Item> items;          // in listing order
        std::vector<RelistRecord> relists;
        long long nextId = 0;             // 0: none given yet
        bool seeded = false;              // the sample items were made once
    };
    QString load(Contents& out);

    // One change, all of it or nothing: these items written whole (new or changed), these relists
    // added, the next auction ID and whether the sample items are made.
    QString save(const std::vector<const Item*>& items, const std::vector<RelistRecord>& relists, long long nextId,
                 bool seeded = true);
    // Every item and relist gone, the next auction ID kept: a new start seeds again.
    QString clear(long long nextId);

private:
    QString run(const char* sql);
    QString failure(const QString& doing) const;
    QString writeItem(const Item& item);
    QString writeRelist(const RelistRecord& relist);
    QString writeMeta(long long nextId, bool seeded);

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
    QString folder_;
};

} // namespace zk::site
