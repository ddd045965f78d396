#pragma once
// The per-user registry of the program: keys by path ("Software\\Zerkon\\WindowPos\\Zerkon")
// holding integer values. Kept as a profile file whose sections are the key paths, in the XDG
// config folder (ZERKON_REGISTRY_FILE overrides the file for tests).
#include <QString>
#include <optional>

namespace zk {

class Registry {
public:
    Registry();
    explicit Registry(QString file);

    static QString defaultFile();
    const QString& file() const { return file_; }

    bool keyExists(const QString& path) const;
    bool createKey(const QString& path);
    std::optional<int> readInteger(const QString& path, const QString& name) const;
    bool writeInteger(const QString& path, const QString& name, int value);

private:
    QString file_;
};

} // namespace zk
