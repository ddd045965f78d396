// The seller's item lists as the collection and the bulk relist walk them, and the switches
// that make the site slow, fail or drop a connection.
#include "SiteFixture.h"

#include "site/SiteTexts.h"

#include <QElapsedTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace zk::test;
namespace texts = zk::site::texts;

using SiteLists = SiteSuite;

namespace {

// Item links as the collection counts them: the marker "." + auction host + "/jp/auction/"
// starting within the first 20 characters of the address.
std::vector<std::string> itemLinks(const std::string& page, const std::string& auctionHost) {
    std::vector<std::string> links;
    for (const std::string& href : html::attributesNear(page, "<a href=", "href")) {
        const size_t marker = href.find("." + auctionHost + "/jp/auction/");
        if (marker != std::string::npos && marker < 20) links.push_back(href);
    }
    return links;
}

} // namespace

TEST_F(SiteLists, CurrentListingsArePagedAndEndWithAPageWithoutItems) {
    SiteClient client = loggedIn();
    const std::string base = info().sellingListUrl().toStdString();
    const std::string host = info().auctionHost().toStdString();
    std::set<std::string> seen;
    int pages = 0;
    for (int page = 1; page <= 5; ++page) {
        const auto reply = client.get(page == 1 ? base : base + "&apg=" + std::to_string(page));
        ASSERT_EQ(reply.status, 200);
        const auto links = itemLinks(reply.body, host);
        if (links.empty()) break;
        ++pages;
        EXPECT_LE(links.size(), 10u);
        seen.insert(links.begin(), links.end());
    }
    EXPECT_EQ(pages, 3);
    EXPECT_GE(seen.size(), 25u);
    // The page after the last still has links (navigation), just no item links.
    const auto after = client.get(base + "&apg=4");
    EXPECT_TRUE(itemLinks(after.body, host).empty());
    EXPECT_GT(html::count(after.body, "<a href="), 0);
    EXPECT_NE(after.body.find(texts::NoItems), std::string::npos);
}

TEST_F(SiteLists, WithoutWinnerListHasACheckBoxBesideEachItemLink) {
    SiteClient client = loggedIn();
    const auto reply = client.get(info().closedListUrl().toStdString() + "0");
    ASSERT_EQ(reply.status, 200);
    EXPECT_NE(reply.url.find("hasWinner=0"), std::string::npos);
    const auto links = itemLinks(reply.body, info().auctionHost().toStdString());
    const auto boxes = html::attributesNear(reply.body, "name=\"aidlist\"", "value");
    ASSERT_FALSE(links.empty());
    ASSERT_EQ(boxes.size(), links.size());
    // The k-th box belongs to the k-th item link.
    for (size_t k = 0; k < links.size(); ++k) EXPECT_EQ(links[k].substr(links[k].rfind('/') + 1), boxes[k]);
    for (const std::string& link : links) EXPECT_EQ(link.find("http://page."), 0u);
}

TEST_F(SiteLists, SoldListHasAPriceCellAndAnotherCellAfterEachTitle) {
    SiteClient client = loggedIn();
    const auto reply = client.get(info().closedListUrl().toStdString() + "1");
    ASSERT_EQ(reply.status, 200);
    const auto links = itemLinks(reply.body, info().auctionHost().toStdString());
    ASSERT_EQ(links.size(), 3u);
    const auto state = site->state();
    for (const std::string& link : links) {
        const size_t at = reply.body.find("<a href=\"" + link + "\"");
        const size_t cellEnd = reply.body.find("</a></td>", at);
        ASSERT_NE(cellEnd, std::string::npos);
        // The link's cell is followed directly (no white space) by the price cell, whose text
        // is "1,500 円"-like, and then by one more cell.
        const std::string rest = reply.body.substr(cellEnd + 9, 80);
        ASSERT_EQ(rest.rfind("<td>", 0), 0u) << rest;
        const std::string price = rest.substr(4, rest.find("</td>") - 4);
        const QJsonObject item = itemById(state, link.substr(link.rfind('/') + 1));
        const long long finalPrice = item.value("finalPrice").toInteger();
        ASSERT_GT(finalPrice, 999);
        EXPECT_EQ(price, std::to_string(finalPrice / 1000) + "," + QString::number(finalPrice % 1000).rightJustified(3, '0').toStdString() + " 円");
        EXPECT_EQ(rest.find("<td>", 4 + price.size()), 4 + price.size() + 5);
    }
}

TEST_F(SiteLists, ClosingAnAuctionMovesItBetweenLists) {
    SiteClient client = loggedIn();
    const auto selling = client.get(info().sellingListUrl().toStdString());
    const std::string link = itemLinks(selling.body, info().auctionHost().toStdString()).at(0);
    const std::string id = link.substr(link.rfind('/') + 1);
    ASSERT_EQ(site->control("close", "aID=" + id + "&winner=0"), 200);
    EXPECT_EQ(itemById(site->state(), id).value("status").toString(), "unsold");
    const auto unsold = client.get(info().closedListUrl().toStdString() + "0");
    EXPECT_NE(unsold.body.find("/jp/auction/" + id + "\""), std::string::npos);
    EXPECT_NE(client.get(link).body.find(texts::RelistLink), std::string::npos);
    EXPECT_EQ(site->control("close", "aID=" + id + "&winner=1"), 404);
}

TEST_F(SiteLists, OddPageNumbersShowTheFirstPage) {
    SiteClient client = loggedIn();
    const std::string base = info().sellingListUrl().toStdString();
    const auto first = itemLinks(client.get(base).body, info().auctionHost().toStdString());
    for (const char* apg : {"0", "-1", "x", ""})
        EXPECT_EQ(itemLinks(client.get(base + "&apg=" + apg).body, info().auctionHost().toStdString()), first) << apg;
}

TEST_F(SiteLists, ErrorFaultAnswersFiveHundredForTheChosenCountThenRecovers) {
    SiteClient client = loggedIn();
    ASSERT_EQ(site->control("fault", "kind=error&count=2&path=/jp/show/mystatus"), 200);
    const std::string url = info().sellingListUrl().toStdString();
    EXPECT_EQ(client.get(url).status, 500);
    EXPECT_EQ(client.get(auction("/jp")).status, 200);   // another path is not affected
    EXPECT_EQ(client.get(url).status, 500);
    EXPECT_EQ(client.get(url).status, 200);
}

// A form answered by a fault is never read: its connection must not carry the browser's next
// request, or the unread body would be taken for that request and the next page lost.
TEST_F(SiteLists, AFormAnsweredByAFaultClosesItsConnection) {
    ASSERT_EQ(site->control("fault", "kind=error&count=1&path=/jp/show/preview&method=POST"), 200);
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(info().httpPort));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string body = "draft=1&title=x";
    const std::string request = "POST /jp/show/preview HTTP/1.1\r\nHost: " + info().auctionHost().toStdString() +
                                "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                                std::to_string(body.size()) + "\r\n\r\n" + body;
    ASSERT_EQ(::send(fd, request.data(), request.size(), MSG_NOSIGNAL), ssize_t(request.size()));
    timeval wait{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    std::string reply;
    char chunk[4096];
    while (reply.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        reply.append(chunk, size_t(n));
    }
    ::close(fd);
    EXPECT_EQ(reply.rfind("HTTP/1.1 500", 0), 0u) << reply;
    EXPECT_NE(reply.substr(0, reply.find("\r\n\r\n")).find("Connection: close"), std::string::npos) << reply;
}

TEST_F(SiteLists, DropFaultClosesTheConnectionWithoutAPage) {
    SiteClient client = loggedIn();
    ASSERT_EQ(site->control("fault", "kind=drop&count=1"), 200);
    EXPECT_EQ(client.get(auction("/jp")).status, 0);
    EXPECT_EQ(client.get(auction("/jp")).status, 200);
}

TEST_F(SiteLists, DelayFaultHoldsThePageBack) {
    SiteClient client = loggedIn();
    ASSERT_EQ(site->control("fault", "kind=delay&ms=600&count=1&path=/jp/auction/"), 200);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(client.get("http://" + info().pageHost().toStdString() + "/jp/auction/k100000001").status, 200);
    EXPECT_GE(timer.elapsed(), 600);
    EXPECT_EQ(site->state().value("faults").toObject().value("delay").toObject().value("count").toInt(), 0);
    EXPECT_EQ(site->control("fault", "kind=bogus"), 400);
    EXPECT_EQ(site->control("fault", "kind=clear"), 200);
}
