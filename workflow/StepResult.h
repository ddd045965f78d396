#pragma once
// What one step of a workflow did, as a value: done, or why not. The reason is the text the
// seller is to read, never read back from a box; the one caller that talks to the seller shows
// it. An automation error becomes a result here, at one edge, with its code and text.
#include <QString>
#include <cstdint>

namespace zk::workflow {

struct StepResult {
    enum class Kind {
        Done,
        Refused,     // stopped before anything was sent; nothing to take back
        SiteRefused, // the site answered with its own message
        Failed,      // a page did not do what the step needed
        BrowserLost, // the browser went away or hung
        OfficeLost,  // the office went away
        InDoubt,     // the agree press went out and its answer was not read
        Stopped,     // the seller or a signal stopped it
    };
    Kind kind = Kind::Done;
    QString reason;    // the step's own words for what went wrong; empty when it has none
    uint32_t code = 0; // the automation error's code, when one ended the step
    QString errorText; // and its text

    bool ok() const { return kind == Kind::Done; }
    bool lost() const { return kind == Kind::BrowserLost || kind == Kind::OfficeLost; }

    static StepResult done() { return {}; }
    static StepResult refused(const QString& why) { return {Kind::Refused, why, 0, {}}; }
    static StepResult failed(const QString& why) { return {Kind::Failed, why, 0, {}}; }
    static StepResult siteRefused(const QString& message) { return {Kind::SiteRefused, message, 0, {}}; }
    // The browser went; `why` is what the step was doing when it noticed, if it says so.
    static StepResult browserLost(uint32_t code, const QString& text, const QString& why = {}) {
        return {Kind::BrowserLost, why, code, text};
    }
    // An automation error from the browser: its process gone, or a page operation that failed.
    static StepResult browserError(uint32_t code, const QString& text, bool processGone) {
        return {processGone ? Kind::BrowserLost : Kind::Failed, {}, code, text};
    }
    static StepResult officeLost(const QString& why) { return {Kind::OfficeLost, why, 0, {}}; }
    static StepResult inDoubt(const QString& why) { return {Kind::InDoubt, why, 0, {}}; }
    static StepResult stopped(const QString& why) { return {Kind::Stopped, why, 0, {}}; }
    // What to write down for it: the step's words, else the error's.
    QString why() const { return reason.isEmpty() ? errorText : reason; }
};

} // namespace zk::workflow
