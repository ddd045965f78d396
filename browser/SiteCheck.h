#pragma once
// The site check: every page the workflows use visited read-only (nothing submitted, no picture
// sent, agree never pressed; the item form is opened and read, never posted) and judged against
// the table of the site's pages. Widget-free: the caller shows the findings.
#include "browser/SiteMap.h"
#include "workflow/Settings.h"

#include <QList>
#include <QString>

namespace zk {
class TIECtrl;
}

namespace zk::browser {

struct SiteCheckReport {
    enum class Outcome { AllHold = 0, Moved = 1, Unreachable = 2 };
    Outcome outcome = Outcome::AllHold;
    // Why the site could not be reached or logged in (Unreachable).
    QString cause;
    QList<site::Finding> findings;

    // The findings that do not hold.
    QList<site::Finding> problems() const;
    // The lists found empty, by name, for a verdict: "（…は空のため確かめていません）", or
    // nothing when every list showed items.
    QString emptyListsNote() const;
    // The table as text: a header, one tab-separated line per finding, and the verdict.
    QString table() const;
    // The problems (or the cause), one line each, for a message.
    QString problemLines() const;
};

class SiteCheck {
public:
    struct Input {
        QString categoryCode;            // a category the item form is opened for
        QList<site::DefinedField> fields; // the definition file's fields
        site::Configuration config;
        // Rows the add buttons add before the form is read, as the fill adds them.
        int bankRows = 0;
        int paymentRows = 0;
    };

    // Visits the pages with the browser given and judges them. The page shown before is shown
    // again at the end. A browser lost on the way makes the site unreachable, with the cause.
    static SiteCheckReport run(TIECtrl& ie, const workflow::Settings& settings, const Input& input);

    // The page read in one round trip: address, title, named elements and links.
    static site::Snapshot read(TIECtrl& ie);

    // Whether the page shown is the list `list` with no item on it, by the table's marks.
    static bool showsEmptyList(TIECtrl& ie, site::Page list, const QString& auctionHost);

    // Whether a check has held since the program started: the workflows run it before their
    // first run only.
    static bool heldThisStart();
    static void setHeldThisStart(bool held);

    // The first category code of a category.txt; empty when it has none.
    static QString firstCategoryCode(const QString& categoryFile);
};

QString pageName(site::Page page);

} // namespace zk::browser
