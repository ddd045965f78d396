#include "browser/TextPlusHost.h"

#include "browser/Iectrl.h"

namespace zk {

TextPlusHost::TextPlusHost(TIECtrl& ie, QString dataFolder) : ie_(ie), dataFolder_(std::move(dataFolder)) {}

bool TextPlusHost::connected() { return ie_.IsConnected(); }

int TextPlusHost::refreshPage() { return ie_.GetDocument(); }

QString TextPlusHost::formValue(int form, const QString& field) { return ie_.GetFormValue(form, field); }

int TextPlusHost::setFormValue(int form, const QString& field, const QString& value) {
    return ie_.SetFormValue(form, field, value);
}

QString TextPlusHost::lastError() const { return ie_.LastErrorText; }

} // namespace zk
