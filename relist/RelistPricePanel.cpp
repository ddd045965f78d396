#include "relist/RelistPricePanel.h"

#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace zk::relist {

namespace {
constexpr int Use = 0;
constexpr int DoNotUse = 1;
} // namespace

RelistPricePanel::RelistPricePanel(const RelistPriceControls& controls) : c_(controls) {}

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
    return p;
}

} // namespace zk::relist
