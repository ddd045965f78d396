#include "site/Html.h"

#include "site/SiteTexts.h"

namespace zk::site::html {

std::string escape(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string urlEncode(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string yen(long long amount) {
    const bool negative = amount < 0;
    std::string digits = std::to_string(negative ? -amount : amount);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

std::string page(const std::string& title, const std::string& body, const std::string& head) {
    std::string out;
    out.reserve(body.size() + 1024);
    out += "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>";
    out += escape(title);
    out += " - ";
    out += texts::SiteName;
    out += "</title><style>"
           "body{font-family:sans-serif;margin:0}header{background:#336;color:#fff;padding:6px 12px}"
           "header a{color:#fff;margin-right:12px}main{padding:12px}"
           "table.list{border-collapse:collapse}table.list td,table.list th{border:1px solid #999;padding:3px 6px}"
           ".error{color:#b00;font-weight:bold}.notice{background:#ffd;border:1px solid #cc9;padding:8px}"
           ".block{border:1px dashed #999;margin:4px 0;padding:4px}img.thumb{max-width:120px;max-height:90px}"
           "</style>";
    out += head;
    out += "</head><body><header>";
    out += escape(texts::SiteName);
    out += "</header><main><h1>";
    out += escape(title);
    out += "</h1>\n";
    out += body;
    out += "\n</main></body></html>\n";
    return out;
}

std::string link(const std::string& href, const std::string& text) {
    return "<a href=\"" + escape(href) + "\">" + escape(text) + "</a>";
}

} // namespace zk::site::html

namespace zk::site::html {

std::string jsString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '<': out += "\\u003c"; break;
        case '>': out += "\\u003e"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

} // namespace zk::site::html
