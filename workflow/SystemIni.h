#pragma once
// Every section and key of System.ini that the program reads or writes, in one place. Only
// workflow::Settings opens the file; the browser's own settings (BROWSER and the resolver keys of
// SITE) are read by the Chromium layer, which cannot see this header, and are listed here so that
// the file's whole vocabulary is found in one place.
#include <QString>
#include <array>

namespace zk::workflow::ini {

inline const QString FileName = QStringLiteral("System.ini");

// Site addresses, marker texts, account and start-up markers: read whole once at start-up.
inline const QString System = QStringLiteral("SYSTEM");
inline const QString LoginUrl = QStringLiteral("LOGIN_URL");
inline const QString ShuppinUrl = QStringLiteral("SHUPPIN_URL");
inline const QString ReShuppinUrl = QStringLiteral("RESHUPPIN_URL");
inline const QString ShuppinEndUrl = QStringLiteral("SHUPPIN_END_URL");
inline const QString RakusatuNashiPage = QStringLiteral("RAKUSATUNASHI_PAGE");
inline const QString ReShuppinStr = QStringLiteral("RESHUPPIN_STR");
inline const QString ShuppinzumiMsg = QStringLiteral("SHUPPINZUMI_MSG");
inline const QString ShuppinChuuUrl = QStringLiteral("SHUPPIN_CHUU_URL");
inline const QString PicUploadUrl = QStringLiteral("PIC_UPLOAD_URL");
inline const QString InitStart = QStringLiteral("INIT_START");   // "0" until the option editor ran once
inline const QString ExcelDir = QStringLiteral("EXCEL_DIR");     // folder of the last workbook, read from the file
inline const QString YahooId = QStringLiteral("YAHOO_ID");       // "0000": not set
inline const QString Password = QStringLiteral("PASSWORD");      // "0000": not set

// Start-up refuses to go on while one of these is empty or missing, checked in this order.
inline const std::array<QString, 11> RequiredSystemKeys = {
    LoginUrl, ShuppinUrl, ReShuppinUrl, ShuppinEndUrl, RakusatuNashiPage, ReShuppinStr,
    ShuppinzumiMsg, ShuppinChuuUrl, PicUploadUrl, InitStart, ExcelDir};

// The three saved price rows of the item-set panel, integers, 0 empty.
inline const QString FormInfo = QStringLiteral("FormInfo1");
inline const std::array<QString, 6> PriceKeys = {
    QStringLiteral("START_PRICE1"), QStringLiteral("BUY_PRICE1"), QStringLiteral("START_PRICE2"),
    QStringLiteral("BUY_PRICE2"),   QStringLiteral("START_PRICE3"), QStringLiteral("BUY_PRICE3")};

// Host names of the auction site (configuration, never constants of the program).
inline const QString Site = QStringLiteral("SITE");
inline const QString LoginHost = QStringLiteral("LOGIN_HOST");
inline const QString AuctionHost = QStringLiteral("AUCTION_HOST");
inline const QString DefaultLoginHost = QStringLiteral("login.sim.test");
inline const QString DefaultAuctionHost = QStringLiteral("auctions.sim.test");
// Read by the Chromium layer itself.
inline const QString HostResolverRules = QStringLiteral("HOST_RESOLVER_RULES");
inline const QString CertSpki = QStringLiteral("CERT_SPKI");

// The listing records: how long after an agree press the site may still make the item, in
// seconds (a listing not found on the site is taken back only after that).
inline const QString Listing = QStringLiteral("LISTING");
inline const QString DoubtSeconds = QStringLiteral("DOUBT_SECONDS");

// The driven browser, read by the Chromium layer itself.
inline const QString Browser = QStringLiteral("BROWSER");
inline const QString BrowserProgram = QStringLiteral("PROGRAM");
inline const QString BrowserArguments = QStringLiteral("ARGUMENTS");
inline const QString BrowserDebugEndpoint = QStringLiteral("DEBUG_ENDPOINT");
inline const QString BrowserHeadless = QStringLiteral("HEADLESS");
inline const QString BrowserProfile = QStringLiteral("PROFILE");

} // namespace zk::workflow::ini
