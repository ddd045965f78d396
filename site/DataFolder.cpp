#include "site/DataFolder.h"

#include "platform/Cp932.h"
#include "site/Catalog.h"
#include "site/ListingForm.h"
#include "site/SiteTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace zk::site {
namespace {

struct IniWriter {
    QStringList lines;
    void section(const QString& name) {
        if (!lines.isEmpty()) lines << QString();
        lines << "[" + name + "]";
    }
    void key(const QString& name, const QString& value) { lines << name + "=" + value; }
    void key(const QString& name, int value) { key(name, QString::number(value)); }
    QByteArray bytes() const { return cp932::fromUnicode(lines.join("\r\n") + "\r\n"); }
};

QString typeName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text: return "TEXT";
    case FieldKind::Check: return "CHECK";
    case FieldKind::Combo: return "COMBO";
    case FieldKind::Radio: return "RADIO";
    }
    return {};
}

struct FieldLine {
    QString name;
    QString type;
    QString value;
};

void fieldSection(IniWriter& ini, int number, const QList<FieldLine>& fields) {
    ini.section("SECTION" + QString::number(number));
    ini.key("NUM", static_cast<int>(fields.size()));
    for (int i = 0; i < fields.size(); ++i) {
        const QString n = QString::number(i + 1);
        ini.key("NAME" + n, fields[i].name);
        ini.key("TYPE" + n, fields[i].type);
        ini.key("VALUE" + n, fields[i].value);
    }
}

// The answers the sample seller gives to the fixed fields.
QString sampleAnswer(const std::string& name) {
    static const QList<QPair<QString, QString>> answers{
        {"item_condition", "2"}, {"return_ok", "OFF"}, {"ship_payer", "0"}, {"ship_method", "1"},
        {"ship_from", "0"},      {"ship_days", "1"},   {"ship_note", "入金確認後、2日以内に発送します。"},
        {"auto_extend", "ON"},   {"early_close", "OFF"}, {"bidder_limit", "ON"},
    };
    for (const auto& a : answers)
        if (a.first == QString::fromStdString(name)) return a.second;
    return {};
}

bool save(const QString& path, const QByteArray& bytes, bool ownerOnly) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (ownerOnly) file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

QByteArray systemIni(const SiteInfo& info, const QString& excelDir) {
    IniWriter ini;
    ini.section("SYSTEM");
    ini.key("LOGIN_URL", info.loginUrl());
    ini.key("SHUPPIN_URL", info.listingUrl());
    ini.key("RESHUPPIN_URL", info.relistUrl());
    ini.key("SHUPPIN_END_URL", info.closedListUrl());
    ini.key("RAKUSATUNASHI_PAGE", info.closedListUrl() + "0");
    ini.key("RESHUPPIN_STR", QString::fromUtf8(texts::RelistLink));
    ini.key("SHUPPINZUMI_MSG", QString::fromUtf8(texts::ListedMessage));
    ini.key("SHUPPIN_CHUU_URL", info.sellingListUrl());
    ini.key("PIC_UPLOAD_URL", info.pictureUploadUrl());
    ini.key("INIT_START", "1");
    ini.key("EXCEL_DIR", excelDir);
    ini.key("YAHOO_ID", info.user);
    ini.key("PASSWORD", info.password);
    ini.section("SITE");
    ini.key("AUCTION_HOST", info.auctionHost());
    ini.key("LOGIN_HOST", info.loginHost());
    ini.key("HOST_RESOLVER_RULES", info.hostResolverRules());
    ini.key("CERT_SPKI", info.certificateSpki);
    ini.key("CERT_FILE", info.certificateFile);
    ini.key("STATE_URL", "http://127.0.0.1:" + QString::number(info.httpPort) + "/_sim/state");
    return ini.bytes();
}

QByteArray fieldsDefineIni() {
    const BlockKind& bank = bankBlocks();
    const BlockKind& pay = paymentBlocks();
    const int bankWanted = bank.defaultCount + 1;
    const int payWanted = pay.defaultCount + 1;

    IniWriter ini;
    ini.section("SYSTEM");
    ini.key("SECTION_NUM", 4);
    ini.key("SHOUHIN_TITLE", QString::fromUtf8(texts::TitleField));
    ini.key("SHOUHIN_SETUMEI", QString::fromUtf8(texts::DescriptionField));
    ini.key("KAISI_PRICE_SEC_POS", 1);
    ini.key("KAISI_PRICE_ITEM_POS", 1);
    ini.key("KIBOU_PRICE_SEC_POS", 1);
    ini.key("KIBOU_PRICE_ITEM_POS", 2);
    ini.key("BANK_NAME_NUM", bankWanted);
    ini.key("SONOTA_KESSAI_NUM", payWanted);
    ini.key("BANK_DEFAULT_NUM", bank.defaultCount);
    ini.key("KESSAI_DEFAULT_NUM", pay.defaultCount);

    fieldSection(ini, 1, {{texts::StartPriceField, "TEXT", "1000"}, {texts::BuyNowPriceField, "TEXT", ""}});

    QList<FieldLine> fixed;
    for (const FixedField& f : fixedFields())
        fixed.append({QString::fromStdString(f.name), typeName(f.kind), sampleAnswer(f.name)});
    fieldSection(ini, 2, fixed);

    const QStringList bankNames{"練習銀行", "見本信用金庫"};
    const QStringList bankBranches{"本店", "駅前支店"};
    const QStringList bankAccounts{"普通 1234567", "普通 7654321"};
    QList<FieldLine> banks;
    for (int n = 1; n <= bankWanted; ++n) {
        const QString i = QString::number(n);
        const int k = (n - 1) % 2;
        banks.append({"bank_name" + i, "TEXT", bankNames[k]});
        banks.append({"bank_branch" + i, "TEXT", bankBranches[k]});
        banks.append({"bank_account" + i, "TEXT", bankAccounts[k]});
        banks.append({"bank_holder" + i, "TEXT", "レンシュウ タロウ"});
    }
    fieldSection(ini, 3, banks);

    QList<FieldLine> payments;
    for (int n = 1; n <= payWanted; ++n) {
        const QString i = QString::number(n);
        payments.append({"pay_name" + i, "TEXT", "現金書留"});
        payments.append({"pay_note" + i, "TEXT", "送料は落札者負担です。"});
    }
    fieldSection(ini, 4, payments);
    return ini.bytes();
}

QByteArray categoryTxt() {
    QString text;
    for (const CategoryNode& node : categoryTree()) {
        text += QString(node.depth, '\t') + QString::fromStdString(node.name);
        if (!node.code.empty()) text += " ^/" + QString::fromStdString(node.code);
        text += "\r\n";
    }
    return cp932::fromUnicode(text);
}

QString writeDataFolder(const SiteInfo& info, const QString& folder, const QString& excelDir) {
    QDir dir(folder);
    if (!dir.mkpath(".")) return "cannot make the folder " + folder;
    const QString absolute = excelDir.isEmpty() ? QFileInfo(folder).absoluteFilePath() : excelDir;
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        // System.ini last: whoever waits for it finds the other two already there.
        {"FieldsDefine.ini", fieldsDefineIni()},
        {"category.txt", categoryTxt()},
        {"System.ini", systemIni(info, absolute)},
    };
    // The seller's folder: System.ini holds the password, FieldsDefine.ini the bank account.
    QFile::setPermissions(dir.absolutePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (const auto& f : files)
        if (!save(dir.filePath(f.name), f.bytes, true)) return "cannot write " + dir.filePath(f.name);
    return {};
}

} // namespace zk::site
