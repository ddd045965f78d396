#pragma once
// The practice site's two servers on loopback: HTTP for the auction host and its item-page
// sub-host, HTTPS for the login host. Requests are told apart by their Host header.
#include "site/Certificate.h"
#include "site/SiteConfig.h"
#include "site/SiteState.h"

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
class SSLServer;
struct Request;
struct Response;
} // namespace httplib

namespace zk::site {

class SiteServer {
public:
    explicit SiteServer(SiteOptions options);
    ~SiteServer();

    // Opens the store (if any) and seeds the state, makes the certificate and binds both ports.
    // Error text on failure.
    QString start();
    // Serves on background threads until stop().
    void serve();
    void stop();

    const SiteInfo& info() const { return info_; }
    SiteState& state() { return state_; }

private:
    void routeAuction();
    void routeLogin();
    void routeControl();
    bool preRoute(const httplib::Request& req, httplib::Response& res, bool loginServer);
    // A POST address whose form this server reads itself (see SiteServer.cpp).
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
    void postForm(const std::string& pattern, Handler handler);

    // The session of the request's cookie, or empty.
    std::string sessionOf(const httplib::Request& req);
    // Empty session: answers with the login redirect (GET) or an error page and returns false.
    bool requireSession(const httplib::Request& req, httplib::Response& res, std::string& session);
    std::string safeDone(const std::string& done) const;
    std::string requestHost(const httplib::Request& req) const;

    // The seller's pages: each runs with the state locked and the request's session.
    using SellerPage = void (SiteServer::*)(const httplib::Request&, httplib::Response&, const std::string& session);
    std::function<void(const httplib::Request&, httplib::Response&)> seller(SellerPage page);
    void topPage(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void categoryPage(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void startListing(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void backToForm(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void picturePage(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void upload(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void previewPage(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void finishListing(const httplib::Request& req, httplib::Response& res, const std::string& session);
    // The completion page of one of the seller's items again, by its ID (nothing is listed).
    void completionPage(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void relistPage(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void startRelist(const httplib::Request& req, httplib::Response& res, const std::string& session);
    void listPage(const httplib::Request& req, httplib::Response& res, const std::string& session);
    // Pages anyone may see, and the step that gives the auction host its session cookie.
    void sessionHandoff(const httplib::Request& req, httplib::Response& res);
    void itemPage(const httplib::Request& req, httplib::Response& res);
    void picture(const httplib::Request& req, httplib::Response& res);

    // The draft of this session, or an error page and null.
    Draft* openDraft(const std::string& id, const std::string& session, httplib::Response& res);
    // An ended unsold item of this seller, or an error page and null.
    const Item* relistable(const std::string& id, const std::string& session, httplib::Response& res);
    void showEntryForm(const httplib::Request& req, const std::string& session, const std::string& draftId,
                       httplib::Response& res);
    void takeFormFields(const httplib::Request& req, Draft& draft);
    // The state kept from the last start when there is a store, the sample items when it is new.
    QString openState();
    // Keeps a change; when the store cannot take it, answers with an error page and returns false.
    bool keepOrRefuse(const std::vector<const Item*>& changed, const std::vector<RelistRecord>& relists,
                      httplib::Response& res);

    SiteOptions options_;
    SiteInfo info_;
    SiteState state_;
    Certificate certificate_;
    QTemporaryDir runtimeDir_;
    std::unique_ptr<httplib::Server> http_;
    std::unique_ptr<httplib::SSLServer> https_;
    std::thread httpThread_;
    std::thread httpsThread_;
    std::atomic<bool> httpEnded_{false};
    std::atomic<bool> httpsEnded_{false};

    // Waits that a stop cuts short, so that the site ends at once whatever its pages wait for.
    // False when the wait was cut short.
    bool pause(std::chrono::milliseconds length);
    std::mutex pauseMutex_;
    std::condition_variable pauseWake_;
    bool stopping_ = false;
    // Slow pages being answered now; the open slow address takes only a few at a time.
    int slowPages_ = 0;
};

} // namespace zk::site
