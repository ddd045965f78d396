#pragma once
// A fresh folder for one test, removed afterwards, with helpers to put files into it.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace zk::test {

class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    // Full path of a file in the folder (sub-folders are created).
    QString file(const QString& name) const;
    QString write(const QString& name, const QByteArray& bytes) const;
    // Writes text as CP932 bytes.
    QString writeCp932(const QString& name, const QString& text) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();

private:
    QByteArray name_;
    QByteArray old_;
    bool had_;
};

} // namespace zk::test
