#include "browser/SiteMessages.h"

namespace zk::browser {

QStringList siteErrors(TIECtrl& ie) {
    QStringList said;
    if (ie.SelectByTagName(QStringLiteral("p")) != 0) return said;
    const int n = ie.GetListLength();
    for (int i = 0; i < n; ++i) {
        if (!ie.GetItemAttribute(i, QStringLiteral("class")).split(u' ').contains(QLatin1String("error"))) continue;
        const QString text = ie.GetItemInnerText(i).trimmed();
        if (!text.isEmpty()) said << text;
    }
    return said;
}

} // namespace zk::browser
