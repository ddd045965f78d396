#include "TempFolder.h"

#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zk::test {

TempFolder::TempFolder() : dir_(QDir::tempPath() + "/zerkon-test-XXXXXX") {}

QString TempFolder::file(const QString& name) const {
    const QString path = dir_.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
}

QString TempFolder::writeCp932(const QString& name, const QString& text) const {
    return write(name, cp932::fromUnicode(text));
}

QByteArray TempFolder::read(const QString& name) const {
    QFile f(dir_.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ScopedEnv::ScopedEnv(const char* name, const QString& value)
    : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value.toLocal8Bit());
}

ScopedEnv::~ScopedEnv() {
    if (had_) qputenv(name_.constData(), old_);
    else qunsetenv(name_.constData());
}

} // namespace zk::test
