// The practice site under load: list pages of a seller with 5,000 current items, and the entry
// form, each over a kept-alive HTTP connection to a site running in this process.
#include "platform/Clock.h"
#include "site/SiteServer.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

namespace {

using zk::site::SiteServer;

struct Running {
    std::unique_ptr<SiteServer> server;
    std::string cookie;
    std::string host;
};

Running& site() {
    static Running running = [] {
        zk::clock::now();
        zk::site::SiteOptions options;
        options.seed = {5000, 0, 0};
        options.pageSize = 50;
        Running r;
        r.server = std::make_unique<SiteServer>(options);
        if (!r.server->start().isEmpty()) std::abort();
        r.server->serve();
        std::lock_guard<std::mutex> lock(r.server->state().mutex);
        r.cookie = "zk_session=" + r.server->state().newSession(options.user.toStdString(), zk::clock::now());
        r.host = r.server->info().auctionHost().toStdString();
        return r;
    }();
    return running;
}

void ListPagesOf5000Items(benchmark::State& state) {
    Running& r = site();
    httplib::Client client("127.0.0.1", r.server->info().httpPort);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    const httplib::Headers headers{{"Host", r.host}, {"Cookie", r.cookie}};
    int page = 1;
    size_t bytes = 0;
    for (auto _ : state) {
        const auto res = client.Get(("/jp/show/mystatus?select=selling&apg=" + std::to_string(page)).c_str(), headers);
        if (!res || res->status != 200) {
            state.SkipWithError("list page failed");
            break;
        }
        bytes += res->body.size();
        page = page % 100 + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(ListPagesOf5000Items)->UseRealTime();

// All 5,000 items on one page (a seller who set a very large page size).
void WholeListOf5000ItemsOnOnePage(benchmark::State& state) {
    Running& r = site();
    {
        std::lock_guard<std::mutex> lock(r.server->state().mutex);
        r.server->state().pageSize = 5000;
    }
    httplib::Client client("127.0.0.1", r.server->info().httpPort);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    const httplib::Headers headers{{"Host", r.host}, {"Cookie", r.cookie}};
    size_t bytes = 0;
    for (auto _ : state) {
        const auto res = client.Get("/jp/show/mystatus?select=selling", headers);
        if (!res || res->status != 200) {
            state.SkipWithError("list page failed");
            break;
        }
        bytes += res->body.size();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    std::lock_guard<std::mutex> lock(r.server->state().mutex);
    r.server->state().pageSize = 50;
}
BENCHMARK(WholeListOf5000ItemsOnOnePage)->UseRealTime()->Unit(benchmark::kMillisecond);

void EntryForm(benchmark::State& state) {
    Running& r = site();
    httplib::Client client("127.0.0.1", r.server->info().httpPort);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    const httplib::Headers headers{{"Host", r.host}, {"Cookie", r.cookie}};
    for (auto _ : state) {
        // Pressing the category confirmation: a new draft and its entry form.
        const auto res = client.Post("/jp/show/submit", headers, "category=2100200101&auc_insertion_ok=1",
                                     "application/x-www-form-urlencoded");
        if (!res || res->status != 200) {
            state.SkipWithError("entry form failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(EntryForm)->UseRealTime()->Unit(benchmark::kMicrosecond);

void ItemPage(benchmark::State& state) {
    Running& r = site();
    httplib::Client client("127.0.0.1", r.server->info().httpPort);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    const httplib::Headers headers{{"Host", "page." + r.host}};
    for (auto _ : state) {
        const auto res = client.Get("/jp/auction/k100002500", headers);
        if (!res || res->status != 200) {
            state.SkipWithError("item page failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ItemPage)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
