#pragma once
// A panel that shows nothing and answers with nothing chosen: the base of the panels that tests
// and benchmarks hand to workflow steps, each overriding only what it watches or answers.
#include "workflow/Panel.h"

namespace zk::test {

class NullPanel : public workflow::Panel {
public:
    void setBusy(bool) override {}
    void setCurtain(bool) override {}
    void showGuideAt(int) override {}
    void showThumbnail(const QString&) override {}
    QString panelStartPrice() const override { return {}; }
    QString panelBuyPrice() const override { return {}; }
    bool stopRequested() const override { return false; }
    void bringToFront() override {}
    int top() const override { return 0; }
    void setTop(int) override {}
    void restorePlacement(DesktopWindow*, const QString&) override {}
    void savePlacement(DesktopWindow*, const QString&) override {}
    void workbookOpened() override {}
    void setNextTitle(const QString&) override {}
    void setPreviousTitleVisible(bool) override {}
};

} // namespace zk::test
