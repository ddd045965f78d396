#include "site/SiteStore.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zk::site {
namespace {

constexpr QFileDevice::Permissions OwnerFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions OwnerFolder = OwnerFile | QFileDevice::ExeOwner;

const char* const Schema = R"(
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS items(
  seq INTEGER PRIMARY KEY, id TEXT NOT NULL UNIQUE, seller TEXT, category TEXT, title TEXT,
  description TEXT, html INTEGER, start_price INTEGER, buy_now_price INTEGER, sales_mode TEXT,
  closing_date TEXT, closing_hour INTEGER, listed_at TEXT, status TEXT, final_price INTEGER,
  ended_at TEXT, winner TEXT, relist_of TEXT, relisted_as TEXT, relist_count INTEGER,
  seeded INTEGER, list_shape INTEGER);
CREATE TABLE IF NOT EXISTS pictures(item_id TEXT NOT NULL, slot INTEGER, original_name TEXT,
  stored_name TEXT, content_type TEXT, size INTEGER);
CREATE TABLE IF NOT EXISTS fields(item_id TEXT NOT NULL, name TEXT NOT NULL, value TEXT,
  PRIMARY KEY(item_id, name));
CREATE TABLE IF NOT EXISTS prices(item_id TEXT NOT NULL, n INTEGER NOT NULL, start INTEGER,
  buy_now INTEGER, PRIMARY KEY(item_id, n));
CREATE TABLE IF NOT EXISTS relists(seq INTEGER PRIMARY KEY, from_id TEXT, to_id TEXT, at TEXT,
  from_start INTEGER, from_buy_now INTEGER, to_start INTEGER, to_buy_now INTEGER);
CREATE INDEX IF NOT EXISTS pictures_of ON pictures(item_id);
)";

// The item columns after seq, in the order writeItem binds them.
const char* const ItemColumns[] = {"id", "seller", "category", "title", "description", "html", "start_price",
                                   "buy_now_price", "sales_mode", "closing_date", "closing_hour", "listed_at",
                                   "status", "final_price", "ended_at", "winner", "relist_of", "relisted_as",
                                   "relist_count", "seeded", "list_shape"};

std::string upsertItemSql() {
    std::string names, marks, updates;
    for (const char* column : ItemColumns) {
        const std::string c = column;
        names += (names.empty() ? "" : ",") + c;
        marks += marks.empty() ? "?" : ",?";
        if (c != "id") updates += (updates.empty() ? "" : ",") + c + "=excluded." + c;
    }
    // An item changed keeps its place (seq) in the listing order.
    return "INSERT INTO items(" + names + ") VALUES(" + marks + ") ON CONFLICT(id) DO UPDATE SET " + updates;
}

std::string selectItemsSql() {
    std::string names;
    for (const char* column : ItemColumns) names += (names.empty() ? "" : ",") + std::string(column);
    return "SELECT " + names + " FROM items ORDER BY seq";
}

int shapeBits(const Item::ListShape& s) {
    return (s.pictureLink ? 1 : 0) | (s.redirectLink ? 2 : 0) | (s.trailingSlash ? 4 : 0) | (s.emptyPrice ? 8 : 0);
}

Item::ListShape shapeOf(int bits) {
    Item::ListShape s;
    s.pictureLink = bits & 1;
    s.redirectLink = bits & 2;
    s.trailingSlash = bits & 4;
    s.emptyPrice = bits & 8;
    return s;
}

ItemStatus statusOf(const std::string& name) {
    if (name == statusName(ItemStatus::Sold)) return ItemStatus::Sold;
    if (name == statusName(ItemStatus::Unsold)) return ItemStatus::Unsold;
    return ItemStatus::Selling;
}

std::string isoText(const QDateTime& at) { return at.isValid() ? at.toString(Qt::ISODateWithMs).toStdString() : std::string(); }
QDateTime timeOf(const std::string& text) { return QDateTime::fromString(QString::fromStdString(text), Qt::ISODateWithMs); }

// One prepared statement: values bound in order from 1, rows stepped through, finalized at the end.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) { ok_ = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) == SQLITE_OK; }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(const std::string& text) {
        if (ok_) ok_ = sqlite3_bind_text(stmt_, ++bound_, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
        return *this;
    }
    Statement& bind(long long number) {
        if (ok_) ok_ = sqlite3_bind_int64(stmt_, ++bound_, number) == SQLITE_OK;
        return *this;
    }
    // Runs a statement that returns no rows.
    bool done() { return ok_ && sqlite3_step(stmt_) == SQLITE_DONE; }
    // The next row; false at the end or on a failure (see failed()).
    bool row() {
        if (!ok_) return false;
        const int rc = sqlite3_step(stmt_);
        ok_ = rc == SQLITE_ROW || rc == SQLITE_DONE;
        column_ = 0;
        return rc == SQLITE_ROW;
    }
    bool failed() const { return !ok_; }
    std::string text() {
        const auto* chars = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column_));
        const int size = sqlite3_column_bytes(stmt_, column_++);
        return chars ? std::string(chars, static_cast<size_t>(size)) : std::string();
    }
    long long number() { return sqlite3_column_int64(stmt_, column_++); }

private:
    sqlite3_stmt* stmt_ = nullptr;
    bool ok_ = false;
    int bound_ = 0;
    int column_ = 0;
};

// The database file made owner-only before SQLite opens it: its journal files take its mode.
QString makeOwnerOnly(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return "cannot make " + path + ": " + QString::fromLocal8Bit(std::strerror(errno));
    const bool narrowed = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    return narrowed ? QString() : "cannot make " + path + " owner-only";
}

} // namespace

SiteStore::~SiteStore() { sqlite3_close_v2(db_); }

QString SiteStore::failure(const QString& doing) const {
    return "the site store " + QDir(folder_).filePath(DatabaseName) + ": " + doing + ": " +
           QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : "not open");
}

QString SiteStore::run(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return {};
    const QString error = "the site store " + QDir(folder_).filePath(DatabaseName) + ": " + QString::fromUtf8(message ? message : "?");
    sqlite3_free(message);
    return error;
}

QString SiteStore::open(const QString& folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    folder_ = QDir(folder).absolutePath();
    for (const QString& dir : {folder_, pictureFolder()}) {
        if (!QDir().mkpath(dir)) return "cannot make the folder " + dir;
        if (!QFile::setPermissions(dir, OwnerFolder)) return "cannot make the folder " + dir + " owner-only";
    }
    const QString path = QDir(folder_).filePath(DatabaseName);
    if (const QString error = makeOwnerOnly(path); !error.isEmpty()) return error;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr) != SQLITE_OK) {
        const QString error = failure("cannot open it");
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return error;
    }
    // A writer busy elsewhere (a second site on the same folder) is waited for, briefly.
    sqlite3_busy_timeout(db_, 5000);
    // WAL with full syncs: each commit is on disk before the request is answered.
    for (const char* setting : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL"})
        if (const QString error = run(setting); !error.isEmpty()) return error;
    return run(Schema);
}

QString SiteStore::pictureFolder() const { return QDir(folder_).filePath(PictureFolderName); }

QString SiteStore::load(Contents& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    out = Contents{};
    Statement meta(db_, "SELECT key, value FROM meta");
    while (meta.row()) {
        const std::string key = meta.text();
        const std::string value = meta.text();
        if (key == "next_id") out.nextId = std::atoll(value.c_str());
        else if (key == "seeded") out.seeded = value == "1";
    }
    if (meta.failed()) return failure("cannot read its counters");

    std::map<std::string, size_t> index;
    Statement items(db_, selectItemsSql());
    while (items.row()) {
        Item item;
        item.id = items.text();
        item.seller = items.text();
        item.category = items.text();
        item.title = items.text();
        item.description = items.text();
        item.htmlDescription = items.number() != 0;
        item.startPrice = items.number();
        item.buyNowPrice = items.number();
        item.salesMode = items.text();
        item.closingDate = QDate::fromString(QString::fromStdString(items.text()), Qt::ISODate);
        item.closingHour = static_cast<int>(items.number());
        item.listedAt = timeOf(items.text());
        item.status = statusOf(items.text());
        item.finalPrice = items.number();
        item.endedAt = timeOf(items.text());
        item.winner = items.text();
        item.relistOf = items.text();
        item.relistedAs = items.text();
        item.relistCount = static_cast<int>(items.number());
        item.seeded = items.number() != 0;
        item.listShape = shapeOf(static_cast<int>(items.number()));
        index[item.id] = out.items.size();
        out.items.push_back(std::move(item));
    }
    if (items.failed()) return failure("cannot read its items");

    Statement pictures(db_, "SELECT item_id, slot, original_name, stored_name, content_type, size FROM pictures ORDER BY item_id, slot");
    while (pictures.row()) {
        const std::string id = pictures.text();
        Picture p;
        p.slot = static_cast<int>(pictures.number());
        p.originalName = pictures.text();
        p.storedName = pictures.text();
        p.contentType = pictures.text();
        p.size = static_cast<size_t>(pictures.number());
        if (const auto it = index.find(id); it != index.end()) out.items[it->second].pictures.push_back(p);
    }
    if (pictures.failed()) return failure("cannot read its pictures");

    Statement fields(db_, "SELECT item_id, name, value FROM fields");
    while (fields.row()) {
        const std::string id = fields.text();
        const std::string name = fields.text();
        if (const auto it = index.find(id); it != index.end()) out.items[it->second].fields[name] = fields.text();
    }
    if (fields.failed()) return failure("cannot read the items' fields");

    Statement prices(db_, "SELECT item_id, start, buy_now FROM prices ORDER BY item_id, n");
    while (prices.row()) {
        const std::string id = prices.text();
        Item::Prices p;
        p.start = prices.number();
        p.buyNow = prices.number();
        if (const auto it = index.find(id); it != index.end()) out.items[it->second].priceHistory.push_back(p);
    }
    if (prices.failed()) return failure("cannot read the items' prices");

    Statement relists(db_, "SELECT from_id, to_id, at, from_start, from_buy_now, to_start, to_buy_now FROM relists ORDER BY seq");
    while (relists.row()) {
        RelistRecord r;
        r.from = relists.text();
        r.to = relists.text();
        r.at = timeOf(relists.text());
        r.fromStart = relists.number();
        r.fromBuyNow = relists.number();
        r.toStart = relists.number();
        r.toBuyNow = relists.number();
        out.relists.push_back(r);
    }
    if (relists.failed()) return failure("cannot read its relists");
    return {};
}

QString SiteStore::writeItem(const Item& item) {
    Statement upsert(db_, upsertItemSql());
    upsert.bind(item.id).bind(item.seller).bind(item.category).bind(item.title).bind(item.description)
        .bind(item.htmlDescription ? 1 : 0).bind(item.startPrice).bind(item.buyNowPrice).bind(item.salesMode)
        .bind(item.closingDate.toString(Qt::ISODate).toStdString()).bind(item.closingHour).bind(isoText(item.listedAt))
        .bind(statusName(item.status)).bind(item.finalPrice).bind(isoText(item.endedAt)).bind(item.winner)
        .bind(item.relistOf).bind(item.relistedAs).bind(item.relistCount).bind(item.seeded ? 1 : 0)
        .bind(shapeBits(item.listShape));
    if (!upsert.done()) return failure("cannot write the item " + QString::fromStdString(item.id));
    // Its pictures, fields and prices are written again whole.
    for (const char* table : {"pictures", "fields", "prices"}) {
        Statement drop(db_, std::string("DELETE FROM ") + table + " WHERE item_id = ?");
        if (!drop.bind(item.id).done()) return failure("cannot write the item " + QString::fromStdString(item.id));
    }
    for (const Picture& p : item.pictures) {
        Statement add(db_, "INSERT INTO pictures(item_id, slot, original_name, stored_name, content_type, size) VALUES(?,?,?,?,?,?)");
        if (!add.bind(item.id).bind(p.slot).bind(p.originalName).bind(p.storedName).bind(p.contentType)
                 .bind(static_cast<long long>(p.size)).done())
            return failure("cannot write the pictures of " + QString::fromStdString(item.id));
    }
    for (const auto& [name, value] : item.fields) {
        Statement add(db_, "INSERT INTO fields(item_id, name, value) VALUES(?,?,?)");
        if (!add.bind(item.id).bind(name).bind(value).done())
            return failure("cannot write the fields of " + QString::fromStdString(item.id));
    }
    for (size_t n = 0; n < item.priceHistory.size(); ++n) {
        Statement add(db_, "INSERT INTO prices(item_id, n, start, buy_now) VALUES(?,?,?,?)");
        if (!add.bind(item.id).bind(static_cast<long long>(n)).bind(item.priceHistory[n].start)
                 .bind(item.priceHistory[n].buyNow).done())
            return failure("cannot write the prices of " + QString::fromStdString(item.id));
    }
    return {};
}

QString SiteStore::writeRelist(const RelistRecord& r) {
    Statement add(db_, "INSERT INTO relists(from_id, to_id, at, from_start, from_buy_now, to_start, to_buy_now) VALUES(?,?,?,?,?,?,?)");
    if (!add.bind(r.from).bind(r.to).bind(isoText(r.at)).bind(r.fromStart).bind(r.fromBuyNow).bind(r.toStart)
             .bind(r.toBuyNow).done())
        return failure("cannot write the relist of " + QString::fromStdString(r.from));
    return {};
}

QString SiteStore::writeMeta(long long nextId, bool seeded) {
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"next_id", std::to_string(nextId)},
                                     {"seeded", seeded ? "1" : "0"}}) {
        Statement put(db_, "INSERT INTO meta(key, value) VALUES(?, ?) ON CONFLICT(key) DO UPDATE SET value = excluded.value");
        if (!put.bind(key).bind(value).done()) return failure("cannot write its counters");
    }
    return {};
}

QString SiteStore::save(const std::vector<const Item*>& items, const std::vector<RelistRecord>& relists, long long nextId,
                        bool seeded) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!db_) return failure("cannot write");
    if (const QString error = run("BEGIN IMMEDIATE"); !error.isEmpty()) return error;
    QString error;
    for (const Item* item : items)
        if (error.isEmpty() && item) error = writeItem(*item);
    for (const RelistRecord& r : relists)
        if (error.isEmpty()) error = writeRelist(r);
    if (error.isEmpty()) error = writeMeta(nextId, seeded);
    if (error.isEmpty()) error = run("COMMIT");
    if (!error.isEmpty()) run("ROLLBACK");
    return error;
}

QString SiteStore::clear(long long nextId) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!db_) return failure("cannot write");
    if (const QString error = run("BEGIN IMMEDIATE"); !error.isEmpty()) return error;
    QString error = run("DELETE FROM items; DELETE FROM pictures; DELETE FROM fields; DELETE FROM prices; DELETE FROM relists;");
    if (error.isEmpty()) error = writeMeta(nextId, false);
    if (error.isEmpty()) error = run("COMMIT");
    if (!error.isEmpty()) run("ROLLBACK");
    return error;
}

} // namespace zk::site
