// Reading System.ini at start-up and the saved price rows: the settings object reads and
// writes, the main window shows what went wrong and fills the edits.
#include "app/Mainform.h"
#include "app/Texts.h"
#include "platform/MessageService.h"
#include "ui_Mainform.h"

#include <QLineEdit>

namespace zk {

// 0 read; 1 a failure that closes the main window; 2 a failure that ends the program at once.
int TMain::ReadSystemIni() {
    using Read = workflow::Settings::Read;
    switch (services_.settings.read()) {
    case Read::Missing:
        MessageService::instance().show(texts::NoSystemIni, texts::CaptionFatal, Icon::Error);
        return 1;
    case Read::OpenFailed:
        // The file is there but cannot be read: the seller is told which one.
        MessageService::instance().show(texts::SystemIniOpenFailed + texts::UnreadableFile.arg(services_.settings.dataFile(workflow::ini::FileName)),
                                        texts::CaptionFatal, Icon::Error);
        return 1;
    case Read::NoSystemSection:
        MessageService::instance().show(texts::NoSystemSection, texts::CaptionDeadly, Icon::Error);
        return 1;
    case Read::Incomplete:
        MessageService::instance().show(texts::SystemIniIncomplete);
        return 2;
    case Read::Ok:
        break;
    }
    PriceEdits = {ui_->StartPrice1, ui_->BuyPrice1, ui_->StartPrice2, ui_->BuyPrice2, ui_->StartPrice3, ui_->BuyPrice3};
    for (size_t i = 0; i < PriceEdits.size(); ++i) {
        const int value = services_.settings.savedPrices()[i];
        if (value != 0) PriceEdits[i]->setText(QString::number(value));
    }
    priceEditsReady_ = true;
    return 0;
}

void TMain::WriteFormInfo() {
    std::array<QString, 6> prices;
    for (size_t i = 0; i < prices.size(); ++i) prices[i] = PriceEdits[i]->text();
    if (!services_.settings.writePrices(prices))
        MessageService::instance().show(texts::SystemIniOpenFailed, texts::CaptionError, Icon::Exclamation);
}

} // namespace zk
