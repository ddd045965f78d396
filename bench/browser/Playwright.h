#pragma once
// playwright-core for the benchmarks that compare with it: installed once (npm) into a folder
// beside the benchmark programs, and run as a node script with its own home folders.
#include <QString>
#include <QStringList>

namespace zk::bench {

// The node_modules folder that holds playwright-core, installed on first use; empty when it
// cannot be installed.
QString playwrightModules(const QString& folder);
// Runs `script` with `arguments` under node, its home and temporary folders inside `scratch`,
// pumping events meanwhile (a server of the benchmark may answer from this thread); the
// script's standard output, empty when it failed.
QByteArray runNode(const QString& modules, const QString& script, const QStringList& arguments, const QString& scratch,
                   int timeoutMs = 600000);

} // namespace zk::bench
