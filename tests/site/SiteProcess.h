#pragma once
// Starts the practice site (build/zerkon-site) for a test, reads what it published, talks to it
// over real HTTP and HTTPS, and stops it by its pid when the test is done, also when it fails.
#include "site/SiteConfig.h"

#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <string>
#include <vector>

namespace zk::test {

class SiteProcess {
public:
    explicit SiteProcess(QStringList extraArgs = {});
    ~SiteProcess();
    SiteProcess(const SiteProcess&) = delete;
    SiteProcess& operator=(const SiteProcess&) = delete;

    // Starts the site and waits until its state file is there. Error text on failure.
    QString start();
    // SIGTERM to our own child, then waits; returns its exit code (-1 when it had to be killed).
    int stop();
    // SIGKILL to our own child: it ends at once, with no chance to write anything more.
    void kill();
    bool isRunning() const;
    qint64 pid() const;
    const site::SiteInfo& info() const { return info_; }
    QString stateFile() const;
    QString folder() const { return dir_.path(); }
    // What the site printed (its standard output and error).
    QString output() const;

    // GET /_sim/state, with the control token of the state file.
    QJsonObject state() const;
    // POST /_sim/<path> with a query and the control token; returns the HTTP status (0 when no
    // answer) and the answer's body in *body.
    int control(const std::string& path, const std::string& query, std::string* body = nullptr) const;

    static QString programPath();

private:
    QStringList extraArgs_;
    QTemporaryDir dir_;
    QProcess process_;
    site::SiteInfo info_;
};

// GET /_sim/state of any running site, with the control token of its state file; empty when it
// does not answer.
QJsonObject siteState(const site::SiteInfo& info);

// A browser-like client for the site: keeps cookies, follows redirects across the login and
// auction hosts, and sends each request to 127.0.0.1 with the right Host header.
class SiteClient {
public:
    struct Reply {
        int status = 0;          // 0: no answer (connection failed or dropped)
        std::string body;
        std::string url;         // the final address after redirects
        std::string location;    // the last redirect's target, if any
    };
    struct Part {
        std::string name;
        std::string content;
        std::string filename;
        std::string contentType;
    };
    using Params = std::vector<std::pair<std::string, std::string>>;

    explicit SiteClient(const site::SiteInfo& info) : info_(info) {}

    Reply get(const std::string& url, bool follow = true);
    Reply post(const std::string& url, const Params& params, bool follow = true);
    Reply postMultipart(const std::string& url, const std::vector<Part>& parts);
    // Logs in through the login page; the reply is the page after the redirects.
    Reply login(const std::string& user, const std::string& password, const std::string& done = {});

    std::string cookie(const std::string& name) const;
    void clearCookies() { cookies_.clear(); }

private:
    Reply send(const std::string& method, const std::string& url, const std::string& body,
               const std::string& contentType, bool follow);
    void keepCookies(const std::vector<std::string>& setCookies, const std::string& host);
    std::string cookieHeader(const std::string& host) const;

    site::SiteInfo info_;
    struct Cookie {
        std::string value;
        std::string domain;   // without leading dot; host-only when hostOnly
        bool hostOnly = true;
    };
    std::map<std::string, Cookie> cookies_;
};

// Small readers for the pages.
namespace html {
// The value of attribute `name` in the first tag that contains `marker`, or empty.
std::string attributeNear(const std::string& page, const std::string& marker, const std::string& name);
// All values of an attribute over the tags that contain `marker`.
std::vector<std::string> attributesNear(const std::string& page, const std::string& marker, const std::string& name);
// Text between the first `open` and the next `close`.
std::string between(const std::string& page, const std::string& open, const std::string& close);
// How often `needle` occurs.
int count(const std::string& page, const std::string& needle);
// The forms of the page, in order (each from "<form" to "</form>").
std::vector<std::string> forms(const std::string& page);
// The options' values of the select named `name`.
std::vector<std::string> optionValues(const std::string& page, const std::string& name);
std::string title(const std::string& page);
std::string unescape(const std::string& text);
} // namespace html

} // namespace zk::test
