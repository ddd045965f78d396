#pragma once
// Writes a data folder that fits a running practice site: System.ini with the site's addresses,
// texts and account (and the host keys of our own in section SITE), FieldsDefine.ini naming the
// listing form's fields, and category.txt with the categories the site knows. All in CP932 with
// CRLF lines, as the program reads them. The same site state always gives the same bytes.
#include "site/SiteConfig.h"

#include <QByteArray>
#include <QString>

namespace zk::site {

QByteArray systemIni(const SiteInfo& info, const QString& excelDir);
QByteArray fieldsDefineIni();
QByteArray categoryTxt();

// Writes the three files into `folder` (created if missing); EXCEL_DIR names `excelDir`, or the
// folder itself when that is empty. Error text on failure.
QString writeDataFolder(const SiteInfo& info, const QString& folder, const QString& excelDir = {});

} // namespace zk::site
