#pragma once
// "name=value" lines looked up by name without regard to case, the first line of a name
// winning: what a settings section read whole gives the workflows.
#include <QString>
#include <QStringList>

namespace zk {

class NameValueList {
public:
    NameValueList() = default;
    explicit NameValueList(const QStringList& lines) : lines_(lines) {}

    // Missing names read as empty text.
    QString value(const QString& name) const;
    bool contains(const QString& name) const { return indexOf(name) >= 0; }
    void setValue(const QString& name, const QString& value);
    const QStringList& lines() const { return lines_; }
    void setLines(const QStringList& lines) { lines_ = lines; }

private:
    int indexOf(const QString& name) const;
    QStringList lines_;
};

} // namespace zk
