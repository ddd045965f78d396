#pragma once
// The data folder of a listing benchmark: what the practice site wrote for itself, copied where
// Zerkon reads it, with the workbook folder and a headless browser profile under `home`.
#include <QString>

namespace zk::bench {

// Waits up to five seconds for the site's files; false when one cannot be written.
bool seedDataFolder(const QString& siteData, const QString& home);

} // namespace zk::bench
