#pragma once
// The site check as the program runs it: its input made from System.ini, FieldsDefine.ini and
// category.txt, and the check before a run of "連続出品" or "一括再出品" (once after each start
// while it holds).
#include "browser/SiteCheck.h"
#include "fields/Fields.h"
#include "workflow/BrowserSession.h"
#include "workflow/Settings.h"

namespace zk::fields {

// `categoryCode` empty: the first code of the data folder's category.txt.
browser::SiteCheck::Input siteCheckInput(const workflow::Settings& settings, const TFieldDefs& defs,
                                         const QString& categoryCode = {});

// Runs the check unless one held since the start. True when the run may go on, with the check's
// result for the head of the run's report in *head (that it held now, or earlier in this start;
// empty when there was no browser to check with); false after saying what moved (or why the
// site could not be reached): nothing was sent.
bool checkSiteBeforeRun(workflow::BrowserSession& browser, const workflow::Settings& settings,
                        const TFieldDefs& defs, const QString& categoryCode, QString* head);

} // namespace zk::fields
