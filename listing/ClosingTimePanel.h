#pragma once
// The closing-date and closing-time lists of the sub page, their refresh on the hour, the jitter,
// and the temporary price rows of the item-set panel.
#include "listing/ClosingSchedule.h"

#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace zk {

class RadioGroup;

struct ClosingTimeControls {
    QComboBox* ClosingDate = nullptr;
    QComboBox* ClosingTime = nullptr;
    RadioGroup* TimeSway = nullptr;
    RadioGroup* TempPriceSelect = nullptr;
    QGroupBox* ManualPrice = nullptr;
    QCheckBox* SokketuCheckBox = nullptr;
    QRadioButton* PriceRadio[3] = {};
    QLineEdit* StartPrice[3] = {};
    QLineEdit* BuyPrice[3] = {};
};

class ClosingTimePanel {
public:
    explicit ClosingTimePanel(const ClosingTimeControls& controls);

    void FillClosingDates();
    void FillClosingTimes();
    void FillAllClosingTimes();
    void ClosingDateChange();
    void ClosingTimeChange();
    // The minute timer's work; the caller re-arms the timer afterwards. Both lists are rebuilt
    // when the clock has moved them on, and the seller's date and hour stay selected; a choice
    // no longer offered is cleared, and said.
    void Timer3Timer();
    // The seller's date and hour as the lists show them (invalid when either has no selection).
    closing::Slot ChosenSlot() const;
    // The slot for the next item set, the jitter applied (and advanced).
    closing::Slot NextClosingSlot();
    // The seller's last choice offered again: the date while the lists offer it, the hour with it
    // while the lists offer that slot, and the jitter choice (0 on, 1 off). True when the whole
    // slot was taken.
    bool OfferAgain(const closing::Slot& slot, int swayIndex);
    int swayIndex() const;
    // The rows of the lists that show a slot, -1 where a list does not show it.
    int dateRow(const QDate& date) const;
    int timeRow(const closing::Slot& slot) const;

    void ShowPricePanel(bool on);
    void TempPriceSelectClick();
    void SokketuCheckBoxClick();
    void PriceRadioClick(int row); // 1, 2 or 3
    QString PanelStartPrice() const;
    QString PanelBuyPrice() const;

    int JitterPhase = 0;
    int ClosingDateCount = 0;

private:
    int checkedRow() const; // 0-based, -1 when none
    void fillTimes(const QList<int>& hours);
    // The hours the time list shows for a date row, as a rebuild for that row fills it.
    QList<int> hoursOfRow(int dateIndex) const;

    ClosingTimeControls c_;
};

} // namespace zk
