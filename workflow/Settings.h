#pragma once
// System.ini and the data folder, resolved and read once at start-up; the only code that opens
// System.ini. Reads return what went wrong instead of showing it: the caller owns the message.
#include "platform/NameValueList.h"

#include <QString>
#include <array>

namespace zk::workflow {

class Settings {
public:
    enum class Read { Ok, Missing, OpenFailed, NoSystemSection, Incomplete };

    // The per-user data folder, resolved on the first call and kept; empty when it cannot be
    // resolved or created.
    const QString& dataFolder();
    // For tests and tools that bring their own folder (with trailing separator).
    void setDataFolder(const QString& folder);
    QString systemIniPath() const;
    // A file of the data folder; empty while there is no folder.
    QString dataFile(const QString& name) const;

    // Section SYSTEM whole into values(), checked for the required keys, then FormInfo1.
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
    void writeExcelDir(const QString& folder);
    QString loginHost() const;
    QString auctionHost() const;

private:
    QString dataFolder_;
    bool resolved_ = false;
    NameValueList values_;
    std::array<int, 6> prices_{};
};

} // namespace zk::workflow
