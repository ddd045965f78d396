#include "site/SiteConfig.h"

#include <algorithm>

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace zk::site {
namespace {

bool takeInt(const QStringList& args, int& i, int& out, int minimum, QString& error) {
    if (i + 1 >= args.size()) {
        error = args[i] + ": a number is missing";
        return false;
    }
    bool ok = false;
    const int value = args[++i].toInt(&ok);
    if (!ok || value < minimum) {
        error = args[i - 1] + ": not a valid number: " + args[i];
        return false;
    }
    out = value;
    return true;
}

bool takeText(const QStringList& args, int& i, QString& out, QString& error) {
    if (i + 1 >= args.size()) {
        error = args[i] + ": a value is missing";
        return false;
    }
    out = args[++i];
    return true;
}

bool validHostName(const QString& host) {
    if (host.isEmpty() || host.startsWith('.') || host.endsWith('.') || !host.contains('.')) return false;
    for (QChar c : host)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != '.' && c != '-') return false;
    return true;
}

} // namespace

QString applySeedFile(SiteOptions& options, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "cannot read the seed file " + path;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) return "the seed file is not a JSON object: " + parseError.errorString();
    const QJsonObject seed = doc.object();
    auto count = [&](const char* key, int& out) -> bool {
        if (!seed.contains(key)) return true;
        const int value = seed.value(key).toInt(-1);
        if (value < 0) return false;
        out = value;
        return true;
    };
    if (!count("current", options.seed.current) || !count("sold", options.seed.sold) ||
        !count("unsold", options.seed.unsold) || !count("pageSize", options.pageSize) ||
        options.pageSize < 1)
        return "the seed file holds a count that is not a non-negative number";
    if (seed.contains("user")) options.user = seed.value("user").toString();
    if (seed.contains("password")) options.password = seed.value("password").toString();
    return {};
}

const std::vector<Variant>& variants() {
    static const std::vector<Variant> all{
        {RenamedFieldVariant, "the item form's field item_condition is named item_state"},
        {ShortListVariant, "the item form's list ship_days offers its first option only"},
        {CompletionTextVariant, "the completion page says another text and names its item link otherwise"},
        {MovedItemLinksVariant, "the unsold list links its items under /jp/item/ instead of /jp/auction/"},
        {LoginMoreVariant, "the login page asks for a one-time code too, and refuses a login without it"},
    };
    return all;
}

namespace {
QString variantLines() {
    QString lines;
    for (const Variant& v : variants()) lines += QString("                          %1: %2\n").arg(v.name, -17).arg(v.change);
    return lines;
}
} // namespace

QString usageText() {
    return "usage: zerkon-site [options]\n"
           "  --state FILE          write ports, hosts, certificate and pid there (JSON)\n"
           "  --http-port N         port of the auction host (0: a free one; default 0)\n"
           "  --https-port N        port of the login host (0: a free one; default 0)\n"
           "  --auction-host NAME   default auctions.sim.test (item pages on page.NAME)\n"
           "  --login-host NAME     default login.sim.test\n"
           "  --user ID --password PW   the seller's account\n"
           "  --current N --sold N --unsold N   seeded items of each kind (default 45, 25, 12)\n"
           "  --new-account         a seller who has just opened the account: no item of any kind\n"
           "  --page-size N         items per list page (default 20)\n"
           "  --seed FILE           the same as JSON: current, sold, unsold, pageSize, user, password\n"
           "  --store DIR           keep the site's items, auction IDs, pictures, relists and sales in DIR\n"
           "                        (owner-only) across starts; a new DIR starts with the seeded items,\n"
           "                        a used one as it was left (the seed options then change nothing).\n"
           "                        Without it nothing is kept: every start is a new site\n"
           "  --data-folder DIR     once running, write System.ini, FieldsDefine.ini, category.txt there\n"
           "  --excel-dir DIR       the workbook folder named in that System.ini (default: DIR itself)\n"
           "  --now yyyy-MM-ddTHH:mm:ss   start the site's clock at that time\n"
           "  --delay-ms N          answer every page N ms late\n"
           "  --log                 one line per request on standard error\n"
           "  --variant NAME        show changed pages, as a real site may change them (for tests of the\n"
           "                        site check); --list-variants prints the names:\n" + variantLines() +
           "zerkon-site --write-data-folder DIR --state FILE [--excel-dir D]\n"
           "  writes the data folder for the running site described by FILE and exits\n"
           "zerkon-site --write-data-folder DIR --http-port N --https-port M [host, account, --excel-dir options]\n"
           "  writes it for a site to be started later with those ports (no certificate pin) and exits\n";
}

QString parseOptions(const QStringList& args, SiteOptions& options, QString& writeDataFolderTo) {
    QString error;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        if (a == "--state") ok = takeText(args, i, options.stateFile, error);
        else if (a == "--http-port") ok = takeInt(args, i, options.httpPort, 0, error);
        else if (a == "--https-port") ok = takeInt(args, i, options.httpsPort, 0, error);
        else if (a == "--auction-host") ok = takeText(args, i, options.auctionHost, error);
        else if (a == "--login-host") ok = takeText(args, i, options.loginHost, error);
        else if (a == "--user") ok = takeText(args, i, options.user, error);
        else if (a == "--password") ok = takeText(args, i, options.password, error);
        else if (a == "--current") ok = takeInt(args, i, options.seed.current, 0, error);
        else if (a == "--sold") ok = takeInt(args, i, options.seed.sold, 0, error);
        else if (a == "--unsold") ok = takeInt(args, i, options.seed.unsold, 0, error);
        else if (a == "--new-account") options.seed = SeedCounts{0, 0, 0};
        else if (a == "--page-size") ok = takeInt(args, i, options.pageSize, 1, error);
        else if (a == "--store") ok = takeText(args, i, options.storeDir, error);
        else if (a == "--data-folder") ok = takeText(args, i, options.dataFolder, error);
        else if (a == "--excel-dir") ok = takeText(args, i, options.excelDir, error);
        else if (a == "--now") ok = takeText(args, i, options.now, error);
        else if (a == "--delay-ms") ok = takeInt(args, i, options.delayMs, 0, error);
        else if (a == "--log") options.log = true;
        else if (a == "--variant") {
            ok = takeText(args, i, options.variant, error);
            const auto& all = variants();
            if (ok && std::none_of(all.begin(), all.end(), [&](const Variant& v) { return options.variant == v.name; })) {
                error = "unknown variant " + options.variant + " (see --list-variants)";
                ok = false;
            }
        }
        else if (a == "--write-data-folder") ok = takeText(args, i, writeDataFolderTo, error);
        else if (a == "--seed") {
            QString path;
            ok = takeText(args, i, path, error);
            if (ok) {
                error = applySeedFile(options, path);
                ok = error.isEmpty();
            }
        } else {
            return "unknown option: " + a;
        }
        if (!ok) return error;
    }
    if (options.httpPort > 65535 || options.httpsPort > 65535) return "a port is out of range";
    options.auctionHost = options.auctionHost.toLower();
    options.loginHost = options.loginHost.toLower();
    if (!validHostName(options.auctionHost)) return "not a valid host name: " + options.auctionHost;
    if (!validHostName(options.loginHost)) return "not a valid host name: " + options.loginHost;
    if (options.auctionHost == options.loginHost) return "the login host must differ from the auction host";
    if (options.user.isEmpty()) return "the account needs an ID";
    if (!options.now.isEmpty() && !QDateTime::fromString(options.now, Qt::ISODate).isValid())
        return "--now wants yyyy-MM-ddTHH:mm:ss, not " + options.now;
    return {};
}

QString SiteInfo::auctionHost() const { return auctionHostName + ":" + QString::number(httpPort); }
QString SiteInfo::loginHost() const { return loginHostName + ":" + QString::number(httpsPort); }
QString SiteInfo::pageHost() const { return "page." + auctionHost(); }

QString SiteInfo::hostResolverRules() const {
    const QString suffix = ".sim.test";
    if (auctionHostName.endsWith(suffix) && loginHostName.endsWith(suffix))
        return "MAP *" + suffix + " 127.0.0.1";
    return "MAP " + loginHostName + " 127.0.0.1,MAP " + auctionHostName + " 127.0.0.1,MAP page." +
           auctionHostName + " 127.0.0.1";
}

QString SiteInfo::auctionTop() const { return "http://" + auctionHost() + "/jp"; }
QString SiteInfo::loginUrl() const {
    return "https://" + loginHost() + "/config/login?.lg=jp&.intl=jp&.src=auc&.done=" + auctionTop();
}
QString SiteInfo::listingUrl() const { return "http://" + auctionHost() + "/jp/show/submit?category="; }
QString SiteInfo::relistUrl() const { return "http://" + auctionHost() + "/jp/show/resubmit?aID="; }
QString SiteInfo::closedListUrl() const {
    return "http://" + auctionHost() + "/jp/show/mystatus?select=closed&hasWinner=";
}
QString SiteInfo::sellingListUrl() const { return "http://" + auctionHost() + "/jp/show/mystatus?select=selling"; }
QString SiteInfo::pictureUploadUrl() const { return "http://" + auctionHost() + "/jp/show/image"; }
QString SiteInfo::itemUrl(const QString& auctionId) const {
    return "http://" + pageHost() + "/jp/auction/" + auctionId;
}

QJsonObject SiteInfo::publicJson() const {
    return QJsonObject{
        {"pid", pid},
        {"http_port", httpPort},
        {"https_port", httpsPort},
        {"auction_host_name", auctionHostName},
        {"login_host_name", loginHostName},
        {"auction_host", auctionHost()},
        {"login_host", loginHost()},
        {"page_host", pageHost()},
        {"host_resolver_rules", hostResolverRules()},
        {"certificate", certificateFile},
        {"certificate_spki_sha256", certificateSpki},
        {"user", user},
        {"store", storeDir},
        {"login_url", loginUrl()},
        {"auction_top", auctionTop()},
        {"state_url", "http://127.0.0.1:" + QString::number(httpPort) + "/_sim/state"},
    };
}

QJsonObject SiteInfo::toJson() const {
    QJsonObject json = publicJson();
    json.insert("password", password);
    json.insert("control_token", controlToken);
    return json;
}

SiteInfo SiteInfo::fromJson(const QJsonObject& json) {
    SiteInfo info;
    info.pid = json.value("pid").toInteger();
    info.httpPort = json.value("http_port").toInt();
    info.httpsPort = json.value("https_port").toInt();
    info.auctionHostName = json.value("auction_host_name").toString();
    info.loginHostName = json.value("login_host_name").toString();
    info.certificateFile = json.value("certificate").toString();
    info.certificateSpki = json.value("certificate_spki_sha256").toString();
    info.user = json.value("user").toString();
    info.password = json.value("password").toString();
    info.controlToken = json.value("control_token").toString();
    info.storeDir = json.value("store").toString();
    return info;
}

bool writeStateFile(const QString& path, const SiteInfo& info) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // The account's password and the control token are in it: owner only.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(info.toJson()).toJson());
    return file.commit();
}

bool readStateFile(const QString& path, SiteInfo& info, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = "cannot read the state file " + path;
        return false;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (!doc.isObject()) {
        if (error) *error = "the state file is not JSON: " + path;
        return false;
    }
    info = SiteInfo::fromJson(doc.object());
    if (info.httpPort <= 0 || info.httpsPort <= 0 || info.auctionHostName.isEmpty() || info.loginHostName.isEmpty()) {
        if (error) *error = "the state file lacks ports or host names: " + path;
        return false;
    }
    return true;
}

} // namespace zk::site
