// The data folder written for a running site: the program's own profile reader must find every
// key it needs, the field names must be the form's, and the category codes the site's.
#include "site/Catalog.h"
#include "site/DataFolder.h"
#include "site/ListingForm.h"
#include "site/SiteTexts.h"

#include "tests/support/TempFolder.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

using namespace zk::site;

namespace {

SiteInfo sampleInfo() {
    SiteInfo info;
    info.httpPort = 18080;
    info.httpsPort = 18443;
    info.auctionHostName = "auctions.sim.test";
    info.loginHostName = "login.sim.test";
    info.certificateFile = "/run/site/login-cert.pem";
    info.certificateSpki = "abcDEF+/0123456789=";
    info.user = "zerkon_seller";
    info.password = "practice";
    return info;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool onlyCrlf(const QByteArray& bytes) {
    for (int i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
    return bytes.endsWith("\r\n");
}

struct WrittenFolder {
    zk::test::TempFolder temp;
    QString folder = temp.path() + "/Zerkon";
    QString error = writeDataFolder(sampleInfo(), folder);
    QString file(const char* name) const { return folder + "/" + name; }
};

} // namespace

TEST(DataFolder, SystemIniHoldsEveryRequiredKeyForTheSite) {
    WrittenFolder w;
    ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
    zk::ProfileFile ini(w.file("System.ini"));
    ASSERT_TRUE(ini.load());
    for (const char* key : {"LOGIN_URL", "SHUPPIN_URL", "RESHUPPIN_URL", "SHUPPIN_END_URL", "RAKUSATUNASHI_PAGE",
                            "RESHUPPIN_STR", "SHUPPINZUMI_MSG", "SHUPPIN_CHUU_URL", "PIC_UPLOAD_URL", "INIT_START",
                            "EXCEL_DIR", "YAHOO_ID", "PASSWORD"})
        EXPECT_FALSE(ini.readString("SYSTEM", key).isEmpty()) << key;
    EXPECT_EQ(ini.readString("SYSTEM", "LOGIN_URL"),
              "https://login.sim.test:18443/config/login?.lg=jp&.intl=jp&.src=auc&.done=http://auctions.sim.test:18080/jp");
    EXPECT_EQ(ini.readString("SYSTEM", "SHUPPIN_URL"), "http://auctions.sim.test:18080/jp/show/submit?category=");
    EXPECT_TRUE((ini.readString("SYSTEM", "SHUPPIN_END_URL") + "0").contains("hasWinner=0"));
    EXPECT_EQ(ini.readString("SYSTEM", "RAKUSATUNASHI_PAGE"), ini.readString("SYSTEM", "SHUPPIN_END_URL") + "0");
    EXPECT_EQ(ini.readString("SYSTEM", "RESHUPPIN_STR"), QString::fromUtf8(texts::RelistLink));
    EXPECT_EQ(ini.readString("SYSTEM", "SHUPPINZUMI_MSG"), QString::fromUtf8(texts::ListedMessage));
    EXPECT_EQ(ini.readString("SYSTEM", "YAHOO_ID"), "zerkon_seller");
    EXPECT_EQ(ini.readString("SYSTEM", "PASSWORD"), "practice");
    EXPECT_EQ(ini.readString("SITE", "AUCTION_HOST"), "auctions.sim.test:18080");
    EXPECT_EQ(ini.readString("SITE", "LOGIN_HOST"), "login.sim.test:18443");
    EXPECT_EQ(ini.readString("SITE", "HOST_RESOLVER_RULES"), "MAP *.sim.test 127.0.0.1");
    EXPECT_EQ(ini.readString("SITE", "CERT_SPKI"), "abcDEF+/0123456789=");

    const QByteArray bytes = readAll(w.file("System.ini"));
    EXPECT_TRUE(onlyCrlf(bytes));
    // The Japanese texts are CP932 bytes, not UTF-8.
    EXPECT_TRUE(bytes.contains(zk::cp932::fromUnicode(QString::fromUtf8(texts::ListedMessage))));
    EXPECT_FALSE(bytes.contains(QByteArray(texts::ListedMessage)));
    // The account and the bank account: the seller's alone, like the folder.
    for (const char* name : {"System.ini", "FieldsDefine.ini", "category.txt", ""})
        EXPECT_EQ(QFile::permissions(w.file(name)) & 0x0077, 0) << name;
}

TEST(DataFolder, FieldsDefineNamesTheFormsFieldsOfEveryKind) {
    WrittenFolder w;
    ASSERT_TRUE(w.error.isEmpty());
    zk::ProfileFile ini(w.file("FieldsDefine.ini"));
    ASSERT_TRUE(ini.load());
    EXPECT_TRUE(onlyCrlf(readAll(w.file("FieldsDefine.ini"))));
    EXPECT_EQ(ini.readString("SYSTEM", "SHOUHIN_TITLE"), texts::TitleField);
    EXPECT_EQ(ini.readString("SYSTEM", "SHOUHIN_SETUMEI"), texts::DescriptionField);
    const int sections = ini.readInteger("SYSTEM", "SECTION_NUM", -1);
    ASSERT_GT(sections, 0);
    for (const char* key : {"KAISI_PRICE_SEC_POS", "KAISI_PRICE_ITEM_POS", "KIBOU_PRICE_SEC_POS", "KIBOU_PRICE_ITEM_POS",
                            "BANK_NAME_NUM", "SONOTA_KESSAI_NUM", "BANK_DEFAULT_NUM", "KESSAI_DEFAULT_NUM"})
        EXPECT_GE(ini.readInteger("SYSTEM", key, -1), 0) << key;

    auto nameAt = [&](const char* secKey, const char* itemKey) {
        const QString section = "SECTION" + QString::number(ini.readInteger("SYSTEM", secKey, -1));
        return ini.readString(section, "NAME" + QString::number(ini.readInteger("SYSTEM", itemKey, -1)));
    };
    EXPECT_EQ(nameAt("KAISI_PRICE_SEC_POS", "KAISI_PRICE_ITEM_POS"), texts::StartPriceField);
    EXPECT_EQ(nameAt("KIBOU_PRICE_SEC_POS", "KIBOU_PRICE_ITEM_POS"), texts::BuyNowPriceField);

    // The counts ask for more blocks than the form shows at first, within what it can add.
    const int bankWanted = ini.readInteger("SYSTEM", "BANK_NAME_NUM", -1);
    const int payWanted = ini.readInteger("SYSTEM", "SONOTA_KESSAI_NUM", -1);
    EXPECT_EQ(ini.readInteger("SYSTEM", "BANK_DEFAULT_NUM", -1), bankBlocks().defaultCount);
    EXPECT_EQ(ini.readInteger("SYSTEM", "KESSAI_DEFAULT_NUM", -1), paymentBlocks().defaultCount);
    EXPECT_GT(bankWanted, bankBlocks().defaultCount);
    EXPECT_LE(bankWanted, bankBlocks().maxCount);
    EXPECT_GT(payWanted, paymentBlocks().defaultCount);
    EXPECT_LE(payWanted, paymentBlocks().maxCount);

    // Every field is one the form has (fixed fields, prices, or a block the counts provide), and
    // every fixed answer is one its element accepts.
    QSet<QString> kinds;
    for (int s = 1; s <= sections; ++s) {
        const QString section = "SECTION" + QString::number(s);
        const int num = ini.readInteger(section, "NUM", 0);
        for (int i = 1; i <= num; ++i) {
            const std::string name = ini.readString(section, "NAME" + QString::number(i)).toStdString();
            const QString type = ini.readString(section, "TYPE" + QString::number(i));
            const QString value = ini.readString(section, "VALUE" + QString::number(i));
            kinds.insert(type);
            if (name == texts::StartPriceField || name == texts::BuyNowPriceField) continue;
            const FixedField* fixed = nullptr;
            for (const FixedField& f : fixedFields())
                if (f.name == name) fixed = &f;
            if (!fixed) {
                bool inBlock = false;
                for (const auto* kind : {&bankBlocks(), &paymentBlocks()}) {
                    const int wanted = kind == &bankBlocks() ? bankWanted : payWanted;
                    for (const auto& part : kind->parts)
                        for (int n = 1; n <= wanted; ++n)
                            if (name == part.first + std::to_string(n)) inBlock = true;
                }
                EXPECT_TRUE(inBlock) << name;
                EXPECT_EQ(type, "TEXT") << name;
                continue;
            }
            switch (fixed->kind) {
            case FieldKind::Text: EXPECT_EQ(type, "TEXT"); break;
            case FieldKind::Check:
                EXPECT_EQ(type, "CHECK");
                EXPECT_TRUE(value == "ON" || value == "OFF") << name;
                break;
            case FieldKind::Combo:
            case FieldKind::Radio: {
                EXPECT_EQ(type, fixed->kind == FieldKind::Combo ? "COMBO" : "RADIO");
                bool ok = false;
                const int index = value.toInt(&ok);
                EXPECT_TRUE(ok && index >= 0 && index < static_cast<int>(fixed->options.size())) << name;
                break;
            }
            }
        }
    }
    EXPECT_EQ(kinds, (QSet<QString>{"TEXT", "CHECK", "COMBO", "RADIO"}));
}

TEST(DataFolder, CategoryListIsATreeOfCodesTheSiteKnows) {
    WrittenFolder w;
    ASSERT_TRUE(w.error.isEmpty());
    const QByteArray bytes = readAll(w.file("category.txt"));
    EXPECT_TRUE(onlyCrlf(bytes));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = bytes.left(bytes.size() - 2).split('\n');
    int previousDepth = -1;
    int codes = 0;
    for (QByteArray line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        EXPECT_LE(line.size() + 2, 255);
        int depth = 0;
        while (depth < line.size() && (line[depth] == '\t' || line[depth] == ' ')) ++depth;
        EXPECT_LE(depth, previousDepth + 1) << line.toStdString();
        previousDepth = depth;
        const QString text = zk::cp932::toUnicode(line.mid(depth));
        EXPECT_FALSE(text.contains(QChar(0xFFFD)));
        const int sep = text.indexOf(" ^/");
        if (sep < 0) continue;
        ++codes;
        EXPECT_TRUE(isKnownCategory(text.mid(sep + 3).toStdString())) << text.toStdString();
    }
    EXPECT_EQ(codes, static_cast<int>(categoryCodes().size()));
    EXPECT_EQ(zk::cp932::toUnicode(lines[1].trimmed()), QString("文学・小説 ^/2100100101"));
}

TEST(DataFolder, SameSiteGivesTheSameBytes) {
    WrittenFolder a;
    WrittenFolder b;
    ASSERT_TRUE(a.error.isEmpty() && b.error.isEmpty());
    for (const char* name : {"FieldsDefine.ini", "category.txt"}) EXPECT_EQ(readAll(a.file(name)), readAll(b.file(name)));
    // System.ini differs only in the folder it names as the workbook folder.
    EXPECT_EQ(systemIni(sampleInfo(), "/x"), systemIni(sampleInfo(), "/x"));
}

TEST(DataFolder, CategoryPathsNameTheAncestors) {
    EXPECT_EQ(categoryPath("2100400203"), "家電・AV・カメラ > カメラ > フィルムカメラ > レンズ");
    EXPECT_EQ(categoryPath("2100500001"), "おもちゃ・ゲーム");
    EXPECT_EQ(categoryPath(""), "");
    EXPECT_FALSE(isKnownCategory("2100200100"));
}
