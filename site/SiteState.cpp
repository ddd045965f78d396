#include "site/SiteState.h"

#include "site/Catalog.h"
#include "site/SiteStore.h"

#include <QDir>
#include <QJsonArray>
#include <set>
#include <algorithm>
#include <openssl/rand.h>

namespace zk::site {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QJsonObject fieldsJson(const FieldMap& fields) {
    QJsonObject json;
    for (const auto& [name, value] : fields) json.insert(q(name), q(value));
    return json;
}

QJsonArray picturesJson(const std::vector<Picture>& pictures) {
    QJsonArray array;
    for (const Picture& p : pictures)
        array.append(QJsonObject{{"slot", p.slot},
                                 {"name", q(p.originalName)},
                                 {"stored", q(p.storedName)},
                                 {"type", q(p.contentType)},
                                 {"size", static_cast<qint64>(p.size)}});
    return array;
}

QJsonArray historyJson(const Item& item) {
    QJsonArray array;
    // A seeded or newly listed item's history is its own prices alone.
    if (item.priceHistory.empty()) {
        array.append(QJsonObject{{"start", item.startPrice}, {"buyNow", item.buyNowPrice}});
        return array;
    }
    for (const Item::Prices& p : item.priceHistory) array.append(QJsonObject{{"start", p.start}, {"buyNow", p.buyNow}});
    return array;
}

QJsonObject itemJson(const Item& item) {
    return QJsonObject{
        {"id", q(item.id)},
        {"status", q(statusName(item.status))},
        {"seller", q(item.seller)},
        {"category", q(item.category)},
        {"title", q(item.title)},
        {"description", q(item.description)},
        {"htmlDescription", item.htmlDescription},
        {"startPrice", item.startPrice},
        {"buyNowPrice", item.buyNowPrice},
        {"salesMode", q(item.salesMode)},
        {"closingDate", item.closingDate.toString(Qt::ISODate)},
        {"closingHour", item.closingHour},
        {"listedAt", item.listedAt.toString(Qt::ISODate)},
        {"finalPrice", item.finalPrice},
        {"endedAt", item.endedAt.toString(Qt::ISODate)},
        {"winner", q(item.winner)},
        {"relistOf", q(item.relistOf)},
        {"relistedAs", q(item.relistedAs)},
        {"relistCount", item.relistCount},
        {"priceHistory", historyJson(item)},
        {"seeded", item.seeded},
        {"pictures", picturesJson(item.pictures)},
        {"fields", fieldsJson(item.fields)},
    };
}

} // namespace

std::string statusName(ItemStatus status) {
    switch (status) {
    case ItemStatus::Selling: return "selling";
    case ItemStatus::Sold: return "sold";
    case ItemStatus::Unsold: return "unsold";
    }
    return {};
}

std::string randomToken(int bytes) {
    std::vector<unsigned char> raw(static_cast<size_t>(bytes));
    RAND_bytes(raw.data(), bytes);
    static const char* hex = "0123456789abcdef";
    std::string text;
    for (unsigned char c : raw) {
        text += hex[c >> 4];
        text += hex[c & 15];
    }
    return text;
}

SiteState::SiteState() = default;
SiteState::~SiteState() = default;

void SiteState::seed(int current, int sold, int unsold, const QDateTime& now) {
    const std::vector<std::string> codes = categoryCodes();
    const std::vector<std::string> conditions{"new", "like_new", "used"};
    int n = 0;
    auto make = [&](ItemStatus status, int index) {
        Item item;
        item.id = nextAuctionId();
        item.seller = user;
        item.category = codes[static_cast<size_t>(n) % codes.size()];
        const char* kind = status == ItemStatus::Selling ? "出品中" : status == ItemStatus::Sold ? "落札済" : "未落札";
        char title[96];
        std::snprintf(title, sizeof title, "練習用の商品 %s No.%03d", kind, index + 1);
        item.title = title;
        item.description = "練習用サイトの見本の商品です。\n状態は写真でご確認ください。";
        item.startPrice = 1000 + 500 * (n % 7);
        item.buyNowPrice = n % 2 ? item.startPrice * 2 : 0;
        item.salesMode = "auction";
        item.status = status;
        // Current items close in the days ahead, ended ones closed in the days before.
        const int dayOffset = status == ItemStatus::Selling ? 2 + index % 5 : -(1 + index % 20);
        item.closingDate = now.date().addDays(dayOffset);
        item.closingHour = (9 + 3 * index) % 24;
        item.listedAt = QDateTime(item.closingDate.addDays(-7), QTime(item.closingHour, 0));
        // An auction ends within its closing hour, at a minute of its own.
        if (status != ItemStatus::Selling) item.endedAt = QDateTime(item.closingDate, QTime(item.closingHour, (7 * index) % 60));
        if (status == ItemStatus::Sold) {
            item.finalPrice = item.startPrice + 250LL * (index % 9) + 500;
            char winner[32];
            std::snprintf(winner, sizeof winner, "bidder_%02d", index % 50 + 1);
            item.winner = winner;
        }
        item.seeded = true;
        item.fields["item_condition"] = conditions[static_cast<size_t>(n) % conditions.size()];
        items.push_back(item);
        ++n;
    };
    // Ended items first, so that the current ones are the newest.
    for (int i = 0; i < sold; ++i) make(ItemStatus::Sold, i);
    for (int i = 0; i < unsold; ++i) make(ItemStatus::Unsold, i);
    for (int i = 0; i < current; ++i) make(ItemStatus::Selling, i);
}

std::string SiteState::newSession(const std::string& account, const QDateTime& now) {
    Session s;
    s.token = randomToken();
    s.user = account;
    s.createdAt = now;
    sessions[s.token] = s;
    return s.token;
}

const Session* SiteState::session(const std::string& token) const {
    const auto it = sessions.find(token);
    return it == sessions.end() ? nullptr : &it->second;
}

std::string SiteState::newHandoff(const std::string& sessionToken, const std::string& done) {
    const std::string token = randomToken();
    handoffs[token] = Handoff{sessionToken, done};
    return token;
}

SiteState::Handoff SiteState::takeHandoff(const std::string& token) {
    const auto it = handoffs.find(token);
    if (it == handoffs.end()) return {};
    const Handoff handoff = it->second;
    handoffs.erase(it);
    return handoff;
}

Draft& SiteState::newDraft(const std::string& sessionToken, const std::string& category, const QDateTime& now) {
    Draft d;
    d.id = "d" + std::to_string(nextDraft_++) + "x" + randomToken(4);
    d.session = sessionToken;
    d.category = category;
    d.createdAt = now;
    return drafts[d.id] = d;
}

Draft* SiteState::draft(const std::string& id, const std::string& sessionToken) {
    const auto it = drafts.find(id);
    if (it == drafts.end() || it->second.session != sessionToken) return nullptr;
    return &it->second;
}

QString SiteState::openStore(const QString& folder, bool* seeded) {
    auto opened = std::make_unique<SiteStore>();
    QString error = opened->open(folder);
    SiteStore::Contents kept;
    if (error.isEmpty()) error = opened->load(kept);
    if (!error.isEmpty()) return error;
    items = std::move(kept.items);
    relists = std::move(kept.relists);
    // An ID in an item counts even if the counter were behind it: none is ever given twice.
    nextId_ = std::max(kept.nextId, FirstAuctionNumber);
    for (const Item& i : items)
        if (i.id.size() > 1) nextId_ = std::max(nextId_, std::atoll(i.id.c_str() + 1) + 1);
    storeDir = opened->pictureFolder().toStdString();
    std::set<std::string> shown;
    for (const Item& i : items)
        for (const Picture& p : i.pictures) shown.insert(p.storedName);
    QDir pictures(opened->pictureFolder());
    for (const QString& name : pictures.entryList(QDir::Files))
        if (!shown.count(name.toStdString())) pictures.remove(name);
    if (seeded) *seeded = kept.seeded;
    store_ = std::move(opened);
    return {};
}

QString SiteState::keep(const std::vector<const Item*>& changed, const std::vector<RelistRecord>& added) {
    return store_ ? store_->save(changed, added, nextId_) : QString();
}

QString SiteState::keepAll() {
    std::vector<const Item*> all;
    for (const Item& i : items) all.push_back(&i);
    return keep(all);
}

QString SiteState::clear() {
    if (store_) {
        const QString error = store_->clear(nextId_);
        if (!error.isEmpty()) return error;
    }
    items.clear();
    relists.clear();
    drafts.clear();
    QDir pictures(QString::fromStdString(storeDir));
    for (const QString& name : pictures.entryList(QDir::Files)) pictures.remove(name);
    return {};
}

std::string SiteState::nextAuctionId() { return "k" + std::to_string(nextId_++); }

Item* SiteState::item(const std::string& id) {
    for (Item& i : items)
        if (i.id == id) return &i;
    return nullptr;
}

std::vector<const Item*> SiteState::list(ItemStatus status) const {
    std::vector<const Item*> result;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (it->status != status) continue;
        if (status == ItemStatus::Unsold && !it->relistedAs.empty()) continue;
        result.push_back(&*it);
    }
    return result;
}

bool SiteState::pictureInUse(const std::string& storedName) const {
    auto shows = [&](const std::vector<Picture>& pictures) {
        return std::any_of(pictures.begin(), pictures.end(), [&](const Picture& p) { return p.storedName == storedName; });
    };
    for (const Item& i : items)
        if (shows(i.pictures)) return true;
    for (const auto& [id, d] : drafts)
        if (shows(d.pictures)) return true;
    return false;
}

QJsonObject SiteState::toJson() const {
    QJsonArray itemArray;
    for (const Item& i : items) itemArray.append(itemJson(i));
    QJsonArray draftArray;
    for (const auto& [id, d] : drafts)
        draftArray.append(QJsonObject{{"id", q(d.id)},
                                      {"category", q(d.category)},
                                      {"relistOf", q(d.relistOf)},
                                      {"submitted", d.submitted},
                                      {"resultId", q(d.resultId)},
                                      {"pictures", picturesJson(d.pictures)},
                                      {"fields", fieldsJson(d.fields)}});
    QJsonArray loginArray;
    for (const LoginRecord& l : logins)
        loginArray.append(QJsonObject{{"at", l.at.toString(Qt::ISODate)}, {"user", q(l.user)}, {"ok", l.ok}});
    QJsonArray relistArray;
    for (const RelistRecord& r : relists)
        relistArray.append(QJsonObject{{"from", q(r.from)},
                                       {"to", q(r.to)},
                                       {"at", r.at.toString(Qt::ISODate)},
                                       {"fromStart", r.fromStart},
                                       {"fromBuyNow", r.fromBuyNow},
                                       {"toStart", r.toStart},
                                       {"toBuyNow", r.toBuyNow}});
    auto rule = [](const FaultRule& f) {
        return QJsonObject{{"count", f.count}, {"path", q(f.path)}, {"delayMs", f.delayMs}};
    };
    return QJsonObject{
        {"user", q(user)},
        {"pageSize", pageSize},
        {"items", itemArray},
        {"drafts", draftArray},
        {"logins", loginArray},
        {"relists", relistArray},
        {"sessions", static_cast<int>(sessions.size())},
        {"faults", QJsonObject{{"delay", rule(faults.delay)}, {"error", rule(faults.error)}, {"drop", rule(faults.drop)}}},
    };
}

} // namespace zk::site
