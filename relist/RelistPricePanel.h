#pragma once
// The relist group's price panel: it slides open over its neighbour when "金額パネル表示" is
// ticked and closes again when it is cleared; while open with "使用" selected, its prices
// replace the item's own in a relist.
#include "relist/PanelSlide.h"
#include "workflow/Panel.h"

#include <QString>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace zk {
class RadioGroup;
}

namespace zk::relist {

struct RelistPriceControls {
    QCheckBox* RSKingakuPanelCheck = nullptr;
    QFrame* ReShuppinKakakuPanel = nullptr;
    QFrame* Panel1 = nullptr;
    RadioGroup* RSTempPriceSelect = nullptr;
    QGroupBox* RSKakakuGroup = nullptr;
    QLabel* RSLabel8 = nullptr;
    QLineEdit* RSStartPrice = nullptr;
    QLineEdit* RSBuyPrice = nullptr;
    QCheckBox* RSSokketuCheckBox = nullptr;
    QTimer* Timer6 = nullptr;
};

class RelistPricePanel {
public:
    explicit RelistPricePanel(const RelistPriceControls& controls);

    void RSKingakuPanelCheckClick();
    void Timer6Timer();
    void RSTempPriceSelectClick();
    void RSSokketuCheckBoxClick();

    // The temporary prices a relist takes: used while the panel is ticked with "使用".
    workflow::Panel::RelistPrices prices() const;

    bool PanelOpening = false;

private:
    RelistPriceControls c_;
};

} // namespace zk::relist
