#include "app/SiteCheckCommand.h"

#include "app/Texts.h"
#include "browser/Iectrl.h"
#include "browser/SiteCheck.h"
#include "fields/SiteCheckRun.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/Signals.h"
#include "platform/chromium/BrowserSettings.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

namespace zk {

namespace {

constexpr int Unusable = 2;

int say(const QString& text, int status) {
    std::fputs(text.toUtf8().constData(), status == 0 ? stdout : stderr);
    std::fputs("\n", status == 0 ? stdout : stderr);
    return status;
}

} // namespace

std::optional<int> runSiteCheckCommand(int argc, char** argv) {
    bool asked = false;
    for (int i = 1; i < argc && !asked; ++i) asked = std::strcmp(argv[i], "--check-site") == 0;
    if (!asked) return std::nullopt;

    ignoreBrokenPipes();
    // No panel and no display: nothing is shown, the browser runs headless.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zerkon"));
    // Every box the layers below would show is said on standard error instead; none waits.
    QStringList notices;
    MessageService& messages = MessageService::instance();
    messages.setAnswers({});
    messages.setNoticeSink(&notices);
    const auto noticesSaid = [&notices] {
        for (const QString& n : notices) say(n, Unusable);
        notices.clear();
    };

    const QString folder = paths::dataFolder();
    if (folder.isEmpty()) return say(texts::CheckNoDataFolder.arg(paths::dataFolderPath()), Unusable);
    workflow::Settings settings;
    settings.setDataFolder(folder);
    if (settings.read() != workflow::Settings::Read::Ok)
        return say(texts::CheckNoSystemIni.arg(settings.systemIniPath()), Unusable);
    TFieldDefs defs;
    if (defs.LoadFromFolder(folder) != 0) {
        noticesSaid();
        return say(texts::CheckNoFieldsDefine.arg(folder + QStringLiteral("FieldsDefine.ini")), Unusable);
    }

    TIECtrl ie;
    chromium::BrowserSettings browserSettings = chromium::BrowserSettings::read(settings.file(), folder);
    browserSettings.headless = 1;
    // In a browser the seller runs, the check opens a tab of its own and closes it at the end:
    // a page of the seller's, a form being filled there, is never taken.
    browserSettings.ownTab = true;
    ie.setSettings(browserSettings);
    if (ie.FindOrLaunch() == 0) return say(texts::CheckNoBrowser.arg(ie.LastErrorText), Unusable);
    ie.GetDocument();
    const browser::SiteCheckReport report = browser::SiteCheck::run(ie, settings, fields::siteCheckInput(settings, defs));
    ie.Quit();
    noticesSaid();
    std::fputs(report.table().toUtf8().constData(), stdout);
    std::fflush(stdout);
    return int(report.outcome);
}

} // namespace zk
