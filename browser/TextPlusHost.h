#pragma once
// The description-append tool's view of the program: the browser session's page and the data
// folder resolved at start.
#include "platform/libs/textplus/Host.h"

namespace zk {

class TIECtrl;

class TextPlusHost final : public textplus::Host {
public:
    // The session outlives the host.
    TextPlusHost(TIECtrl& ie, QString dataFolder);
    bool connected() override;
    int refreshPage() override;
    QString formValue(int form, const QString& field) override;
    int setFormValue(int form, const QString& field, const QString& value) override;
    QString lastError() const override;
    QString dataFolder() const override { return dataFolder_; }

private:
    TIECtrl& ie_;
    QString dataFolder_;
};

} // namespace zk
