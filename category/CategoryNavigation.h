#pragma once
// "カテゴリー選択(&J)": the category dialog, then the site's listing page of the chosen category,
// the category confirmed on the page and the description editor switched to HTML input.
#include "workflow/BrowserSession.h"
#include "workflow/ListingCarry.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QString>
#include <QTimer>
#include <memory>

class TCategory;

namespace zk::category {

class CategoryNavigation {
public:
    CategoryNavigation(workflow::BrowserSession& browser, workflow::ListingCarry& carry, workflow::Settings& settings,
                       workflow::Panel& panel);
    ~CategoryNavigation();

    // With Shift held and a category opened before, that category again without the dialog.
    void CategoryButtonClick(bool shiftHeld);
    // Polls the dialog's result every 300 ms while it is open.
    void Timer2Timer();
    void GotoGategory(const QString& code);

    bool polling() const { return Timer2.isActive(); }

private:
    void openListingPage(const QString& code, workflow::CurtainGuard& curtain);

    workflow::BrowserSession& browser_;
    workflow::ListingCarry& carry_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
    QTimer Timer2;
    // The dialog made here when the main window had none.
    std::unique_ptr<TCategory> ownDialog_;
};

} // namespace zk::category
