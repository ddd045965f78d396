#pragma once
// The data folder of a listing benchmark: what the practice site wrote for itself, copied where
// Zerkon reads it, with the workbook folder and a headless browser profile under `home`.
#include <QString>

namespace zk::bench {

// Before the application is made: a broken pipe is no end of the benchmark, no display needed,
// and the program's data, documents, registry and headless office all under `home`.
void setBenchEnvironment(const QString& home);

// Waits up to five seconds for the site's files (System.ini, which it writes last); false when one cannot be written.
bool seedDataFolder(const QString& siteData, const QString& home);

} // namespace zk::bench
