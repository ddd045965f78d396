#include "browser/SitePages.h"

#include "browser/Iectrl.h"
#include "browser/SitePageRules.h"
#include "browser/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "workflow/Pause.h"
#include "workflow/SystemIni.h"

#include <QCoreApplication>
#include <QUrl>

namespace zk::browser {

namespace {
void tell(QString* failure, const QString& text) {
    if (failure) *failure = text;
    else MessageService::instance().show(text);
}
} // namespace

int SitePages::AgreeAndList(QString* failure) {
    TIECtrl& ie = *browser_.IE;
    ie.SelectByTagName("input");
    // Nothing pressed: the caller applies its own failure path (a listing's undo, a relist's).
    if (ie.LastError != 0) return -99;
    const int n = ie.GetListLength();
    if (n <= 0) {
        tell(failure, texts::WrongScreen);
        return -1;
    }
    // The button nearest the end of the page: a page may quote the button's text higher up.
    for (int i = n - 1; i >= 0; --i) {
        if (ie.GetItemAttribute(i, "value") != texts::AgreeButtonValue) continue;
        ie.NarrowToItem(i);
        ie.ClickSelected();
        return 0;
    }
    tell(failure, texts::WrongScreen);
    return -1;
}

void SitePages::ReadListedItemLink(QString& link, QString& id, QString* failure) {
    link.clear();
    id.clear();
    TIECtrl& ie = *browser_.IE;
    ie.WaitComplete(10);
    if (!isCompletionPage(ie.GetUrl(), settings_.auctionHost())) {
        tell(failure, texts::NotCompletePage);
        return;
    }
    if (ie.SelectByTagName("A") != 0) {
        tell(failure, texts::NoBrowserData);
        return;
    }
    const int n = ie.GetListLength();
    if (n <= 0) {
        tell(failure, n == 0 ? texts::WrongPage : texts::NoBrowserData);
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (!ie.ItemHasChildren(i) || ie.GetItemText(i) != texts::ItemPageLinkText) continue;
        link = ie.GetItemAttribute(i, "href");
        id = auctionIdFromLink(link);
        return;
    }
}

int SitePages::ConfirmInsertion(QString* failure) {
    TIECtrl& ie = *browser_.IE;
    if (ie.WaitIdle(10) < 0 || ie.WaitComplete(10) < 0) return -1;
    QCoreApplication::processEvents();
    workflow::pause(50);
    for (int i = 0; i < 100; ++i) {
        if (ie.ExistsByName(texts::ConfirmElement)) return ie.ClickFormItem(0, texts::ConfirmElement) == 0 ? 0 : -1;
        workflow::pause(100);
    }
    tell(failure, texts::NoConfirmButton);
    return -1;
}

bool SitePages::ReadSellingList(workflow::SellingSnapshot& snapshot) try {
    snapshot = {};
    TIECtrl& ie = *browser_.IE;
    if (!browser_.IEConnected) return false;
    if (ie.NavigateWait(settings_.value(workflow::ini::ShuppinChuuUrl)) != 0) return false;
    if (ie.SelectByTagName(QStringLiteral("A")) != 0) return false;
    const int n = ie.GetListLength();
    if (n < 0) return false;
    const QString itemHost = QStringLiteral("page.") + settings_.auctionHost();
    QStringList ids;
    for (int i = 0; i < n; ++i) {
        QString href = ie.GetItemAttribute(i, QStringLiteral("href"));
        while (href.endsWith('/')) href.chop(1);
        const QUrl url(href);
        const QString authority = url.port() > 0 ? url.host() + ':' + QString::number(url.port()) : url.host();
        if (authority.compare(itemHost, Qt::CaseInsensitive) != 0) continue;
        const QString id = auctionIdFromLink(href);
        if (!id.isEmpty() && !ids.contains(id)) ids << id;
    }
    snapshot.ids = ids;
    snapshot.at = clock::now();
    return true;
} catch (const AutomationError&) {
    // Without the list a listing in doubt goes to the seller; the browser's loss is met and said
    // by the step that needs the browser next.
    return false;
}

int SitePages::IsAlreadyListed() {
    TIECtrl& ie = *browser_.IE;
    if (ie.SelectByTagName("div") < 0) return -1;
    const int n = ie.GetListLength();
    if (n < 0) return -1;
    const QString marker = settings_.value(workflow::ini::ShuppinzumiMsg);
    const Variant divs = ie.List;
    for (int i = 0; i < n; ++i) {
        // Only text that stands first in the div itself, not inside an element within it.
        if (!ie.ItemHasChildren(i) || ie.GetItemFirstChildType(i, divs) != 3) continue;
        if (holdsListedMarker(ie.GetItemText(i), marker)) return 1;
    }
    return 0;
}

} // namespace zk::browser
