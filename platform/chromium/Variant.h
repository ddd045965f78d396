#pragma once
// Late-bound values as the browser's object model hands them over: empty (nothing, an
// undefined member) and null (what a lookup that found nothing returns) are different; objects
// are reached by name, without regard to case, through Dispatch.
#include <QString>
#include <QVariantList>
#include <memory>

namespace zk {

class Variant;

class Dispatch {
public:
    virtual ~Dispatch() = default;
    virtual Variant get(const QString& name) = 0;
    virtual void put(const QString& name, const Variant& value) = 0;
    virtual Variant call(const QString& name, const QVariantList& args) = 0;
};

class Variant {
public:
    enum class Type { Empty, Null, Bool, Int, Double, String, Object };

    Variant() = default;
    static Variant null();
    Variant(bool b);
    Variant(int i);
    Variant(double d);
    Variant(const QString& s);
    Variant(const char* s) : Variant(QString::fromUtf8(s)) {}
    Variant(std::shared_ptr<Dispatch> object);

    Type type() const { return type_; }
    bool isEmpty() const { return type_ == Type::Empty; }
    bool isNull() const { return type_ == Type::Null; }
    bool isObject() const { return type_ == Type::Object; }

    // Conversions as a variant does them; a value that cannot be converted raises a
    // type-mismatch automation error.
    QString toString() const;
    bool toBool() const;
    int toInt() const;
    double toDouble() const;

    // Late-bound access; raises an automation error when this is not an object.
    Variant get(const QString& name) const;
    void put(const QString& name, const Variant& value) const;
    Variant call(const QString& name, const QVariantList& args = {}) const;

    Dispatch* object() const { return object_.get(); }
    // Drops the reference (the variant becomes empty).
    void clear() { *this = Variant(); }

private:
    Dispatch& dispatch() const;

    Type type_ = Type::Empty;
    bool bool_ = false;
    double number_ = 0;
    QString string_;
    std::shared_ptr<Dispatch> object_;
};

} // namespace zk
