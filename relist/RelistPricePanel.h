#pragma once
// The relist group's price panel: it slides open over its neighbour when "金額パネル表示" is
// ticked and closes again when it is cleared; while open with "使用" selected, its prices
// replace the item's own in a relist. Its third choice, "値下げ", lowers each item's own price
// by a step down to a floor instead; its controls are made here, in the place of the prices.
#include "relist/PanelSlide.h"
#include "workflow/Panel.h"

#include <QString>

class QCheckBox;
class QComboBox;
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

    // The temporary prices a relist takes: used while the panel is ticked with "使用"; the
    // step-down while it is ticked with "値下げ".
    workflow::Panel::RelistPrices prices() const;

    bool PanelOpening = false;

    // The step-down's controls, by object name: RSStepDownGroup, RSStepValue, RSStepUnit (％, 円),
    // RSFloorPrice, RSFloorFromColumn, RSAtFloor (relist at the floor, skip), RSStepBuyNow
    // (step it down too, drop it).
    QGroupBox* stepDownGroup() const { return stepGroup_; }

private:
    void makeStepDownControls();

    RelistPriceControls c_;
    QGroupBox* stepGroup_ = nullptr;
    QLineEdit* stepValue_ = nullptr;
    QComboBox* stepUnit_ = nullptr;
    QLineEdit* floorPrice_ = nullptr;
    QCheckBox* floorFromColumn_ = nullptr;
    QComboBox* atFloor_ = nullptr;
    QComboBox* buyNow_ = nullptr;
};

} // namespace zk::relist
