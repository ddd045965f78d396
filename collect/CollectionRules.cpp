#include "collect/CollectionRules.h"

#include "collect/Texts.h"

#include <QDir>

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
