#pragma once
// The message for a listing journal that was found and not read: which file, why, and the name
// it was set aside under.
#include "workflow/ListingLedger.h"

#include <QString>

namespace zk::listing {

// Empty when nothing was found amiss.
QString journalFaultNotice(const workflow::JournalFault& fault);

} // namespace zk::listing
