#include "collect/CollectionRules.h"

#include "collect/Texts.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>

namespace zk::collect {

CollectionList collectionList(int radioIndex, const QString& currentListUrl, const QString& closedListUrl) {
    switch (radioIndex) {
    case 1: return {CollectionMode::Sold, texts::LabelSold, closedListUrl + "1"};
    case 2: return {CollectionMode::Unsold, texts::LabelUnsold, closedListUrl + "0"};
    default: return {CollectionMode::Current, texts::LabelCurrent, currentListUrl};
    }
}

QString pageAddress(const QString& startAddress, int page) {
    if (page <= 1) return startAddress;
    return startAddress + texts::PageParameter + QString::number(page);
}

QString itemPageMarker(const QString& auctionHost) { return "." + auctionHost + texts::ItemPagePath; }

bool isItemLink(const QString& address, const QString& marker) {
    const qsizetype at = address.indexOf(marker);
    return at >= 0 && at < MarkerPositionLimit;
}

QString auctionIdOf(const QString& address) {
    const qsizetype slash = address.lastIndexOf('/');
    return slash < 0 ? address : address.mid(slash + 1);
}

QString cutYen(const QString& text) {
    const qsizetype at = text.indexOf(texts::YenSuffix);
    return at < 0 ? text : text.left(at);
}

QStringList headers(CollectionMode mode) {
    QStringList all{texts::HeaderPage, texts::HeaderPosition, texts::HeaderId, texts::HeaderTitle, texts::HeaderUrl};
    if (mode == CollectionMode::Sold) all << texts::HeaderPrice << texts::HeaderBuyer << texts::HeaderEndTime;
    return all;
}

int cellsRead(CollectionMode mode) { return mode == CollectionMode::Sold ? 3 : 0; }

std::optional<qint64> priceValue(const QString& text) {
    // Full-width digits and commas read as their half-width selves.
    QString price = cutYen(text.normalized(QString::NormalizationForm_KC)).trimmed();
    if (price.endsWith(QChar(0x5186))) price = price.chopped(1).trimmed(); // "円" without its space
    static const QRegularExpression grouped(QStringLiteral("^(\\d{1,3}(,\\d{3})*|\\d+)$"));
    if (!grouped.match(price).hasMatch()) return std::nullopt;
    bool ok = false;
    const qint64 value = price.remove(QLatin1Char(',')).toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

std::optional<QDateTime> endTimeOf(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4})(?:年|/)(\\d{1,2})(?:月|/)(\\d{1,2})日?(?:\\s*(\\d{1,2})(?:時|:)(\\d{1,2})分?)?$"));
    const QRegularExpressionMatch m = pattern.match(text.normalized(QString::NormalizationForm_KC).trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const QDate day(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time = m.captured(4).isEmpty() ? QTime(0, 0) : QTime(m.captured(4).toInt(), m.captured(5).toInt());
    if (!day.isValid() || !time.isValid()) return std::nullopt;
    return QDateTime(day, time);
}

QVariantList soldCells(const QStringList& cellTexts) {
    QVariantList cells;
    if (cellTexts.isEmpty()) return cells;
    const QString price = cutYen(cellTexts[0]);
    const std::optional<qint64> value = priceValue(price);
    cells << (value ? QVariant(*value) : QVariant(price));
    if (cellTexts.size() >= 2) cells << cellTexts[1];
    if (cellTexts.size() >= 3) {
        const std::optional<QDateTime> ended = endTimeOf(cellTexts[2]);
        cells << (ended ? QVariant(*ended) : QVariant(cellTexts[2]));
    }
    return cells;
}

SalesSummary summarize(const QList<Sale>& sales) {
    const auto add = [](SalesLine& line, const Sale& sale) {
        ++line.count;
        if (!sale.price) return;
        ++line.priced;
        line.total += *sale.price;
    };
    SalesSummary summary;
    QMap<QDate, SalesLine> byDay;
    SalesLine undated;
    for (const Sale& sale : sales) {
        add(summary.all, sale);
        add(sale.endedAt ? byDay[sale.endedAt->date()] : undated, sale);
    }
    for (auto it = byDay.cbegin(); it != byDay.cend(); ++it) summary.days.append({it.key(), it.value()});
    if (undated.count > 0) summary.days.append({QDate(), undated});
    return summary;
}

bool isSavePage(int page, int firstSave) {
    if (firstSave <= 0 || page <= 0 || page % firstSave != 0) return false;
    const int runs = page / firstSave + 1; // a save page is firstSave * (2^k - 1)
    return (runs & (runs - 1)) == 0;
}

QString collectionFileName(const QString& folder, const QDate& date, const QString& label) {
    return QStringLiteral("%1/%2%3").arg(folder, date.toString(QStringLiteral("yyyyMMdd")), label);
}

QString fallbackFolder() {
    const QString home = QDir::homePath();
    if (!home.isEmpty() && QDir(home).exists()) return home;
    return QDir::currentPath();
}

} // namespace zk::collect
