#pragma once
// One window's placement record in the per-user registry:
// Software\<AppName>\WindowPos\<TargetName> with Top, Left, Height, Width.
#include "platform/Registry.h"

#include <QString>

namespace zk {

class TRegManage {
public:
    explicit TRegManage(Registry registry = Registry()) : registry_(std::move(registry)) {}

    int Open();  // 0, or -1 after a message about a missing name
    int Read();  // 0 (values 0 when not stored), -1 when the key cannot be made
    void Write();
    void Close() { open_ = false; }

    QString AppName = QStringLiteral("Zerkon");
    QString TargetName;
    int Height = 0, Width = 0, Left = 0, Top = 0;

private:
    bool namesSet() const;
    QString windowPosKey() const { return "Software\\" + AppName + "\\WindowPos"; }
    QString targetKey() const { return windowPosKey() + "\\" + TargetName; }

    Registry registry_;
    bool open_ = false;
};

} // namespace zk
