// zerkon-site: the practice auction site on loopback, or (with --write-data-folder) the writer
// of a data folder that fits a running one.
#include "platform/Clock.h"
#include "site/DataFolder.h"
#include "site/SiteConfig.h"
#include "site/SiteServer.h"

#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <pthread.h>

using namespace zk::site;

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "zerkon-site: %s\n", qPrintable(text));
    return 2;
}

int writeFolderOnly(const SiteOptions& options, const QString& folder) {
    SiteInfo info;
    QString error;
    if (!options.stateFile.isEmpty()) {
        // The folder of a running site, with its ports and certificate pin.
        if (!readStateFile(options.stateFile, info, &error)) return fail(error);
    } else {
        // A folder for a site that will be started later with these hosts, ports and account;
        // the certificate pin is left out (a site makes a new certificate at every start).
        if (options.httpPort == 0 || options.httpsPort == 0)
            return fail("--write-data-folder needs --state FILE of a running site, or both --http-port and --https-port");
        info.httpPort = options.httpPort;
        info.httpsPort = options.httpsPort;
        info.auctionHostName = options.auctionHost;
        info.loginHostName = options.loginHost;
        info.user = options.user;
        info.password = options.password;
    }
    error = writeDataFolder(info, folder, options.excelDir);
    if (!error.isEmpty()) return fail(error);
    std::printf("zerkon-site: wrote System.ini, FieldsDefine.ini and category.txt to %s\n", qPrintable(folder));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.contains("--help") || args.contains("-h")) {
        std::fputs(qPrintable(usageText()), stdout);
        return 0;
    }
    if (args.contains("--list-variants")) {
        for (const Variant& v : variants()) std::printf("%s\n", v.name);
        return 0;
    }
    SiteOptions options;
    QString writeOnlyFolder;
    const QString error = parseOptions(args, options, writeOnlyFolder);
    if (!error.isEmpty()) return fail(error + "\n" + usageText());
    if (!writeOnlyFolder.isEmpty()) return writeFolderOnly(options, writeOnlyFolder);

    // The clock is read from the server's threads; fix its start before they exist.
    if (!options.now.isEmpty()) qputenv("ZERKON_NOW", options.now.toLatin1());
    zk::clock::now();

    // SIGTERM and SIGINT are taken by this thread only, with sigwait, after the servers' threads
    // (which inherit the mask) are running.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SiteServer server(options);
    const QString startError = server.start();
    if (!startError.isEmpty()) return fail(startError);

    const SiteInfo& info = server.info();
    // The data folder first: once the state file is there, everything is ready.
    if (!options.dataFolder.isEmpty()) {
        const QString folderError = writeDataFolder(info, options.dataFolder, options.excelDir);
        if (!folderError.isEmpty()) return fail(folderError);
    }
    if (!options.stateFile.isEmpty() && !writeStateFile(options.stateFile, info))
        return fail("cannot write the state file " + options.stateFile);
    // The ports already queue connections; they are answered from here on.
    server.serve();
    std::printf("zerkon-site: auction http://%s/jp  login https://%s  http port %d  https port %d  pid %lld\n",
                qPrintable(info.auctionHost()), qPrintable(info.loginHost()), info.httpPort, info.httpsPort,
                static_cast<long long>(info.pid));
    std::printf("zerkon-site: a browser for it: chromium --user-data-dir=<a new folder> --host-resolver-rules=\"%s\" "
                "--ignore-certificate-errors-spki-list=%s \"%s\"\n",
                qPrintable(info.hostResolverRules()), qPrintable(info.certificateSpki), qPrintable(info.loginUrl()));
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    if (!options.stateFile.isEmpty()) QFile::remove(options.stateFile);
    std::printf("zerkon-site: stopped (%s)\n", received == SIGTERM ? "SIGTERM" : "SIGINT");
    return 0;
}
