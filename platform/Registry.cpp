#include "Registry.h"

#include "ProfileFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zk {
namespace {

// An empty key is a section with a marker line, so that it exists without values.
const char* kKeyMarker = "@";

ProfileFile loaded(const QString& file) {
    ProfileFile profile(file);
    profile.load();
    return profile;
}

bool ensureFolder(const QString& file) { return QDir().mkpath(QFileInfo(file).absolutePath()); }

} // namespace

Registry::Registry() : file_(defaultFile()) {}
Registry::Registry(QString file) : file_(std::move(file)) {}

QString Registry::defaultFile() {
    const QString overridden = QString::fromLocal8Bit(qgetenv("ZERKON_REGISTRY_FILE"));
    if (!overridden.isEmpty()) return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Zerkon/registry.ini";
}

bool Registry::keyExists(const QString& path) const { return loaded(file_).hasSection(path); }

bool Registry::createKey(const QString& path) {
    ProfileFile profile = loaded(file_);
    if (profile.hasSection(path)) return true;
    return ensureFolder(file_) && profile.writeString(path, kKeyMarker, "");
}

std::optional<int> Registry::readInteger(const QString& path, const QString& name) const {
    ProfileFile profile = loaded(file_);
    if (!profile.hasKey(path, name)) return std::nullopt;
    bool ok = false;
    int value = profile.readString(path, name).toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

bool Registry::writeInteger(const QString& path, const QString& name, int value) {
    ProfileFile profile = loaded(file_);
    return ensureFolder(file_) && profile.writeInteger(path, name, value);
}

} // namespace zk
