#include "Variant.h"

#include "ChromiumTexts.h"
#include "platform/AutomationError.h"

#include <cmath>

namespace zk {

Variant Variant::null() {
    Variant v;
    v.type_ = Type::Null;
    return v;
}

Variant::Variant(bool b) : type_(Type::Bool), bool_(b) {}
Variant::Variant(int i) : type_(Type::Int), number_(i) {}
Variant::Variant(double d) : type_(Type::Double), number_(d) {}
Variant::Variant(const QString& s) : type_(Type::String), string_(s) {}
Variant::Variant(std::shared_ptr<Dispatch> object)
    : type_(object ? Type::Object : Type::Null), object_(std::move(object)) {}

QString Variant::toString() const {
    switch (type_) {
    case Type::Empty:
    case Type::Null: return {};
    case Type::Bool: return bool_ ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Int: return QString::number(qint64(number_));
    case Type::Double:
        return number_ == std::floor(number_) && std::fabs(number_) < 1e15 ? QString::number(qint64(number_))
                                                                           : QString::number(number_, 'g', 15);
    case Type::String: return string_;
    case Type::Object: break;
    }
    throw AutomationError(hresult::TypeMismatch, chromium::texts::TypeMismatch);
}

bool Variant::toBool() const {
    switch (type_) {
    case Type::Empty: return false;
    case Type::Bool: return bool_;
    case Type::Int:
    case Type::Double: return number_ != 0;
    case Type::String: {
        const QString s = string_.trimmed().toLower();
        if (s == QLatin1String("true")) return true;
        if (s == QLatin1String("false")) return false;
        bool ok = false;
        const double d = s.toDouble(&ok);
        if (ok) return d != 0;
        break;
    }
    default: break;
    }
    throw AutomationError(hresult::TypeMismatch, chromium::texts::TypeMismatch);
}

double Variant::toDouble() const {
    switch (type_) {
    case Type::Empty: return 0;
    case Type::Bool: return bool_ ? -1 : 0;
    case Type::Int:
    case Type::Double: return number_;
    case Type::String: {
        bool ok = false;
        const double d = string_.trimmed().toDouble(&ok);
        if (ok) return d;
        break;
    }
    default: break;
    }
    throw AutomationError(hresult::TypeMismatch, chromium::texts::TypeMismatch);
}

int Variant::toInt() const {
    const double d = toDouble();
    if (!std::isfinite(d) || d > 2147483647.0 || d < -2147483648.0)
        throw AutomationError(hresult::TypeMismatch, chromium::texts::TypeMismatch);
    return int(std::nearbyint(d)); // halves to even, as variants convert
}

Dispatch& Variant::dispatch() const {
    if (type_ != Type::Object) throw AutomationError(hresult::TypeMismatch, chromium::texts::ObjectRequired);
    return *object_;
}

Variant Variant::get(const QString& name) const { return dispatch().get(name); }
void Variant::put(const QString& name, const Variant& value) const { dispatch().put(name, value); }
Variant Variant::call(const QString& name, const QVariantList& args) const { return dispatch().call(name, args); }

} // namespace zk
