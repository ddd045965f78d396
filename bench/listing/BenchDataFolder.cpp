#include "BenchDataFolder.h"

#include "app/Mainform.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/Signals.h"
#include "workflow/Pause.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <utility>

namespace zk::bench {

namespace {
QString readCp932(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? cp932::toUnicode(file.readAll()) : QString();
}
} // namespace

void setBenchEnvironment(const QString& home) {
    ignoreBrokenPipes();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ZERKON_DATA_DIR", (home + "/data").toLocal8Bit());
    qputenv("ZERKON_DOCUMENTS_DIR", (home + "/documents").toLocal8Bit());
    qputenv("ZERKON_REGISTRY_FILE", (home + "/registry.ini").toLocal8Bit());
    qputenv("ZERKON_OFFICE_HEADLESS", "1");
}

bool seedDataFolder(const QString& siteData, const QString& home) {
    for (int i = 0; i < 100 && !QFile::exists(siteData + "/System.ini"); ++i) workflow::pause(50);
    QDir().mkpath(home + "/data");
    QString ini = readCp932(siteData + "/System.ini");
    ini.replace(QRegularExpression("EXCEL_DIR=[^\r\n]*"), "EXCEL_DIR=" + home);
    ini += "\r\n[BROWSER]\r\nHEADLESS=1\r\nPROFILE=" + home + "/profile\r\n";
    for (const auto& [name, text] : {std::pair{QString("System.ini"), ini},
                                     std::pair{QString("FieldsDefine.ini"), readCp932(siteData + "/FieldsDefine.ini")}}) {
        QFile out(home + "/data/" + name);
        if (!out.open(QIODevice::WriteOnly) || out.write(cp932::fromUnicode(text)) < 0) return false;
    }
    QFile::copy(siteData + "/category.txt", home + "/data/category.txt");
    return true;
}

std::unique_ptr<TMain> startPanel() {
    MessageService::instance().setAnswers({});
    auto main = std::make_unique<TMain>(paths::dataFolder());
    QElapsedTimer waited;
    waited.start();
    while (!main->startupRan() && !main->ended() && waited.elapsed() < 60000) workflow::pause(20);
    if (main->ended() || main->services().browser.IEConnected != 1) {
        std::fprintf(stderr, "the panel did not start\n");
        return nullptr;
    }
    return main;
}

} // namespace zk::bench
