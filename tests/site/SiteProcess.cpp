#include "SiteProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QThread>
#include <httplib.h>
#include <signal.h>
#include <sys/prctl.h>

namespace zk::test {

QString SiteProcess::programPath() {
    const QString build = qEnvironmentVariable("ZERKON_BUILD_DIR");
    if (!build.isEmpty() && QFile::exists(build + "/zerkon-site")) return build + "/zerkon-site";
    return QCoreApplication::applicationDirPath() + "/zerkon-site";
}

SiteProcess::SiteProcess(QStringList extraArgs) : extraArgs_(std::move(extraArgs)) {
    // Into a file, so that a site that writes much never blocks on a full pipe.
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(dir_.filePath("site.log"));
}

QString SiteProcess::output() const {
    QFile log(dir_.filePath("site.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

SiteProcess::~SiteProcess() { stop(); }

QString SiteProcess::stateFile() const { return dir_.filePath("state.json"); }

QString SiteProcess::start() {
    if (!dir_.isValid()) return "no temporary folder";
    QFile::remove(stateFile());
    // The site ends with the test program, also when a test crashes before its clean-up.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start(programPath(), QStringList{"--state", stateFile()} + extraArgs_);
    if (!process_.waitForStarted(10000)) return "cannot start " + programPath() + ": " + process_.errorString();
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (QFile::exists(stateFile())) {
            QString error;
            if (site::readStateFile(stateFile(), info_, &error)) return {};
        }
        if (process_.state() == QProcess::NotRunning) break;
        QThread::msleep(10);
    }
    stop();
    return "the site did not come up: " + output();
}

int SiteProcess::stop() {
    if (process_.state() == QProcess::NotRunning) return process_.exitCode();
    // terminate() sends SIGTERM to our own child's pid.
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
        return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void SiteProcess::kill() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(10000);
}

bool SiteProcess::isRunning() const { return process_.state() != QProcess::NotRunning; }
qint64 SiteProcess::pid() const { return process_.processId(); }

namespace {
httplib::Headers controlHeaders(const site::SiteInfo& info) {
    return {{site::ControlTokenHeader, info.controlToken.toStdString()}};
}
} // namespace

QJsonObject siteState(const site::SiteInfo& info) {
    httplib::Client client("127.0.0.1", info.httpPort);
    const auto res = client.Get("/_sim/state", controlHeaders(info));
    if (!res || res->status != 200) return {};
    return QJsonDocument::fromJson(QByteArray::fromStdString(res->body)).object();
}

QJsonObject SiteProcess::state() const { return siteState(info_); }

int SiteProcess::control(const std::string& path, const std::string& query, std::string* body) const {
    httplib::Client client("127.0.0.1", info_.httpPort);
    const auto res = client.Post(("/_sim/" + path + "?" + query).c_str(), controlHeaders(info_), std::string(),
                                 "application/x-www-form-urlencoded");
    if (body) *body = res ? res->body : std::string();
    return res ? res->status : 0;
}

namespace {

struct Url {
    std::string scheme;
    std::string host;       // without port
    int port = 0;
    std::string target;     // path and query
};

bool parseUrl(const std::string& url, Url& out) {
    const size_t scheme = url.find("://");
    if (scheme == std::string::npos) return false;
    out.scheme = url.substr(0, scheme);
    const size_t hostStart = scheme + 3;
    size_t slash = url.find('/', hostStart);
    if (slash == std::string::npos) slash = url.size();
    std::string hostPort = url.substr(hostStart, slash - hostStart);
    out.target = slash < url.size() ? url.substr(slash) : "/";
    const size_t colon = hostPort.rfind(':');
    out.port = out.scheme == "https" ? 443 : 80;
    if (colon != std::string::npos) {
        out.port = std::atoi(hostPort.c_str() + colon + 1);
        hostPort.resize(colon);
    }
    out.host = hostPort;
    return true;
}

bool domainMatches(const std::string& host, const std::string& domain, bool hostOnly) {
    if (host == domain) return true;
    if (hostOnly) return false;
    return host.size() > domain.size() && host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
           host[host.size() - domain.size() - 1] == '.';
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

void SiteClient::keepCookies(const std::vector<std::string>& setCookies, const std::string& host) {
    for (const std::string& line : setCookies) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const size_t semi = line.find(';');
        Cookie cookie;
        const std::string name = line.substr(0, eq);
        cookie.value = line.substr(eq + 1, (semi == std::string::npos ? line.size() : semi) - eq - 1);
        cookie.domain = host;
        const std::string attrs = lower(line);
        const size_t domain = attrs.find("domain=");
        if (domain != std::string::npos) {
            size_t end = attrs.find(';', domain);
            if (end == std::string::npos) end = attrs.size();
            cookie.domain = attrs.substr(domain + 7, end - domain - 7);
            if (!cookie.domain.empty() && cookie.domain[0] == '.') cookie.domain.erase(0, 1);
            cookie.hostOnly = false;
        }
        cookies_[name] = cookie;
    }
}

std::string SiteClient::cookieHeader(const std::string& host) const {
    std::string header;
    for (const auto& [name, cookie] : cookies_) {
        if (!domainMatches(host, cookie.domain, cookie.hostOnly)) continue;
        if (!header.empty()) header += "; ";
        header += name + "=" + cookie.value;
    }
    return header;
}

std::string SiteClient::cookie(const std::string& name) const {
    const auto it = cookies_.find(name);
    return it == cookies_.end() ? std::string() : it->second.value;
}

SiteClient::Reply SiteClient::send(const std::string& method, const std::string& startUrl, const std::string& body,
                                   const std::string& contentType, bool follow) {
    Reply reply;
    std::string url = startUrl;
    std::string currentMethod = method;
    for (int hop = 0; hop < 10; ++hop) {
        Url u;
        if (!parseUrl(url, u)) return reply;
        httplib::Headers headers{{"Host", u.host + ":" + std::to_string(u.port)}};
        const std::string cookies = cookieHeader(u.host);
        if (!cookies.empty()) headers.emplace("Cookie", cookies);
        httplib::Result res(nullptr, httplib::Error::Unknown);
        if (u.scheme == "https") {
            httplib::SSLClient client("127.0.0.1", u.port);
            client.enable_server_certificate_verification(false);
            client.set_url_encode(false);
            res = currentMethod == "POST" ? client.Post(u.target.c_str(), headers, body, contentType.c_str())
                                          : client.Get(u.target.c_str(), headers);
        } else {
            httplib::Client client("127.0.0.1", u.port);
            client.set_url_encode(false);
            res = currentMethod == "POST" ? client.Post(u.target.c_str(), headers, body, contentType.c_str())
                                          : client.Get(u.target.c_str(), headers);
        }
        reply.url = url;
        if (!res) {
            reply.status = 0;
            reply.body.clear();
            return reply;
        }
        std::vector<std::string> setCookies;
        for (size_t i = 0; i < res->get_header_value_count("Set-Cookie"); ++i)
            setCookies.push_back(res->get_header_value("Set-Cookie", i));
        keepCookies(setCookies, u.host);
        reply.status = res->status;
        reply.body = res->body;
        if (res->status < 300 || res->status >= 400 || !follow) {
            if (res->has_header("Location")) reply.location = res->get_header_value("Location");
            return reply;
        }
        std::string location = res->get_header_value("Location");
        reply.location = location;
        if (!location.empty() && location[0] == '/') location = u.scheme + "://" + u.host + ":" + std::to_string(u.port) + location;
        url = location;
        currentMethod = "GET";
    }
    return reply;
}

SiteClient::Reply SiteClient::get(const std::string& url, bool follow) { return send("GET", url, {}, {}, follow); }

SiteClient::Reply SiteClient::post(const std::string& url, const Params& params, bool follow) {
    std::string body;
    for (const auto& [name, value] : params) {
        if (!body.empty()) body += '&';
        body += httplib::detail::encode_query_param(name) + "=" + httplib::detail::encode_query_param(value);
    }
    return send("POST", url, body, "application/x-www-form-urlencoded", follow);
}

SiteClient::Reply SiteClient::postMultipart(const std::string& url, const std::vector<Part>& parts) {
    Url u;
    Reply reply;
    if (!parseUrl(url, u)) return reply;
    httplib::Headers headers{{"Host", u.host + ":" + std::to_string(u.port)}};
    const std::string cookies = cookieHeader(u.host);
    if (!cookies.empty()) headers.emplace("Cookie", cookies);
    httplib::MultipartFormDataItems items;
    for (const Part& p : parts) items.push_back({p.name, p.content, p.filename, p.contentType});
    httplib::Client client("127.0.0.1", u.port);
    const auto res = client.Post(u.target.c_str(), headers, items);
    reply.url = url;
    if (!res) return reply;
    reply.status = res->status;
    reply.body = res->body;
    return reply;
}

SiteClient::Reply SiteClient::login(const std::string& user, const std::string& password, const std::string& done) {
    const std::string loginUrl = "https://" + info_.loginHost().toStdString() + "/config/login";
    return post(loginUrl, {{"login", user}, {"passwd", password}, {".done", done.empty() ? info_.auctionTop().toStdString() : done}});
}

namespace html {

namespace {
// The tag (from '<' to '>') around position pos.
std::string tagAround(const std::string& page, size_t pos) {
    const size_t open = page.rfind('<', pos);
    const size_t close = page.find('>', pos);
    if (open == std::string::npos || close == std::string::npos) return {};
    return page.substr(open, close - open + 1);
}

std::string attributeOf(const std::string& tag, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const size_t at = tag.find(key);
    if (at == std::string::npos) return {};
    const size_t start = at + key.size();
    return unescape(tag.substr(start, tag.find('"', start) - start));
}
} // namespace

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        static const std::pair<const char*, char> entities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'},
                                                                {"&quot;", '"'}, {"&#39;", '\''}};
        bool done = false;
        for (const auto& [entity, c] : entities) {
            if (text.compare(i, std::strlen(entity), entity) == 0) {
                out += c;
                i += std::strlen(entity) - 1;
                done = true;
                break;
            }
        }
        if (!done) out += '&';
    }
    return out;
}

std::string attributeNear(const std::string& page, const std::string& marker, const std::string& name) {
    const size_t pos = page.find(marker);
    if (pos == std::string::npos) return {};
    return attributeOf(tagAround(page, pos), name);
}

std::vector<std::string> attributesNear(const std::string& page, const std::string& marker, const std::string& name) {
    std::vector<std::string> values;
    for (size_t pos = page.find(marker); pos != std::string::npos; pos = page.find(marker, pos + marker.size()))
        values.push_back(attributeOf(tagAround(page, pos), name));
    return values;
}

std::string between(const std::string& page, const std::string& open, const std::string& close) {
    const size_t start = page.find(open);
    if (start == std::string::npos) return {};
    const size_t end = page.find(close, start + open.size());
    if (end == std::string::npos) return {};
    return page.substr(start + open.size(), end - start - open.size());
}

int count(const std::string& page, const std::string& needle) {
    int n = 0;
    for (size_t pos = page.find(needle); pos != std::string::npos; pos = page.find(needle, pos + needle.size())) ++n;
    return n;
}

std::vector<std::string> forms(const std::string& page) {
    std::vector<std::string> result;
    for (size_t pos = page.find("<form"); pos != std::string::npos; pos = page.find("<form", pos + 1)) {
        const size_t end = page.find("</form>", pos);
        result.push_back(page.substr(pos, end == std::string::npos ? std::string::npos : end + 7 - pos));
    }
    return result;
}

std::vector<std::string> optionValues(const std::string& page, const std::string& name) {
    const std::string select = between(page, "<select name=\"" + name + "\"", "</select>");
    return attributesNear(select, "<option", "value");
}

std::string title(const std::string& page) { return unescape(between(page, "<title>", "</title>")); }

} // namespace html

} // namespace zk::test
