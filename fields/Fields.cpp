#include "fields/Fields.h"

#include "fields/Texts.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"

#include <QFileInfo>
#include <QHash>

namespace zk {
namespace {

void fatal(const QString& text) { MessageService::instance().show(text, texts::fields::CaptionFatal, Icon::Error); }

void keyUnreadable(const QString& key) {
    MessageService::instance().show(texts::fields::KeyUnreadable.arg("SYSTEM", key), texts::fields::CaptionKeyError,
                                    Icon::Error);
}

void countTooLarge(const ProfileFile& file, const QString& section, const QString& key, int maximum) {
    MessageService::instance().show(
        texts::fields::CountTooLarge.arg(section, key, file.readString(section, key), QString::number(maximum)),
        texts::fields::CaptionKeyError, Icon::Error);
}

// A section's keys by their case-folded names, read in one pass: looking up each of the fields'
// keys in the file one by one grows with the square of its size.
QHash<QString, QString> sectionValues(const ProfileFile& file, const QString& section) {
    QHash<QString, QString> values;
    for (const QString& line : file.readSection(section)) {
        const qsizetype eq = line.indexOf('=');
        values.insert(line.left(eq).toCaseFolded(), line.mid(eq + 1));
    }
    return values;
}

QString valueOf(const QHash<QString, QString>& values, const char* key, int number) {
    return values.value(QString(key).toCaseFolded() + QString::number(number));
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
    return Load(dataFolder + "FieldsDefine.ini");
}

int TFieldDefs::Load(const QString& path) {
    Path = path;
    ProfileFile file(path);
    if (!file.exists()) {
        // Something that is no file under its name is there, but cannot be read as one.
        fatal(QFileInfo::exists(path) ? texts::fields::OpenFailed + "\n" + path : texts::fields::NoFile);
        return -1;
    }
    if (!file.load()) {
        fatal(texts::fields::OpenFailed + "\n" + path);
        return -1;
    }

    const int sectionNum = file.readInteger("SYSTEM", "SECTION_NUM", -1);
    if (sectionNum == -1) {
        keyUnreadable("SECTION_NUM");
        return -1;
    }
    if (sectionNum > MaxSections) {
        countTooLarge(file, "SYSTEM", "SECTION_NUM", MaxSections);
        return -1;
    }
    // A negative count (other than the "missing" -1) designates no sections at all.
    std::vector<int> counts;
    int total = 0;
    for (int s = 1; s <= sectionNum; ++s) {
        const QString section = QString("SECTION%1").arg(s);
        const int num = std::max(0, file.readInteger(section, "NUM", 0));
        if (num > MaxSectionFields) {
            countTooLarge(file, section, "NUM", MaxSectionFields);
            return -1;
        }
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
        const int num = counts[size_t(s - 1)];
        const QHash<QString, QString> keys = num > 0 ? sectionValues(file, QString("SECTION%1").arg(s))
                                                     : QHash<QString, QString>();
        for (int i = 1; i <= num; ++i, ++g) {
            if (s == values[0] && i == values[1]) StartPriceIndex = g;
            else if (s == values[2] && i == values[3]) BuyPriceIndex = g;
            TFieldDef& field = FieldTable[size_t(g)];
            field.Name = valueOf(keys, "NAME", i);
            field.Kind = fieldKindOf(valueOf(keys, "TYPE", i));
            field.Value = valueOf(keys, "VALUE", i);
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
