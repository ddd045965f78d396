#include "browser/SitePageRules.h"

#include "browser/SiteMap.h"

namespace zk::browser {

bool isCompletionPage(const QString& url, const QString& auctionHost) {
    return !auctionHost.isEmpty() && url.contains(auctionHost + site::CompletionPath);
}

QString auctionIdFromLink(const QString& link) { return link.mid(link.lastIndexOf('/') + 1); }

bool holdsListedMarker(const QString& text, const QString& marker) {
    return !marker.isEmpty() && text.contains(marker);
}

} // namespace zk::browser
