#include "PageObject.h"

#include "ChromiumBrowser.h"

namespace zk::chromium {

QVariant toScriptValue(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty: return QVariantMap{{"__zkEmpty", 1}};
    case Variant::Type::Null: return QVariant::fromValue(nullptr);
    case Variant::Type::Bool: return value.toBool();
    case Variant::Type::Int: return value.toInt();
    case Variant::Type::Double: return value.toDouble();
    case Variant::Type::String: return value.toString();
    case Variant::Type::Object: break;
    }
    return QVariant(); // objects are not handed back to the page
}

PageObject::PageObject(std::shared_ptr<ChromiumBrowser> browser, QString objectId)
    : browser_(std::move(browser)), objectId_(std::move(objectId)) {}

PageObject::~PageObject() { browser_->releaseObject(objectId_); }

Variant PageObject::get(const QString& name) { return browser_->objectInvoke(objectId_, "get", name, {}); }

void PageObject::put(const QString& name, const Variant& value) {
    browser_->objectInvoke(objectId_, "put", name, {toScriptValue(value)});
}

Variant PageObject::call(const QString& name, const QVariantList& args) {
    return browser_->objectInvoke(objectId_, "call", name, args);
}

Variant DocumentObject::get(const QString& name) { return browser_->documentInvoke("get", name, {}); }

void DocumentObject::put(const QString& name, const Variant& value) {
    browser_->documentInvoke("put", name, {toScriptValue(value)});
}

Variant DocumentObject::call(const QString& name, const QVariantList& args) {
    return browser_->documentInvoke("call", name, args);
}

} // namespace zk::chromium

namespace zk::chromium {

Variant DocumentObject::form(int form) { return browser_->documentInvoke("form", {}, {form}); }

Variant DocumentObject::formElement(int form, const QString& name, const QVariantList& index) {
    return browser_->documentInvoke("formitem", name, QVariantList{form} + index);
}

Variant DocumentObject::formElementGet(int form, const QString& name, const QString& property) {
    return browser_->documentInvoke("formget", name, {form, property});
}

Variant DocumentObject::formElementPut(int form, const QString& name, const QString& property, const Variant& value,
                                       const QVariantList& index) {
    return browser_->documentInvoke("formput", name, QVariantList{form, property, toScriptValue(value)} + index);
}

} // namespace zk::chromium
