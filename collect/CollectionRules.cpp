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

QString collectionFileName(const QString& folder, const QDate& date, const QString& label) {
    return QStringLiteral("%1/%2%3").arg(folder, date.toString(QStringLiteral("yyyyMMdd")), label);
}

QString fallbackFolder() {
    const QString home = QDir::homePath();
    if (!home.isEmpty() && QDir(home).exists()) return home;
    return QDir::currentPath();
}

} // namespace zk::collect
