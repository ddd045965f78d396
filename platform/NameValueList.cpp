#include "NameValueList.h"

namespace zk {

int NameValueList::indexOf(const QString& name) const {
    for (int i = 0; i < lines_.size(); ++i) {
        const int eq = lines_[i].indexOf('=');
        if (eq >= 0 && lines_[i].left(eq).compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

QString NameValueList::value(const QString& name) const {
    const int i = indexOf(name);
    return i < 0 ? QString() : lines_[i].mid(lines_[i].indexOf('=') + 1);
}

void NameValueList::setValue(const QString& name, const QString& value) {
    const int i = indexOf(name);
    if (i < 0) lines_ << name + "=" + value;
    else lines_[i] = lines_[i].left(lines_[i].indexOf('=')) + "=" + value;
}

} // namespace zk
