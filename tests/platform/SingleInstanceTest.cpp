// The single-instance lock against another local user: names taken first, planted links and
// folders that are not private.
#include "platform/SingleInstance.h"
#include "support/OtherUser.h"
#include "support/TempFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zk {
namespace {

int modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The other user must be able to reach what it squats.
        QFile::setPermissions(tmp.path(), QFileDevice::Permissions(0x7755));
    }
    test::TempFolder tmp;
};

TEST_F(SingleInstanceTest, FolderTakenByAnotherUserIsPassedOverAndItsSocketNeverAsked) {
    QString why;
    if (!test::otherUserAvailable(&why)) GTEST_SKIP() << why.toStdString();
    const QString squatted = tmp.file("squatted");
    QDir().mkpath(squatted);
    ASSERT_TRUE(test::giveToOtherUser(squatted));
    // Whatever the squatter answers on every name it could guess, it is never asked.
    const QString scope = "data-folder";
    test::ForeignListener raised(squatted + "/Zerkon-" + QCryptographicHash::hash(scope.toUtf8(),
                                 QCryptographicHash::Sha1).toHex().left(12) + ".sock", "raised\n");
    ASSERT_TRUE(raised.listening());

    SingleInstance instance(scope, {squatted, tmp.file("mine")});
    EXPECT_EQ(instance.acquire(), SingleInstance::Result::First);
    EXPECT_TRUE(instance.lockPath().startsWith(tmp.file("mine") + "/"));
    EXPECT_EQ(modeOf(tmp.file("mine")), 0700);
}

TEST_F(SingleInstanceTest, NoPrivateFolderIsSaidWithEachReason) {
    QString why;
    if (!test::otherUserAvailable(&why)) GTEST_SKIP() << why.toStdString();
    const QString squatted = tmp.file("squatted");
    QDir().mkpath(squatted);
    ASSERT_TRUE(test::giveToOtherUser(squatted));
    const QString link = tmp.file("link");
    ASSERT_TRUE(QFile::link(tmp.path(), link));

    SingleInstance instance("data-folder", {squatted, link});
    EXPECT_EQ(instance.acquire(), SingleInstance::Result::Unavailable);
    EXPECT_TRUE(instance.error().contains(squatted + ": belongs to user")) << instance.error().toStdString();
    EXPECT_TRUE(instance.error().contains(link + ": not a folder")) << instance.error().toStdString();
}

TEST_F(SingleInstanceTest, OwnFoldersLeftOpenAreClosedButAnOpenRuntimeFolderIsNotUsed) {
    const QString mine = tmp.file("mine");
    QDir().mkpath(mine);
    QFile::setPermissions(mine, QFileDevice::Permissions(0x7777));
    EXPECT_EQ(ownPrivateFolder({mine}, nullptr), mine);
    EXPECT_EQ(modeOf(mine), 0700);

    // The system's runtime folder is used only as it is: private.
    const QString open = tmp.file("run");
    QDir().mkpath(open);
    QFile::setPermissions(open, QFileDevice::Permissions(0x7755));
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", open);
    EXPECT_FALSE(SingleInstance::defaultFolders().contains(open));
    QFile::setPermissions(open, QFileDevice::Permissions(0x7700));
    EXPECT_EQ(SingleInstance::defaultFolders().value(0), open);
}

TEST_F(SingleInstanceTest, ALockPathThatHoldsNoLockIsSaidNotTakenForARunningOne) {
    const QString mine = tmp.file("mine");
    QDir().mkpath(mine);
    SingleInstance probe("data-folder", {mine});
    ASSERT_EQ(probe.acquire(), SingleInstance::Result::First);
    const QString lock = probe.lockPath();
    // A lock path that is a folder cannot be a lock file, and no instance holds it.
    SingleInstance other("other-folder", {mine});
    const QString otherLock = lock.left(lock.lastIndexOf('/') + 1) + "Zerkon-"
        + QCryptographicHash::hash(QByteArray("other-folder"), QCryptographicHash::Sha1).toHex().left(12) + ".lock";
    ASSERT_TRUE(QDir().mkpath(otherLock + "/x"));
    EXPECT_EQ(other.acquire(), SingleInstance::Result::Unavailable);
    EXPECT_TRUE(other.error().startsWith(otherLock)) << other.error().toStdString();
}

} // namespace
} // namespace zk
