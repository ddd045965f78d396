#include "listing/ListingRecords.h"

#include "browser/Iectrl.h"
#include "browser/SitePageRules.h"
#include "browser/SitePages.h"
#include "listing/JournalNotice.h"
#include "listing/ListingRules.h"
#include "listing/ListingFailure.h"
#include "listing/PicUploader.h"
#include "listing/RelistedRow.h"
#include "listing/RoadStepsOnSite.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/WorkbookSession.h"
#include "workflow/Pause.h"
#include "workflow/SystemIni.h"

#include <QFileInfo>

#include <optional>

namespace zk::listing {

namespace {

using workflow::ListingRecord;
using Stage = ListingRecord::Stage;

constexpr int GuideCategory = 0;
// A press that was still on its way when the browser went reaches the site a little later:
// the selling list is looked at again once this long after the press.
constexpr int LateArrivalMs = 5000;
// Rows of the sheet read at most to find a listed item's row and the IDs other rows hold.
constexpr int MaxRowsRead = 5000;
// Rows read in one call.
constexpr int SheetBlockRows = 200;

void say(const QString& text) { MessageService::instance().show(text); }

constexpr auto Quiet = sheet::WorkbookSession::Failure::Quiet;

QString rowList(const QList<ListingRecord>& records) {
    QStringList rows;
    for (const ListingRecord& r : records) rows << texts::RowAndId.arg(r.row).arg(r.auctionId);
    return rows.join(QStringLiteral("、"));
}

} // namespace

void ListingRecords::advanceCursorPast(int row) {
    workflow::RowCursor& cursor = book_.Row;
    if (row <= 0 || cursor.CurrentRow > row || book_.ExcelState != 1) return;
    // An upload that stopped before moving on leaves the cursor on the listed row.
    cursor.CurrentRow = row + 1;
    panel_.setNextTitle(book_.Workbook->NextTitle());
}

void ListingRecords::RecordListing(const QString& auctionId, const QString& link, const QString& listedAt) {
    const bool recorded = ledger_.current() != nullptr;
    const int row = recorded ? ledger_.current()->row : 0;
    // A relisted item's row is not where the listing cursor stands.
    const bool relist = recorded && !ledger_.current()->relistOf.isEmpty();
    ledger_.listed(auctionId, link, listedAt);
    if (!ledger_.journalError().isEmpty()) say(texts::JournalUnwritable.arg(ledger_.journalError()));
    if (!recorded) {
        // No upload of this run belongs to the item: no row may take its ID.
        if (book_.ExcelState == 1) say(texts::ListedWithoutRow.arg(auctionId));
        return;
    }
    if (!relist) advanceCursorPast(row);
    SayListedRows();
}

std::optional<QList<workflow::SheetRow>> ListingRecords::sheetRows(int through) {
    const workflow::RowCursor& cursor = book_.Row;
    const int left = std::min(cursor.NameColumn, cursor.ResultColumn);
    const int right = std::max(cursor.NameColumn, cursor.ResultColumn);
    QList<workflow::SheetRow> rows;
    // From the sheet's first row: an ID above the first item row is in the workbook too.
    for (int top = 1; top <= MaxRowsRead; top += SheetBlockRows) {
        QList<QStringList> block;
        if (book_.Excel->ReadTexts(top, left, top + SheetBlockRows - 1, right, block) != 0) return std::nullopt;
        bool any = false;
        for (int i = 0; i < int(block.size()); ++i) {
            const workflow::SheetRow r{top + i, block[i].value(cursor.NameColumn - left),
                                       block[i].value(cursor.ResultColumn - left).trimmed()};
            any = any || !r.title.trimmed().isEmpty() || !r.auctionId.isEmpty();
            rows << r;
        }
        // The sheet ends at a block without any title or ID, once past every recorded row.
        if (!any && top + SheetBlockRows > through) break;
    }
    return rows;
}

QStringList ListingRecords::SaveListedRows() {
    if (ledger_.unsaved().isEmpty()) return {};
    if (book_.ExcelState != 1) return {texts::RowsWaitForWorkbook.arg(rowList(ledger_.unsaved()))};
    sheet::TExcel& excel = *book_.Excel;
    const QString book = excel.BookPath;
    const int column = book_.Row.ResultColumn;
    QList<ListingRecord> mine;
    int through = 0;
    for (const ListingRecord& r : ledger_.unsaved())
        if (r.workbook == book) {
            mine << r;
            through = std::max(through, r.row);
        }
    if (mine.isEmpty()) return {};
    std::optional<QList<workflow::SheetRow>> rows = sheetRows(through);
    if (!rows) return {texts::RowsNotSaved.arg(rowList(mine))};
    QStringList notes, waiting;
    QList<ListingRecord> toWrite, hidden;
    bool written = true;
    for (ListingRecord r : mine) {
        // An ID goes only where its item is, and never beside the same ID in another row.
        const workflow::RowPlace place = workflow::placeListed(r, *rows);
        if (!place.writable()) {
            waiting << r.auctionId;
            notes << placeNote(r, place);
            continue;
        }
        r.row = place.row;
        toWrite << r;
        if (!book_.Workbook->WriteCellText(r.row, column, r.auctionId)) {
            written = false;
            break;
        }
        for (workflow::SheetRow& sheetRow : *rows)
            if (sheetRow.row == r.row) sheetRow.auctionId = r.auctionId;
        // The ID is what the row is known by: a failure of the time or the link beside it is not said.
        book_.Workbook->WriteCellText(r.row, workflow::column::ListedAt, r.listedAt, Quiet);
        book_.Workbook->WriteCellText(r.row, workflow::column::Link, r.link, Quiet);
        if (!r.relistOf.isEmpty()) writePreviousId(*book_.Workbook, r.row, r.relistOf);
        if (excel.CellHiddenByMerge(r.row, column) == 1) hidden << r;
    }
    // On disk the moment the site has said so: a lost office loses nothing that was listed.
    if (!written || (!toWrite.isEmpty() && excel.Save() != 0)) return notes << texts::RowsNotSaved.arg(rowList(toWrite));
    ledger_.savedFor(book, waiting);
    if (!hidden.isEmpty()) notes << texts::IdUnderMerge.arg(rowList(hidden));
    return notes;
}

QString ListingRecords::placeNote(const ListingRecord& record, const workflow::RowPlace& place) {
    using Kind = workflow::RowPlace::Kind;
    const QString title = record.rowTitle.isEmpty() ? record.title : record.rowTitle;
    const QString id = record.auctionId;
    if (place.kind == Kind::HeldElsewhere)
        return texts::IdHeldByOtherRow.arg(id, QString::number(place.otherRow), QString::number(place.row), title);
    if (place.kind == Kind::Ambiguous) return texts::IdRowAmbiguous.arg(id, QString::number(record.row), title);
    return texts::IdRowNotFound.arg(id, QString::number(record.row), title);
}

void ListingRecords::SayListedRows() {
    for (const QString& note : SaveListedRows()) say(note);
}

std::optional<ListingRecords::Look> ListingRecords::candidatesOnSite(const ListingRecord& record) {
    TIECtrl& ie = *browser_.IE;
    if (!browser_.IEConnected || record.title.trimmed().isEmpty()) return std::nullopt;
    try {
        if (ie.NavigateWait(settings_.value(workflow::ini::ShuppinChuuUrl)) != 0) return std::nullopt;
        if (ie.SelectByTagName(QStringLiteral("A")) != 0) return std::nullopt;
        const int n = ie.GetListLength();
        if (n < 0) return std::nullopt;
        std::vector<ListLink> links;
        for (int i = 0; i < n; ++i) links.push_back({ie.GetItemText(i), ie.GetItemAttribute(i, QStringLiteral("href"))});
        QStringList known = ledger_.knownIds();
        known << idsInWorkbook();
        const std::vector<ListedItem> matches = listingCandidates(links, record.title, settings_.auctionHost(), known);
        QStringList ids;
        for (const ListedItem& item : matches) ids << item.id;
        const workflow::DoubtCandidates judged = workflow::judgeCandidates(record, ids);
        Look look;
        look.kind = judged.kind;
        for (const ListedItem& item : matches) {
            if (!judged.ids.contains(item.id)) continue;
            Candidate c{item.id, item.link, {}, {}};
            // What the list shows beside the title, for the seller who chooses.
            if (look.kind == workflow::DoubtCandidates::Kind::Choose)
                for (int i = 0; i < n; ++i) {
                    QString href = links[size_t(i)].href;
                    while (href.endsWith('/')) href.chop(1);
                    if (links[size_t(i)].text.trimmed() != record.title.trimmed() ||
                        browser::auctionIdFromLink(href) != item.id)
                        continue;
                    ie.GetItemCellTexts(i, c.price, c.closing);
                    break;
                }
            look.found << c;
        }
        return look;
    } catch (const AutomationError&) {
        // The new browser went too: the site could not be asked, and the caller says so.
        return std::nullopt;
    }
}

QStringList ListingRecords::idsInWorkbook() {
    QStringList ids;
    const ListingRecord* record = ledger_.current();
    if (book_.ExcelState != 1 || !record || book_.Excel->BookPath != record->workbook) return ids;
    // Every row of the sheet: another row's ID is never this listing's, above the cursor or below.
    if (const auto rows = sheetRows(record->row))
        for (const workflow::SheetRow& r : *rows)
            if (r.row != record->row && !r.auctionId.isEmpty()) ids << r.auctionId;
    return ids;
}

void ListingRecords::recordFound(const Candidate& found, bool atStart) {
    const ListingRecord record = *ledger_.current();
    if (foundId_) *foundId_ = found.id;
    if (atStart) {
        ledger_.listed(found.id, found.link, record.listedAt);
        return;
    }
    say(texts::FoundOnSite.arg(found.id).arg(record.row));
    RecordListing(found.id, found.link, record.listedAt);
    panel_.showGuideAt(GuideCategory);
}

int ListingRecords::doubtSeconds() const { return settings_.doubtSeconds(); }

void ListingRecords::takeBackAbsent() {
    const ListingRecord* record = ledger_.current();
    if (!record) return;
    // Nothing of it is on the site, and the site can no longer make it: taken back like a
    // listing never agreed.
    // A relist moved no picture and coloured no row: there is nothing of it to take back.
    if (record->relistOf.isEmpty()) RoadStepsOnSite(browser_, book_, carry_, ledger_, settings_, panel_).takeBack(*record);
    ledger_.drop();
}

bool ListingRecords::AskTheSite(QString* foundId) {
    foundId_ = foundId;
    ListingRecord* record = ledger_.current();
    if (!record || !record->inDoubt()) return true;
    TIECtrl& ie = *browser_.IE;

    // Only the office went, or the answer was not read: the completion page may still be there.
    if (browser_.IEConnected) {
        try {
            if (browser::isCompletionPage(ie.GetUrl(), settings_.auctionHost())) {
                QString link, id;
                browser::SitePages(browser_, settings_).ReadListedItemLink(link, id);
                if (!id.isEmpty()) {
                    recordFound({id, link}, false);
                    return true;
                }
            }
        } catch (const AutomationError&) {
            // The list below is asked instead.
        }
    }

    auto candidates = candidatesOnSite(*record);
    if (candidates && candidates->found.isEmpty()) {
        // A press still on its way when the browser went reaches the site a little later.
        workflow::pause(LateArrivalMs);
        candidates = candidatesOnSite(*record);
    }
    record = ledger_.current();
    if (!record->agreeSentAt.isValid()) {
        // A journal of an older run holds no time of its press: the bound counts from now.
        record->agreeSentAt = clock::now();
        ledger_.persist();
    }
    if (!candidates && record->title.trimmed().isEmpty()) {
        // Nothing to look for: the seller is the one to tell.
        const int row = record->row;
        ledger_.drop();
        say(texts::NoneChosen.arg(row));
        return true;
    }
    if (!candidates) {
        say(texts::CouldNotCheck.arg(record->row).arg(record->title));
        return false;
    }
    if (candidates->found.isEmpty()) {
        if (workflow::settleDoubt(false, record->agreeSentAt, clock::now(), doubtSeconds()) ==
            workflow::Doubt::StillInDoubt) {
            const qint64 left = std::max<qint64>(1, doubtSeconds() - record->agreeSentAt.secsTo(clock::now()));
            say(texts::StillInDoubt.arg(QString::number(record->row), record->title, QString::number(left)));
            return false;
        }
        say(texts::NotFoundOnSite.trimmed());
        takeBackAbsent();
        MessageService::instance().show(texts::OneListingUndone, texts::InformationCaption, Icon::Information);
        return true;
    }
    if (candidates->kind == workflow::DoubtCandidates::Kind::Take) {
        recordFound(candidates->found.first(), false);
        return true;
    }
    // The seller chooses, seeing the listing beside every item it may be.
    QStringList items;
    for (const Candidate& c : candidates->found) items << texts::WhichListingItem.arg(record->title, c.id, c.price, c.closing);
    QStringList pictures;
    for (const QString& p : record->pictures) pictures << QFileInfo(p).fileName();
    const QString intro = texts::WhichListingIntro.arg(
        QString::number(record->row), record->title, record->listedAt, record->startPrice.isEmpty() ? QStringLiteral("－") : record->startPrice,
        pictures.isEmpty() ? QStringLiteral("－") : pictures.join(QStringLiteral("、")), items.join('\n'));
    for (const Candidate& c : candidates->found) {
        if (MessageService::instance().show(intro + texts::WhichListingAsk.arg(c.id, QString::number(record->row)),
                                            texts::ConfirmCaption, Icon::Question, Buttons::YesNo) == Answer::Yes) {
            if (foundId_) *foundId_ = c.id;
            RecordListing(c.id, c.link, record->listedAt);
            panel_.showGuideAt(GuideCategory);
            return true;
        }
    }
    const int row = record->row;
    ledger_.drop();
    say(texts::NoneChosen.arg(row));
    return true;
}

bool ListingRecords::SettleDoubt() {
    const ListingRecord* record = ledger_.current();
    if (!record || !record->inDoubt()) return true;
    // Asking took the browser to the selling list: the press ends, and is made again from its page.
    AskTheSite();
    return false;
}

void ListingRecords::RecoverJournal() {
    if (!ledger_.load()) {
        say(journalFaultNotice(ledger_.loadFault()));
        return;
    }
    QStringList lines;
    QString foundId; // said on its own line, not again among the rows that wait
    if (ListingRecord* record = ledger_.current()) {
        const int row = record->row;
        const QString title = record->title;
        // A record never agreed cannot be on the site: only one in doubt is looked for.
        const std::optional<Look> candidates = record->inDoubt() ? candidatesOnSite(*record) : std::optional<Look>(Look{});
        if (!candidates) {
            lines << texts::CouldNotCheck.arg(row).arg(title);
        } else if (candidates->found.isEmpty() && record->inDoubt() &&
                   workflow::settleDoubt(false, record->agreeSentAt, clock::now(), doubtSeconds()) !=
                       workflow::Doubt::Absent) {
            // The site may still make it: looked for again before every listing step.
            if (!record->agreeSentAt.isValid()) {
                record->agreeSentAt = clock::now();
                ledger_.persist();
            }
            lines << texts::StillInDoubtAtStart.arg(row).arg(title);
        } else if (candidates->found.isEmpty()) {
            for (const QString& picture : record->pictures) TPicUploader::ParkPicture(picture, true);
            ledger_.drop();
            lines << texts::NotListedAtStart.arg(row).arg(title);
        } else if (candidates->kind == workflow::DoubtCandidates::Kind::Take) {
            foundId = candidates->found.first().id;
            recordFound(candidates->found.first(), true);
            lines << texts::ListedAtStart.arg(row).arg(title, foundId);
        } else {
            // Not one that can only be it: the seller chooses at the next listing step.
            lines << texts::CouldNotCheck.arg(row).arg(title);
        }
    }
    QList<ListingRecord> waiting;
    for (const ListingRecord& r : ledger_.unsaved())
        if (foundId.isEmpty() || r.auctionId != foundId) waiting << r;
    if (!waiting.isEmpty()) lines << texts::RowsWaitForWorkbook.arg(rowList(waiting));
    if (!lines.isEmpty()) say(texts::RecoveredAtStart + lines.join(QStringLiteral("\n")));
}

} // namespace zk::listing
