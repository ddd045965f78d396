#include "relist/SingleRelist.h"

#include "browser/Iectrl.h"
#include "browser/SiteMessages.h"
#include "browser/SitePageRules.h"
#include "browser/SitePages.h"
#include "listing/ItemSet.h"
#include "fields/Fields.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRules.h"
#include "listing/RelistedRow.h"
#include "platform/AutomationError.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "relist/RelistLog.h"
#include "relist/RelistRules.h"
#include "relist/StepDown.h"
#include "relist/Texts.h"
#include "sheet/Excel.h"
#include "sheet/WorkbookSession.h"
#include "workflow/Pause.h"
#include "workflow/SystemIni.h"

namespace zk::relist {

namespace {
constexpr auto Quiet = sheet::WorkbookSession::Failure::Quiet;
// Rows read for IDs: the reading stops at this many empty rows in a row, or at the bound.
constexpr int EmptyRowsEnd = 5;
constexpr int MaxRowsRead = 5000;

QString priceText(qint64 yen) { return yen > 0 ? QString::number(yen) : QString(); }
} // namespace

std::optional<StepDownRule> SingleRelist::panelStepDown(const workflow::Panel::RelistPrices& prices, bool* refused) {
    *refused = false;
    if (!prices.stepDown) return std::nullopt;
    StepDownFault fault = StepDownFault::None;
    const std::optional<StepDownRule> rule = parseStepDown(prices.step, prices.stepPercent, prices.floor,
                                                           prices.floorFromColumn, prices.skipAtFloor, prices.dropBuyNow, &fault);
    if (!rule) {
        *refused = true;
        MessageService::instance().show(fault == StepDownFault::NoStep           ? texts::NoStep
                                        : fault == StepDownFault::StepOutOfRange ? texts::StepOutOfRange
                                                                                 : texts::BadFloor);
    }
    return rule;
}

WorkbookItems SingleRelist::readWorkbookItems() {
    WorkbookItems items;
    if (book_.ExcelState != 1 || !book_.Workbook || !book_.Excel) return items;
    items.workbook = book_.Excel->BookPath;
    sheet::WorkbookSession& wb = *book_.Workbook;
    const int first = std::max(book_.Row.FirstRow, workflow::HeaderRow + 1);
    int empty = 0;
    for (int row = first; row < first + MaxRowsRead && empty < EmptyRowsEnd; ++row) {
        QString id, title;
        wb.ReadCellText(row, workflow::column::AuctionId, id, Quiet);
        id = id.trimmed();
        if (id.isEmpty()) wb.ReadCellText(row, workflow::column::Title, title, Quiet);
        empty = id.isEmpty() && title.trimmed().isEmpty() ? empty + 1 : 0;
        if (!id.isEmpty() && !items.rowOfId.contains(id)) items.rowOfId.insert(id, row);
    }
    items.floorColumn = listing::headedColumn(listing::readHeaderRow(wb), FloorHeader);
    return items;
}

std::optional<qint64> SingleRelist::ownFloor(const WorkbookItems& items, const QString& auctionId) {
    const int row = items.rowOfId.value(auctionId);
    if (row <= 0 || items.floorColumn <= 0 || book_.ExcelState != 1) return std::nullopt;
    QString text;
    book_.Workbook->ReadCellText(row, items.floorColumn, text, Quiet);
    return priceValue(text);
}

bool SingleRelist::settleEarlierRelist() {
    const workflow::ListingRecord* record = ledger_.current();
    if (!record || !record->inDoubt()) return true;
    // The site is asked on a browser that is there: a lost one is the reconnect rule's first.
    raiseIfLost(*browser_.IE);
    const bool relist = !record->relistOf.isEmpty();
    const bool settled = listing::ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).AskTheSite();
    // A relist found goes on: the site itself refuses a second relist of the same item. A
    // listing in doubt ends the press, as for a listing step.
    return settled && relist;
}

QString SingleRelist::unsoldListAddress() const {
    return settings_.value(workflow::ini::ShuppinEndUrl) + QStringLiteral("0");
}

int SingleRelist::openUnsoldList() {
    TIECtrl& ie = *browser_.IE;
    const int result = ie.NavigateWait(unsoldListAddress());
    // The press's guard applies the reconnect rule to what is raised here, after the panel is
    // ready again; a bulk run ends with it.
    if (result == TIECtrl::AutomationFailed) throw AutomationError(uint32_t(ie.LastError), ie.LastErrorText);
    if (result == -2) MessageService::instance().show(texts::NoUnsoldPage);
    return result;
}

void SingleRelist::GoReShuppinClick() {
    workflow::BusyGuard busy(panel_);
    openUnsoldList();
}

void SingleRelist::raiseIfLost(TIECtrl& ie) {
    if (ie.IsConnected()) return;
    const bool recorded = AutomationError(uint32_t(ie.LastError), {}).isDisconnection();
    throw AutomationError(recorded ? uint32_t(ie.LastError) : hresult::Disconnected,
                          recorded ? ie.LastErrorText : QString());
}

void SingleRelist::say(bool bulk, const QString& text) const {
    // A step that failed because the browser went away is a lost browser, not this step's failure.
    raiseIfLost(*browser_.IE);
    if (!bulk) MessageService::instance().show(text);
}

SingleRelist::Outcome SingleRelist::ReShuppinClick(bool bulk) {
    // Busy for the single relist too, so that no second step starts while it runs; inside a bulk
    // run this nests and changes nothing.
    workflow::BusyGuard busy(panel_);
    attempt_ = {};
    if (!bulk && ledger_.current() && ledger_.current()->inDoubt()) {
        // Asking the site takes the browser to the selling list: back to the item page after.
        const QString page = browser_.IE->GetUrl();
        if (!settleEarlierRelist()) return Outcome::NotRelisted;
        if (browser_.IE->NavigateWait(page) == TIECtrl::AutomationFailed) raiseIfLost(*browser_.IE);
    }
    std::optional<WorkbookItems> own;
    if (!bulk) {
        bool refused = false;
        if (panelStepDown(panel_.relistPrices(), &refused), refused) return Outcome::NotRelisted;
        own = readWorkbookItems();
        items_ = &*own;
    }
    const Outcome outcome = relist(bulk);
    if (!bulk) items_ = nullptr;
    // Only a relist the site completed goes back to the list: after a failure the relist page
    // stays, so that the seller can finish there what the message asks.
    if (!bulk && outcome == Outcome::Submitted) {
        openUnsoldList();
        Desktop::instance().setForeground(TIECtrl::WindowOf(browser_.IEWindow));
        busy.ready();
        MessageService::instance().show(texts::RelistedAs.arg(attempt_.oldId, attempt_.newId));
    }
    if (!bulk && outcome == Outcome::Skipped) MessageService::instance().show(attempt_.reason);
    return outcome;
}

bool SingleRelist::readForm(QString& start, QString& buy, QString& title) {
    TIECtrl& ie = *browser_.IE;
    const TFieldDefs& defs = *carry_.FieldDefs;
    const QString startName = defs.StartPriceIndex >= 0 ? defs.FieldName(defs.StartPriceIndex) : QString();
    const QString buyName = defs.BuyPriceIndex >= 0 ? defs.FieldName(defs.BuyPriceIndex) : QString();
    if (startName.isEmpty() || ie.SelectByTagName(QStringLiteral("form")) != 0) return false;
    const int forms = ie.GetListLength();
    // The start-price input tells the entry form from the page's other forms.
    for (int k = 0; k < forms; ++k) {
        if (ie.ItemHasInput(k, startName) != 1) continue;
        start = ie.GetFormValue(k, startName);
        if (!buyName.isEmpty()) buy = ie.GetFormValue(k, buyName);
        if (!defs.TitleFieldName.isEmpty()) title = ie.GetFormValue(k, defs.TitleFieldName);
        return true;
    }
    return false;
}

void SingleRelist::logAttempt(const QString& result) {
    RelistLogEntry e = attempt_;
    e.at = clock::now();
    e.result = result;
    QString error;
    if (appendRelistLog({e}, &error).isEmpty()) MessageService::instance().show(error);
}

bool SingleRelist::completionShown(QString& id, QString& link) {
    TIECtrl& ie = *browser_.IE;
    if (ie.WaitComplete(60) != 0) return false;
    // The completion names the new item; an error page at the same address does not.
    QString failure;
    browser::SitePages(browser_, settings_).ReadListedItemLink(link, id, &failure);
    return !id.isEmpty();
}

SingleRelist::Outcome SingleRelist::relist(bool bulk) {
    TIECtrl& ie = *browser_.IE;
    if (!panel_.closingChosen()) {
        if (!panel_.subPageShown()) panel_.showSubPage();
        MessageService::instance().show(texts::SetClosing);
        return Outcome::NotRelisted;
    }
    if (ie.SelectByTagName(QStringLiteral("A")) != 0) {
        say(bulk, texts::NoData);
        return Outcome::NotRelisted;
    }
    workflow::pause(20);
    int links = ie.GetListLength();
    if (links < 0) {
        workflow::pause(300);
        if (ie.SelectByTagName(QStringLiteral("A")) != 0) {
            say(bulk, texts::NoData);
            return Outcome::NotRelisted;
        }
        workflow::pause(300);
        links = ie.GetListLength();
    }
    if (links <= 0) {
        say(bulk, links == 0 ? texts::WrongPage : texts::NoData);
        return Outcome::NotRelisted;
    }
    // The relist link only tells that an item page with a relist is shown; it is not followed.
    const QString relistLink = settings_.value(workflow::ini::ReShuppinStr);
    bool found = false;
    for (int i = 0; i < links && !found; ++i)
        found = ie.ItemHasChildren(i) && ie.GetItemText(i) == relistLink;
    if (!found) {
        say(bulk, texts::FromItemPage);
        return Outcome::NotRelisted;
    }

    const RelistTarget target = relistTarget(ie.GetUrl(), settings_.auctionHost());
    attempt_.oldId = target.auctionId;
    if (bulk && tally_.RelistedIDs.size() < MaxRelisted) {
        tally_.RelistedIDs << target.auctionId;
        tally_.RelistedCount = int(tally_.RelistedIDs.size());
    }
    if (ie.NavigateWait(target.address) != 0) {
        say(bulk, texts::MoveFailed);
        return Outcome::NotRelisted;
    }
    if (!ie.GetTitle().contains(texts::EntryTitle)) {
        say(bulk, texts::NotRelistPage);
        return Outcome::NotRelisted;
    }
    browser::SitePages pages(browser_, settings_);
    if (pages.IsAlreadyListed() == 1) return Outcome::NotRelisted;
    if (pages.ConfirmInsertion() == -1) {
        raiseIfLost(ie);
        attempt_.reason = texts::NoConfirm;
        logAttempt(texts::ResultFailed);
        return Outcome::Failed;
    }
    if (ie.FindSubmitInput() != 0) {
        raiseIfLost(ie);
        return Outcome::NotRelisted;
    }

    // The item's prices as the site put them into its relist form: the step-down starts there.
    readForm(attempt_.oldStart, attempt_.oldBuy, attempt_.title);
    attempt_.oldStart = attempt_.oldStart.trimmed();
    attempt_.oldBuy = attempt_.oldBuy.trimmed();
    listing::ItemForm form(browser_, book_, carry_, settings_, panel_);
    const workflow::Panel::RelistPrices prices = panel_.relistPrices();
    const std::optional<StepDownRule> rule = prices.stepDown ? parseStepDown(prices.step, prices.stepPercent, prices.floor,
                                                                             prices.floorFromColumn, prices.skipAtFloor,
                                                                             prices.dropBuyNow)
                                                             : std::nullopt;
    if (rule) {
        const std::optional<qint64> start = priceValue(attempt_.oldStart);
        if (!start) {
            raiseIfLost(ie);
            attempt_.reason = texts::StartPriceUnread;
            say(bulk, attempt_.reason);
            logAttempt(texts::ResultFailed);
            return Outcome::Failed;
        }
        const std::optional<qint64> floor = items_ ? ownFloor(*items_, target.auctionId) : std::nullopt;
        const SteppedPrices stepped = stepDown(*rule, *start, priceValue(attempt_.oldBuy).value_or(0), floor);
        if (!stepped.relisted()) {
            attempt_.reason = texts::NoteSkipFloor.arg(stepped.floor);
            logAttempt(texts::ResultSkipped);
            return Outcome::Skipped;
        }
        attempt_.newStart = priceText(stepped.start);
        attempt_.newBuy = priceText(stepped.buy);
        form.relistAt(attempt_.newStart, attempt_.newBuy);
    } else if (prices.used) {
        attempt_.newStart = prices.sokketu ? prices.buy : prices.start;
        attempt_.newBuy = prices.buy;
    } else {
        attempt_.newStart = attempt_.oldStart;
        attempt_.newBuy = attempt_.oldBuy;
    }

    // In the journal before the agree press goes out: from there the site may hold the relist.
    const int row = items_ ? items_->rowOfId.value(target.auctionId) : 0;
    bool journalled = false;
    form.beforeAgree([&] {
        workflow::ListingRecord& record = ledger_.begin(row, row > 0 ? items_->workbook : QString(), clock::now());
        record.title = attempt_.title;
        record.relistOf = target.auctionId;
        record.oldStartPrice = attempt_.oldStart;
        record.oldBuyPrice = attempt_.oldBuy;
        record.startPrice = attempt_.newStart;
        record.buyPrice = attempt_.newBuy;
        record.listedAt = listing::listingTimeText(clock::now());
        record.agreeSentAt = clock::now();
        ledger_.advance(workflow::ListingRecord::Stage::AgreeSent);
        if (!ledger_.journalError().isEmpty()) {
            ledger_.drop();
            attempt_.reason = ledger_.journalError();
            return false;
        }
        journalled = true;
        return true;
    });
    const int filled = form.SetItemToForm(listing::ItemForm::Relisting);
    // Nothing was pressed: the record (if the journal took one) is closed again.
    if (filled != 0 && journalled && ledger_.current()) ledger_.drop();
    // A browser error at the agree press (kept in LastError) touches nothing of the
    // listing: outside a bulk run, or when the browser has gone, it goes to the press's guard
    // (reconnect rule, one message); a bulk run skips the item silently otherwise.
    if (filled == TIECtrl::AutomationFailed && (!bulk || !ie.IsConnected())) {
        raiseIfLost(ie);
        throw AutomationError(uint32_t(ie.LastError), ie.LastErrorText);
    }
    if (filled != 0) {
        raiseIfLost(ie);
        logAttempt(texts::ResultFailed);
        return Outcome::Failed;
    }
    // Relisted only when the site's completion page says so: a dropped or failed submit is not.
    QString id, link;
    if (completionShown(id, link)) {
        attempt_.newId = id;
        // The hook the program gave the ledger writes the log line; the row is written and saved.
        const workflow::ListingRecord* record = ledger_.current();
        ledger_.listed(id, link, record ? record->listedAt : listing::listingTimeText(clock::now()));
        for (const QString& note :
             listing::ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).SaveListedRows())
            MessageService::instance().show(note);
        return Outcome::Submitted;
    }
    // A lost browser leaves the relist in doubt for the site to settle at the next press.
    raiseIfLost(ie);
    if (ie.WaitComplete(1) == 0 && !browser::siteErrors(ie).isEmpty()) {
        // The site answered with its own refusal: nothing was made. Any other page leaves it to
        // the site to say, as for a listing.
        if (ledger_.current()) ledger_.drop();
    }
    attempt_.reason = ledger_.current() ? texts::RelistInDoubt : texts::NotCompleted;
    logAttempt(ledger_.current() ? texts::ResultInDoubt : texts::ResultFailed);
    return Outcome::Failed;
}

} // namespace zk::relist
