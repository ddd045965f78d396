#include "site/SiteServer.h"

#include "platform/Clock.h"
#include "site/Catalog.h"
#include "site/Html.h"
#include "site/ListingForm.h"
#include "site/Pages.h"
#include "site/SiteTexts.h"
#include "site/WorkerPool.h"

#include <cstdlib>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <chrono>
#include <cstdio>
#include <httplib.h>
#include <openssl/crypto.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zk::site {
namespace {

using httplib::Request;
using httplib::Response;

constexpr const char* SessionCookie = "zk_session";
constexpr const char* LoginCookie = "zk_login";
constexpr const char* HtmlType = "text/html; charset=utf-8";
constexpr size_t MaxPictureBytes = 10 * 1024 * 1024;
// The open slow page: its longest wait and how many are answered at once.
constexpr int SlowPageLimitMs = 30000;
constexpr int SlowPagesAtOnce = 4;
// A listing form with every field and a 9,999-byte description percent-encoded stays far below.
constexpr size_t MaxFormBytes = 1024 * 1024;

std::string s(const QString& text) { return text.toStdString(); }

void sendPage(Response& res, const std::string& html, int status = 200) {
    res.status = status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(html, HtmlType);
}

void sendError(Response& res, const std::vector<std::string>& messages, int status = 400,
               const std::string& backHref = {}, const std::string& backText = {}) {
    sendPage(res, pages::error(messages, backHref, backText), status);
}

std::string cookieValue(const Request& req, const std::string& name) {
    const std::string header = req.get_header_value("Cookie");
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = header.find(';', pos);
        if (end == std::string::npos) end = header.size();
        std::string part = trimmed(header.substr(pos, end - pos));
        const size_t eq = part.find('=');
        if (eq != std::string::npos && part.substr(0, eq) == name) return part.substr(eq + 1);
        pos = end + 1;
    }
    return {};
}

// A form value from a urlencoded body or, for multipart bodies, from its parts.
std::string formValue(const Request& req, const std::string& name) {
    if (req.has_param(name)) return req.get_param_value(name);
    if (req.has_file(name)) return req.get_file_value(name).content;
    return {};
}

int pageNumber(const Request& req) {
    const long long n = parsePrice(req.get_param_value("apg"));
    return n >= 1 && n < 1000000 ? static_cast<int>(n) : 1;
}

// Whether the bytes start like a picture a browser shows; the content type is taken from them.
std::string pictureType(const std::string& bytes) {
    auto starts = [&](const char* magic, size_t n) { return bytes.size() >= n && bytes.compare(0, n, magic, n) == 0; };
    if (starts("\xFF\xD8\xFF", 3)) return "image/jpeg";
    if (starts("\x89PNG\r\n\x1A\n", 8)) return "image/png";
    if (starts("GIF87a", 6) || starts("GIF89a", 6)) return "image/gif";
    return {};
}

std::string extensionFor(const std::string& type) {
    if (type == "image/png") return ".png";
    if (type == "image/gif") return ".gif";
    return ".jpg";
}

// Control addresses anyone on the machine may use: they neither read nor change the state.
bool isOpenControl(const std::string& path) { return path == "/_sim/slow"; }

bool sameSecret(const std::string& given, const QString& expected) {
    const std::string want = expected.toStdString();
    return !want.empty() && given.size() == want.size() && CRYPTO_memcmp(given.data(), want.data(), want.size()) == 0;
}

// Fields of the entry form that steer the site rather than describe the item.
bool isControlField(const std::string& name) {
    return name == "draft" || name == "to_pictures" || name == "auc_submit1" || name == "category" ||
           name == "aID" || name == "auc_insertion_ok";
}

} // namespace

SiteServer::SiteServer(SiteOptions options) : options_(std::move(options)) {}

SiteServer::~SiteServer() { stop(); }

QString SiteServer::start() {
    if (!runtimeDir_.isValid()) return "cannot make a temporary folder";
    state_.user = s(options_.user);
    state_.password = s(options_.password);
    state_.pageSize = options_.pageSize;
    if (const QString error = openState(); !error.isEmpty()) return error;

    const QString pageHostName = "page." + options_.auctionHost;
    const QString error = certificate_.create({options_.loginHost, options_.auctionHost, pageHostName});
    if (!error.isEmpty()) return error;
    const QString certFile = runtimeDir_.filePath("login-cert.pem");
    QSaveFile pem(certFile);
    if (!pem.open(QIODevice::WriteOnly) || pem.write(certificate_.pem()) < 0 || !pem.commit())
        return "cannot write the certificate to " + certFile;

    http_ = std::make_unique<httplib::Server>();
    https_ = std::make_unique<httplib::SSLServer>(certificate_.certificate(), certificate_.privateKey());
    if (!https_->is_valid()) return "the HTTPS server does not accept the certificate";

    for (httplib::Server* server : {http_.get(), static_cast<httplib::Server*>(https_.get())}) {
        // Headers and body go out in separate writes; without this a kept-alive connection
        // waits for the peer's delayed acknowledgement before each page's body.
        server->set_tcp_nodelay(true);
        // A browser keeps several connections open per host, slow pages hold theirs, and a
        // connection that sends nothing holds a worker until the keep-alive time ends: workers
        // are added as connections come, and a silent connection is let go after 2 s.
        server->new_task_queue = [] { return new WorkerPool(8, 256); };
        server->set_keep_alive_timeout(2);
        if (options_.log)
            server->set_logger([](const Request& req, const Response& res) {
                std::fprintf(stderr, "%s %s %s -> %d\n", req.method.c_str(), req.get_header_value("Host").c_str(),
                             req.target.c_str(), res.status);
            });
    }
    auto bind = [](httplib::Server& server, int port) -> int {
        auto listening = std::make_shared<socket_t>(INVALID_SOCKET);
        // Address reuse only: a second site must not share a port that one already serves.
        server.set_socket_options([listening](socket_t sock) {
            int yes = 1;
            setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            *listening = sock;
        });
        const int bound = port == 0 ? server.bind_to_any_port("127.0.0.1")
                                    : (server.bind_to_port("127.0.0.1", port) ? port : -1);
        // The library's accept queue holds 5 connections; when many arrive at once, the ones
        // beyond it wait for the client to retry (a second and more). Listening again on the
        // same socket makes the queue longer.
        if (bound > 0 && *listening != INVALID_SOCKET) ::listen(*listening, 1024);
        return bound;
    };
    const int httpPort = bind(*http_, options_.httpPort);
    if (httpPort <= 0) return "cannot listen on 127.0.0.1:" + QString::number(options_.httpPort);
    const int httpsPort = bind(*https_, options_.httpsPort);
    if (httpsPort <= 0) return "cannot listen on 127.0.0.1:" + QString::number(options_.httpsPort);

    info_.pid = getpid();
    info_.httpPort = httpPort;
    info_.httpsPort = httpsPort;
    info_.auctionHostName = options_.auctionHost;
    info_.loginHostName = options_.loginHost;
    info_.certificateFile = certFile;
    info_.certificateSpki = certificate_.spkiSha256();
    info_.user = options_.user;
    info_.password = options_.password;
    // Only readers of the owner-only state file learn it.
    info_.controlToken = QString::fromStdString(randomToken(16));
    info_.storeDir = QString::fromStdString(state_.storeDir);
    info_.variant = options_.variant;

    for (httplib::Server* server : {http_.get(), static_cast<httplib::Server*>(https_.get())}) {
        server->set_payload_max_length(4 * MaxPictureBytes);

        server->set_exception_handler([](const Request&, Response& res, std::exception_ptr) {
            sendError(res, {texts::ServerError}, 500);
        });
    }
    // A request answered before routing leaves its body unread: its connection must carry no
    // other request, or the rest of the body would be taken for the browser's next one.
    const auto answered = [](const Request& req, Response& res) {
        if (req.has_header("Transfer-Encoding") || std::atoll(req.get_header_value("Content-Length").c_str()) > 0)
            res.set_header("Connection", "close");
        return httplib::Server::HandlerResponse::Handled;
    };
    http_->set_pre_routing_handler([this, answered](const Request& req, Response& res) {
        return preRoute(req, res, false) ? answered(req, res) : httplib::Server::HandlerResponse::Unhandled;
    });
    https_->set_pre_routing_handler([this, answered](const Request& req, Response& res) {
        return preRoute(req, res, true) ? answered(req, res) : httplib::Server::HandlerResponse::Unhandled;
    });
    for (httplib::Server* server : {http_.get(), static_cast<httplib::Server*>(https_.get())})
        server->set_error_handler([](const Request&, Response& res) {
            if (res.status == 404 && res.body.empty()) sendError(res, {texts::NotFound}, 404);
            // A body over the payload limit is refused by the library before any handler runs.
            if (res.status == 413 && res.body.empty()) sendError(res, {texts::FormTooLarge}, 413);
        });
    routeAuction();
    routeControl();
    routeLogin();
    return {};
}

QString SiteServer::openState() {
    bool seeded = false;
    if (options_.storeDir.isEmpty()) {
        // Nothing kept: the pictures live in the run's own folder and go with it.
        state_.storeDir = s(runtimeDir_.filePath("pictures"));
        if (!QDir().mkpath(QString::fromStdString(state_.storeDir)))
            return "cannot make the picture folder " + QString::fromStdString(state_.storeDir);
    } else if (const QString error = state_.openStore(options_.storeDir, &seeded); !error.isEmpty()) {
        return error;
    }
    // The sample items are made once for a store, at its first start or after it was emptied.
    if (seeded) return {};
    state_.seed(options_.seed.current, options_.seed.sold, options_.seed.unsold, clock::now());
    return state_.keepAll();
}

void SiteServer::serve() {
    httpThread_ = std::thread([this] {
        http_->listen_after_bind();
        httpEnded_ = true;
    });
    httpsThread_ = std::thread([this] {
        https_->listen_after_bind();
        httpsEnded_ = true;
    });
}

bool SiteServer::pause(std::chrono::milliseconds length) {
    std::unique_lock<std::mutex> lock(pauseMutex_);
    return !pauseWake_.wait_for(lock, length, [this] { return stopping_; });
}

void SiteServer::stop() {
    {
        std::lock_guard<std::mutex> lock(pauseMutex_);
        stopping_ = true;
    }
    pauseWake_.notify_all();
    // A server takes a stop only once its thread has begun to listen; one sent before (a SIGTERM
    // right after the start) would be lost and the join below would wait for ever.
    auto stopOne = [](httplib::Server* server, std::thread& thread, const std::atomic<bool>& ended) {
        if (!server) return;
        if (thread.joinable())
            while (!server->is_running() && !ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        server->stop();
        if (thread.joinable()) thread.join();
    };
    stopOne(http_.get(), httpThread_, httpEnded_);
    stopOne(https_.get(), httpsThread_, httpsEnded_);
}

std::string SiteServer::requestHost(const Request& req) const {
    std::string host = req.get_header_value("Host");
    const size_t colon = host.rfind(':');
    if (colon != std::string::npos && host.find(']') == std::string::npos) host.resize(colon);
    for (char& c : host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return host;
}

// Answers requests for hosts this server does not serve, and applies the fault switches.
// Returns true when the request has been answered.
bool SiteServer::preRoute(const Request& req, Response& res, bool loginServer) {
    const std::string host = requestHost(req);
    const bool control = req.path.rfind("/_sim/", 0) == 0;
    if (loginServer) {
        if (host != s(info_.loginHostName)) {
            sendError(res, {texts::UnknownHost}, 404);
            return true;
        }
    } else if (control) {
        if (isOpenControl(req.path) || sameSecret(req.get_header_value(ControlTokenHeader), info_.controlToken))
            return false;
        res.status = 403;
        res.set_content(std::string("the control addresses need the header ") + ControlTokenHeader +
                            " with the control_token of the site's state file\n",
                        "text/plain");
        return true;
    } else if (host != s(info_.auctionHostName) && host != "page." + s(info_.auctionHostName)) {
        sendError(res, {texts::UnknownHost}, 404);
        return true;
    }

    int delay = options_.delayMs;
    bool drop = false;
    bool fail = false;
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        Faults& f = state_.faults;
        auto take = [&](FaultRule& rule) {
            // The address with its query, so that a fault can pick one page of a list.
            if (!rule.matches(req.target, req.method)) return false;
            if (rule.count > 0) --rule.count;
            return true;
        };
        if (take(f.delay)) delay += f.delay.delayMs;
        drop = take(f.drop);
        fail = !drop && take(f.error);
    }
    if (delay > 0) pause(std::chrono::milliseconds(delay));
    if (drop) {
        // Promise a body and close the connection before sending it.
        res.set_content_provider(1024, HtmlType, [](size_t, size_t, httplib::DataSink&) { return false; });
        return true;
    }
    if (fail) {
        sendError(res, {texts::ServerError}, 500);
        return true;
    }
    return false;
}

std::string SiteServer::sessionOf(const Request& req) {
    const std::string token = cookieValue(req, SessionCookie);
    if (token.empty() || !state_.session(token)) return {};
    return token;
}

bool SiteServer::requireSession(const Request& req, Response& res, std::string& session) {
    session = sessionOf(req);
    if (!session.empty()) return true;
    if (req.method == "GET") {
        const std::string here = "http://" + req.get_header_value("Host") + req.target;
        res.set_redirect("https://" + s(info_.loginHost()) + "/config/login?.lg=jp&.intl=jp&.src=auc&.done=" +
                         html::urlEncode(here));
    } else {
        sendError(res, {texts::LoginRequired}, 403, s(info_.loginUrl()), texts::LoginTitle);
    }
    return false;
}

// Only addresses on the site's own hosts are followed after a login.
std::string SiteServer::safeDone(const std::string& done) const {
    for (const QString& host : {info_.auctionHost(), info_.pageHost()}) {
        const std::string prefix = "http://" + s(host) + "/";
        if (done.rfind(prefix, 0) == 0 || done == "http://" + s(host)) return done;
    }
    return s(info_.auctionTop());
}

void SiteServer::routeLogin() {
    https_->Get("/", [this](const Request&, Response& res) { res.set_redirect(s(info_.loginUrl())); });
    https_->Get("/config/login", [this](const Request& req, Response& res) {
        sendPage(res, pages::login(req.get_param_value(".done"), {}, {}, info_.shows(LoginMoreVariant)));
    });
    https_->Post("/config/login", [this](const Request& req, Response& res) {
        const std::string user = req.get_param_value(texts::LoginField);
        const std::string password = req.get_param_value(texts::PasswordField);
        // The login that asks for more refuses whoever does not give it.
        const bool codeMissing = info_.shows(LoginMoreVariant) && req.get_param_value(texts::OneTimeCodeField).empty();
        const std::string done = safeDone(req.get_param_value(".done"));
        std::lock_guard<std::mutex> lock(state_.mutex);
        const bool ok = user == state_.user && password == state_.password && !codeMissing;
        state_.logins.push_back({clock::now(), user, ok});
        if (!ok) {
            sendPage(res, pages::login(req.get_param_value(".done"), texts::LoginFailed, user, info_.shows(LoginMoreVariant)), 200);
            return;
        }
        const std::string session = state_.newSession(user, clock::now());
        const std::string handoff = state_.newHandoff(session, done);
        res.set_header("Set-Cookie", std::string(LoginCookie) + "=" + session + "; Path=/; Secure; HttpOnly; SameSite=Lax");
        // The auction host sets its own cookie from a one-time token, so the session never
        // depends on a cookie crossing scheme or port.
        res.set_redirect("http://" + s(info_.auctionHost()) + "/config/session?t=" + handoff);
    });
}

std::function<void(const Request&, Response&)> SiteServer::seller(SellerPage page) {
    return [this, page](const Request& req, Response& res) {
        std::lock_guard<std::mutex> lock(state_.mutex);
        std::string session;
        if (requireSession(req, res, session)) (this->*page)(req, res, session);
    };
}

void SiteServer::routeAuction() {
    httplib::Server& srv = *http_;
    srv.Get("/", [](const Request&, Response& res) { res.set_redirect("/jp"); });
    srv.Get("/config/session", [this](const Request& req, Response& res) { sessionHandoff(req, res); });
    srv.Get("/jp", seller(&SiteServer::topPage));
    // The listing address: the category code follows "category=".
    srv.Get("/jp/show/submit", seller(&SiteServer::categoryPage));
    postForm("/jp/show/submit", seller(&SiteServer::startListing));
    srv.Get("/jp/show/submit/form", seller(&SiteServer::backToForm));
    postForm("/jp/show/submit/form", seller(&SiteServer::backToForm));
    srv.Get("/jp/show/image", seller(&SiteServer::picturePage));
    postForm("/jp/show/image", seller(&SiteServer::picturePage));
    postForm("/jp/show/image/upload", seller(&SiteServer::upload));
    postForm("/jp/show/preview", seller(&SiteServer::previewPage));
    srv.Get("/jp/config/submit", seller(&SiteServer::completionPage));
    postForm("/jp/config/submit", seller(&SiteServer::finishListing));
    srv.Get("/jp/show/resubmit", seller(&SiteServer::relistPage));
    postForm("/jp/show/resubmit", seller(&SiteServer::startRelist));
    srv.Get("/jp/show/mystatus", seller(&SiteServer::listPage));
    srv.Get(R"(/jp/auction/([A-Za-z0-9]+))", [this](const Request& req, Response& res) { itemPage(req, res); });
    // Where the unsold list of the moved-links variant sends its items.
    if (info_.shows(MovedItemLinksVariant))
        srv.Get(R"(/jp/item/([A-Za-z0-9]+))", [this](const Request& req, Response& res) { itemPage(req, res); });
    srv.Get(R"(/jp/image/([A-Za-z0-9_]+\.(jpg|png|gif)))", [this](const Request& req, Response& res) { picture(req, res); });
}

// The library refuses a form-encoded body over 8 KB whatever the payload limit says (the cap is
// built into the shared library), which a real description exceeds. The seller's forms are read
// here instead: form-encoded bodies up to MaxFormBytes, multipart ones up to the payload limit,
// whose text fields are also kept as parameters so that either encoding fills a draft.
void SiteServer::postForm(const std::string& pattern, Handler handler) {
    http_->Post(pattern, [handler](const Request& req, Response& res, const httplib::ContentReader& reader) {
        Request form = req;
        bool read = false;
        if (req.is_multipart_form_data()) {
            auto part = form.files.end();
            read = reader(
                [&](const httplib::MultipartFormData& header) {
                    part = form.files.emplace(header.name, header);
                    return true;
                },
                [&](const char* data, size_t length) {
                    part->second.content.append(data, length);
                    return true;
                });
            for (const auto& [name, field] : form.files)
                if (field.filename.empty()) form.params.emplace(name, field.content);
        } else {
            bool tooLarge = false;
            // The whole body is read even when it is too large: what is left unread would be
            // taken for the connection's next request.
            read = reader([&](const char* data, size_t length) {
                tooLarge = tooLarge || form.body.size() + length > MaxFormBytes;
                if (!tooLarge) form.body.append(data, length);
                return true;
            });
            if (read && tooLarge) {
                sendError(res, {texts::FormTooLarge}, 413);
                return;
            }
            if (req.get_header_value("Content-Type").rfind("application/x-www-form-urlencoded", 0) == 0)
                httplib::detail::parse_query_text(form.body, form.params);
        }
        if (!read) {
            // The library stops at its payload limit with 413; otherwise the sender went away.
            if (res.status == 413) sendError(res, {texts::FormTooLarge}, 413);
            else sendError(res, {texts::ServerError}, 400);
            return;
        }
        handler(form, res);
    });
}

void SiteServer::sessionHandoff(const Request& req, Response& res) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    const SiteState::Handoff handoff = state_.takeHandoff(req.get_param_value("t"));
    if (handoff.session.empty()) {
        sendError(res, {texts::LoginRequired}, 403, s(info_.loginUrl()), texts::LoginTitle);
        return;
    }
    res.set_header("Set-Cookie", std::string(SessionCookie) + "=" + handoff.session + "; Domain=" +
                                     s(info_.auctionHostName) + "; Path=/; HttpOnly; SameSite=Lax");
    res.set_redirect(safeDone(handoff.done));
}

void SiteServer::topPage(const Request&, Response& res, const std::string& session) {
    sendPage(res, pages::top(info_, state_.session(session)->user));
}

void SiteServer::categoryPage(const Request& req, Response& res, const std::string&) {
    const std::string code = req.get_param_value("category");
    if (!isKnownCategory(code)) {
        sendError(res, {texts::UnknownCategory}, 404, s(info_.auctionTop()), texts::TopTitle);
        return;
    }
    sendPage(res, pages::categoryConfirm(code));
}

void SiteServer::startListing(const Request& req, Response& res, const std::string& session) {
    const std::string code = req.get_param_value("category");
    if (!isKnownCategory(code)) {
        sendError(res, {texts::UnknownCategory}, 404, s(info_.auctionTop()), texts::TopTitle);
        return;
    }
    const Draft& draft = state_.newDraft(session, code, clock::now());
    showEntryForm(req, session, draft.id, res);
}

void SiteServer::backToForm(const Request& req, Response& res, const std::string& session) {
    showEntryForm(req, session, req.get_param_value("draft"), res);
}

Draft* SiteServer::openDraft(const std::string& id, const std::string& session, Response& res) {
    Draft* draft = state_.draft(id, session);
    if (!draft || draft->submitted) {
        sendError(res, {texts::UnknownDraft}, 404, s(info_.auctionTop()), texts::TopTitle);
        return nullptr;
    }
    return draft;
}

void SiteServer::picturePage(const Request& req, Response& res, const std::string& session) {
    Draft* draft = openDraft(req.get_param_value("draft"), session, res);
    if (!draft) return;
    // Sent from the entry form: keep what was typed.
    if (req.method == "POST") takeFormFields(req, *draft);
    sendPage(res, pages::picturePage(info_, *draft, {}));
}

void SiteServer::previewPage(const Request& req, Response& res, const std::string& session) {
    Draft* draft = openDraft(req.get_param_value("draft"), session, res);
    if (!draft) return;
    takeFormFields(req, *draft);
    Item parsed;
    const auto errors = validateListing(draft->fields, draft->category, clock::now(), draft->createdAt, parsed);
    if (!errors.empty()) {
        sendError(res, errors, 400, "/jp/show/submit/form?draft=" + draft->id, texts::BackToEntryButton);
        return;
    }
    sendPage(res, pages::preview(info_, *draft, parsed));
}

const Item* SiteServer::relistable(const std::string& id, const std::string& session, Response& res) {
    const Item* item = state_.item(id);
    if (!item || item->status != ItemStatus::Unsold || item->seller != state_.session(session)->user) {
        sendError(res, {texts::NotRelistable}, 404, s(info_.auctionTop()), texts::TopTitle);
        return nullptr;
    }
    return item;
}

void SiteServer::completionPage(const Request& req, Response& res, const std::string& session) {
    const Item* item = state_.item(req.get_param_value("aID"));
    // Another seller's item is as unknown as an ID never given.
    if (!item || item->seller != state_.session(session)->user) {
        sendError(res, {texts::UnknownAuction}, 404, s(info_.auctionTop()), texts::TopTitle);
        return;
    }
    sendPage(res, pages::complete(info_, *item));
}

void SiteServer::relistPage(const Request& req, Response& res, const std::string& session) {
    if (const Item* item = relistable(req.get_param_value("aID"), session, res))
        sendPage(res, pages::relistConfirm(info_, *item));
}

void SiteServer::startRelist(const Request& req, Response& res, const std::string& session) {
    const Item* item = relistable(req.get_param_value("aID"), session, res);
    if (!item) return;
    if (!item->relistedAs.empty()) {
        sendPage(res, pages::relistConfirm(info_, *item));
        return;
    }
    Draft& draft = state_.newDraft(session, item->category, clock::now());
    draft.relistOf = item->id;
    draft.fields = item->fields;
    draft.fields[texts::TitleField] = item->title;
    draft.fields[texts::DescriptionField] = item->description;
    draft.fields["html_mode"] = item->htmlDescription ? "1" : "0";
    draft.fields[texts::StartPriceField] = std::to_string(item->startPrice);
    draft.fields[texts::BuyNowPriceField] = item->buyNowPrice ? std::to_string(item->buyNowPrice) : "";
    // The old closing date has passed; the form offers new ones.
    draft.fields.erase(texts::ClosingDate);
    draft.fields.erase(texts::ClosingTime);
    draft.fields.erase("salesmode");
    draft.pictures = item->pictures;
    showEntryForm(req, session, draft.id, res);
}

void SiteServer::listPage(const Request& req, Response& res, const std::string&) {
    pages::ListKind kind = pages::ListKind::Selling;
    ItemStatus status = ItemStatus::Selling;
    if (req.get_param_value("select") == "closed") {
        const bool sold = req.get_param_value("hasWinner") == "1";
        kind = sold ? pages::ListKind::Sold : pages::ListKind::Unsold;
        status = sold ? ItemStatus::Sold : ItemStatus::Unsold;
    }
    sendPage(res, pages::itemList(info_, kind, state_.list(status), pageNumber(req), state_.pageSize));
}

void SiteServer::itemPage(const Request& req, Response& res) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    const Item* item = state_.item(req.matches[1]);
    if (!item) {
        sendError(res, {texts::UnknownAuction}, 404);
        return;
    }
    sendPage(res, pages::itemPage(info_, *item));
}

void SiteServer::picture(const Request& req, Response& res) {
    QFile file(QDir(QString::fromStdString(state_.storeDir)).filePath(QString::fromStdString(req.matches[1])));
    if (!file.open(QIODevice::ReadOnly)) {
        sendError(res, {texts::NotFound}, 404);
        return;
    }
    const QByteArray bytes = file.readAll();
    const std::string data(bytes.constData(), static_cast<size_t>(bytes.size()));
    const std::string type = pictureType(data);
    res.set_content(data, type.empty() ? "application/octet-stream" : type);
}

void SiteServer::showEntryForm(const Request& req, const std::string& session, const std::string& draftId,
                               Response& res) {
    Draft* draft = openDraft(draftId, session, res);
    if (!draft) return;
    const QDateTime now = clock::now();
    // The closing lists are built now; a slot offered now stays acceptable at submission.
    draft->createdAt = now;
    // The seller's pages run under the state's lock: the fault is taken here.
    int resetMs = -1;
    if (FaultRule& reset = state_.faults.reset; reset.matches(req.target, req.method)) {
        if (reset.count > 0) --reset.count;
        resetMs = std::max(0, reset.delayMs);
    }
    sendPage(res, pages::entryForm(info_, *draft, now, resetMs));
}

void SiteServer::takeFormFields(const Request& req, Draft& draft) {
    // The form sends all of its fields; an unchecked box is absent, so the old values go.
    FieldMap fields;
    for (const auto& [name, value] : req.params)
        if (!isControlField(name) && !fields.count(name)) fields[name] = value;
    draft.fields = fields;
}

void SiteServer::upload(const Request& req, Response& res, const std::string& session) {
    Draft* draft = openDraft(formValue(req, "draft"), session, res);
    if (!draft) return;
    std::vector<std::string> errors;
    // Pictures taken out of a slot, removed or replaced; their files go once nothing shows them.
    std::vector<std::string> dropped;
    auto takeOut = [&](long long slot) {
        auto& pics = draft->pictures;
        for (const Picture& p : pics)
            if (p.slot == slot) dropped.push_back(p.storedName);
        pics.erase(std::remove_if(pics.begin(), pics.end(), [&](const Picture& p) { return p.slot == slot; }),
                   pics.end());
    };
    const long long removeSlot = parsePrice(formValue(req, "remove"));
    if (removeSlot >= 1 && removeSlot <= 3) takeOut(removeSlot);
    for (int slot = 1; slot <= 3; ++slot) {
        const std::string name = "ImageFile" + std::to_string(slot);
        if (!req.has_file(name)) continue;
        const httplib::MultipartFormData file = req.get_file_value(name);
        if (file.filename.empty() && file.content.empty()) continue;   // an input left empty
        const std::string type = pictureType(file.content);
        if (type.empty()) {
            errors.push_back(file.filename + "：" + texts::PictureNotImage);
            continue;
        }
        if (file.content.size() > MaxPictureBytes) {
            errors.push_back(file.filename + "：" + texts::PictureTooLarge);
            continue;
        }
        Picture picture;
        picture.slot = slot;
        picture.originalName = file.filename;
        // Draft numbers start again with the site; a kept item's picture is never written over.
        const QDir folder(QString::fromStdString(state_.storeDir));
        do picture.storedName = draft->id + "_" + std::to_string(slot) + "_" + randomToken(4) + extensionFor(type);
        while (folder.exists(QString::fromStdString(picture.storedName)));
        picture.contentType = type;
        picture.size = file.content.size();
        const QString path = folder.filePath(QString::fromStdString(picture.storedName));
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(file.content.data(), static_cast<qint64>(file.content.size())) < 0 || !out.commit() ||
            !QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            errors.push_back(file.filename + "：" + texts::ServerError);
            continue;
        }
        takeOut(slot);
        draft->pictures.push_back(picture);
    }
    const QDir store(QString::fromStdString(state_.storeDir));
    for (const std::string& name : dropped)
        if (!state_.pictureInUse(name)) QFile::remove(store.filePath(QString::fromStdString(name)));
    std::sort(draft->pictures.begin(), draft->pictures.end(),
              [](const Picture& a, const Picture& b) { return a.slot < b.slot; });
    sendPage(res, pages::picturePage(info_, *draft, errors), errors.empty() ? 200 : 400);
}

void SiteServer::finishListing(const Request& req, Response& res, const std::string& session) {
    Draft* draft = openDraft(req.get_param_value("draft"), session, res);
    if (!draft) return;
    const QDateTime now = clock::now();
    Item item;
    const auto errors = validateListing(draft->fields, draft->category, now, draft->createdAt, item);
    if (!errors.empty()) {
        sendError(res, errors, 400, "/jp/show/submit/form?draft=" + draft->id, texts::BackToEntryButton);
        return;
    }
    Item* original = nullptr;
    if (!draft->relistOf.empty()) {
        original = state_.item(draft->relistOf);
        if (!original || original->status != ItemStatus::Unsold || !original->relistedAs.empty()) {
            sendError(res, {texts::NotRelistable}, 409, s(info_.auctionTop()), texts::TopTitle);
            return;
        }
    }
    item.id = state_.nextAuctionId();
    item.seller = state_.session(session)->user;
    item.listedAt = now;
    item.status = ItemStatus::Selling;
    item.relistOf = draft->relistOf;
    item.pictures = draft->pictures;
    // The relisted item as it will be, and the relist's record.
    Item ended;
    std::vector<RelistRecord> relist;
    if (original) {
        ended = *original;
        ended.relistedAs = item.id;
        item.relistCount = original->relistCount + 1;
        item.priceHistory = original->priceHistory;
        if (item.priceHistory.empty()) item.priceHistory.push_back({original->startPrice, original->buyNowPrice});
        item.priceHistory.push_back({item.startPrice, item.buyNowPrice});
        relist.push_back({original->id, item.id, now, original->startPrice, original->buyNowPrice, item.startPrice,
                          item.buyNowPrice});
    }
    // Kept first: a listing the store could not take is refused, not shown as done.
    if (!keepOrRefuse({&item, original ? &ended : nullptr}, relist, res)) return;
    draft->submitted = true;
    draft->resultId = item.id;
    if (original) *original = ended;
    state_.relists.insert(state_.relists.end(), relist.begin(), relist.end());
    state_.items.push_back(item);
    sendPage(res, pages::complete(info_, state_.items.back()));
}

bool SiteServer::keepOrRefuse(const std::vector<const Item*>& changed, const std::vector<RelistRecord>& relists,
                              Response& res) {
    const QString error = state_.keep(changed, relists);
    if (error.isEmpty()) return true;
    std::fprintf(stderr, "zerkon-site: %s\n", qPrintable(error));
    sendError(res, {texts::ServerError}, 500);
    return false;
}

void SiteServer::routeControl() {
    httplib::Server& srv = *http_;
    srv.Get("/_sim/state", [this](const Request&, Response& res) {
        QJsonObject json;
        {
            std::lock_guard<std::mutex> lock(state_.mutex);
            json = state_.toJson();
        }
        json.insert("site", info_.publicJson());
        res.set_content(QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString(), "application/json");
    });

    // Fault switches: kind=delay|error|drop|reset, count (default 1, -1 = until cleared), path (a
    // part of the address the fault applies to; default all pages), method (GET or POST; default
    // both), ms (for delay; for reset, how long after its load the entry form takes its sales
    // mode back).
    srv.Post("/_sim/fault", [this](const Request& req, Response& res) {
        const std::string kind = req.get_param_value("kind");
        FaultRule rule;
        rule.count = req.has_param("count") ? std::atoi(req.get_param_value("count").c_str()) : 1;
        rule.path = req.get_param_value("path");
        rule.delayMs = std::atoi(req.get_param_value("ms").c_str());
        rule.method = req.get_param_value("method");
        std::lock_guard<std::mutex> lock(state_.mutex);
        if (kind == "delay") state_.faults.delay = rule;
        else if (kind == "error") state_.faults.error = rule;
        else if (kind == "drop") state_.faults.drop = rule;
        else if (kind == "reset") state_.faults.reset = rule;
        else if (kind == "clear") state_.faults = Faults{};
        else {
            res.status = 400;
            res.set_content("kind must be delay, error, drop, reset or clear\n", "text/plain");
            return;
        }
        res.set_content("ok\n", "text/plain");
    });

    // Ends an auction now: winner=1 sells it (price optional), winner=0 leaves it unsold.
    srv.Post("/_sim/close", [this](const Request& req, Response& res) {
        std::lock_guard<std::mutex> lock(state_.mutex);
        Item* current = state_.item(req.get_param_value("aID"));
        if (!current || current->status != ItemStatus::Selling) {
            res.status = 404;
            res.set_content("no current auction with that ID\n", "text/plain");
            return;
        }
        Item item = *current;
        item.endedAt = clock::now();
        item.endedAt.setTime(QTime(item.endedAt.time().hour(), item.endedAt.time().minute()));
        if (req.get_param_value("winner") == "1") {
            item.status = ItemStatus::Sold;
            const long long price = parsePrice(req.get_param_value("price"));
            item.finalPrice = price > 0 ? price : item.startPrice;
            item.winner = req.has_param("bidder") ? req.get_param_value("bidder") : "bidder_01";
        } else {
            item.status = ItemStatus::Unsold;
        }
        if (!keepOrRefuse({&item}, {}, res)) return;
        *current = item;
        res.set_content("ok\n", "text/plain");
    });

    // An item's prices now (start, and buy=0 for none): items at a relist's floor, for example.
    srv.Post("/_sim/price", [this](const Request& req, Response& res) {
        std::lock_guard<std::mutex> lock(state_.mutex);
        Item* item = state_.item(req.get_param_value("aID"));
        const long long start = parsePrice(req.get_param_value("start"));
        const long long buy = req.has_param("buy") ? parsePrice(req.get_param_value("buy")) : item ? item->buyNowPrice : 0;
        if (!item) {
            res.status = 404;
            res.set_content("no auction with that ID\n", "text/plain");
            return;
        }
        if (start <= 0 || buy < 0 || (buy > 0 && buy < start)) {
            res.status = 400;
            res.set_content("start must be a price, buy none (0) or a price not below it\n", "text/plain");
            return;
        }
        item->startPrice = start;
        item->buyNowPrice = buy;
        res.set_content("ok\n", "text/plain");
    });

    // The shape of an item in the seller's lists: shape=picture|redirect|slash|noprice.
    srv.Post("/_sim/listshape", [this](const Request& req, Response& res) {
        std::lock_guard<std::mutex> lock(state_.mutex);
        Item* current = state_.item(req.get_param_value("aID"));
        const std::string shape = req.get_param_value("shape");
        if (!current) {
            res.status = 404;
            res.set_content("no auction with that ID\n", "text/plain");
            return;
        }
        Item item = *current;
        if (shape == "picture") item.listShape.pictureLink = true;
        else if (shape == "redirect") item.listShape.redirectLink = true;
        else if (shape == "slash") item.listShape.trailingSlash = true;
        else if (shape == "noprice") item.listShape.emptyPrice = true;
        else {
            res.status = 400;
            res.set_content("shape must be picture, redirect, slash or noprice\n", "text/plain");
            return;
        }
        if (!keepOrRefuse({&item}, {}, res)) return;
        *current = item;
        res.set_content("ok\n", "text/plain");
    });

    // Starts afresh: every item, relist, draft and picture gone, the sample items made again.
    // The sessions stay, and the auction IDs go on from where they were.
    srv.Post("/_sim/reset", [this](const Request&, Response& res) {
        std::lock_guard<std::mutex> lock(state_.mutex);
        QString error = state_.clear();
        if (error.isEmpty()) {
            state_.seed(options_.seed.current, options_.seed.sold, options_.seed.unsold, clock::now());
            error = state_.keepAll();
        }
        if (!error.isEmpty()) {
            res.status = 500;
            res.set_content(error.toStdString() + "\n", "text/plain");
            return;
        }
        res.set_content("ok\n", "text/plain");
    });

    // A session without the browser's login form (for tests): a one-time address that sets the
    // session cookie on the auction host and goes on to `done`.
    srv.Post("/_sim/session", [this](const Request& req, Response& res) {
        std::lock_guard<std::mutex> lock(state_.mutex);
        // An existing session (session=token) can be handed to a browser too.
        std::string session = req.get_param_value("session");
        if (session.empty() || !state_.session(session)) session = state_.newSession(state_.user, clock::now());
        const std::string handoff = state_.newHandoff(session, safeDone(req.get_param_value("done")));
        res.set_content("http://" + s(info_.auctionHost()) + "/config/session?t=" + handoff + "\n", "text/plain");
    });

    // A page that takes its time (ms, default 10000, at most SlowPageLimitMs) and keeps a
    // browser busy meanwhile. Anyone on the machine may ask for it, so only a few are answered
    // at a time: more would hold the workers that every other page needs.
    srv.Get("/_sim/slow", [this](const Request& req, Response& res) {
        const int asked = req.has_param("ms") ? std::atoi(req.get_param_value("ms").c_str()) : 10000;
        const int ms = std::max(0, std::min(asked, SlowPageLimitMs));
        {
            std::lock_guard<std::mutex> lock(pauseMutex_);
            if (slowPages_ >= SlowPagesAtOnce) {
                sendError(res, {texts::TooManySlowPages}, 503);
                return;
            }
            ++slowPages_;
        }
        pause(std::chrono::milliseconds(ms));
        {
            std::lock_guard<std::mutex> lock(pauseMutex_);
            --slowPages_;
        }
        sendPage(res, html::page("slow", "<p>" + std::to_string(ms) + " ms</p>"));
    });
}

} // namespace zk::site
