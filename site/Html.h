#pragma once
// Small helpers for writing the site's pages: escaping, the page frame, number formatting.
#include <string>

namespace zk::site::html {

// Escapes text for element content and attribute values alike.
std::string escape(const std::string& text);
// Percent-encodes text for a query value.
std::string urlEncode(const std::string& text);
// 1500 -> "1,500"
std::string yen(long long amount);
// A whole page; `body` is already HTML.
std::string page(const std::string& title, const std::string& body, const std::string& head = {});
std::string link(const std::string& href, const std::string& text);

} // namespace zk::site::html

namespace zk::site::html {
// A JavaScript string literal (double-quoted), safe inside a <script> element.
std::string jsString(const std::string& text);
} // namespace zk::site::html
