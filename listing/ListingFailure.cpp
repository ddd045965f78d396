#include "listing/ListingFailure.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "listing/ListingRoad.h"
#include "listing/PicUploader.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "sheet/WorkbookSession.h"

namespace zk::listing {

namespace {
constexpr int GuideCategory = 0;
} // namespace

void sayListingFailure(const ListingResult& result, bool undoneBox, workflow::BrowserSession& browser,
                       workflow::Settings& settings, workflow::Panel& panel) {
    const StepResult& end = result.end;
    if (end.kind == StepResult::Kind::BrowserLost || end.code != 0) {
        // What the step was doing first, as it would have said it; then the rule.
        if (!end.reason.isEmpty()) MessageService::instance().show(end.reason);
        SiteLogin(browser, settings, panel).ReconnectRule(
            AutomationError(end.code != 0 ? end.code : hresult::Disconnected, end.errorText));
        if (end.kind == StepResult::Kind::BrowserLost) panel.showGuideAt(GuideCategory);
        else panel.setCurtain(false);
    } else if (end.kind == StepResult::Kind::OfficeLost) {
        // Said by the workbook's own access when it met the loss; here only what it did not say.
        if (!end.reason.isEmpty()) {
            panel.bringToFront();
            MessageService::instance().show(end.reason, sheet::texts::ExcelErrorCaption, Icon::Exclamation);
        }
    } else if (!end.reason.isEmpty()) {
        MessageService::instance().show(end.reason);
    }
    if (!result.takenBack) return;
    if (!result.picturesBack.isEmpty()) MessageService::instance().show(texts::MovedBackOne);
    if (undoneBox) {
        MessageService::instance().show(texts::OneListingUndone, texts::InformationCaption, Icon::Information);
        panel.showGuideAt(GuideCategory);
    }
}

} // namespace zk::listing
