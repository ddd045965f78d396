#include "listing/ClosingTimePanel.h"

#include "platform/Clock.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace zk {
namespace {

constexpr int kSwayOff = 1;   // "しない"
constexpr int kPriceUsed = 0; // "使用"

} // namespace

ClosingTimePanel::ClosingTimePanel(const ClosingTimeControls& controls) : c_(controls) {}

void ClosingTimePanel::FillClosingDates() {
    const QSignalBlocker block(c_.ClosingDate);
    const QDateTime now = clock::now();
    c_.ClosingDate->clear();
    ClosingDateCount = closing::dateCount(now);
    c_.ClosingDate->addItems(closing::dateLabels(now));
    c_.ClosingDate->setCurrentIndex(-1);
}

void ClosingTimePanel::fillTimes(const QList<int>& hours) {
    const QSignalBlocker block(c_.ClosingTime);
    c_.ClosingTime->clear();
    for (int slot : hours) c_.ClosingTime->addItem(closing::timeLabel(slot), slot);
    c_.ClosingTime->setCurrentIndex(-1);
}

void ClosingTimePanel::FillClosingTimes() {
    fillTimes(closing::edgeTimeSlots(clock::now(), c_.ClosingDate->currentIndex() == 0));
}

void ClosingTimePanel::FillAllClosingTimes() { fillTimes(closing::timeSlots(clock::now(), 1, 3)); }

void ClosingTimePanel::ClosingDateChange() {
    const int d = c_.ClosingDate->currentIndex();
    if (ClosingDateCount == d + 1 || d == 0) FillClosingTimes();
    else FillAllClosingTimes();
    JitterPhase = 0;
}

void ClosingTimePanel::ClosingTimeChange() { JitterPhase = 0; }

void ClosingTimePanel::Timer3Timer() {
    const QDateTime now = clock::now();
    const int d = c_.ClosingDate->currentIndex();
    const int t = c_.ClosingTime->currentIndex();
    const int hour = now.time().hour();
    const int minute = now.time().minute();
    if (hour == 13 && minute == 0) {
        FillClosingDates();
        const QSignalBlocker block(c_.ClosingDate);
        c_.ClosingDate->setCurrentIndex(d <= 0 ? d : d - 1);
    } else if (minute == 0 && (hour >= 14 || hour == 0) && d == 6) {
        FillClosingTimes();
        const QSignalBlocker block(c_.ClosingTime);
        c_.ClosingTime->setCurrentIndex(t);
    }
}

int ClosingTimePanel::rowsOfDate(int dateIndex) const {
    if (dateIndex == c_.ClosingDate->currentIndex()) return c_.ClosingTime->count();
    return int(closing::timeSlots(clock::now(), dateIndex, ClosingDateCount).size());
}

closing::Slot ClosingTimePanel::NextClosingSlot() {
    const closing::Slot chosen{c_.ClosingDate->currentIndex(), c_.ClosingTime->currentIndex()};
    return closing::nextSlot(chosen, c_.TimeSway->itemIndex() != kSwayOff, JitterPhase, ClosingDateCount,
                             [this](int date) { return rowsOfDate(date); });
}

void ClosingTimePanel::ShowPricePanel(bool on) {
    c_.SokketuCheckBox->setEnabled(on);
    c_.ManualPrice->setVisible(on);
}

void ClosingTimePanel::TempPriceSelectClick() { ShowPricePanel(c_.TempPriceSelect->itemIndex() == kPriceUsed); }

int ClosingTimePanel::checkedRow() const {
    for (int i = 0; i < 3; ++i)
        if (c_.PriceRadio[i]->isChecked()) return i;
    return -1;
}

void ClosingTimePanel::SokketuCheckBoxClick() {
    const int row = checkedRow();
    if (row >= 0) c_.BuyPrice[row]->setEnabled(!c_.SokketuCheckBox->isChecked());
}

void ClosingTimePanel::PriceRadioClick(int row) {
    for (int i = 0; i < 3; ++i) {
        const bool chosen = i == row - 1;
        for (QLineEdit* edit : {c_.StartPrice[i], c_.BuyPrice[i]}) {
            edit->setEnabled(chosen);
            QFont font = edit->font();
            font.setBold(chosen);
            edit->setFont(font);
        }
    }
}

QString ClosingTimePanel::PanelStartPrice() const {
    const int row = checkedRow();
    if (c_.TempPriceSelect->itemIndex() != kPriceUsed || row < 0) return {};
    return c_.StartPrice[row]->text();
}

QString ClosingTimePanel::PanelBuyPrice() const {
    const int row = checkedRow();
    if (c_.TempPriceSelect->itemIndex() != kPriceUsed || row < 0) return {};
    return c_.BuyPrice[row]->text();
}

} // namespace zk
