#include "listing/OneListingUndo.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "listing/PreviousTitle.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/MessageService.h"

namespace zk::listing {

void undoOneListing(workflow::Shared& shared, workflow::Panel& panel) {
    if (shared.Uploads && shared.Uploads->hasUploads()) shared.Uploads->UndoLastUpload();
    if (shared.Row.CurrentRow > shared.Row.FirstRow) PreviousTitle(shared, panel).PreviousTitleClick();
}

void failListing(workflow::Shared& shared, workflow::Panel& panel) {
    const bool lost = AutomationError(uint32_t(shared.IE->LastError), {}).isDisconnection();
    SiteLogin(shared, panel).ReconnectRule(-99);
    if (!lost) panel.setCurtain(false);
    undoOneListing(shared, panel);
    MessageService::instance().show(texts::OneListingUndone, texts::InformationCaption, Icon::Information);
    panel.showGuideAt(0);
}

} // namespace zk::listing
