#pragma once
// How the practice site is started (options, seed data) and what a started site tells others
// (the state file: ports, host names, certificate, account, page addresses).
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

namespace zk::site {

// Enough for a rehearsal to page through: three pages of current items, two of sold ones.
struct SeedCounts {
    int current = 45;
    int sold = 25;
    int unsold = 12;
};

struct SiteOptions {
    QString auctionHost = "auctions.sim.test";   // host names without ports
    QString loginHost = "login.sim.test";
    int httpPort = 0;                            // 0: a free port
    int httpsPort = 0;
    QString user = "zerkon_seller";
    QString password = "practice";
    SeedCounts seed;
    int pageSize = 20;
    QString stateFile;        // where to write the state file (optional)
    QString storeDir;         // where the state is kept across starts (default: nothing kept)
    QString dataFolder;       // write a data folder there once the site runs (optional)
    QString excelDir;         // EXCEL_DIR of that folder (default: the folder itself)
    QString now;              // fixed start of the site's clock, "yyyy-MM-ddTHH:mm:ss" (optional)
    int delayMs = 0;          // every page answered this much later (a slow site)
    QString variant;          // a changed page (one of variantNames()), empty for none
    bool log = false;         // one line per request on standard error
};

// Reads a seed file (JSON: current, sold, unsold, pageSize, user, password) into the options.
// Returns an error text, empty on success.
QString applySeedFile(SiteOptions& options, const QString& path);
// Parses the command line (without the program name). Returns an error text, empty on success.
QString parseOptions(const QStringList& args, SiteOptions& options, QString& writeDataFolderTo);
QString usageText();

// The site's pages changed the way a real site changes them, so that a check can be tried:
// each name with what it changes.
struct Variant {
    const char* name;
    const char* change;
};
const std::vector<Variant>& variants();
inline constexpr const char* RenamedFieldVariant = "renamed-field";
inline constexpr const char* ShortListVariant = "short-list";
inline constexpr const char* CompletionTextVariant = "completion-text";
inline constexpr const char* MovedItemLinksVariant = "moved-item-links";
inline constexpr const char* LoginMoreVariant = "login-more";

// The header that carries the control token to /_sim/ addresses.
inline constexpr const char* ControlTokenHeader = "X-Sim-Token";

// What a running site publishes.
struct SiteInfo {
    qint64 pid = 0;
    int httpPort = 0;
    int httpsPort = 0;
    QString auctionHostName;
    QString loginHostName;
    QString certificateFile;
    QString certificateSpki;   // base64 SHA-256 of the certificate's public key
    QString user;
    QString password;
    QString controlToken;      // required by the /_sim/ addresses that read or change the state
    QString storeDir;          // the folder of the uploaded pictures
    QString variant;           // the changed pages this site shows (not published)

    bool shows(const char* changed) const { return variant == QLatin1String(changed); }
    QString auctionHost() const;      // with port, as the addresses and markers use it
    QString loginHost() const;
    QString pageHost() const;         // item pages: "page." + auction host
    QString hostResolverRules() const;
    QString auctionTop() const;       // "http://" + auction host + "/jp"
    QString loginUrl() const;
    QString listingUrl() const;       // the category code is appended
    QString relistUrl() const;        // the auction ID is appended
    QString closedListUrl() const;    // "0" or "1" is appended
    QString sellingListUrl() const;
    QString pictureUploadUrl() const;
    QString itemUrl(const QString& auctionId) const;

    // Everything, for the owner-only state file.
    QJsonObject toJson() const;
    // Without the password and the control token, for answers over HTTP.
    QJsonObject publicJson() const;
    static SiteInfo fromJson(const QJsonObject& json);
};

// Writes the state file atomically (a reader never sees half a file).
bool writeStateFile(const QString& path, const SiteInfo& info);
// Reads a state file; error text in *error when it cannot.
bool readStateFile(const QString& path, SiteInfo& info, QString* error);

} // namespace zk::site
