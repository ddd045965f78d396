#pragma once
// "カテゴリー選択(&J)": the category dialog, then the site's listing page of the chosen category,
// the category confirmed on the page and the description editor switched to HTML input.
#include "workflow/BrowserSession.h"
#include "workflow/ListingCarry.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"
#include "workflow/StepResult.h"

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
    // The press's way: the listing page opened, or its failure said (a lost browser started again).
    void GotoGategory(const QString& code);
    // The category's listing page, its category confirmed and the editor switched to HTML input;
    // what happened, nothing shown. A browser error escapes as it is.
    workflow::StepResult openCategory(const QString& code);

    bool polling() const { return Timer2.isActive(); }

private:

    workflow::BrowserSession& browser_;
    workflow::ListingCarry& carry_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
    QTimer Timer2;
    // The dialog made here when the main window had none.
    std::unique_ptr<TCategory> ownDialog_;
};

} // namespace zk::category
