#include "listing/ClosingTimePanel.h"

#include "listing/Texts.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
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
    // Each row carries its date, so that a rebuild can find the seller's date again.
    const QStringList labels = closing::dateLabels(now);
    for (int i = 0; i < labels.size(); ++i) c_.ClosingDate->addItem(labels[i], now.date().addDays(2 + i));
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

QList<int> ClosingTimePanel::hoursOfRow(int d) const {
    const QDateTime now = clock::now();
    if (d <= 0 || d == ClosingDateCount - 1) return closing::edgeTimeSlots(now, d == 0);
    return closing::timeSlots(now, 1, 3);
}

void ClosingTimePanel::Timer3Timer() {
    const QDateTime now = clock::now();
    const closing::Slot before{c_.ClosingDate->currentData().toDate(),
                               c_.ClosingTime->currentIndex() >= 0 ? c_.ClosingTime->currentData().toInt() : -1};
    QStringList shown;
    for (int i = 0; i < c_.ClosingDate->count(); ++i) shown << c_.ClosingDate->itemText(i);
    if (shown != closing::dateLabels(now)) {
        // 13:00 adds a date; midnight moves them all on a day. The same date stays chosen.
        FillClosingDates();
        const QSignalBlocker block(c_.ClosingDate);
        c_.ClosingDate->setCurrentIndex(before.date.isValid() ? dateRow(before.date) : -1);
    }
    QList<int> hours;
    for (int i = 0; i < c_.ClosingTime->count(); ++i) hours << c_.ClosingTime->itemData(i).toInt();
    if (hours != hoursOfRow(c_.ClosingDate->currentIndex())) {
        // The first and the last date's hours move with the hour; the same hour stays chosen.
        fillTimes(hoursOfRow(c_.ClosingDate->currentIndex()));
        const QSignalBlocker block(c_.ClosingTime);
        if (c_.ClosingDate->currentIndex() >= 0) c_.ClosingTime->setCurrentIndex(c_.ClosingTime->findData(before.hour));
    }
    const bool dateGone = before.date.isValid() && c_.ClosingDate->currentIndex() < 0;
    const bool hourGone = before.hour >= 0 && c_.ClosingTime->currentIndex() < 0;
    if (!dateGone && !hourGone) return;
    JitterPhase = 0;
    const QString was = before.hour >= 0 ? closing::slotLabel(before) : closing::dateLabel(before.date);
    MessageService::instance().show(listing::texts::ClosingChoiceGone.arg(was), {}, Icon::Exclamation);
}

closing::Slot ClosingTimePanel::ChosenSlot() const {
    if (c_.ClosingDate->currentIndex() < 0 || c_.ClosingTime->currentIndex() < 0) return {};
    return {c_.ClosingDate->currentData().toDate(), c_.ClosingTime->currentData().toInt()};
}

closing::Slot ClosingTimePanel::NextClosingSlot() {
    const QDateTime now = clock::now();
    return closing::nextSlot(ChosenSlot(), c_.TimeSway->itemIndex() != kSwayOff, JitterPhase,
                             [&now](const closing::Slot& s) { return closing::isOffered(now, s); });
}

bool ClosingTimePanel::OfferAgain(const closing::Slot& slot, int sway) {
    if (sway == 0 || sway == kSwayOff) c_.TimeSway->setItemIndex(sway);
    const int d = slot.date.isValid() ? dateRow(slot.date) : -1;
    if (d < 0) return false;
    {
        const QSignalBlocker block(c_.ClosingDate);
        c_.ClosingDate->setCurrentIndex(d);
    }
    ClosingDateChange();
    // A passed hour of the first day is no longer in its list.
    const int t = closing::isOffered(clock::now(), slot) ? c_.ClosingTime->findData(slot.hour) : -1;
    if (t < 0) return false;
    const QSignalBlocker block(c_.ClosingTime);
    c_.ClosingTime->setCurrentIndex(t);
    return true;
}

int ClosingTimePanel::swayIndex() const { return c_.TimeSway->itemIndex(); }

int ClosingTimePanel::dateRow(const QDate& date) const { return c_.ClosingDate->findData(date); }

int ClosingTimePanel::timeRow(const closing::Slot& slot) const {
    const int d = dateRow(slot.date);
    if (d < 0) return -1;
    if (d == c_.ClosingDate->currentIndex()) return c_.ClosingTime->findData(slot.hour);
    return int(hoursOfRow(d).indexOf(slot.hour));
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
