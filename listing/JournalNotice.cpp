#include "listing/JournalNotice.h"

#include "listing/Texts.h"

namespace zk::listing {

QString journalFaultNotice(const workflow::JournalFault& fault) {
    using Kind = workflow::JournalFault::Kind;
    QString why;
    switch (fault.kind) {
    case Kind::None: return {};
    case Kind::Link: why = texts::JournalIsLink; break;
    case Kind::NotAFile: why = texts::JournalNotAFile; break;
    case Kind::OtherOwner: why = texts::JournalOtherOwner.arg(fault.detail); break;
    case Kind::WritableByOthers: why = texts::JournalWritableByOthers; break;
    case Kind::TooLarge: why = texts::JournalTooLarge.arg(fault.detail, QString::number(workflow::ListingLedger::MaxJournalBytes)); break;
    case Kind::Unreadable: why = texts::JournalCannotRead.arg(fault.detail); break;
    case Kind::Unparsable: why = texts::JournalUnparsable.arg(fault.detail); break;
    }
    return fault.setAsideAs.isEmpty() ? texts::JournalNotSetAside.arg(fault.path, why, fault.setAsideError)
                                      : texts::JournalSetAside.arg(fault.path, why, fault.setAsideAs);
}

} // namespace zk::listing
