#pragma once
// What the site says on a page it sends back instead of going on: the texts of its error
// paragraphs.
#include "browser/Iectrl.h"

#include <QStringList>

namespace zk::browser {

// The texts of the page's <p class="error"> paragraphs in page order, empty ones left out;
// none when the page cannot be read. A lost browser raises (GetItemInnerText).
QStringList siteErrors(TIECtrl& ie);

} // namespace zk::browser
