#include "category/CategoryNavigation.h"

#include "browser/Iectrl.h"
#include "platform/KeySender.h"
#include "browser/SiteLogin.h"
#include "browser/SitePages.h"
#include "category/Categoryform.h"
#include "category/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "workflow/Pause.h"
#include "workflow/SystemIni.h"

#include <QCoreApplication>

namespace zk::category {

CategoryNavigation::CategoryNavigation(workflow::BrowserSession& browser, workflow::ListingCarry& carry,
                                       workflow::Settings& settings, workflow::Panel& panel)
    : browser_(browser), carry_(carry), settings_(settings), panel_(panel) {
    Timer2.setInterval(300);
    QObject::connect(&Timer2, &QTimer::timeout, [this] { panel_.guardPress([this] { Timer2Timer(); }); });
}

CategoryNavigation::~CategoryNavigation() {
    if (carry_.CategoryDialog == ownDialog_.get()) carry_.CategoryDialog = nullptr;
}

void CategoryNavigation::CategoryButtonClick(bool shiftHeld) {
    if (!carry_.LastCategory.isEmpty() && shiftHeld) {
        GotoGategory(carry_.LastCategory);
        return;
    }
    if (carry_.CategoryDialog) {
        carry_.CategoryDialog->show();
        carry_.CategoryDialog->LoadHistory();
    } else {
        ownDialog_ = std::make_unique<TCategory>(settings_.dataFolder());
        carry_.CategoryDialog = ownDialog_.get();
        ownDialog_->show();
        ownDialog_->LoadHistory();
        ownDialog_->LoadTree();
    }
    Timer2.start(300);
}

void CategoryNavigation::Timer2Timer() {
    Timer2.stop();
    TCategory* dialog = carry_.CategoryDialog;
    if (!dialog) return;
    if (dialog->ResultState == TCategory::ResultChosen) {
        dialog->hide();
        dialog->ResultState = TCategory::ResultNone;
        GotoGategory(dialog->ResultCode);
        return;
    }
    if (dialog->ResultState == TCategory::ResultCancelled) {
        dialog->hide();
        dialog->ResultState = TCategory::ResultNone;
        return;
    }
    Timer2.start(300);
}

void CategoryNavigation::GotoGategory(const QString& code) {
    workflow::StepResult result;
    try {
        // The seller's list before this listing: a listing in doubt is never taken for an item on it.
        browser::SitePages(browser_, settings_).ReadSellingList(carry_.SellingBefore);
        result = openCategory(code);
    } catch (const AutomationError& e) {
        result = workflow::StepResult::browserError(e.code(), e.text(), e.isDisconnection());
    }
    if (result.code != 0) {
        // The rule starts a lost browser again, or says the page operation's error.
        SiteLogin(browser_, settings_, panel_).ReconnectRule(AutomationError(result.code, result.errorText));
    } else if (!result.ok() && !result.reason.isEmpty()) {
        MessageService::instance().show(result.reason);
    }
}

workflow::StepResult CategoryNavigation::openCategory(const QString& code) {
    using workflow::StepResult;
    workflow::CurtainGuard curtain(panel_);
    TIECtrl& ie = *browser_.IE;
    const int loaded = ie.NavigateWait(settings_.value(workflow::ini::ShuppinUrl) + code);
    if (loaded == TIECtrl::AutomationFailed) {
        const AutomationError error(uint32_t(ie.LastError), ie.LastErrorText);
        return StepResult::browserError(error.code(), error.text(), error.isDisconnection());
    }
    if (loaded == -2) return StepResult::failed(texts::ListingPageNotShown);
    QString failure;
    if (browser::SitePages(browser_, settings_).ConfirmInsertion(&failure) == -1) return StepResult::failed(failure);

    if (ie.SelectByTagName("a") != 0) return StepResult::failed(texts::NoLinks);
    const int links = ie.GetListLength();
    if (links < 0) return StepResult::failed(texts::NoLinkCount);
    // The editor's switch answers to a real key on the focused link, not to a script's click.
    for (int i = 0; i < links; ++i) {
        if (ie.GetItemText(i) != texts::HtmlTagLink) continue;
        QCoreApplication::processEvents();
        ie.FocusItem(i);
        QCoreApplication::processEvents();
        Desktop::instance().setForeground(TIECtrl::WindowOf(browser_.IEWindow));
        workflow::pause(100);
        if (browser_.Keys) browser_.Keys->SendKeys("{ENTER}", true);
        break;
    }
    curtain.lower();
    carry_.LastCategory = code;
    panel_.showGuideAt(1);
    return StepResult::done();
}

} // namespace zk::category
