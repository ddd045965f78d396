#include "EndToEnd.h"

#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace zk::test {

PracticeSite::PracticeSite(const QStringList& arguments)
    : SiteProcess(QStringList{"--data-folder", data.path()} + arguments) {}

QString PracticeSite::start() {
    const QString error = SiteProcess::start();
    if (!error.isEmpty()) return error;
    // The site writes System.ini last.
    for (int i = 0; i < 100 && !QFile::exists(dataFile("System.ini")); ++i) QTest::qWait(50);
    return {};
}

QString PracticeSite::dataText(const QString& name) const {
    QFile file(dataFile(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return cp932::toUnicode(file.readAll());
}

QString PracticeSite::systemIni(const QString& excelDir, const QString& profile) const {
    QString text = dataText("System.ini");
    text.replace(QRegularExpression("EXCEL_DIR=[^\r\n]*"), "EXCEL_DIR=" + excelDir);
    return text + "\r\n[BROWSER]\r\nHEADLESS=1\r\nPROFILE=" + profile + "\r\n";
}

EndToEndTest::EndToEndTest()
    : data_("ZERKON_DATA_DIR", dir_.path() + "/data"), registry_("ZERKON_REGISTRY_FILE", dir_.file("registry.ini")) {
    MessageService::instance().clearTranscript();
    MessageService::instance().setAnswers({});
}

EndToEndTest::~EndToEndTest() {
    main_.reset(); // quits the browser and the office it started
}

void SiteSuiteTest::startSite(const QStringList& arguments) {
    site = new PracticeSite(arguments);
    const QString error = site->start();
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
}

void SiteSuiteTest::TearDownTestSuite() {
    delete site;
    site = nullptr;
}

void EndToEndTest::writeDataFolder(const PracticeSite& site, const QString& excelDir, const QString& fields) {
    dir_.writeCp932("data/System.ini", site.systemIni(excelDir, dir_.path() + "/profile"));
    dir_.writeCp932("data/FieldsDefine.ini", fields);
}

void EndToEndTest::startWindow(std::unique_ptr<TMain> window) {
    main_ = window ? std::move(window) : std::make_unique<TMain>(paths::dataFolder());
    QElapsedTimer waited;
    waited.start();
    while (!main_->startupRan() && !main_->ended() && waited.elapsed() < 60000) QTest::qWait(20);
}

void EndToEndTest::startLoggedIn(std::unique_ptr<TMain> window) {
    startWindow(std::move(window));
    ASSERT_FALSE(main_->ended()) << texts().join(" / ").toStdString();
    ASSERT_EQ(main_->services().browser.IEConnected, 1) << texts().join(" / ").toStdString();
}

QStringList EndToEndTest::texts() const {
    QStringList t;
    for (const auto& entry : MessageService::instance().transcript()) t << entry["text"].toString();
    return t;
}

} // namespace zk::test
