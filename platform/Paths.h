#pragma once
// The per-user folders: the data folder that holds System.ini and the other files of the seller,
// and the documents folder for collection workbooks. Environment variables override both, so
// that tests and the demo never touch the real user's folders.
#include <QString>

namespace zk::paths {

// With trailing separator; empty when the folder cannot be resolved or created.
// ZERKON_DATA_DIR names the data folder itself; otherwise XDG data home + "Zerkon/".
QString dataFolder();
// ZERKON_DOCUMENTS_DIR or the XDG documents folder, with trailing separator.
QString documentsFolder();
// Folder of the program file, with trailing separator.
QString exeFolder();

} // namespace zk::paths
