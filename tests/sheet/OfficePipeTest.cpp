// The office's pipe against another local user who binds its name first.
#include "platform/calc/Faults.h"
#include "platform/calc/Office.h"
#include "platform/calc/OfficePipe.h"
#include "platform/calc/OfficeProcess.h"
#include "tests/support/OtherUser.h"
#include "tests/support/TempFolder.h"

#include <QLocalServer>
#include <QUuid>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace zk;

namespace {

QString freshPipeName() { return "zerkon-test-" + QUuid::createUuid().toString(QUuid::Id128); }

TEST(OfficePipe, OnlyASocketOfOursWithTheOfficeListeningCounts) {
    const QString path = calc::officePipePath(freshPipeName());
    QString detail;
    EXPECT_EQ(calc::pipeOwner(path, ::getpid(), &detail), calc::PipeOwner::Absent);

    QLocalServer server;
    ASSERT_TRUE(server.listen(path));
    EXPECT_EQ(calc::pipeOwner(path, ::getpid(), &detail), calc::PipeOwner::Office);
    // Our own socket, but another process of ours listens on it: not the office we started.
    EXPECT_EQ(calc::pipeOwner(path, ::getpid() + 100000, &detail), calc::PipeOwner::Foreign);
    EXPECT_TRUE(detail.contains("listens on it")) << detail.toStdString();
    server.close();

    test::TempFolder tmp;
    const QString file = tmp.write("OSL_PIPE_plain", "x");
    EXPECT_EQ(calc::pipeOwner(file, ::getpid(), &detail), calc::PipeOwner::Foreign);
    EXPECT_TRUE(detail.endsWith("not a socket"));
}

TEST(OfficePipe, APipeBoundFirstByAnotherUserIsRefusedAndTheOfficeEnded) {
    QString why;
    if (!test::otherUserAvailable(&why)) GTEST_SKIP() << why.toStdString();
    const QString name = freshPipeName();
    test::ForeignListener squatter(calc::officePipePath(name));
    ASSERT_TRUE(squatter.listening());
    EXPECT_EQ(calc::pipeOwner(calc::officePipePath(name), ::getpid(), nullptr), calc::PipeOwner::Foreign);

    const QList<pid_t> before = calc::childProcesses(::getpid(), "soffice.bin");
    test::TempFolder profile;
    calc::Office::Options options = calc::Office::defaultOptions();
    options.headless = true;
    options.profileFolder = profile.file("office");
    options.pipeName = name;
    try {
        calc::Office office(options);
        ADD_FAILURE() << "connected to a pipe another user bound";
    } catch (const AutomationError& e) {
        EXPECT_TRUE(e.text().startsWith(calc::texts::PipeTaken)) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("bound by user %1").arg(test::otherUid()))) << e.text().toStdString();
    }
    EXPECT_EQ(calc::childProcesses(::getpid(), "soffice.bin"), before);
}

} // namespace
