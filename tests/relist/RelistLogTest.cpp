// The relist log's folder: written where it can be, and where it cannot, the folder named with
// what is wrong with it.
#include "platform/Clock.h"
#include "relist/RelistLog.h"
#include "relist/Texts.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>

using zk::test::ScopedEnv;
using zk::test::TempFolder;
namespace texts = zk::relist::texts;

TEST(RelistLog, AFolderThatCannotTakeTheLogIsNamedWithItsOwnCause) {
    TempFolder dir;
    dir.write("file", "x");
    QDir().mkpath(dir.file("immutable"));
    // Immutable even to root; made writable again whatever happens.
    auto immutable = [&](bool on) { return QProcess::execute("chattr", {on ? "+i" : "-i", dir.file("immutable")}) == 0; };
    struct Writable {
        std::function<bool(bool)> set;
        ~Writable() { set(false); }
    } writable{immutable};
    const bool canLock = immutable(true);
    const struct {
        const char* what;
        QString folder;
        QString cause; // empty: the log is written
    } cases[] = {
        {"made when missing", dir.file("new/docs"), {}},
        {"under a file: cannot be made", dir.file("file/docs"), texts::DocumentsNotMade},
        {"immutable: cannot be written", dir.file("immutable"), texts::DocumentsReadOnly},
    };
    zk::relist::RelistLogEntry entry;
    entry.oldId = "x1";
    entry.title = QString::fromUtf8("綿100%2枚組");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.folder == dir.file("immutable") && !canLock) continue;
        ScopedEnv documents("ZERKON_DOCUMENTS_DIR", c.folder);
        QString error;
        const QString path = zk::relist::appendRelistLog({entry}, &error);
        if (c.cause.isEmpty()) {
            EXPECT_EQ(path, QDir(c.folder).filePath(zk::relist::relistLogName(zk::clock::now().date())));
            EXPECT_TRUE(QFileInfo(path).isFile());
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        } else {
            EXPECT_TRUE(path.isEmpty());
            EXPECT_EQ(error, texts::LogUnwritable.arg(QDir(c.folder).absolutePath(), c.cause));
        }
    }
}
