#pragma once
// The field definition file (FieldsDefine.ini): which elements of the site's listing form get
// which fixed answers, where the price fields are, and how many bank and payment blocks the form
// must offer.
#include <QDate>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace zk {

class TIECtrl;

enum TFieldKind { fkText = 0, fkCheck = 1, fkCombo = 2, fkRadio = 3, fkUnknown = 4 };

struct TFieldDef {
    QString Name;
    TFieldKind Kind = fkUnknown;
    QString Value;
};

TFieldKind fieldKindOf(const QString& type);

class TFieldDefs {
public:
    explicit TFieldDefs(TIECtrl* ie = nullptr) : IE(ie) {}

    // The most sections, and fields in one section, that a file may declare: the option editor
    // offers as many, and the site's listing form holds far fewer elements. A larger count is a
    // broken file, and is refused before any table is made for it.
    static constexpr int MaxSections = 200;
    static constexpr int MaxSectionFields = 200;

    // Reads <data folder>FieldsDefine.ini, the folder resolved by the caller (never empty: the
    // start-up ends without one); 0, or -1 after showing why not.
    int LoadFromFolder(const QString& dataFolder);
    int Load(const QString& path);
    // The name of the field at the index; past the table: a message and empty text.
    QString FieldName(int index) const;

    TIECtrl* IE;
    std::vector<TFieldDef> FieldTable;
    int FieldCount = 0;
    std::vector<int> SectionCounts;
    // -1 when the position designates no defined field.
    int StartPriceIndex = -1;
    int BuyPriceIndex = -1;
    QString TitleFieldName;
    QString DescriptionFieldName;
    int BankNameNum = 0;
    int OtherPaymentNum = 0;
    int BankDefaultNum = 0;
    int PaymentDefaultNum = 0;
    int PriceColumn = -1;
    QString Path;

    // Set by the item set right before each fill: the browser's top window, and the closing date
    // and hour the seller chose (found in the page's own lists when the form is filled), with
    // the panel's label of that slot.
    quintptr BrowserWindow = 0;
    QDate ClosingDay;
    int ClosingHour = -1;
    QString ClosingLabel;
};

} // namespace zk
