// Reading System.ini at start-up and the saved price rows.
#include "Mainform.h"
#include "Texts.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"
#include "ui_Mainform.h"

#include <QLineEdit>

namespace zk {
namespace {

const char* const kRequiredKeys[] = {"LOGIN_URL",       "SHUPPIN_URL",      "RESHUPPIN_URL", "SHUPPIN_END_URL",
                                     "RAKUSATUNASHI_PAGE", "RESHUPPIN_STR", "SHUPPINZUMI_MSG", "SHUPPIN_CHUU_URL",
                                     "PIC_UPLOAD_URL",  "INIT_START",       "EXCEL_DIR"};

const char* const kPriceKeys[6] = {"START_PRICE1", "BUY_PRICE1", "START_PRICE2", "BUY_PRICE2", "START_PRICE3", "BUY_PRICE3"};

} // namespace

// 0 read; 1 a failure that closes the main window; 2 a failure that ends the program at once.
int TMain::ReadSystemIni() {
    ProfileFile file(SystemIniPath);
    if (!file.exists()) {
        MessageService::instance().show(texts::NoSystemIni, texts::CaptionFatal, Icon::Error);
        return 1;
    }
    if (!file.load()) {
        MessageService::instance().show(texts::SystemIniOpenFailed, texts::CaptionFatal, Icon::Error);
        return 1;
    }
    if (!file.hasSection("SYSTEM")) {
        MessageService::instance().show(texts::NoSystemSection, texts::CaptionDeadly, Icon::Error);
        return 1;
    }
    SystemValues.setLines(file.readSection("SYSTEM"));
    for (const char* key : kRequiredKeys) {
        if (SystemValues.value(key).isEmpty()) {
            MessageService::instance().show(texts::SystemIniIncomplete);
            return 2;
        }
    }
    return 0;
}

void TMain::ReadFormInfo() {
    ProfileFile file(SystemIniPath);
    file.load();
    PriceEdits = {ui_->StartPrice1, ui_->BuyPrice1, ui_->StartPrice2, ui_->BuyPrice2, ui_->StartPrice3, ui_->BuyPrice3};
    for (int i = 0; i < 6; ++i) {
        const int value = file.readInteger("FormInfo1", kPriceKeys[i], 0);
        if (value != 0) PriceEdits[size_t(i)]->setText(QString::number(value));
    }
    priceEditsReady_ = true;
}

void TMain::WriteFormInfo() {
    ProfileFile file(SystemIniPath);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    bool ok = file.exists() && file.load();
    for (int i = 0; ok && i < 6; ++i) {
        const QString text = PriceEdits[size_t(i)]->text();
        int value = 0;
        if (!text.isEmpty()) value = text.toInt(&ok);
        ok = ok && file.writeInteger("FormInfo1", kPriceKeys[i], value);
    }
    if (!ok) MessageService::instance().show(texts::SystemIniOpenFailed, texts::CaptionError, Icon::Exclamation);
}

} // namespace zk
