#pragma once
// The site's pages as HTML. Each function renders one page from the state it is given; the
// server decides which page a request gets.
#include "site/SiteConfig.h"
#include "site/SiteState.h"

#include <QDateTime>
#include <string>
#include <vector>

namespace zk::site::pages {

// askMore: the login-more variant's page, which asks for a one-time code too.
std::string login(const std::string& done, const std::string& error, const std::string& user, bool askMore = false);
std::string top(const SiteInfo& info, const std::string& user);
// The category confirmation reached from the listing address.
std::string categoryConfirm(const std::string& code);
// The entry form for a new listing or (with `relistOf`) a relist; values from the draft.
// salesModeResetMs >= 0: the page's script takes the sales mode back that long after the load
// (a fault of the practice site).
std::string entryForm(const SiteInfo& info, const Draft& draft, const QDateTime& now, int salesModeResetMs = -1);
std::string picturePage(const SiteInfo& info, const Draft& draft, const std::vector<std::string>& errors);
std::string preview(const SiteInfo& info, const Draft& draft, const Item& parsed);
std::string complete(const SiteInfo& info, const Item& item);
std::string itemPage(const SiteInfo& info, const Item& item);
// The relist page for an ended item: its confirm button, or the notice that it was relisted.
std::string relistConfirm(const SiteInfo& info, const Item& item);

enum class ListKind { Selling, Sold, Unsold };
std::string itemList(const SiteInfo& info, ListKind kind, const std::vector<const Item*>& items, int page,
                     int pageSize);

std::string error(const std::vector<std::string>& messages, const std::string& backHref = {},
                  const std::string& backText = {});

} // namespace zk::site::pages
