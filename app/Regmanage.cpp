#include "app/Regmanage.h"

#include "app/Texts.h"
#include "platform/MessageService.h"

namespace zk {

bool TRegManage::namesSet() const {
    if (AppName.isEmpty()) {
        MessageService::instance().show(texts::RegNoAppName);
        return false;
    }
    if (TargetName.isEmpty()) {
        MessageService::instance().show(texts::RegNoTargetName);
        return false;
    }
    return true;
}

int TRegManage::Open() {
    if (!namesSet()) return -1;
    for (const QString& key : {QString("Software"), "Software\\" + AppName, windowPosKey()})
        registry_.createKey(key);
    open_ = true;
    return 0;
}

int TRegManage::Read() {
    Top = Left = Height = Width = 0;
    if (!registry_.keyExists(targetKey())) return registry_.createKey(targetKey()) ? 0 : -1;
    const auto top = registry_.readInteger(targetKey(), "Top");
    const auto left = registry_.readInteger(targetKey(), "Left");
    const auto height = registry_.readInteger(targetKey(), "Height");
    const auto width = registry_.readInteger(targetKey(), "Width");
    if (top && left && height && width) {
        Top = *top;
        Left = *left;
        Height = *height;
        Width = *width;
    }
    return 0;
}

void TRegManage::Write() {
    if (!namesSet()) return;
    // A failed write ends the writing; the values after it keep what they had.
    registry_.writeInteger(targetKey(), "Top", Top) && registry_.writeInteger(targetKey(), "Left", Left) &&
        registry_.writeInteger(targetKey(), "Height", Height) && registry_.writeInteger(targetKey(), "Width", Width);
}

} // namespace zk
