#pragma once
// What the site's end pages say, read without a browser: the completion page's address, the
// auction ID in an item page's address, and the already-listed marker.
#include <QString>

namespace zk::browser {

// The site's listing-complete page: its auction host followed by the completion path.
bool isCompletionPage(const QString& url, const QString& auctionHost);
// The auction ID of an item page address: what follows its last "/" (all of it without one).
QString auctionIdFromLink(const QString& link);
// The page says the item is listed already: a text holds the marker. An empty marker says
// nothing, rather than matching every text.
bool holdsListedMarker(const QString& text, const QString& marker);

} // namespace zk::browser
