#pragma once
// How the browser is found or started: settings of our own in System.ini, section [BROWSER]
//   PROGRAM=/usr/bin/chromium      the browser to start, and whose program name an attached
//                                  browser must have
//   ARGUMENTS=                     extra command-line arguments, separated by spaces; never
//                                  a debugging port or address (see refusedArgument)
//   DEBUG_ENDPOINT=127.0.0.1:9222  a running browser's debugging endpoint to attach to (one the
//                                  seller started with a port; ours get a pipe instead)
//   HEADLESS=                      1 always headless, 0 never, empty: headless without a display
//   PROFILE=                       the profile folder of a started browser
// and from section [SITE] (the auction site simulator) HOST_RESOLVER_RULES and CERT_SPKI, given
// to a browser that we start: only that browser maps the site's names and trusts its certificate.
#include <QString>
#include <QStringList>

namespace zk {
class ProfileFile;
}

namespace zk::chromium {

struct BrowserSettings {
    QString program = QStringLiteral("/usr/bin/chromium");
    QStringList arguments;
    QString debugEndpoint;
    int headless = -1; // -1: when there is no display
    QString profileFolder;
    QString hostResolverRules;
    QString certificateSpki;
    // Not from System.ini: an attached browser is driven in a tab that we open and close, never
    // in one of its own pages (for a check that must leave the seller's pages as they are).
    bool ownTab = false;

    static constexpr const char* Section = "BROWSER";
    static constexpr const char* SiteSection = "SITE";

    // From System.ini as loaded (defaults where it is silent or was not loaded); the profile
    // folder defaults to the data folder's (with its trailing separator).
    static BrowserSettings read(const ProfileFile& ini, const QString& dataFolder);
    bool runHeadless() const;
    // The first of `arguments` that would open the browser to other users or programs (a
    // debugging port or address); empty when there is none.
    QString refusedArgument() const;
    // The command line of a browser we start, driven over its debugging pipe. The sandbox stays
    // on; only a browser started by root goes without, as Chromium refuses to run so otherwise.
    QStringList launchArguments(bool asRoot) const;
    // Upper-case program name that an attached browser's executable path must end with.
    QString programName() const;
};

} // namespace zk::chromium
