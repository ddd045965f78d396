#pragma once
// The relist's price step-down: each round an item goes up again a step cheaper, never below a
// floor. Pure: the panel's texts in, a rule out; an item's prices in, its new prices out.
#include <QString>
#include <QStringList>
#include <optional>

namespace zk::relist {

struct StepDownRule {
    enum class Unit { Percent, Yen };
    Unit unit = Unit::Percent;
    // Yen, or hundredths of a percent (1000 = 10 %): whole yen come out of integers alone.
    qint64 step = 0;
    qint64 floor = 0;             // yen; 0: none but the site's own lowest price
    bool floorFromColumn = false; // the item's own floor from the workbook, where its row has one
    bool skipAtFloor = false;     // an item already at its floor is skipped, not relisted at it
    bool dropBuyNow = false;      // the buy-now price goes; otherwise it stays above the start
};

// Why the panel's texts make no rule.
enum class StepDownFault { None, NoStep, StepOutOfRange, BadFloor };

// The panel's texts as a rule. A percent step takes up to two decimals ("7.5"), below 100; a yen
// step and the floor are whole yen. Half-width digits, with or without thousands commas and a
// trailing "円".
std::optional<StepDownRule> parseStepDown(const QString& step, bool percent, const QString& floor, bool floorFromColumn,
                                          bool skipAtFloor, bool dropBuyNow, StepDownFault* fault = nullptr);

// A price as a page or a cell shows it ("1,200", "1200円", "1200.0"): none when it is not one.
std::optional<qint64> priceValue(const QString& text);

struct SteppedPrices {
    enum class Verdict {
        Lowered,      // a step down, or down to the floor
        AtFloor,      // already at (or below) the floor: relisted at the floor
        SkippedFloor, // already at (or below) the floor, and the rule skips such items
    };
    Verdict verdict = Verdict::Lowered;
    qint64 start = 0;
    qint64 buy = 0; // 0: no buy-now price
    qint64 floor = 1;
    bool relisted() const { return verdict != Verdict::SkippedFloor; }
};

// The lowest start price the site takes.
constexpr qint64 SiteLowestPrice = 1;

// An item's new prices from its current start and buy-now price (0: none) and its own floor
// from the workbook (none: the rule's). The new start price is the larger of the floor and the
// current price less the step, rounded down to whole yen. A buy-now price is dropped, or stepped
// down the same way and kept at least one step above the new start price (never raised, never
// below the new start price).
SteppedPrices stepDown(const StepDownRule& rule, qint64 start, qint64 buy, std::optional<qint64> itemFloor = {});

// One line of the check before a bulk run: an item as its list shows it, and what the rule makes
// of it.
struct PlannedRelist {
    QString id, title, oldPrice, newPrice, note;
    bool skipped = false;
};
PlannedRelist planRelist(const StepDownRule& rule, const QString& id, const QString& title, const QString& listPrice,
                         std::optional<qint64> itemFloor);

// The header of the workbook's column that holds an item's own floor.
inline const QString FloorHeader = QStringLiteral("最低価格");

} // namespace zk::relist
