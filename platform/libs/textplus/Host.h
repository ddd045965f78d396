#pragma once
// What the description-append tool is handed by the program that loads it: the forms of the page
// its browser shows, and its data folder. The tool knows nothing else of the program.
#include <QString>

namespace zk::textplus {

class Host {
public:
    virtual ~Host() = default;
    // Whether a browser is there to ask.
    virtual bool connected() = 0;
    // Takes the page's document again (it may have changed since); 0 when it could.
    virtual int refreshPage() = 0;
    // A field's value in the numbered form of the page; empty when there is none.
    virtual QString formValue(int form, const QString& field) = 0;
    // 0 written; -1 the form has no such field; anything else a wait that timed out or a lost
    // browser.
    virtual int setFormValue(int form, const QString& field, const QString& value) = 0;
    // Why the last call failed, as the browser said it.
    virtual QString lastError() const = 0;
    // The seller's data folder, with trailing separator.
    virtual QString dataFolder() const = 0;
};

} // namespace zk::textplus
