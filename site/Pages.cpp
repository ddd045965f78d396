#include "site/Pages.h"

#include "site/Catalog.h"
#include "site/ClosingSlots.h"
#include "site/Html.h"
#include "site/ListingForm.h"
#include "site/SiteTexts.h"

namespace zk::site::pages {

using html::escape;
using html::link;

namespace {

std::string s(const QString& text) { return text.toStdString(); }

std::string field(const FieldMap& fields, const std::string& name) {
    const auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second;
}

std::string hidden(const std::string& name, const std::string& value) {
    return "<input type=\"hidden\" name=\"" + escape(name) + "\" value=\"" + escape(value) + "\">";
}

std::string nav(const SiteInfo& info) {
    const std::string base = "http://" + s(info.auctionHost());
    return "<p class=\"nav\">" + link(base + "/jp", texts::TopTitle) + " | " +
           link(s(info.sellingListUrl()), texts::SellingTitle) + " | " +
           link(s(info.closedListUrl()) + "1", texts::SoldTitle) + " | " +
           link(s(info.closedListUrl()) + "0", texts::UnsoldTitle) + "</p>\n";
}

std::string statusText(const Item& item) {
    switch (item.status) {
    case ItemStatus::Selling: return "出品中";
    case ItemStatus::Sold: return "終了（落札されました）";
    case ItemStatus::Unsold: return "終了（落札者なし）";
    }
    return {};
}

std::string closingText(const Item& item) {
    if (!item.closingDate.isValid()) return {};
    return s(item.closingDate.toString("yyyy年M月d日")) + " " + s(closingTimeLabel(item.closingHour));
}

// When an ended auction ended, as the closed lists show it.
std::string endedText(const Item& item) {
    if (!item.endedAt.isValid()) return closingText(item);
    return s(item.endedAt.toString("yyyy年M月d日 H時mm分"));
}

std::string pictureThumbs(const std::vector<Picture>& pictures) {
    std::string out;
    for (const Picture& p : pictures)
        out += "<img class=\"thumb\" src=\"/jp/image/" + escape(p.storedName) + "\" alt=\"" + escape(p.originalName) + "\"> ";
    return out;
}

// One bank or payment block; `n` may be a placeholder that the page's script replaces.
std::string blockHtml(const BlockKind& kind, const std::string& n, const FieldMap& fields) {
    std::string out = "<div class=\"block\" id=\"" + kind.key + "_block" + n + "\">" + escape(kind.title) + " " + n + "：";
    for (const auto& [stem, label] : kind.parts) {
        const std::string name = stem + n;
        out += " " + escape(label) + " <input type=\"text\" name=\"" + name + "\" value=\"" +
               escape(field(fields, name)) + "\" size=\"16\">";
    }
    return out + "</div>";
}

std::string blocksSection(const BlockKind& kind, const char* buttonId, const char* buttonText, const FieldMap& fields) {
    const int count = blockCount(kind, fields);
    std::string out = "<h3>" + escape(kind.title) + "</h3>\n<div id=\"" + kind.key + "_blocks\">";
    for (int n = 1; n <= count; ++n) out += blockHtml(kind, std::to_string(n), fields);
    out += "</div>\n<input type=\"hidden\" name=\"" + kind.key + "_count\" id=\"" + kind.key + "_count\" value=\"" +
           std::to_string(count) + "\">\n";
    // The form offers the add button only while another block may be added.
    if (count < kind.maxCount)
        out += "<input type=\"button\" id=\"" + std::string(buttonId) + "\" value=\"" + escape(buttonText) +
               "\" onclick=\"zkAddBlock('" + kind.key + "'," + std::to_string(kind.maxCount) + ",this)\">\n";
    return out;
}

std::string fixedFieldHtml(const FixedField& f, const FieldMap& fields) {
    const bool sent = fields.count(f.name) > 0;
    const std::string current = field(fields, f.name);
    std::string out = "<tr><th>" + escape(f.label) + "</th><td>";
    switch (f.kind) {
    case FieldKind::Text:
        out += "<input type=\"text\" name=\"" + f.name + "\" value=\"" + escape(current) + "\" size=\"50\">";
        break;
    case FieldKind::Check:
        out += "<label><input type=\"checkbox\" name=\"" + f.name + "\" value=\"" + f.options[0].first + "\"" +
               (sent && current == f.options[0].first ? " checked" : "") + "> " + escape(f.options[0].second) +
               "</label>";
        break;
    case FieldKind::Combo:
        out += "<select name=\"" + f.name + "\">";
        for (const auto& [value, label] : f.options)
            out += "<option value=\"" + escape(value) + "\"" + (value == current ? " selected" : "") + ">" +
                   escape(label) + "</option>";
        out += "</select>";
        break;
    case FieldKind::Radio:
        for (const auto& [value, label] : f.options)
            out += "<label><input type=\"radio\" name=\"" + f.name + "\" value=\"" + escape(value) + "\"" +
                   (value == current ? " checked" : "") + "> " + escape(label) + "</label> ";
        break;
    }
    return out + "</td></tr>\n";
}

std::string closingSection(const Draft& draft, const QDateTime& now) {
    const std::vector<ClosingDay> days = closingDays(now);
    const std::string chosenDate = field(draft.fields, texts::ClosingDate);
    const std::string chosenHour = field(draft.fields, texts::ClosingTime);
    size_t selected = 0;
    for (size_t i = 0; i < days.size(); ++i)
        if (s(days[i].date.toString(Qt::ISODate)) == chosenDate) selected = i;

    std::string out = "<tr><th>終了日時</th><td><select name=\"ClosingDate\" id=\"ClosingDate\" onchange=\"zkFillTimes()\">";
    for (size_t i = 0; i < days.size(); ++i)
        out += "<option value=\"" + s(days[i].date.toString(Qt::ISODate)) + "\"" + (i == selected ? " selected" : "") +
               ">" + escape(s(days[i].label)) + "</option>";
    out += "</select> <select name=\"ClosingTime\" id=\"ClosingTime\">";
    for (int h : days[selected].hours)
        out += "<option value=\"" + std::to_string(h) + "\"" + (std::to_string(h) == chosenHour ? " selected" : "") +
               ">" + escape(s(closingTimeLabel(h))) + "</option>";
    out += "</select></td></tr>\n";

    // The hour list is rebuilt for the chosen date, from the same table the server checks against.
    std::string table = "[";
    for (size_t i = 0; i < days.size(); ++i) {
        if (i) table += ",";
        table += "[";
        for (size_t k = 0; k < days[i].hours.size(); ++k) table += (k ? "," : "") + std::to_string(days[i].hours[k]);
        table += "]";
    }
    table += "]";
    std::string labels = "[";
    for (int h = 0; h < 24; ++h) labels += (h ? "," : "") + html::jsString(s(closingTimeLabel(h)));
    labels += "]";
    out += "<script>var zkHours=" + table + ";var zkTimeLabels=" + labels + ";</script>\n";
    return out;
}

const char* entryScript = R"JS(<script>
function zkFillTimes(){
  var d=document.getElementById('ClosingDate'),t=document.getElementById('ClosingTime');
  var hours=d.selectedIndex<0?[]:zkHours[d.selectedIndex];
  t.options.length=0;
  for(var k=0;k<hours.length;k++){t.options.add(new Option(zkTimeLabels[hours[k]],String(hours[k])));}
}
function zkDescMode(html){
  var rich=document.getElementById('desc_rich_editor'),area=document.getElementById('item_description');
  if(html){area.style.display='';rich.style.display='none';}
  else{rich.innerText=area.value;rich.style.display='';area.style.display='none';}
  document.getElementById('html_mode').value=html?'1':'0';
}
function zkAddBlock(kind,max,button){
  var count=document.getElementById(kind+'_count'),n=parseInt(count.value,10)+1;
  if(n>max)return;
  var holder=document.createElement('div');
  holder.innerHTML=zkBlockTemplates[kind].split('__N__').join(String(n));
  document.getElementById(kind+'_blocks').appendChild(holder.firstChild);
  count.value=String(n);
  if(n>=max&&button)button.remove();
}
</script>
)JS";

} // namespace

std::string login(const std::string& done, const std::string& error, const std::string& user, bool askMore) {
    std::string body;
    if (!error.empty()) body += "<p class=\"error\">" + escape(error) + "</p>\n";
    body += "<form method=\"post\" action=\"/config/login\">\n" + hidden(".done", done) +
            "\n<p>ID <input type=\"text\" name=\"login\" value=\"" + escape(user) +
            "\" autocomplete=\"username\"></p>\n<p>パスワード <input type=\"password\" name=\"passwd\" "
            "autocomplete=\"current-password\"></p>\n" +
            (askMore ? std::string("<p>確認コード <input type=\"text\" name=\"") + texts::OneTimeCodeField + "\"></p>\n"
                     : std::string()) +
            "<p><input type=\"submit\" value=\"" +
            escape(texts::LoginButton) + "\"></p>\n</form>\n";
    return html::page(texts::LoginTitle, body);
}

std::string top(const SiteInfo& info, const std::string& user) {
    std::string body = "<p>" + escape(user) + " さん、ようこそ。</p>\n" + nav(info);
    body += "<h2>出品するカテゴリ</h2>\n<ul>\n";
    for (const CategoryNode& node : categoryTree()) {
        if (node.code.empty()) continue;
        body += "<li>" + link(s(info.listingUrl()) + node.code, categoryPath(node.code)) + "</li>\n";
    }
    body += "</ul>\n";
    return html::page(texts::TopTitle, body);
}

std::string categoryConfirm(const std::string& code) {
    std::string body = "<p>出品するカテゴリ：<strong>" + escape(categoryPath(code)) + "</strong></p>\n";
    body += "<form method=\"post\" action=\"/jp/show/submit\">\n" + hidden("category", code) +
            "\n<input type=\"submit\" name=\"auc_insertion_ok\" value=\"" + escape(texts::ConfirmCategoryButton) +
            "\">\n</form>\n";
    return html::page(texts::CategoryConfirmTitle, body);
}

std::string entryForm(const SiteInfo& info, const Draft& draft, const QDateTime& now, int salesModeResetMs) {
    const FieldMap& f = draft.fields;
    const bool relist = !draft.relistOf.empty();
    const bool htmlMode = field(f, "html_mode") == "1";
    std::string body;
    if (relist) body += "<p>オークション " + escape(draft.relistOf) + " を再出品します。</p>\n";
    body += "<p>カテゴリ：" + escape(categoryPath(draft.category)) + "</p>\n";
    body += "<form name=\"entry\" method=\"post\" action=\"/jp/show/preview\">\n";
    body += hidden("draft", draft.id) + "\n";

    body += "<h3>画像</h3>\n<p>" + pictureThumbs(draft.pictures);
    body += "<input type=\"submit\" name=\"to_pictures\" formaction=\"/jp/show/image\" value=\"" +
            escape(draft.pictures.empty() ? texts::ToPicturePage : texts::EditPictures) + "\"></p>\n";

    body += "<table>\n<tr><th>商品名</th><td><input type=\"text\" name=\"item_title\" size=\"64\" value=\"" +
            escape(field(f, texts::TitleField)) + "\"></td></tr>\n";
    body += "<tr><th>商品説明</th><td><p><a href=\"#\" id=\"desc_rich\" onclick=\"zkDescMode(0);return false;\">" +
            escape(texts::RichTextLink) + "</a> ｜ <a href=\"#\" id=\"desc_html\" onclick=\"zkDescMode(1);return false;\">" +
            escape(texts::HtmlTagLink) + "</a></p>\n";
    body += "<div id=\"desc_rich_editor\" contenteditable=\"true\" style=\"border:1px solid #999;min-height:6em;" +
            std::string(htmlMode ? "display:none" : "") +
            "\" oninput=\"document.getElementById('item_description').value=this.innerText\">" +
            escape(field(f, texts::DescriptionField)) + "</div>\n";
    body += "<textarea name=\"item_description\" id=\"item_description\" rows=\"10\" cols=\"80\"" +
            std::string(htmlMode ? "" : " style=\"display:none\"") + ">" + escape(field(f, texts::DescriptionField)) +
            "</textarea>\n" + "<input type=\"hidden\" name=\"html_mode\" id=\"html_mode\" value=\"" +
            (htmlMode ? "1" : "0") + "\"></td></tr>\n";

    const std::string mode = field(f, "salesmode");
    body += "<tr><th>販売形式</th><td><label><input type=\"radio\" name=\"salesmode\" id=\"salesmode_auction\" "
            "value=\"auction\"" + std::string(mode == "auction" ? " checked" : "") +
            "> オークション形式</label> <label><input type=\"radio\" name=\"salesmode\" id=\"salesmode_fixed\" "
            "value=\"fixed\"" + std::string(mode == "fixed" ? " checked" : "") + "> 定額で売る</label></td></tr>\n";
    body += "<tr><th>開始価格</th><td><input type=\"text\" name=\"price_start\" size=\"12\" value=\"" +
            escape(field(f, texts::StartPriceField)) + "\"> 円</td></tr>\n";
    body += "<tr><th>即決価格</th><td><input type=\"text\" name=\"price_buynow\" size=\"12\" value=\"" +
            escape(field(f, texts::BuyNowPriceField)) + "\"> 円（任意）</td></tr>\n";
    body += closingSection(draft, now);
    for (FixedField ff : fixedFields()) {
        if (info.shows(RenamedFieldVariant) && ff.name == "item_condition") ff.name = "item_state";
        if (info.shows(ShortListVariant) && ff.name == "ship_days") ff.options.resize(1);
        body += fixedFieldHtml(ff, f);
    }
    body += "</table>\n";

    body += blocksSection(bankBlocks(), texts::AddBankForm, texts::AddBankButton, f);
    body += blocksSection(paymentBlocks(), texts::AddPaymentForm, texts::AddPaymentButton, f);
    body += "<script>var zkBlockTemplates={bank:" + html::jsString(blockHtml(bankBlocks(), "__N__", {})) +
            ",pay:" + html::jsString(blockHtml(paymentBlocks(), "__N__", {})) + "};</script>\n";

    body += "<p><input type=\"submit\" id=\"auc_submit1\" name=\"auc_submit1\" value=\"" +
            escape(texts::ConfirmButton) + "\"></p>\n</form>\n";
    body += entryScript;
    if (salesModeResetMs >= 0)
        body += "<script>window.addEventListener('load',function(){setTimeout(function(){"
                "var r=document.getElementsByName('salesmode');for(var i=0;i<r.length;i++)r[i].checked=false;},"
                + std::to_string(salesModeResetMs) + ");});</script>\n";
    body += nav(info);
    return html::page(relist ? texts::RelistTitle : std::string("出品 - ") + texts::EntryTitle, body);
}

std::string picturePage(const SiteInfo& info, const Draft& draft, const std::vector<std::string>& errors) {
    std::string body;
    for (const std::string& e : errors) body += "<p class=\"error\">" + escape(e) + "</p>\n";
    body += "<form method=\"post\" action=\"/jp/show/image/upload\" enctype=\"multipart/form-data\">\n" +
            hidden("draft", draft.id) + "\n<table>\n";
    for (int slot = 1; slot <= 3; ++slot) {
        const std::string n = std::to_string(slot);
        body += "<tr><th>画像" + n + "</th><td>";
        for (const Picture& p : draft.pictures) {
            if (p.slot != slot) continue;
            body += pictureThumbs({p}) + escape(p.originalName) + " <button type=\"submit\" name=\"remove\" value=\"" +
                    n + "\">" + escape(texts::RemovePictureButton) + "</button><br>";
        }
        // The browse button after each input opens that input's file chooser.
        body += "<input type=\"file\" name=\"ImageFile" + n + "\" id=\"ImageFile" + n +
                "\" accept=\"image/jpeg,image/png,image/gif\"> <input type=\"button\" value=\"" +
                escape(texts::BrowseButton) + "\" onclick=\"document.getElementById('ImageFile" + n +
                "').click()\"></td></tr>\n";
    }
    body += "</table>\n<p><input type=\"submit\" value=\"" + escape(texts::UploadButton) + "\"></p>\n</form>\n";
    body += "<form method=\"post\" action=\"/jp/show/submit/form\">\n" + hidden("draft", draft.id) +
            "\n<input type=\"submit\" value=\"" + escape(texts::BackToEntryButton) + "\">\n</form>\n";
    body += nav(info);
    return html::page(texts::PicturePageTitle, body);
}

std::string preview(const SiteInfo& info, const Draft& draft, const Item& parsed) {
    std::string body = "<table class=\"list\">\n";
    auto row = [&](const std::string& label, const std::string& value) {
        body += "<tr><th>" + escape(label) + "</th><td>" + escape(value) + "</td></tr>\n";
    };
    row("カテゴリ", categoryPath(parsed.category));
    row("商品名", parsed.title);
    row("開始価格", html::yen(parsed.startPrice) + texts::Yen);
    row("即決価格", parsed.buyNowPrice ? html::yen(parsed.buyNowPrice) + texts::Yen : std::string("なし"));
    row("終了日時", closingText(parsed));
    body += "<tr><th>画像</th><td>" + pictureThumbs(draft.pictures) + "</td></tr>\n</table>\n";
    body += "<div class=\"notice\">" + escape(parsed.description) + "</div>\n";
    body += "<form method=\"post\" action=\"/jp/config/submit\">\n" + hidden("draft", draft.id) +
            "\n<input type=\"submit\" value=\"" + escape(texts::AgreeAndList) + "\">\n</form>\n";
    body += "<form method=\"post\" action=\"/jp/show/submit/form\">\n" + hidden("draft", draft.id) +
            "\n<input type=\"submit\" value=\"" + escape(texts::CorrectButton) + "\">\n</form>\n";
    body += nav(info);
    return html::page(texts::PreviewTitle, body);
}

std::string complete(const SiteInfo& info, const Item& item) {
    const bool changed = info.shows(CompletionTextVariant);
    std::string body = "<div class=\"notice\">" + escape(changed ? texts::ListedMessageChanged : texts::ListedMessage) +
                       "。オークションID：" + escape(item.id) + "</div>\n";
    body += "<p>" + link(s(info.itemUrl(QString::fromStdString(item.id))),
                         changed ? texts::ItemPageLinkChanged : texts::ItemPageLink) + "</p>\n";
    body += nav(info);
    return html::page(texts::CompleteTitle, body);
}

std::string itemPage(const SiteInfo& info, const Item& item) {
    std::string body = "<p>オークションID：" + escape(item.id) + "　状態：" + escape(statusText(item)) + "</p>\n";
    body += "<p>" + pictureThumbs(item.pictures) + "</p>\n<table class=\"list\">\n";
    auto row = [&](const std::string& label, const std::string& value) {
        body += "<tr><th>" + escape(label) + "</th><td>" + escape(value) + "</td></tr>\n";
    };
    row("カテゴリ", categoryPath(item.category));
    row("開始価格", html::yen(item.startPrice) + texts::Yen);
    if (item.buyNowPrice) row("即決価格", html::yen(item.buyNowPrice) + texts::Yen);
    if (item.status == ItemStatus::Sold) row("落札価格", html::yen(item.finalPrice) + texts::Yen);
    row("終了日時", closingText(item));
    body += "</table>\n";
    if (item.htmlDescription)
        // Shown as the seller wrote it, in a frame that runs no script.
        body += "<iframe sandbox=\"\" style=\"width:100%;height:20em;border:1px solid #999\" srcdoc=\"" +
                escape(item.description) + "\"></iframe>\n";
    else
        body += "<div style=\"white-space:pre-wrap;border:1px solid #999;padding:6px\">" + escape(item.description) +
                "</div>\n";
    if (item.status == ItemStatus::Unsold)
        body += "<p>" + link("/jp/show/resubmit?aID=" + item.id, texts::RelistLink) + "</p>\n";
    if (!item.relistedAs.empty())
        body += "<p>再出品後のオークション：" + link(s(info.itemUrl(QString::fromStdString(item.relistedAs))), item.relistedAs) +
                "</p>\n";
    body += nav(info);
    return html::page(item.title, body);
}

std::string relistConfirm(const SiteInfo& info, const Item& item) {
    std::string body;
    if (!item.relistedAs.empty()) {
        body += "<div>" + escape(texts::ListedMessage) + "。再出品後のオークションID：" + escape(item.relistedAs) +
                "</div>\n";
    } else {
        body += "<p>" + escape(item.title) + "（" + escape(item.id) + "）を再出品します。</p>\n";
        body += "<form method=\"post\" action=\"/jp/show/resubmit\">\n" + hidden("aID", item.id) +
                "\n<input type=\"submit\" name=\"auc_insertion_ok\" value=\"" + escape(texts::ConfirmRelistButton) +
                "\">\n</form>\n";
    }
    body += nav(info);
    return html::page(texts::RelistTitle, body);
}

std::string itemList(const SiteInfo& info, ListKind kind, const std::vector<const Item*>& items, int page,
                     int pageSize) {
    const char* title = kind == ListKind::Selling ? texts::SellingTitle
                        : kind == ListKind::Sold  ? texts::SoldTitle
                                                  : texts::UnsoldTitle;
    const std::string base = kind == ListKind::Selling ? s(info.sellingListUrl())
                             : kind == ListKind::Sold  ? s(info.closedListUrl()) + "1"
                                                       : s(info.closedListUrl()) + "0";
    const size_t first = static_cast<size_t>(page - 1) * static_cast<size_t>(pageSize);
    const size_t last = std::min(items.size(), first + static_cast<size_t>(pageSize));

    std::string body = nav(info);
    body += "<p>全" + std::to_string(items.size()) + "件　" + std::to_string(page) + "ページ目</p>\n";
    if (first >= items.size()) {
        body += "<p>" + escape(texts::NoItems) + "</p>\n";
    } else {
        body.reserve(body.size() + (last - first) * 400);
        if (kind == ListKind::Unsold) body += "<form method=\"get\" action=\"/jp/show/mystatus\">\n";
        body += "<table class=\"list\">\n<tr>";
        // Ticked boxes and item links pair up by position on the without-winner list, so only
        // the other lists show a picture link beside the title link.
        const bool pictureColumn = kind != ListKind::Unsold;
        if (kind == ListKind::Unsold) body += "<th>選択</th>";
        if (pictureColumn) body += "<th>画像</th>";
        body += "<th>オークションID</th><th>商品名</th>";
        body += kind == ListKind::Sold ? "<th>落札価格</th><th>落札者</th><th>終了日時</th>" : "<th>開始価格</th><th>終了日時</th>";
        body += "</tr>\n";
        for (size_t i = first; i < last; ++i) {
            const Item& item = *items[i];
            // No white space between the cells: the cell after the title is its next sibling.
            body += "<tr>";
            if (kind == ListKind::Unsold)
                body += "<td><input type=\"checkbox\" name=\"aidlist\" value=\"" + escape(item.id) + "\"></td>";
            std::string itemUrl = s(info.itemUrl(QString::fromStdString(item.id)));
            if (kind == ListKind::Unsold && info.shows(MovedItemLinksVariant))
                itemUrl.replace(itemUrl.find("/jp/auction/"), 12, "/jp/item/");
            const Item::ListShape& shape = item.listShape;
            if (pictureColumn) {
                body += "<td>";
                if (!item.pictures.empty() || shape.pictureLink)
                    body += "<a href=\"" + escape(itemUrl) + "\"><img class=\"thumb\" src=\"/jp/image/" +
                            escape(item.pictures.empty() ? std::string("none.jpg") : item.pictures.front().storedName) +
                            "\" alt=\"\"></a>";
                body += "</td>";
            }
            body += "<td>" + escape(item.id) + "</td><td>" + link(shape.trailingSlash ? itemUrl + "/" : itemUrl, item.title);
            if (shape.redirectLink)
                body += " " + link("http://" + s(info.auctionHost()) + "/jp/jump?u=" + itemUrl, texts::RedirectLink);
            body += "</td>";
            if (kind == ListKind::Sold)
                body += "<td>" + (shape.emptyPrice ? std::string() : html::yen(item.finalPrice) + texts::Yen) + "</td><td>" +
                        escape(item.winner) + "</td><td>" + escape(endedText(item)) + "</td>";
            else
                body += "<td>" + html::yen(item.startPrice) + texts::Yen + "</td><td>" + escape(closingText(item)) + "</td>";
            body += "</tr>\n";
        }
        body += "</table>\n";
        if (kind == ListKind::Unsold) body += "</form>\n";
    }
    body += "<p>";
    if (page > 1) body += link(base + "&apg=" + std::to_string(page - 1), texts::PreviousPage) + " ";
    if (last < items.size()) body += link(base + "&apg=" + std::to_string(page + 1), texts::NextPage);
    body += "</p>\n";
    return html::page(title, body);
}

std::string error(const std::vector<std::string>& messages, const std::string& backHref, const std::string& backText) {
    std::string body;
    for (const std::string& m : messages) body += "<p class=\"error\">" + escape(m) + "</p>\n";
    if (!backHref.empty()) body += "<p>" + link(backHref, backText) + "</p>\n";
    return html::page(texts::ErrorTitle, body);
}

} // namespace zk::site::pages
