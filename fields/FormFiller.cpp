#include "fields/FormFiller.h"

#include "browser/Iectrl.h"
#include "browser/KeySender.h"
#include "fields/FormRules.h"
#include "fields/Texts.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "workflow/Pause.h"

namespace zk::fields {
namespace {

void toFront(quintptr window) { Desktop::instance().setForeground(TIECtrl::WindowOf(window)); }

} // namespace

int FormFiller::FillListingForm(int skipPrices) {
    TIECtrl& ie = *shared_.IE;
    TFieldDefs& defs = *shared_.FieldDefs;
    KeySender& keys = *shared_.Keys;

    if (ie.SelectByTagName("form") != 0) {
        MessageService::instance().show(texts::fields::NoFillableForm);
        return -1;
    }
    const int forms = ie.GetListLength();
    if (forms <= 0) {
        MessageService::instance().show(texts::fields::NoFillableForm);
        return -1;
    }
    // The start-price input tells the entry form from the page's other forms (login, search).
    const QString startName = defs.StartPriceIndex >= 0 ? defs.FieldName(defs.StartPriceIndex) : QString();
    int form = -1;
    for (int k = 0; k < forms && form < 0; ++k)
        if (ie.ItemHasInput(k, startName) == 1) form = k;
    if (form < 0) {
        MessageService::instance().show(texts::fields::NoFillableForm);
        return -1;
    }

    // The sales mode answers to a key only: a space on the focused radio button.
    toFront(defs.BrowserWindow);
    ie.FocusFormItem(form, "salesmode_auction");
    keys.SendKeys(" ", true);

    for (int g = 0; g < defs.FieldCount; ++g) {
        if (skipsField(defs, g, skipPrices == 1)) continue;
        const TFieldDef& f = defs.FieldTable[size_t(g)];
        if (!ie.ExistsByName(f.Name)) continue;
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

    // The date list is reached by keys: to its top, then down to the wanted date.
    toFront(defs.BrowserWindow);
    ie.FocusFormItem(form, "ClosingDate");
    keys.SendKeys(closingDateTopKeys(), true);
    workflow::pause(200);
    keys.SendKeys(closingDateKeys(defs.ClosingDateSteps), true);
    workflow::pause(300);
    ie.SetFormSelectedIndex(form, "ClosingTime", defs.ClosingTimeIndex);
    workflow::pause(200);
    return form;
}

} // namespace zk::fields
