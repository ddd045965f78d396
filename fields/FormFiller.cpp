#include "fields/FormFiller.h"

#include "browser/Iectrl.h"
#include "browser/SiteMap.h"
#include "platform/KeySender.h"
#include "fields/FormRules.h"
#include "fields/Texts.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "workflow/Pause.h"

namespace zk::fields {
namespace {

void toFront(quintptr window) { Desktop::instance().setForeground(TIECtrl::WindowOf(window)); }

} // namespace

void FormFiller::fail(const QString& text) {
    if (failure_) *failure_ = text;
    else MessageService::instance().show(text);
}

int FormFiller::FillListingForm(int skipPrices, const QSet<QString>& onPage, QString* failure) {
    failure_ = failure;
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;

    if (ie.SelectByTagName("form") != 0) {
        fail(texts::fields::NoFillableForm);
        return -1;
    }
    const int forms = ie.GetListLength();
    if (forms <= 0) {
        fail(texts::fields::NoFillableForm);
        return -1;
    }
    // The start-price input tells the entry form from the page's other forms (login, search).
    const QString startName = defs.StartPriceIndex >= 0 ? defs.FieldName(defs.StartPriceIndex) : QString();
    int form = -1;
    for (int k = 0; k < forms && form < 0; ++k)
        if (ie.ItemHasInput(k, startName) == 1) form = k;
    if (form < 0) {
        fail(texts::fields::NoFillableForm);
        return -1;
    }

    if (!holdSalesMode(form)) {
        fail(texts::fields::SalesModeNotSet);
        return -1;
    }

    for (int g = 0; g < defs.FieldCount; ++g) {
        if (skipsField(defs, g, skipPrices == 1)) continue;
        const TFieldDef& f = defs.FieldTable[size_t(g)];
        if (!onPage.contains(f.Name) && !ie.ExistsByName(f.Name)) continue;
        // Each page operation that fails leaves its element as it was; the fill goes on.
        switch (f.Kind) {
        case fkText:
            ie.SetFormValue(form, f.Name, f.Value);
            break;
        case fkCheck:
            if (f.Value == "ON") ie.CheckFormItem(form, f.Name);
            else if (f.Value == "OFF") ie.UncheckFormItem(form, f.Name);
            break;
        case fkCombo:
        case fkRadio: {
            // A value that is no number is a broken definition file: stop here and say which
            // field, rather than choose some row of the list.
            const std::optional<int> n = fieldNumber(f.Value);
            if (!n) {
                MessageService::instance().show(texts::fields::ValueNotNumber.arg(f.Name, f.Value),
                                                texts::fields::CaptionError, Icon::Exclamation);
                return -1;
            }
            if (f.Kind == fkCombo) ie.SetFormSelectedIndex(form, f.Name, *n);
            else ie.CheckFormRadio(form, f.Name, *n);
            break;
        }
        case fkUnknown:
            break;
        }
    }

    if (setClosing(form) != 0) return -1;
    // Read once more when the rest is filled: a page still applying its own state can take the
    // choice back after the key, and the form must not go without it.
    if (!holdSalesMode(form)) {
        fail(texts::fields::SalesModeNotSet);
        return -1;
    }
    return form;
}

bool FormFiller::holdSalesMode(int form) {
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;
    KeySender& keys = *browser_.Keys;
    const QString& radio = browser::site::SalesModeRadio;
    constexpr int Keyings = 3;
    constexpr int Reads = 4;
    for (int keying = 0;; ++keying) {
        // A page without the radio button has no sales mode to choose.
        for (int read = 0; read < Reads; ++read) {
            const int checked = ie.GetFormChecked(form, radio);
            if (checked != 0) return true;
            if (keying == 0) break; // not keyed yet: nothing to wait for
            workflow::pause(50);
        }
        if (keying == Keyings) return false;
        // The sales mode answers to a key only: a space on the focused radio button.
        toFront(defs.BrowserWindow);
        ie.FocusFormItem(form, radio);
        keys.SendKeys(" ", true);
    }
}

int FormFiller::setClosing(int form) {
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;
    KeySender& keys = *browser_.Keys;
    MessageService& messages = MessageService::instance();
    const QString& dateList = browser::site::ClosingDateList;
    const QString& timeList = browser::site::ClosingTimeList;

    // The page built its lists when it was loaded: rows are found there by what they stand for,
    // never by where the panel shows them.
    QStringList dateValues, dateTexts;
    ie.GetFormOptions(form, dateList, dateValues, dateTexts);
    const QDate today = clock::now().date();
    QList<std::optional<qint64>> days;
    for (int i = 0; i < dateValues.size(); ++i) {
        const QDate d = closingOptionDate(dateValues[i], dateTexts[i], today);
        days << (d.isValid() ? std::optional<qint64>(d.toJulianDay()) : std::nullopt);
    }
    const OptionChoice date = defs.ClosingDay.isValid() && defs.ClosingHour >= 0
                                  ? chooseOption(days, defs.ClosingDay.toJulianDay())
                                  : OptionChoice{};
    if (date.index < 0) {
        fail(texts::fields::ClosingNotOnPage.arg(defs.ClosingLabel));
        return -1;
    }

    // The date list is reached by keys: to its top, then down to the date's row.
    toFront(defs.BrowserWindow);
    ie.FocusFormItem(form, dateList);
    keys.SendKeys(closingDateTopKeys(), true);
    workflow::pause(200);
    keys.SendKeys(closingDateKeys(date.index), true);
    workflow::pause(300);
    if (ie.GetFormValue(form, dateList) != dateValues[date.index]) {
        fail(texts::fields::ClosingNotSet);
        return -1;
    }

    // The hour list now holds the hours of that date. On another date than the chosen one the
    // nearest hour is its first (a later date) or its last (an earlier one).
    QStringList hourValues, hourTexts;
    ie.GetFormOptions(form, timeList, hourValues, hourTexts);
    QList<std::optional<qint64>> hours;
    for (int i = 0; i < hourValues.size(); ++i) {
        const int h = closingOptionHour(hourValues[i], hourTexts[i]);
        hours << (h >= 0 ? std::optional<qint64>(h) : std::nullopt);
    }
    const QDate onPage = QDate::fromJulianDay(*days[date.index]);
    const int wantedHour = onPage > defs.ClosingDay ? -1 : onPage < defs.ClosingDay ? 24 : defs.ClosingHour;
    const OptionChoice hour = chooseOption(hours, wantedHour);
    if (hour.index < 0) {
        fail(texts::fields::ClosingNotOnPage.arg(defs.ClosingLabel));
        return -1;
    }
    if (!date.exact || !hour.exact) {
        // Passed, or not offered by this page: another slot only with the seller's yes.
        const QString instead = dateTexts[date.index] + " " + hourTexts[hour.index];
        if (messages.show(texts::fields::ClosingPassed.arg(defs.ClosingLabel, instead), {}, Icon::Question,
                          Buttons::YesNo) != Answer::Yes)
            return -1;
    }
    ie.SetFormSelectedIndex(form, timeList, hour.index);
    workflow::pause(200);
    if (ie.GetFormValue(form, timeList) != hourValues[hour.index]) {
        fail(texts::fields::ClosingNotSet);
        return -1;
    }
    return 0;
}

} // namespace zk::fields
