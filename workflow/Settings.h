#pragma once
// System.ini and the data folder. The program resolves the folder once and hands it in; the file
// is read once at start-up and held. Two things the seller may change while the program runs are
// read again where they are used: the workbook folder, at each workbook opening, and the
// browser's own sections, at each browser start (file()). Every read and write of System.ini goes
// through here. Reads return what went wrong instead of showing it: the caller owns the message.
#include "platform/NameValueList.h"
#include "platform/ProfileFile.h"
#include "workflow/SystemIni.h"

#include <QString>
#include <array>

namespace zk::workflow {

class Settings {
public:
    enum class Read { Ok, Missing, OpenFailed, NoSystemSection, Incomplete };

    // The data folder handed in (with trailing separator); empty when the program could not
    // resolve or create it.
    const QString& dataFolder() const { return dataFolder_; }
    void setDataFolder(const QString& folder) { dataFolder_ = folder; }
    QString systemIniPath() const;
    // A file of the data folder; empty while there is no folder.
    QString dataFile(const QString& name) const;

    // Section SYSTEM whole into values(), the site's host names, then checked for the required
    // keys, then FormInfo1.
    Read read();
    const NameValueList& values() const { return values_; }
    QString value(const QString& key) const { return values_.value(key); }
    // Saved panel prices in the order of ini::PriceKeys; 0 is empty.
    const std::array<int, 6>& savedPrices() const { return prices_; }

    // Whether the file is there and can be read, for writers that refuse otherwise.
    bool fileReadable() const;
    // Both "0000": the account was never set.
    bool accountMissing() const;
    // INIT_START is "0": the option editor has never run.
    bool firstStart() const;

    // Writers write through to the file at once and change the values read only on success.
    bool writeAccount(const QString& id, const QString& password);
    bool markFirstStartDone();
    // The six price texts of the panel; an empty text is 0. False (nothing more written) when
    // the file cannot be opened or a text is no integer.
    bool writePrices(const std::array<QString, 6>& texts);
    // EXCEL_DIR as the file holds it now (the workbook folder follows the file, not the start).
    QString excelDir() const;
    // Kept only when System.ini (CP932) gives it back as it is.
    void writeExcelDir(const QString& folder);
    // As read at start-up; the defaults where the file is silent.
    const QString& loginHost() const { return loginHost_; }
    const QString& auctionHost() const { return auctionHost_; }
    // How long a listing in doubt may still appear on the site ([LISTING] DOUBT_SECONDS).
    int doubtSeconds() const { return doubtSeconds_; }
    // The file as it is now, for the browser's own sections; not loaded when it cannot be read.
    ProfileFile file() const;

private:
    QString dataFolder_;
    NameValueList values_;
    QString loginHost_ = ini::DefaultLoginHost;
    QString auctionHost_ = ini::DefaultAuctionHost;
    std::array<int, 6> prices_{};
    // The practice site holds a POST at most 30 s, and a page has the browser's 60 s; the rest
    // is margin for a real site's queue.
    int doubtSeconds_ = 180;
};

} // namespace zk::workflow
