#include "workflow/Settings.h"

#include "platform/Cp932.h"

namespace zk::workflow {
namespace {

// The file holds the password: whatever rewrites it keeps it owner only.
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

QString Settings::systemIniPath() const { return dataFile(ini::FileName); }

QString Settings::dataFile(const QString& name) const { return dataFolder_.isEmpty() ? QString() : dataFolder_ + name; }

Settings::Read Settings::read() {
    ProfileFile file(systemIniPath());
    if (!file.exists()) return Read::Missing;
    if (!file.load()) return Read::OpenFailed;
    loginHost_ = file.readString(ini::Site, ini::LoginHost, ini::DefaultLoginHost).trimmed();
    auctionHost_ = file.readString(ini::Site, ini::AuctionHost, ini::DefaultAuctionHost).trimmed();
    doubtSeconds_ = file.readInteger(ini::Listing, ini::DoubtSeconds, doubtSeconds_);
    if (doubtSeconds_ <= 0) doubtSeconds_ = 180;
    if (!file.hasSection(ini::System)) return Read::NoSystemSection;
    values_.setLines(file.readSection(ini::System));
    for (const QString& key : ini::RequiredSystemKeys)
        if (values_.value(key).isEmpty()) return Read::Incomplete;
    for (size_t i = 0; i < prices_.size(); ++i) prices_[i] = file.readInteger(ini::FormInfo, ini::PriceKeys[i], 0);
    return Read::Ok;
}

bool Settings::fileReadable() const {
    ProfileFile file(systemIniPath());
    return !file.path().isEmpty() && file.exists() && file.load();
}

bool Settings::accountMissing() const {
    return value(ini::YahooId) == QLatin1String("0000") && value(ini::Password) == QLatin1String("0000");
}

bool Settings::firstStart() const { return value(ini::InitStart) == QLatin1String("0"); }

bool Settings::writeAccount(const QString& id, const QString& password) {
    ProfileFile file(systemIniPath());
    if (!file.load()) return false;
    file.setPermissions(OwnerOnly);
    if (!file.writeString(ini::System, ini::YahooId, id) || !file.writeString(ini::System, ini::Password, password))
        return false;
    values_.setValue(ini::YahooId, id);
    values_.setValue(ini::Password, password);
    return true;
}

bool Settings::markFirstStartDone() {
    ProfileFile file(systemIniPath());
    file.setPermissions(OwnerOnly);
    return file.load() && file.writeInteger(ini::System, ini::InitStart, 1);
}

bool Settings::writePrices(const std::array<QString, 6>& texts) {
    ProfileFile file(systemIniPath());
    file.setPermissions(OwnerOnly);
    bool ok = file.exists() && file.load();
    for (size_t i = 0; ok && i < texts.size(); ++i) {
        int value = 0;
        if (!texts[i].isEmpty()) value = texts[i].toInt(&ok);
        ok = ok && file.writeInteger(ini::FormInfo, ini::PriceKeys[i], value);
    }
    return ok;
}

QString Settings::excelDir() const {
    ProfileFile file(systemIniPath());
    if (!file.load()) return {};
    return file.readString(ini::System, ini::ExcelDir);
}

void Settings::writeExcelDir(const QString& folder) {
    // A folder that would read back as another one is not kept: the dialog starts where it did.
    if (!cp932::unkeptCharacters(folder).isEmpty()) return;
    ProfileFile file(systemIniPath());
    if (file.load()) file.writeString(ini::System, ini::ExcelDir, folder);
}

ProfileFile Settings::file() const {
    ProfileFile file(systemIniPath());
    file.load();
    return file;
}

} // namespace zk::workflow
