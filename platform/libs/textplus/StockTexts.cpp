#include "StockTexts.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QSaveFile>

namespace zk::textplus {

QStringList StockTexts::load() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList texts;
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (!line.isEmpty()) texts << cp932::toUnicode(line);
    }
    return texts;
}

bool StockTexts::save(const QStringList& texts) const {
    QByteArray bytes;
    for (QString text : texts) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (text.trimmed().isEmpty()) continue;
        bytes += cp932::fromUnicode(text) + "\r\n";
    }
    // Written whole or not at all: the seller's texts must not be cut by a failed write.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    file.write(bytes);
    return file.commit();
}

} // namespace zk::textplus
