// The site started with --store: killed at any moment it comes back with every change it had
// answered (listings, pictures, relists, sales), and no auction ID is ever given twice, also
// after it is started afresh.
#include "SiteFixture.h"

#include "site/SiteTexts.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

using namespace zk::test;
namespace texts = zk::site::texts;

namespace {

std::string jpeg(const std::string& tag) { return std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF-" + tag + std::string(64, 'x'); }

class SiteKeeping : public SiteSuite {
protected:
    // Each test starts its own sites on its own store.
    static void SetUpTestSuite() {}
    void TearDown() override { site.reset(); }

    QTemporaryDir folder_;
    QString store() const { return folder_.filePath("store"); }

    void startSite(const QStringList& more = {}) {
        site = std::make_unique<SiteProcess>(QStringList{"--now", Now, "--current", "2", "--sold", "1", "--unsold", "1",
                                                         "--store", store()} + more);
        const QString error = site->start();
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }

    // One listing with a picture through the pages; its auction ID.
    std::string listOne(SiteClient& client, const std::string& title, const std::string& picture) {
        const auto entry = openEntryForm(client);
        const std::string draft = draftOf(entry.body);
        EXPECT_EQ(client.postMultipart(auction("/jp/show/image/upload"),
                                       {{"draft", draft, "", ""}, {"ImageFile1", jpeg(picture), picture + ".jpg", "image/jpeg"}})
                      .status,
                  200);
        const auto form = client.post(auction("/jp/show/submit/form"), {{"draft", draft}});
        EXPECT_EQ(client.post(auction("/jp/show/preview"), validListing(form.body, title)).status, 200);
        return finish(client, draft);
    }

    std::string relistOne(SiteClient& client, const std::string& id) {
        const auto relist = client.post(auction("/jp/show/resubmit"), {{"aID", id}, {"auc_insertion_ok", "1"}});
        EXPECT_EQ(relist.status, 200);
        const std::string draft = draftOf(relist.body);
        auto fields = validListing(relist.body, "再出品");
        for (auto& [name, value] : fields)
            if (name == "price_start") value = "900";
        EXPECT_EQ(client.post(auction("/jp/show/preview"), fields).status, 200);
        return finish(client, draft);
    }

    std::string finish(SiteClient& client, const std::string& draft) {
        const auto done = client.post(auction("/jp/config/submit"), {{"draft", draft}});
        EXPECT_EQ(done.status, 200) << done.body;
        const std::string link = html::attributeNear(done.body, std::string(">") + texts::ItemPageLink + "</a>", "href");
        return link.substr(link.rfind('/') + 1);
    }

    static QSet<QString> ids(const QJsonObject& state) {
        QSet<QString> out;
        for (const auto& v : state.value("items").toArray()) out.insert(v.toObject().value("id").toString());
        return out;
    }
    static long long number(const QString& id) { return id.mid(1).toLongLong(); }
    static long long highest(const QSet<QString>& ids) {
        long long n = 0;
        for (const QString& id : ids) n = std::max(n, number(id));
        return n;
    }
};

} // namespace

TEST_F(SiteKeeping, AKilledSiteComesBackWithEveryAnsweredChangeAndGivesNoIdTwice) {
    ASSERT_NO_FATAL_FAILURE(startSite());
    const QJsonObject seeded = site->state();
    ASSERT_EQ(seeded.value("items").toArray().size(), 4);
    std::string unsold;
    for (const auto& v : seeded.value("items").toArray())
        if (v.toObject().value("status").toString() == "unsold") unsold = v.toObject().value("id").toString().toStdString();

    SiteClient client = loggedIn();
    const std::string listed = listOne(client, "写真の品", "kept");
    const std::string relisted = relistOne(client, unsold);
    ASSERT_EQ(site->control("close", "aID=" + listed + "&winner=1&price=3200&bidder=bidder_09"), 200);
    const QJsonObject before = site->state();
    const QString picture = itemById(before, listed).value("pictures").toArray().at(0).toObject().value("stored").toString();

    // Killed without a chance to write anything more; started again on the same store with other
    // seed counts, which a used store does not take.
    site->kill();
    ASSERT_NO_FATAL_FAILURE(startSite({"--current", "9"}));
    const QJsonObject after = site->state();
    EXPECT_EQ(after.value("items"), before.value("items"));
    EXPECT_EQ(after.value("relists"), before.value("relists"));
    EXPECT_EQ(itemById(after, listed).value("status").toString(), "sold");
    EXPECT_EQ(itemById(after, unsold).value("relistedAs").toString().toStdString(), relisted);
    // The picture is served again, byte for byte.
    SiteClient again = loggedIn();
    const auto served = again.get(auction("/jp/image/" + picture.toStdString()));
    EXPECT_EQ(served.status, 200);
    EXPECT_EQ(served.body, jpeg("kept"));

    // The next ID is past every one given before the kill.
    const std::string next = listOne(again, "次の品", "next");
    EXPECT_FALSE(ids(before).contains(QString::fromStdString(next)));
    EXPECT_GT(number(QString::fromStdString(next)), highest(ids(before)));
}

// Started afresh: only new sample items, no picture left, and no ID of before given again, also
// after the next start.
TEST_F(SiteKeeping, StartingAfreshEmptiesTheSiteAndItsIdsGoOn) {
    ASSERT_NO_FATAL_FAILURE(startSite());
    SiteClient client = loggedIn();
    listOne(client, "消える品", "gone");
    const QSet<QString> before = ids(site->state());
    ASSERT_EQ(before.size(), 5);

    std::string answer;
    ASSERT_EQ(site->control("reset", "", &answer), 200) << answer;
    const QJsonObject fresh = site->state();
    const QSet<QString> now = ids(fresh);
    EXPECT_EQ(now.size(), 4);
    for (const auto& v : fresh.value("items").toArray()) EXPECT_TRUE(v.toObject().value("seeded").toBool());
    EXPECT_TRUE(fresh.value("relists").toArray().isEmpty());
    EXPECT_TRUE(QDir(info().storeDir).isEmpty(QDir::Files));
    EXPECT_FALSE(now.intersects(before));
    for (const QString& id : now) EXPECT_GT(number(id), highest(before)) << id.toStdString();

    // The session stays: the seller goes on listing without logging in again.
    const std::string after = listOne(client, "初期化の後", "after");
    EXPECT_GT(number(QString::fromStdString(after)), highest(now));

    // The next start finds the fresh site as it was left, not seeded once more.
    site->stop();
    ASSERT_NO_FATAL_FAILURE(startSite());
    QSet<QString> expected = now;
    expected.insert(QString::fromStdString(after));
    EXPECT_EQ(ids(site->state()), expected);
}
