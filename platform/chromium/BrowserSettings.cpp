#include "BrowserSettings.h"

#include "platform/ProfileFile.h"

#include <QFileInfo>
#include <QProcessEnvironment>

namespace zk::chromium {

BrowserSettings BrowserSettings::read(const ProfileFile& ini, const QString& dataFolder) {
    BrowserSettings s;
    s.profileFolder = dataFolder + QStringLiteral("Chromium");
    if (!ini.isLoaded()) return s;
    const QString program = ini.readString(Section, "PROGRAM").trimmed();
    if (!program.isEmpty()) s.program = program;
    s.arguments = ini.readString(Section, "ARGUMENTS").split(' ', Qt::SkipEmptyParts);
    s.debugEndpoint = ini.readString(Section, "DEBUG_ENDPOINT").trimmed();
    const QString headless = ini.readString(Section, "HEADLESS").trimmed();
    if (!headless.isEmpty()) s.headless = headless.toInt() != 0 ? 1 : 0;
    const QString profile = ini.readString(Section, "PROFILE").trimmed();
    if (!profile.isEmpty()) s.profileFolder = profile;
    s.hostResolverRules = ini.readString(SiteSection, "HOST_RESOLVER_RULES").trimmed();
    s.certificateSpki = ini.readString(SiteSection, "CERT_SPKI").trimmed();
    return s;
}

bool BrowserSettings::runHeadless() const {
    if (headless >= 0) return headless == 1;
    const auto env = QProcessEnvironment::systemEnvironment();
    return env.value("DISPLAY").isEmpty() && env.value("WAYLAND_DISPLAY").isEmpty();
}

QString BrowserSettings::refusedArgument() const {
    for (const QString& argument : arguments) {
        // Chromium takes a switch with one dash or two, in any case of its value.
        QString name = argument.section('=', 0, 0).toLower();
        while (name.startsWith('-')) name.remove(0, 1);
        if (name == "remote-debugging-port" || name == "remote-debugging-address") return argument;
    }
    return {};
}

QStringList BrowserSettings::launchArguments(bool asRoot) const {
    QStringList args;
    if (asRoot) args << "--no-sandbox";
    args << QStringList{
        "--disable-gpu", "--disable-quic", "--no-first-run", "--no-default-browser-check",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--user-data-dir=" + profileFolder + "/profile",
        // DevTools on the pipe pair at fds 3 and 4, which only we hold: no debugging port.
        "--remote-debugging-pipe",
        "--window-size=1024,768",
        // No infobar about the flags above in the seller's window.
        "--test-type",
    };
    if (runHeadless()) args << "--headless";
    if (!hostResolverRules.isEmpty()) args << "--host-resolver-rules=" + hostResolverRules;
    if (!certificateSpki.isEmpty()) args << "--ignore-certificate-errors-spki-list=" + certificateSpki;
    args << arguments;
    args << "about:blank";
    return args;
}

QString BrowserSettings::programName() const { return QFileInfo(program).fileName().toUpper(); }

} // namespace zk::chromium
