#include "fields/Fields.h"

#include "fields/Texts.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"

#include <QFileInfo>

namespace zk {
namespace {

void fatal(const QString& text) { MessageService::instance().show(text, texts::fields::CaptionFatal, Icon::Error); }

void keyUnreadable(const QString& key) {
    MessageService::instance().show(texts::fields::KeyUnreadable.arg("SYSTEM", key), texts::fields::CaptionKeyError,
                                    Icon::Error);
}

} // namespace

TFieldKind fieldKindOf(const QString& type) {
    if (type == "TEXT") return fkText;
    if (type == "CHECK") return fkCheck;
    if (type == "COMBO") return fkCombo;
    if (type == "RADIO") return fkRadio;
    return fkUnknown;
}

int TFieldDefs::LoadFromFolder(const QString& dataFolder) {
    if (dataFolder.isEmpty()) {
        fatal(texts::fields::NoAppFolder);
        return -1;
    }
    return Load(dataFolder + "FieldsDefine.ini");
}

int TFieldDefs::Load(const QString& path) {
    Path = path;
    ProfileFile file(path);
    if (!file.exists()) {
        fatal(texts::fields::NoFile);
        return -1;
    }
    if (!file.load()) {
        fatal(texts::fields::OpenFailed);
        return -1;
    }

    const int sectionNum = file.readInteger("SYSTEM", "SECTION_NUM", -1);
    if (sectionNum == -1) {
        keyUnreadable("SECTION_NUM");
        return -1;
    }
    // A negative count (other than the "missing" -1) designates no sections at all.
    std::vector<int> counts;
    int total = 0;
    for (int s = 1; s <= sectionNum; ++s) {
        const int num = std::max(0, file.readInteger(QString("SECTION%1").arg(s), "NUM", 0));
        counts.push_back(num);
        total += num;
    }

    struct TextKey { const char* key; QString* target; };
    QString title = file.readString("SYSTEM", "SHOUHIN_TITLE");
    QString description = file.readString("SYSTEM", "SHOUHIN_SETUMEI");
    for (const TextKey& k : {TextKey{"SHOUHIN_TITLE", &title}, TextKey{"SHOUHIN_SETUMEI", &description}}) {
        if (k.target->isEmpty()) {
            keyUnreadable(k.key);
            return -1;
        }
    }
    const char* integerKeys[] = {"KAISI_PRICE_SEC_POS", "KAISI_PRICE_ITEM_POS", "KIBOU_PRICE_SEC_POS",
                                 "KIBOU_PRICE_ITEM_POS", "BANK_NAME_NUM", "SONOTA_KESSAI_NUM",
                                 "BANK_DEFAULT_NUM", "KESSAI_DEFAULT_NUM"};
    int values[8];
    for (int i = 0; i < 8; ++i) {
        values[i] = file.readInteger("SYSTEM", integerKeys[i], -1);
        if (values[i] == -1) {
            keyUnreadable(integerKeys[i]);
            return -1;
        }
    }

    // Everything checked: replace the table.
    SectionCounts = counts;
    FieldCount = total;
    FieldTable.assign(size_t(total), TFieldDef{});
    TitleFieldName = title;
    DescriptionFieldName = description;
    BankNameNum = values[4];
    OtherPaymentNum = values[5];
    BankDefaultNum = values[6];
    PaymentDefaultNum = values[7];
    StartPriceIndex = -1;
    BuyPriceIndex = -1;
    int g = 0;
    for (int s = 1; s <= int(counts.size()); ++s) {
        const QString section = QString("SECTION%1").arg(s);
        for (int i = 1; i <= counts[size_t(s - 1)]; ++i, ++g) {
            if (s == values[0] && i == values[1]) StartPriceIndex = g;
            else if (s == values[2] && i == values[3]) BuyPriceIndex = g;
            TFieldDef& field = FieldTable[size_t(g)];
            field.Name = file.readString(section, QString("NAME%1").arg(i));
            field.Kind = fieldKindOf(file.readString(section, QString("TYPE%1").arg(i)));
            field.Value = file.readString(section, QString("VALUE%1").arg(i));
        }
    }
    return 0;
}

QString TFieldDefs::FieldName(int index) const {
    if (index < 0 || index >= FieldCount) {
        MessageService::instance().show(texts::fields::IndexPastFields, texts::fields::CaptionError, Icon::Error);
        return {};
    }
    return FieldTable[size_t(index)].Name;
}

} // namespace zk
