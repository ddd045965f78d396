#pragma once
// The per-user folders: the data folder that holds System.ini and the other files of the seller,
// and the documents folder for collection workbooks. Environment variables override both, so
// that tests and the demo never touch the real user's folders.
#include <QString>

namespace zk::paths {

// With trailing separator; empty when the folder cannot be resolved or created.
// ZERKON_DATA_DIR names the data folder itself; otherwise the folder the seller chose at the first
// start (chooseDataFolder), else XDG data home + "Zerkon/".
QString dataFolder();
// The same folder's path (with trailing separator) without creating it.
QString dataFolderPath();
// A folder chosen by the seller, kept in the XDG config folder ("Zerkon/datafolder") for the
// next starts; false when it could not be kept.
bool chooseDataFolder(const QString& folder);
QString chosenDataFolderFile();
// ZERKON_DOCUMENTS_DIR or the XDG documents folder, with trailing separator.
QString documentsFolder();
// Why a data folder is refused: the seller's account, bank data and listing journal are kept
// only in a folder that is this user's and that no one else can write.
struct DataFolderFault {
    enum class Kind { None, Missing, NotAFolder, OtherOwner, CannotRestrict };
    Kind kind = Kind::None;
    QString detail; // the owner for OtherOwner, the system's reason otherwise
};
// Checks the data folder (a link to it is followed) and makes it 0700 when it is this user's
// and only too open.
DataFolderFault claimDataFolder(const QString& dataFolder);
// The folder a collection writes its workbooks to, with trailing separator: the documents folder
// above, made if need be, when it can be written; the home folder only when no documents folder is
// named at all. A folder that is named but cannot be made or written gives the empty text and
// its path in `unusable` and, in `fault`, which of the two: the caller says so, and nothing is
// written anywhere else.
enum class DocumentsFault { None, CannotMake, CannotWrite };
QString writableDocumentsFolder(QString& unusable, DocumentsFault* fault = nullptr);
// Whether a file can be made in the folder (a probe file, removed at once): permissions alone
// do not tell a folder on a read-only file system or marked immutable.
bool canWriteIn(const QString& folder);

// The data folder and its files that hold the seller's account (System.ini) and bank data
// (FieldsDefine.ini) made the seller's alone (0700, 0600), whoever wrote them first; only what
// this user owns is touched. False when one of them could not be made so.
bool protectSellerFiles(const QString& dataFolder);
// Folder of the program file, with trailing separator.
QString exeFolder();

// The shell's special folders by number, as the workflows ask for them.
enum SpecialFolder { PersonalFolder = 5, AppDataFolder = 26 };
// Puts the folder's path (without trailing separator) into `path` and returns true; leaves
// `path` untouched and returns false when the folder cannot be located or made, so that a
// caller that filled in a fallback keeps it.
bool GetSpecialFolder(int folder, QString& path);

} // namespace zk::paths
