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
    // The minute timer's work; the caller re-arms the timer afterwards.
    void Timer3Timer();
    // The date and time indexes for the next item set.
    closing::Slot NextClosingSlot();

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
    int rowsOfDate(int dateIndex) const;
    void fillTimes(const QList<int>& hours);

    ClosingTimeControls c_;
};

} // namespace zk
