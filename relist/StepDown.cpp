#include "relist/StepDown.h"

#include "relist/Texts.h"

#include <QRegularExpression>
#include <algorithm>

namespace zk::relist {

namespace {

constexpr qint64 MaxPrice = 999999999;
constexpr qint64 Whole = 10000; // a percent in hundredths: 100 %

// The price with the step taken off, rounded down; never below 0.
qint64 lowered(const StepDownRule& rule, qint64 price) {
    if (rule.unit == StepDownRule::Unit::Yen) return std::max<qint64>(0, price - rule.step);
    // Integer arithmetic rounds down: 1,234 yen less 10 % is 1,110, not 1,110.6.
    return price * (Whole - rule.step) / Whole;
}

} // namespace

std::optional<qint64> priceValue(const QString& text) {
    // Half-width digits only (the panel's boxes refuse full-width ones); a yen sign before it
    // ("¥1,000", "￥1,000") or "円" after it, with or without a space ("1,000 円").
    QString t = text.trimmed();
    if (t.startsWith(QChar(0x00A5)) || t.startsWith(QChar(0xFFE5))) t = t.mid(1).trimmed();
    if (t.endsWith(QStringLiteral("円"))) t = t.chopped(1).trimmed(); // "1,000 円" and "1,000円"
    // Thousands grouped by commas or not grouped at all; a number cell may read back with a
    // fraction of zeros.
    static const QRegularExpression price(QStringLiteral("^([0-9]{1,3}(?:,[0-9]{3}){0,2}|[0-9]{1,9})(\\.0+)?$"));
    const QRegularExpressionMatch m = price.match(t);
    if (!m.hasMatch()) return std::nullopt;
    return m.captured(1).remove(QLatin1Char(',')).toLongLong();
}

std::optional<StepDownRule> parseStepDown(const QString& step, bool percent, const QString& floor, bool floorFromColumn,
                                          bool skipAtFloor, bool dropBuyNow, StepDownFault* fault) {
    auto refuse = [fault](StepDownFault why) -> std::optional<StepDownRule> {
        if (fault) *fault = why;
        return std::nullopt;
    };
    if (fault) *fault = StepDownFault::None;
    StepDownRule rule;
    rule.unit = percent ? StepDownRule::Unit::Percent : StepDownRule::Unit::Yen;
    rule.floorFromColumn = floorFromColumn;
    rule.skipAtFloor = skipAtFloor;
    rule.dropBuyNow = dropBuyNow;
    const QString s = step.trimmed();
    if (s.isEmpty()) return refuse(StepDownFault::NoStep);
    if (percent) {
        QString p = s;
        if (p.endsWith(QStringLiteral("%")) || p.endsWith(QStringLiteral("％"))) p.chop(1);
        static const QRegularExpression number(QStringLiteral("^([0-9]{1,3})(?:\\.([0-9]{1,2}))?$"));
        const QRegularExpressionMatch m = number.match(p.trimmed());
        if (!m.hasMatch()) return refuse(StepDownFault::StepOutOfRange);
        const qint64 hundredths = m.captured(1).toLongLong() * 100 + m.captured(2).leftJustified(2, QLatin1Char('0')).toLongLong();
        if (hundredths <= 0 || hundredths >= Whole) return refuse(StepDownFault::StepOutOfRange);
        rule.step = hundredths;
    } else {
        const std::optional<qint64> yen = priceValue(s);
        if (!yen || *yen <= 0 || *yen > MaxPrice) return refuse(StepDownFault::StepOutOfRange);
        rule.step = *yen;
    }
    if (!floor.trimmed().isEmpty()) {
        const std::optional<qint64> yen = priceValue(floor);
        if (!yen || *yen <= 0) return refuse(StepDownFault::BadFloor);
        rule.floor = *yen;
    }
    return rule;
}

SteppedPrices stepDown(const StepDownRule& rule, qint64 start, qint64 buy, std::optional<qint64> itemFloor) {
    SteppedPrices out;
    const qint64 own = rule.floorFromColumn && itemFloor && *itemFloor > 0 ? *itemFloor : 0;
    out.floor = std::max(SiteLowestPrice, own > 0 ? own : rule.floor);
    if (start <= out.floor) {
        out.verdict = rule.skipAtFloor ? SteppedPrices::Verdict::SkippedFloor : SteppedPrices::Verdict::AtFloor;
        out.start = out.floor;
    } else {
        out.start = std::max(out.floor, lowered(rule, start));
    }
    if (buy <= 0 || rule.dropBuyNow) return out;
    // The gap the step made below the current start price, at least one yen.
    const qint64 gap = std::max<qint64>(1, start - lowered(rule, start));
    out.buy = std::min(buy, std::max(lowered(rule, buy), out.start + gap));
    // A buy-now price below the new start (the start raised to the floor) would have to be
    // raised to stay: it goes instead.
    if (out.buy < out.start) out.buy = 0;
    return out;
}

PlannedRelist planRelist(const StepDownRule& rule, const QString& id, const QString& title, const QString& listPrice,
                         std::optional<qint64> itemFloor) {
    PlannedRelist line{id, title, listPrice.trimmed(), {}, {}, false};
    const std::optional<qint64> start = priceValue(listPrice);
    if (!start) {
        line.note = texts::NoteNoPrice;
        return line;
    }
    line.oldPrice = QString::number(*start);
    const SteppedPrices p = stepDown(rule, *start, 0, itemFloor);
    const bool own = rule.floorFromColumn && itemFloor && *itemFloor > 0;
    const QString ownNote = own ? texts::NoteOwnFloor : QString();
    switch (p.verdict) {
    case SteppedPrices::Verdict::SkippedFloor:
        line.skipped = true;
        line.note = texts::NoteSkipFloor.arg(p.floor) + ownNote;
        return line;
    case SteppedPrices::Verdict::AtFloor:
        line.note = texts::NoteAtFloor.arg(p.floor) + ownNote;
        break;
    case SteppedPrices::Verdict::Lowered:
        line.note = p.start == p.floor ? texts::NoteToFloor.arg(p.floor) + ownNote : texts::NoteLowered;
        break;
    }
    line.newPrice = QString::number(p.start);
    if (rule.dropBuyNow) line.note += QStringLiteral("／") + texts::NoteBuyNowDropped;
    return line;
}

} // namespace zk::relist
