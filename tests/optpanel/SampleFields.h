#pragma once
// A FieldsDefine.ini as a seller keeps it: CRLF lines, CP932 text, comments, a key of the
// seller's own and a section the program does not know.
#include "platform/Cp932.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable failures: gtest prints QStrings as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zk::test {

inline QStringList sampleFieldsLines() {
    return {
        QStringLiteral("; フィールド定義（出品フォーム）"),
        QStringLiteral("[SYSTEM]"),
        QStringLiteral("SECTION_NUM=2"),
        QStringLiteral("SHOUHIN_TITLE=Title"),
        QStringLiteral("SHOUHIN_SETUMEI=Description"),
        QStringLiteral("KAISI_PRICE_SEC_POS=1"),
        QStringLiteral("KAISI_PRICE_ITEM_POS=1"),
        QStringLiteral("KIBOU_PRICE_SEC_POS=1"),
        QStringLiteral("KIBOU_PRICE_ITEM_POS=2"),
        QStringLiteral("BANK_NAME_NUM=1"),
        QStringLiteral("SONOTA_KESSAI_NUM=0"),
        QStringLiteral("BANK_DEFAULT_NUM=1"),
        QStringLiteral("KESSAI_DEFAULT_NUM=0"),
        QStringLiteral("MEMO=自分用のメモ"),
        QString(),
        QStringLiteral("[SECTION1]"),
        QStringLiteral("NUM=2"),
        QStringLiteral("NAME1=StartPrice"),
        QStringLiteral("TYPE1=TEXT"),
        QStringLiteral("VALUE1="),
        QStringLiteral("NAME2=BidOrBuyPrice"),
        QStringLiteral("TYPE2=TEXT"),
        QStringLiteral("VALUE2="),
        QString(),
        QStringLiteral("; 発送の設定"),
        QStringLiteral("[SECTION2]"),
        QStringLiteral("NUM=3"),
        QStringLiteral("NAME1=shipping"),
        QStringLiteral("TYPE1=CHECK"),
        QStringLiteral("VALUE1=ON"),
        QStringLiteral("NAME2=loc_cd"),
        QStringLiteral("TYPE2=COMBO"),
        QStringLiteral("VALUE2=13"),
        QStringLiteral("NAME3=comment"),
        QStringLiteral("TYPE3=text"),
        QStringLiteral("VALUE3=送料込み～"),
        QString(),
        QStringLiteral("[OTHER]"),
        QStringLiteral("KEEP=そのまま"),
    };
}

inline QByteArray cp932Lines(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines) out += zk::cp932::fromUnicode(l) + "\r\n";
    return out;
}

inline QByteArray sampleFieldsBytes() { return cp932Lines(sampleFieldsLines()); }

} // namespace zk::test
