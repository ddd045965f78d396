#pragma once
// The main window as the program shows it: the panel plus the thumbnail of the next picture and
// the mini-bar switch.
#include "app/Mainform.h"

namespace zk {

class TMainForInst1 : public TMain {
    Q_OBJECT
public:
    explicit TMainForInst1(const QString& dataFolder, QWidget* parent = nullptr);
    void ShowThumbnail(const QString& fileName) override;
};

} // namespace zk
