#include "listing/BatchRules.h"

#include "listing/Texts.h"
#include "listing/UploadRules.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace zk::listing::batch {

namespace t = texts::batch;

namespace {

// The site's highest price.
constexpr long long MaxPrice = 999999999;

} // namespace

long long wholePrice(const QString& text) {
    QString t = text.trimmed();
    // A whole number below zero is a price too low, not one badly written.
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative) t.remove(0, 1);
    // The site reads at most twelve digits; more is no price it takes.
    if (t.isEmpty() || t.size() > 12) return -1;
    long long value = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return negative && value > 0 ? -2 : value;
}

QString titleAsSent(const QString& title) { return rules::titleAsSent(title); }

// A character counts as what CP932 makes of it: the site keeps "〜" as "～", which is no loss.
QString charactersOutsideCp932(const QString& text) { return cp932::missingCharacters(text); }

void checkTitle(const QString& title, QStringList& errors, QStringList& warnings) {
    const QString trimmed = titleAsSent(title);
    if (trimmed.trimmed().isEmpty()) {
        errors << t::NoTitle;
        return;
    }
    // The title dialog would stop the run to have it shortened.
    if (rules::titleTooLong(trimmed)) errors << t::TitleTooLong.arg(rules::titleBytes(trimmed));
    if (trimmed.contains(QLatin1Char('\n')) || trimmed.contains(QLatin1Char('\r')) || trimmed.contains(QLatin1Char('\t')))
        errors << t::TitleBreaks;
    const QString outside = charactersOutsideCp932(trimmed.simplified());
    if (!outside.isEmpty()) errors << t::TitleCharacters.arg(outside);
    if (trimmed.size() != title.size()) warnings << t::TitleSpaces;
}

PriceSource priceSource(const RunPlan& plan) {
    return plan.workbookPrices ? PriceSource::Workbook : plan.panelPrices ? PriceSource::Panel : PriceSource::Defined;
}

QString priceSourceName(PriceSource source) {
    switch (source) {
    case PriceSource::Workbook: return t::PricesFromWorkbook;
    case PriceSource::Panel: return t::PricesFromPanel;
    case PriceSource::Defined: return t::PricesFromDefinitions;
    }
    return {};
}

Prices effectivePrices(const RowData& row, const RunPlan& plan) {
    // The workbook's columns win; the panel's prices go only into forms without them.
    if (plan.workbookPrices) return {row.start.trimmed(), row.buy.trimmed()};
    if (plan.panelPrices) {
        const QString start = plan.panelStart.trimmed();
        return {start, plan.panelSokketu ? start : plan.panelBuy.trimmed()};
    }
    return {plan.definedStart.trimmed(), plan.definedBuy.trimmed()};
}

QStringList priceProblems(const Prices& prices) {
    QStringList problems;
    const long long start = wholePrice(prices.start);
    if (prices.start.isEmpty()) problems << t::NoStartPrice;
    else if (start == -1) problems << t::StartNotWhole.arg(prices.start);
    else if (start < 1) problems << t::StartNotPositive.arg(prices.start);
    else if (start > MaxPrice) problems << t::StartTooHigh.arg(prices.start);
    if (prices.buy.isEmpty()) return problems;
    const long long buy = wholePrice(prices.buy);
    if (buy == -1) problems << t::BuyNotWhole.arg(prices.buy);
    else if (buy < 1) problems << t::BuyNotPositive.arg(prices.buy);
    else if (buy > MaxPrice) problems << t::BuyTooHigh.arg(prices.buy);
    else if (start >= 1 && start <= MaxPrice && buy < start) problems << t::BuyBelowStart.arg(prices.buy, prices.start);
    return problems;
}

QStringList namedPictures(const QString& cell) {
    static const QRegularExpression separators(QStringLiteral("[\\s,\u3000\u3001\uFF0C]+"));
    return cell.split(separators, Qt::SkipEmptyParts);
}

namespace {

// A folder picture by the name a "画像" cell gives: its file name, with or without ".jpg", in
// any case.
QString findNamed(const QStringList& folder, const QString& name) {
    for (const QString& path : folder) {
        const QString file = QFileInfo(path).fileName();
        if (file.compare(name, Qt::CaseInsensitive) == 0 || QFileInfo(file).completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return path;
    }
    return {};
}

} // namespace

QList<Verdict> preflight(const QList<RowData>& rows, const RunPlan& plan) {
    // The files named by a row, or kept for one, are that row's alone: they leave the folder's
    // order, which goes on past them.
    QSet<QString> tied;
    QHash<int, QStringList> named;
    QHash<QString, int> namedBy;
    QHash<int, QStringList> namedErrors;
    for (const RowData& row : rows) {
        if (!row.auctionId.trimmed().isEmpty()) continue;
        for (const QString& name : namedPictures(row.pictureNames)) {
            const QString path = findNamed(plan.inFolder, name);
            if (path.isEmpty()) {
                namedErrors[row.row] << t::NamedPictureMissing.arg(name);
            } else if (namedBy.contains(path) && namedBy.value(path) != row.row) {
                namedErrors[row.row] << t::NamedPictureTwice.arg(name, QString::number(namedBy.value(path)));
            } else if (!named.value(row.row).contains(path)) {
                named[row.row] << path;
                namedBy.insert(path, row.row);
                tied.insert(path);
            }
        }
    }
    const QSet<QString> present(plan.inFolder.begin(), plan.inFolder.end());
    QSet<int> listedRows;
    for (const RowData& row : rows)
        if (!row.auctionId.trimmed().isEmpty()) listedRows.insert(row.row);
    QHash<int, QStringList> kept;
    for (auto it = plan.kept.begin(); it != plan.kept.end(); ++it) {
        // A row listed meanwhile (by hand) needs its kept files no more: they go back to the order.
        if (listedRows.contains(it.key())) continue;
        // A kept share holds only while every file of it is still in the folder and no cell names it.
        const bool whole = !it.value().isEmpty() && std::all_of(it.value().begin(), it.value().end(), [&](const QString& p) {
            return present.contains(p) && !namedBy.contains(p);
        });
        if (whole) {
            kept.insert(it.key(), it.value());
            for (const QString& p : it.value()) tied.insert(p);
        }
    }

    QList<Verdict> verdicts;
    int nextPicture = 0;
    bool ranOut = false;
    for (const RowData& row : rows) {
        Verdict v;
        v.row = row.row;
        v.title = row.title;
        const bool listedBefore = !row.auctionId.trimmed().isEmpty();
        if (listedBefore) v.errors << t::AlreadyListed.arg(row.auctionId.trimmed());
        checkTitle(row.title, v.errors, v.warnings);

        const Prices prices = effectivePrices(row, plan);
        v.start = prices.start;
        v.buy = prices.buy;
        v.prices = priceSource(plan);
        v.errors << priceProblems(prices);
        if (!prices.start.isEmpty() && prices.buy.isEmpty()) v.warnings << t::NoBuyPrice;

        const int bytes = cp932::byteLength(row.description);
        if (bytes > rules::TemplateByteLimit)
            v.errors << (plan.templateBytes > 0 ? t::DescriptionTooLongWithTemplate.arg(bytes).arg(plan.templateBytes)
                                                : t::DescriptionTooLong.arg(bytes));
        if (row.description.trimmed().isEmpty()) v.warnings << t::NoDescription;
        const QString odd = charactersOutsideCp932(row.description);
        if (!odd.isEmpty()) v.warnings << t::DescriptionCharacters.arg(odd);

        v.category = row.category.trimmed().isEmpty() ? plan.defaultCategory : row.category.trimmed();
        v.categoryName = plan.categoryNames.value(v.category);
        if (v.category.isEmpty()) v.errors << t::NoCategory;
        else if (!plan.categoryCodes.contains(v.category)) v.errors << t::UnknownCategory.arg(v.category);

        v.closing = plan.closing;
        if (!plan.closingChosen) v.errors << t::NoClosing;
        else if (!plan.closingOffered) v.errors << t::ClosingGone;

        // Pictures last. Every row takes its share, listing or not: a row skipped keeps its own
        // files in the folder, and the rows after it keep theirs. A listed row's went with it.
        if (!listedBefore && plan.perItem > 0) {
            if (named.contains(row.row) || namedErrors.contains(row.row)) {
                v.named = true;
                v.pictures = named.value(row.row);
                v.errors << namedErrors.value(row.row);
                if (!v.pictures.isEmpty() && v.pictures.size() != plan.perItem)
                    v.warnings << t::NamedPictureCount.arg(v.pictures.size()).arg(plan.perItem);
            } else if (kept.contains(row.row)) {
                v.pictures = kept.value(row.row);
            } else {
                QStringList share;
                int at = nextPicture;
                while (share.size() < plan.perItem && at < plan.pictures.size()) {
                    if (!tied.contains(plan.pictures[at])) share << plan.pictures[at];
                    ++at;
                }
                if (share.size() < plan.perItem) {
                    v.errors << (ranOut || share.isEmpty() ? t::NoPicturesLeft : t::PicturesRunOut.arg(share.size()).arg(plan.perItem));
                    ranOut = true;
                    v.picturesShort = true;
                    nextPicture = int(plan.pictures.size());
                } else {
                    v.pictures = share;
                    nextPicture = at;
                }
            }
            // A picture that cannot be sent stops only the row whose share holds it.
            QStringList refused;
            for (const QString& picture : v.pictures)
                if (plan.unsendable.contains(picture)) refused << plan.unsendable.value(picture);
            if (!refused.isEmpty()) v.errors << t::PictureUnsendable.arg(refused.join(QStringLiteral("、")));
        }
        v.poolNext = nextPicture;
        verdicts << v;
    }
    return verdicts;
}

QString durationText(qint64 ms) {
    const qint64 s = std::max<qint64>(0, ms) / 1000;
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString progressText(int k, int n, qint64 elapsedMs) {
    const int done = k - 1;
    if (done <= 0) return t::ProgressFirst.arg(k).arg(n).arg(durationText(elapsedMs));
    const qint64 left = elapsedMs / done * (n - done);
    return t::Progress.arg(k).arg(n).arg(durationText(elapsedMs), durationText(left));
}

QString resultName(Outcome::Kind kind) {
    switch (kind) {
    case Outcome::Kind::Listed: return t::ResultListed;
    case Outcome::Kind::Skipped: return t::ResultSkipped;
    case Outcome::Kind::Failed: return t::ResultFailed;
    case Outcome::Kind::NotReached: return t::ResultNotReached;
    }
    return {};
}

QString logFileName(const QDate& day) { return t::LogName.arg(day.toString(QStringLiteral("yyyyMMdd"))); }

QString logHeader() { return t::LogHeader; }

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString logLine(const Outcome& o, const QString& workbook, const QDateTime& runStart) {
    const QString stamp = QStringLiteral("yyyy/MM/dd HH:mm:ss");
    const QStringList fields{o.at.toString(stamp), QString::number(o.row), o.title, o.auctionId, o.link,
                             resultName(o.kind), o.reason, workbook, runStart.toString(stamp)};
    QStringList out;
    for (const QString& f : fields) out << csvField(f);
    return out.join(QLatin1Char(','));
}

QString summaryText(const QList<Outcome>& outcomes, const QString& stoppedAt, const QString& logPath) {
    int listed = 0, skipped = 0, failed = 0;
    QStringList listedRows, skippedRows, failedRows;
    for (const Outcome& o : outcomes) {
        const QString line = t::SummaryRow.arg(QString::number(o.row), o.title, o.reason);
        switch (o.kind) {
        case Outcome::Kind::Listed:
            ++listed;
            listedRows << t::SummaryRow.arg(QString::number(o.row), o.title, o.auctionId) +
                              (o.reason.isEmpty() ? QString() : QStringLiteral("（%1）").arg(o.reason));
            break;
        case Outcome::Kind::Skipped: ++skipped; skippedRows << line; break;
        case Outcome::Kind::Failed: ++failed; failedRows << line; break;
        case Outcome::Kind::NotReached: break;
        }
    }
    QString text = stoppedAt.isEmpty() ? t::Summary.arg(listed).arg(skipped).arg(failed)
                                       : t::SummaryStopped.arg(stoppedAt, QString::number(listed), QString::number(skipped),
                                                               QString::number(failed));
    if (!listedRows.isEmpty()) text += QStringLiteral("\n\n") + t::SummaryListed + QLatin1Char('\n') + listedRows.join('\n');
    if (!skippedRows.isEmpty()) text += QStringLiteral("\n\n") + t::SummarySkipped + QLatin1Char('\n') + skippedRows.join('\n');
    if (!failedRows.isEmpty()) text += QStringLiteral("\n\n") + t::SummaryFailed + QLatin1Char('\n') + failedRows.join('\n');
    if (!logPath.isEmpty()) text += QStringLiteral("\n\n") + t::SummaryLog.arg(logPath);
    return text;
}

QStringList reportNotes(const QList<Verdict>& verdicts, const RunPlan& plan) {
    bool emptyDescription = false;
    int short_ = 0;
    for (const Verdict& v : verdicts) {
        emptyDescription = emptyDescription || v.warnings.contains(t::NoDescription);
        short_ += v.picturesShort ? 1 : 0;
    }
    QStringList notes;
    if (emptyDescription && !plan.hasTemplate) notes << t::NoTemplateNote;
    if (short_ > 0)
        notes << t::FolderShortNote.arg(QDir::toNativeSeparators(plan.folder)).arg(plan.pictures.size()).arg(short_);
    return notes;
}

QString reportText(const QList<Verdict>& verdicts) {
    QStringList lines;
    for (const Verdict& v : verdicts) {
        QStringList names;
        for (const QString& p : v.pictures) names << QFileInfo(p).fileName();
        // One substitution: a "%2" in a title or a file name is text, never filled again.
        lines << t::ReportLine.arg(QString::number(v.row), v.title, v.start, v.buy.isEmpty() ? t::NoBuy : v.buy,
                                   priceSourceName(v.prices), (v.category + QLatin1Char(' ') + v.categoryName).trimmed(),
                                   v.closing,
                                   names.isEmpty() ? t::NoPictures : names.join(QLatin1Char(' ')) + (v.named ? t::NamedMark : QString()),
                                   v.ok() ? t::VerdictLists : t::VerdictSkipped + QStringLiteral("：") + v.errors.join(QStringLiteral("／")))
                 + (v.warnings.isEmpty() ? QString() : QStringLiteral("（%1）").arg(v.warnings.join(QStringLiteral("／"))));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace zk::listing::batch
