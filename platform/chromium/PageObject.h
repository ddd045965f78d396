#pragma once
// Late-bound objects of the page: an object the page handed out (element, collection, style),
// and the document, which is looked up anew on every use so that it always is the document of
// the page shown now.
#include "Variant.h"

#include <memory>

namespace zk::chromium {

class ChromiumBrowser;

class PageObject : public Dispatch {
public:
    PageObject(std::shared_ptr<ChromiumBrowser> browser, QString objectId);
    ~PageObject() override;
    Variant get(const QString& name) override;
    void put(const QString& name, const Variant& value) override;
    Variant call(const QString& name, const QVariantList& args) override;
    const QString& objectId() const { return objectId_; }

private:
    std::shared_ptr<ChromiumBrowser> browser_;
    QString objectId_;
};

class DocumentObject : public Dispatch {
public:
    explicit DocumentObject(std::shared_ptr<ChromiumBrowser> browser) : browser_(std::move(browser)) {}
    Variant get(const QString& name) override;
    void put(const QString& name, const Variant& value) override;
    Variant call(const QString& name, const QVariantList& args) override;
    // The form-th form, and its element by name (the index-th of a same-named group when
    // given), each in one call; null where a step gives null.
    Variant form(int form);
    Variant formElement(int form, const QString& name, const QVariantList& index = {});
    // A property of that element read, or written, in the same call: null when there is no
    // such element; a write gives true.
    Variant formElementGet(int form, const QString& name, const QString& property);
    Variant formElementPut(int form, const QString& name, const QString& property, const Variant& value,
                           const QVariantList& index = {});

private:
    std::shared_ptr<ChromiumBrowser> browser_;
};

// A value as an argument of the page script.
QVariant toScriptValue(const Variant& value);

} // namespace zk::chromium
