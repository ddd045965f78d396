#include "listing/BatchRules.h"

#include "listing/Texts.h"
#include "listing/UploadRules.h"
#include "platform/Cp932.h"

#include <algorithm>

namespace zk::listing::batch {

namespace t = texts::batch;

namespace {

// The site's highest price.
constexpr long long MaxPrice = 999999999;

} // namespace

long long wholePrice(const QString& text) {
    const QString t = text.trimmed();
    // The site reads at most twelve digits; more is no price it takes.
    if (t.isEmpty() || t.size() > 12) return -1;
    long long value = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString charactersOutsideCp932(const QString& text) {
    QString out;
    for (const uint c : text.toUcs4()) {
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        if (cp932::toUnicode(cp932::fromUnicode(one)) != one && !out.contains(one)) out += one;
    }
    return out;
}

void checkTitle(const QString& title, QStringList& errors, QStringList& warnings) {
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty()) {
        errors << t::NoTitle;
        return;
    }
    // The title dialog would stop the run to have it shortened.
    if (rules::titleTooLong(title)) errors << t::TitleTooLong.arg(rules::titleBytes(title));
    if (trimmed.contains(QLatin1Char('\n')) || trimmed.contains(QLatin1Char('\r')) || trimmed.contains(QLatin1Char('\t')))
        errors << t::TitleBreaks;
    const QString outside = charactersOutsideCp932(trimmed.simplified());
    if (!outside.isEmpty()) errors << t::TitleCharacters.arg(outside);
    if (trimmed.size() != title.size()) warnings << t::TitleSpaces;
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
    else if (start < 0) problems << t::StartNotWhole.arg(prices.start);
    else if (start < 1) problems << t::StartNotPositive.arg(prices.start);
    else if (start > MaxPrice) problems << t::StartTooHigh.arg(prices.start);
    if (prices.buy.isEmpty()) return problems;
    const long long buy = wholePrice(prices.buy);
    if (buy < 0) problems << t::BuyNotWhole.arg(prices.buy);
    else if (buy < 1) problems << t::BuyNotPositive.arg(prices.buy);
    else if (buy > MaxPrice) problems << t::BuyTooHigh.arg(prices.buy);
    else if (start >= 1 && start <= MaxPrice && buy < start) problems << t::BuyBelowStart.arg(prices.buy, prices.start);
    return problems;
}

QList<Verdict> preflight(const QList<RowData>& rows, const RunPlan& plan) {
    QList<Verdict> verdicts;
    int nextPicture = 0;
    bool ranOut = false;
    for (const RowData& row : rows) {
        Verdict v;
        v.row = row.row;
        v.title = row.title;
        if (!row.auctionId.trimmed().isEmpty()) v.errors << t::AlreadyListed.arg(row.auctionId.trimmed());
        checkTitle(row.title, v.errors, v.warnings);

        const Prices prices = effectivePrices(row, plan);
        v.errors << priceProblems(prices);
        if (!prices.start.isEmpty() && prices.buy.isEmpty()) v.warnings << t::NoBuyPrice;

        const int bytes = cp932::byteLength(row.description);
        if (bytes > rules::TemplateByteLimit) v.errors << t::DescriptionTooLong.arg(bytes);
        if (row.description.trimmed().isEmpty()) v.warnings << t::NoDescription;
        const QString odd = charactersOutsideCp932(row.description);
        if (!odd.isEmpty()) v.warnings << t::DescriptionCharacters.arg(odd);

        v.category = row.category.trimmed().isEmpty() ? plan.defaultCategory : row.category.trimmed();
        if (v.category.isEmpty()) v.errors << t::NoCategory;
        else if (!plan.categoryCodes.contains(v.category)) v.errors << t::UnknownCategory.arg(v.category);

        if (!plan.closingChosen) v.errors << t::NoClosing;
        else if (!plan.closingOffered) v.errors << t::ClosingGone;

        // Pictures last: only a row that lists takes them, so a row skipped for anything else
        // leaves its share to the next.
        if (v.ok() && plan.perItem > 0) {
            const int left = int(plan.pictures.size()) - nextPicture;
            if (left < plan.perItem) {
                v.errors << (ranOut ? t::NoPicturesLeft : t::PicturesRunOut.arg(left).arg(plan.perItem));
                ranOut = true;
            } else {
                // A picture that cannot be sent stops every row that would take it: they go in
                // folder order, so the seller has to mend or move it.
                const QStringList share = plan.pictures.mid(nextPicture, plan.perItem);
                QStringList refused;
                for (const QString& picture : share)
                    if (plan.unsendable.contains(picture)) refused << plan.unsendable.value(picture);
                if (!refused.isEmpty()) {
                    v.errors << t::PictureUnsendable.arg(refused.join(QStringLiteral("、")));
                } else {
                    v.pictures = share;
                    nextPicture += plan.perItem;
                }
            }
        }
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

QString logLine(const Outcome& o) {
    const QStringList fields{o.at.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")), QString::number(o.row), o.title,
                             o.auctionId, o.link, resultName(o.kind), o.reason};
    QStringList out;
    for (const QString& f : fields) out << csvField(f);
    return out.join(QLatin1Char(','));
}

QString summaryText(const QList<Outcome>& outcomes, const QString& stoppedAt, const QString& logPath) {
    int listed = 0, skipped = 0, failed = 0;
    QStringList skippedRows, failedRows;
    for (const Outcome& o : outcomes) {
        const QString line = t::SummaryRow.arg(o.row).arg(o.title, o.reason);
        switch (o.kind) {
        case Outcome::Kind::Listed: ++listed; break;
        case Outcome::Kind::Skipped: ++skipped; skippedRows << line; break;
        case Outcome::Kind::Failed: ++failed; failedRows << line; break;
        case Outcome::Kind::NotReached: break;
        }
    }
    QString text = stoppedAt.isEmpty() ? t::Summary.arg(listed).arg(skipped).arg(failed)
                                       : t::SummaryStopped.arg(stoppedAt).arg(listed).arg(skipped).arg(failed);
    if (!skippedRows.isEmpty()) text += QStringLiteral("\n\n") + t::SummarySkipped + QLatin1Char('\n') + skippedRows.join('\n');
    if (!failedRows.isEmpty()) text += QStringLiteral("\n\n") + t::SummaryFailed + QLatin1Char('\n') + failedRows.join('\n');
    if (!logPath.isEmpty()) text += QStringLiteral("\n\n") + t::SummaryLog.arg(logPath);
    return text;
}

} // namespace zk::listing::batch
