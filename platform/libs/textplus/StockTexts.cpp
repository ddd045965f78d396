#include "StockTexts.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QSaveFile>

namespace zk::textplus {

namespace {

const QByteArray kUtf8Mark = "\xEF\xBB\xBF";

} // namespace

QStringList StockTexts::load() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.readAll();
    const bool utf8 = bytes.startsWith(kUtf8Mark);
    if (utf8) bytes.remove(0, kUtf8Mark.size());
    QStringList texts;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (!line.isEmpty()) texts << (utf8 ? QString::fromUtf8(line) : cp932::toUnicode(line));
    }
    return texts;
}

QString StockTexts::notInCp932(const QStringList& texts) {
    QString missing;
    for (const QString& text : texts) {
        for (const char32_t c : text.toUcs4()) {
            const QString one = QString::fromUcs4(&c, 1);
            if (c == U'?' || missing.contains(one)) continue;
            // The converter puts "?" where CP932 has no character.
            if (cp932::fromUnicode(one) == "?") missing += one;
        }
    }
    return missing;
}

bool StockTexts::save(const QStringList& texts) const {
    QStringList lines;
    for (QString text : texts) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (!text.trimmed().isEmpty()) lines << text;
    }
    // CP932 where it holds every character; else UTF-8, so that nothing turns into "?".
    const bool utf8 = !notInCp932(lines).isEmpty();
    QByteArray bytes = utf8 ? kUtf8Mark : QByteArray();
    for (const QString& line : lines) bytes += (utf8 ? line.toUtf8() : cp932::fromUnicode(line)) + "\r\n";
    // Written whole or not at all: the seller's texts must not be cut by a failed write.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    file.write(bytes);
    return file.commit();
}

} // namespace zk::textplus
