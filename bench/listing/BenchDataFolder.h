#pragma once
// The data folder of a listing benchmark: what the practice site wrote for itself, copied where
// Zerkon reads it, with the workbook folder and a headless browser profile under `home`.
#include <QString>

#include <memory>

namespace zk {
class TMain;
}

namespace zk::bench {

// Before the application is made: a broken pipe is no end of the benchmark, no display needed,
// and the program's data, documents, registry and headless office all under `home`.
void setBenchEnvironment(const QString& home);

// Waits up to five seconds for the site's files (System.ini, which it writes last); false when one cannot be written.
bool seedDataFolder(const QString& siteData, const QString& home);

// The main window on the seeded data folder, once its start-up step has run (bounded) with the
// browser attached; null, said on stderr, when it did not start.
std::unique_ptr<TMain> startPanel();

} // namespace zk::bench
