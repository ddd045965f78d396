// `zerkon --check-site` as a process, with its headless browser, against the practice site as it
// is and as each of its variants changes it: the exit status, the page and element named, and
// nothing received by the site.
#include "SiteProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString buildDir() { return qEnvironmentVariable("ZERKON_BUILD_DIR"); }

struct CheckRun {
    int status = -1;
    QString out, err;
};

// The check on the site's data folder; a check that does not end in time is ended by its pid.
CheckRun checkSite(const QString& dataFolder) {
    QProcess zerkon;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZERKON_DATA_DIR", dataFolder);
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    zerkon.setProcessEnvironment(env);
    zerkon.start(buildDir() + "/zerkon", {"--check-site"});
    CheckRun run;
    if (!zerkon.waitForFinished(90000)) {
        zerkon.kill();
        zerkon.waitForFinished(10000);
        run.err = "did not end within 90 s";
        return run;
    }
    run.status = zerkon.exitStatus() == QProcess::NormalExit ? zerkon.exitCode() : -1;
    run.out = QString::fromUtf8(zerkon.readAllStandardOutput());
    run.err = QString::fromUtf8(zerkon.readAllStandardError());
    return run;
}

QStringList listedVariants() {
    QProcess site;
    site.start(zk::test::SiteProcess::programPath(), {"--list-variants"});
    site.waitForFinished(10000);
    return QString::fromUtf8(site.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

struct Case {
    const char* variant;
    QStringList more;    // the site's other arguments
    int status;
    const char* page;    // the page named, with the element, on a line of its own
    const char* element;
    const char* verdict; // the last line begins so
    QStringList empty{}; // the lists found empty, left unjudged
    bool anItem = true;  // the seller has an item whose completion page is shown again
    bool anUnsold = true; // ... and an unsold one, whose item page and relist form are read
};

// The practice site's own pages hold everything; each variant moves exactly one element. The
// completion page is opened again for an item of any list; only the confirmation page stays
// unopened. A list with no item is the seller's state, not a changed page: a new account, or one
// with only current items, holds.
const Case cases[] = {
    {"", {}, 0, nullptr, nullptr, "異常なし"},
    {"", {"--current", "0"}, 0, nullptr, nullptr, "異常なし", {"出品中の一覧"}},
    {"", {"--new-account"}, 0, nullptr, nullptr, "異常なし", {"出品中の一覧", "落札済みの一覧", "落札者なしの一覧"}, false, false},
    {"", {"--sold", "0", "--unsold", "0"}, 0, nullptr, nullptr, "異常なし", {"落札済みの一覧", "落札者なしの一覧"}, true, false},
    {"", {"--current", "0", "--unsold", "0"}, 0, nullptr, nullptr, "異常なし", {"出品中の一覧", "落札者なしの一覧"}, true, false},
    {"renamed-field", {}, 1, "出品フォーム", "item_condition", "異常あり：1項目"},
    {"short-list", {}, 1, "出品フォーム", "ship_days", "異常あり：1項目"},
    {"moved-item-links", {}, 1, "落札者なしの一覧", "/jp/auction/", "異常あり：1項目"},
    {"login-more", {}, 2, "ログイン画面", "otp", "サイトに接続またはログインできません：ログイン画面／otp"},
    {"completion-text", {}, 1, "出品の完了", "このオークションの商品ページを見る", "異常あり：1項目"},
};

// What the table says was found on a page, one entry per element.
QStringList foundOn(const QStringList& lines, const char* page) {
    QStringList found;
    for (const QString& l : lines)
        if (l.startsWith(QString::fromUtf8(page) + '\t')) found << l.section('\t', 3, 3);
    return found;
}

TEST(SiteCheckCommand, NamesWhatEachVariantMovedAndSendsNothing) {
    ASSERT_FALSE(buildDir().isEmpty()) << "ZERKON_BUILD_DIR names the build folder";
    QStringList covered;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variant);
        QStringList args{"--data-folder"};
        QTemporaryDir dataDir;
        const QString data = dataDir.path() + "/data";
        args << data;
        if (*c.variant) args << "--variant" << c.variant;
        args << c.more;
        zk::test::SiteProcess running(args);
        ASSERT_EQ(running.start(), "");
        // The seller's folder is the seller's alone.
        ASSERT_TRUE(QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QJsonObject before = running.state();

        const CheckRun run = checkSite(data);
        EXPECT_EQ(run.status, c.status) << run.out.toStdString() << run.err.toStdString();
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(lines.last().startsWith(QString::fromUtf8(c.verdict))) << lines.last().toStdString();
        if (c.page) {
            const QString named = QString::fromUtf8(c.page) + '\t';
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) {
                return l.startsWith(named) && l.section('\t', 1, 1).contains(QString::fromUtf8(c.element));
            })) << run.out.toStdString();
        }
        if (c.status != 2) {
            const QString unopened = QString::fromUtf8("送信しないと開けないため、開いていません");
            EXPECT_EQ(foundOn(lines, "出品の確認"), QStringList(2, unopened)) << run.out.toStdString();
            const QStringList completion = foundOn(lines, "出品の完了");
            EXPECT_EQ(completion.size(), 2) << run.out.toStdString();
            EXPECT_FALSE(completion.contains(unopened)) << run.out.toStdString();
            if (c.anItem)
                EXPECT_TRUE(completion.value(0).contains("/jp/config/submit?aID=")) << run.out.toStdString();
            else
                EXPECT_EQ(completion, QStringList(2, QString::fromUtf8("出品した商品がまだないため、開いていません")));
            if (!c.anUnsold) {
                const QString noUnsold = QString::fromUtf8("落札者なしの商品がないため、開いていません");
                EXPECT_EQ(foundOn(lines, "商品ページ"), QStringList(1, noUnsold)) << run.out.toStdString();
                EXPECT_EQ(foundOn(lines, "再出品フォーム"), QStringList(2, noUnsold)) << run.out.toStdString();
            }
            // Each list is known by its address and heading, empty or not; only an empty one
            // leaves its items' elements unjudged, and the verdict names it.
            const QString empty = QString::fromUtf8("空のため確かめていません");
            for (const char* list : {"出品中の一覧", "落札済みの一覧", "落札者なしの一覧"}) {
                const QStringList found = foundOn(lines, list);
                const bool isEmpty = c.empty.contains(QString::fromUtf8(list));
                EXPECT_EQ(found.count(empty), isEmpty ? found.size() - 2 : 0) << list << "\n" << run.out.toStdString();
                EXPECT_EQ(lines.last().contains(QString::fromUtf8(list)), isEmpty) << list;
            }
        }
        // Read, never sent: no item, no relist and no picture reached the site.
        const QJsonObject after = running.state();
        EXPECT_EQ(after.value("items").toArray().size(), before.value("items").toArray().size());
        EXPECT_EQ(after.value("relists").toArray(), before.value("relists").toArray());
        for (const QJsonValue& d : after.value("drafts").toArray()) {
            EXPECT_FALSE(d.toObject().value("submitted").toBool());
            EXPECT_TRUE(d.toObject().value("pictures").toArray().isEmpty());
        }
        running.stop();
        if (*c.variant) covered << c.variant;
    }
    QStringList listed = listedVariants();
    listed.sort();
    covered.sort();
    EXPECT_EQ(covered, listed) << "every variant the site offers is tried";
}

} // namespace
