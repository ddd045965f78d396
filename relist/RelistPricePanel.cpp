#include "relist/RelistPricePanel.h"

#include "platform/RadioGroup.h"
#include "relist/Texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace zk::relist {

namespace {
constexpr int Use = 0;
constexpr int DoNotUse = 1;
constexpr int StepDown = 2;
} // namespace

RelistPricePanel::RelistPricePanel(const RelistPriceControls& controls) : c_(controls) { makeStepDownControls(); }

void RelistPricePanel::makeStepDownControls() {
    RadioGroup* select = c_.RSTempPriceSelect;
    if (select->items().size() < 3) {
        const int chosen = select->itemIndex();
        // Two to a row: three side by side do not fit the panel's width, so 値下げ starts a second row.
        select->setItems(select->items() << texts::StepDownChoice);
        select->setColumns(2);
        select->setItemIndex(chosen);
    }
    // In the place of the temporary prices, shown instead of them.
    QWidget* host = c_.RSKakakuGroup->parentWidget();
    stepGroup_ = new QGroupBox(host);
    stepGroup_->setObjectName(QStringLiteral("RSStepDownGroup"));
    stepGroup_->setGeometry(c_.RSKakakuGroup->geometry());
    stepGroup_->hide();
    auto make = [this](auto* widget, const char* name, const QRect& at) {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(at);
        return widget;
    };
    // Three rows in the height the temporary prices have under the two rows of choices.
    stepValue_ = make(new QLineEdit(stepGroup_), "RSStepValue", {4, 2, 50, 16});
    stepValue_->setToolTip(texts::StepTip);
    stepValue_->setMaxLength(9);
    stepValue_->setInputMethodHints(Qt::ImhFormattedNumbersOnly | Qt::ImhNoPredictiveText);
    stepUnit_ = make(new QComboBox(stepGroup_), "RSStepUnit", {56, 2, 68, 16});
    stepUnit_->addItems({texts::StepPercent, texts::StepYen});
    floorPrice_ = make(new QLineEdit(stepGroup_), "RSFloorPrice", {4, 18, 38, 16});
    floorPrice_->setToolTip(texts::FloorTip);
    floorPrice_->setMaxLength(9);
    floorPrice_->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
    floorFromColumn_ = make(new QCheckBox(texts::FloorFromColumn, stepGroup_), "RSFloorFromColumn", {44, 18, 80, 16});
    atFloor_ = make(new QComboBox(stepGroup_), "RSAtFloor", {4, 34, 60, 16});
    atFloor_->addItems({texts::AtFloorRelist, texts::AtFloorSkip});
    buyNow_ = make(new QComboBox(stepGroup_), "RSStepBuyNow", {66, 34, 60, 16});
    buyNow_->addItems({texts::BuyNowKeep, texts::BuyNowDrop});
}

void RelistPricePanel::RSKingakuPanelCheckClick() {
    // The box has changed already; the timer reads it. It cannot be clicked while the panel moves.
    c_.RSKingakuPanelCheck->setEnabled(false);
    PanelOpening = true;
    c_.Timer6->setInterval(SlideTickMs);
    c_.Timer6->start();
}

void RelistPricePanel::Timer6Timer() {
    QFrame* panel = c_.ReShuppinKakakuPanel;
    const QRect neighbour = c_.Panel1->geometry();
    if (c_.RSKingakuPanelCheck->isChecked()) {
        if (PanelOpening) {
            panel->show();
            panel->raise();
            c_.RSTempPriceSelect->setItemIndex(Use);
            RSTempPriceSelectClick();
            PanelOpening = false;
        }
        const SlideStep step = slideOpen(panel->geometry(), neighbour);
        panel->setGeometry(step.panel);
        if (step.done) {
            c_.RSKingakuPanelCheck->setEnabled(true);
            c_.Timer6->stop();
        }
        return;
    }
    const SlideStep step = slideClose(panel->geometry(), neighbour);
    panel->setGeometry(step.panel);
    if (step.done) {
        // The closed panel stays shown at width 0, so the next opening grows from the edge.
        c_.RSKingakuPanelCheck->setEnabled(true);
        c_.Timer6->stop();
        PanelOpening = false;
        c_.RSTempPriceSelect->setItemIndex(DoNotUse);
        RSTempPriceSelectClick();
    }
}

void RelistPricePanel::RSTempPriceSelectClick() {
    c_.RSKakakuGroup->setVisible(c_.RSTempPriceSelect->itemIndex() == Use);
    stepGroup_->setVisible(c_.RSTempPriceSelect->itemIndex() == StepDown);
}

void RelistPricePanel::RSSokketuCheckBoxClick() {
    const bool buyNowOnly = c_.RSSokketuCheckBox->isChecked();
    c_.RSStartPrice->setVisible(!buyNowOnly);
    c_.RSLabel8->setVisible(!buyNowOnly);
}

workflow::Panel::RelistPrices RelistPricePanel::prices() const {
    workflow::Panel::RelistPrices p;
    p.used = c_.RSKingakuPanelCheck->isChecked() && c_.RSTempPriceSelect->itemIndex() == Use;
    p.sokketu = c_.RSSokketuCheckBox->isChecked();
    p.start = c_.RSStartPrice->text();
    p.buy = c_.RSBuyPrice->text();
    p.stepDown = c_.RSKingakuPanelCheck->isChecked() && c_.RSTempPriceSelect->itemIndex() == StepDown;
    p.step = stepValue_->text();
    p.stepPercent = stepUnit_->currentIndex() == 0;
    p.floor = floorPrice_->text();
    p.floorFromColumn = floorFromColumn_->isChecked();
    p.skipAtFloor = atFloor_->currentIndex() == 1;
    p.dropBuyNow = buyNow_->currentIndex() == 1;
    return p;
}

} // namespace zk::relist
