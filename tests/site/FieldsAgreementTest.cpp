// The field definition file the site writes, read by the program's own loader: it loads without
// a message, and every field it names is one of the listing form's, of the kind the form has.
#include "fields/Fields.h"
#include "site/DataFolder.h"
#include "site/ListingForm.h"
#include "site/SiteTexts.h"

#include "platform/MessageService.h"
#include "tests/support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(FieldsAgreement, ProgramLoadsTheSitesFieldDefinitions) {
    zk::test::TempFolder temp;
    QFile file(temp.file("FieldsDefine.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(zk::site::fieldsDefineIni());
    file.close();

    const int shownBefore = zk::MessageService::instance().transcript().size();
    zk::TFieldDefs defs;
    ASSERT_EQ(defs.Load(temp.file("FieldsDefine.ini")), 0);
    EXPECT_EQ(zk::MessageService::instance().transcript().size(), shownBefore);

    EXPECT_EQ(defs.TitleFieldName, zk::site::texts::TitleField);
    EXPECT_EQ(defs.DescriptionFieldName, zk::site::texts::DescriptionField);
    EXPECT_EQ(defs.FieldName(defs.StartPriceIndex), zk::site::texts::StartPriceField);
    EXPECT_EQ(defs.FieldName(defs.BuyPriceIndex), zk::site::texts::BuyNowPriceField);
    EXPECT_EQ(defs.BankDefaultNum, zk::site::bankBlocks().defaultCount);
    EXPECT_EQ(defs.PaymentDefaultNum, zk::site::paymentBlocks().defaultCount);
    EXPECT_GT(defs.BankNameNum, defs.BankDefaultNum);
    EXPECT_GT(defs.OtherPaymentNum, defs.PaymentDefaultNum);

    for (const zk::TFieldDef& def : defs.FieldTable) {
        EXPECT_NE(def.Kind, zk::fkUnknown) << def.Name.toStdString();
        for (const zk::site::FixedField& f : zk::site::fixedFields()) {
            if (QString::fromStdString(f.name) != def.Name) continue;
            EXPECT_EQ(static_cast<int>(def.Kind), static_cast<int>(f.kind)) << f.name;
        }
    }
}
