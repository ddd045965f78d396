#include "DemoRoad.h"

#include "app/Mainform.h"
#include "browser/Iectrl.h"
#include "category/Categoryform.h"
#include "platform/Cp932.h"
#include "listing/Texts.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "platform/RadioGroup.h"
#include "relist/RelistRules.h"
#include "sheet/Excel.h"
#include "support/PanelDriver.h"
#include "workflow/Pause.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonObject>
#include <QPushButton>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace zk {

namespace {

void say(const QString& line) { std::fprintf(stderr, "zerkon: %s\n", qPrintable(line)); }

// The seller's picture folder: `count` pictures and a description template with its marks.
QString makePictureFolder(const QString& folder, int count) {
    QDir().mkpath(folder);
    QString first;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0'));
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(i * 37 % 360, 120, 230));
        QPainter painter(&picture);
        QFont font = painter.font();
        font.setPixelSize(96);
        painter.setFont(font);
        painter.drawText(picture.rect(), Qt::AlignCenter, name.left(3));
        painter.end();
        picture.save(folder + "/" + name, "JPEG", 85);
        if (first.isEmpty()) first = folder + "/" + name;
    }
    // The folder's own template (the sample one, where make run put it) is kept.
    QFile tmpl(folder + "/template.txt");
    if (!tmpl.exists() && tmpl.open(QIODevice::WriteOnly))
        tmpl.write(cp932::fromUnicode("<b>%%</b><br>\r\n状態：%%<br>\r\nご覧いただきありがとうございます。"));
    return first;
}

// The listing log's lines of this run, without its header.
QStringList logLines(const QString& documents) {
    QStringList lines;
    for (const QFileInfo& file : QDir(documents).entryInfoList({"*.csv"}, QDir::Files)) {
        QFile f(file.filePath());
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QStringList all = QString::fromUtf8(f.readAll()).remove(QChar(0xFEFF)).split("\r\n", Qt::SkipEmptyParts);
        lines << all.mid(1);
    }
    return lines;
}

class Road {
public:
    explicit Road(TMain* main) : main_(main), panel_(*main), services_(main->services()) {}

    void run() {
        const QString book = qEnvironmentVariable("ZERKON_DEMO_ROAD");
        shots_ = qEnvironmentVariable("ZERKON_DEMO_SHOTS");
        QElapsedTimer all;
        all.start();

        answer({book, "OK"});
        panel_.click("StartExcel");
        if (services_.book.ExcelState != 1) return fail("the workbook did not open");
        services_.book.Row.choose(2); // the item rows start below the header
        shot("workbook");
        // Every item row takes its share of the folder, listing or not: two pictures for each.
        const int rows = itemRows();
        if (rows <= 0) return fail("the workbook has no item rows");
        const QString picture = makePictureFolder(QFileInfo(book).absolutePath() + "/../pictures", rows * PicturesPerItem);

        // A closing date with every hour, the jitter on; two pictures per item.
        panel_.choose("ClosingDate", std::min(2, panel_.find<QComboBox>("ClosingDate")->count() - 1));
        panel_.choose("ClosingTime", std::min(12, panel_.find<QComboBox>("ClosingTime")->count() - 1));
        panel_.find<zk::RadioGroup>("TimeSway")->setItemIndex(0);
        panel_.find<QSlider>("TrackBar1")->setValue(PicturesPerItem);

        // The category of the dialog for the rows that name none, then "連続出品": the picture
        // folder is asked for, the check's report answered with "続行".
        if (!chooseCategory()) return fail("no category was opened");
        shot("category");
        auto* batch = main_->findChild<QPushButton*>("RenzokuShuppin");
        if (!batch) return fail("no 連続出品 button");
        MessageService::instance().clearTranscript();
        answer({picture, "ContinueButton"});
        QElapsedTimer listing;
        listing.start();
        batch->click();
        const double minutes = listing.elapsed() / 60000.0;
        shot("listed");
        QString summary;
        for (const QJsonObject& entry : MessageService::instance().transcript())
            if (entry["caption"].toString() == listing::texts::batch::SummaryCaption) summary = entry["text"].toString();
        const QStringList lines = logLines(qEnvironmentVariable("ZERKON_DOCUMENTS_DIR"));
        QStringList ids;
        for (const QString& line : lines)
            if (line.split(',').contains(listing::texts::batch::ResultListed)) ids << line.section(',', 3, 3);
        // The IDs as the workbook holds them.
        QStringList inRows;
        for (int row = 2; row < 2 + lines.size(); ++row) {
            const QString id = sheet::TExcel::ToText(services_.book.Excel->ReadCell(row, workflow::column::AuctionId));
            if (!id.isEmpty()) inRows << QStringLiteral("%1:%2").arg(row).arg(id);
        }

        // Relisting: one item singly from its page, the rest in bulk at the panel's prices.
        answer({});
        panel_.click("GoReShuppin");
        TIECtrl& ie = *services_.browser.IE;
        int single = 0;
        if (ie.SelectByName("aidlist") == 0 && ie.GetListLength() > 0) {
            const QString id = ie.GetItemAttribute(0, "value");
            const QString list = ie.GetUrl();
            const QString page = list.left(list.indexOf("://") + 3) + "page." + services_.settings.auctionHost() +
                                 "/jp/auction/" + id;
            if (ie.NavigateWait(page) == 0) {
                panel_.click("ReShuppin");
                single = 1;
            }
        }
        // The bulk relist steps each item down 10 % from its own price, never below 500 yen.
        panel_.click("RSKingakuPanelCheck");
        for (int i = 0; i < 100 && !panel_.find("RSKingakuPanelCheck")->isEnabled(); ++i) workflow::pause(50);
        panel_.pick("RSTempPriceSelect", 2);
        panel_.find<QLineEdit>("RSStepValue")->setText("10");
        panel_.find<QComboBox>("RSStepUnit")->setCurrentIndex(0);
        panel_.find<QLineEdit>("RSFloorPrice")->setText("500");
        shot("relist-panel");
        answer({"Yes", "ContinueButton", "OK"});
        panel_.click("ReShuppinAll");
        auto* progress = main_->findChild<QLabel*>("RelistProgress");
        const QString relisted = progress ? progress->text() : QString();
        shot("relisted");

        // Collections last: each saves and closes its own workbook and opens the item workbook
        // again; the file its end message names is left unopened.
        QStringList written;
        for (int mode : {1, 0}) {
            panel_.find<zk::RadioGroup>("CollectionRadio")->setItemIndex(mode);
            answer({"Yes", "No"});
            panel_.click("ShuppinCollection");
            written << panel_.find<QLabel>("CollectionProgress")->text();
        }
        shot("collected");

        say("---- report ----");
        for (const QString& line : summary.split('\n')) say(line);
        say(QStringLiteral("the sheet's auction IDs (row:ID): %1").arg(inRows.join(", ")));
        say(QStringLiteral("listed %1 rows in %2 min: %3 items per minute")
                .arg(ids.size())
                .arg(minutes, 0, 'f', 2)
                .arg(minutes > 0 ? ids.size() / minutes : 0, 0, 'f', 2));
        say(QStringLiteral("relisted singly: %1; bulk: %2").arg(single).arg(relisted));
        const QString relistLog = QDir(qEnvironmentVariable("ZERKON_DOCUMENTS_DIR"))
                                      .filePath(relist::relistLogName(clock::now().date()));
        say(QStringLiteral("relist log: %1").arg(relistLog));
        for (const QString& line : written) say(QStringLiteral("collection: %1").arg(line));
        const QDir documents(qEnvironmentVariable("ZERKON_DOCUMENTS_DIR"));
        for (const QString& file : documents.entryList(QDir::Files)) say(QStringLiteral("written: %1").arg(documents.filePath(file)));
        say(QStringLiteral("road done in %1 s").arg(all.elapsed() / 1000.0, 0, 'f', 1));
    }

private:
    static constexpr int PicturesPerItem = 2;

    // The sheet's item rows from row 2 to its first wholly empty row (a row without a title is
    // an item row too: it takes its share), in one read.
    int itemRows() {
        QList<QStringList> cells;
        if (services_.book.Excel->ReadTexts(2, 1, 1001, 26, cells) != 0) return -1;
        int n = 0;
        while (n < cells.size() && !cells[n].join(QString()).trimmed().isEmpty()) ++n;
        return n;
    }

    void answer(const QStringList& lines) { MessageService::instance().setAnswers(lines); }
    void fail(const QString& why) { say("road stopped: " + why); }

    // The first category of the dialog that has a code, then the navigation that the dialog's
    // polling starts.
    bool chooseCategory() {
        const QString before = services_.carry.LastCategory;
        panel_.click("CategoryButton");
        TCategory* dialog = services_.carry.CategoryDialog;
        if (!dialog) return false;
        int node = -1;
        for (int i = 0; i < dialog->tree().size() && node < 0; ++i)
            if (dialog->tree().node(i).text.contains("^/")) node = i;
        if (node < 0) return false;
        dialog->selectNode(node);
        dialog->OKClick();
        const QString code = dialog->ResultCode;
        QElapsedTimer waited;
        waited.start();
        services_.carry.LastCategory.clear();
        while (services_.carry.LastCategory != code && waited.elapsed() < 60000) workflow::pause(20);
        if (services_.carry.LastCategory.isEmpty()) services_.carry.LastCategory = before;
        return services_.carry.LastCategory == code;
    }

    void shot(const QString& name) {
        if (shots_.isEmpty()) return;
        // The panel over the browser and the workbook, as the seller sees it beside them.
        main_->raise();
        workflow::pause(200);
        QScreen* screen = QGuiApplication::primaryScreen();
        const QPixmap picture = screen ? screen->grabWindow(0) : main_->grab();
        picture.save(shots_ + "/road-" + name + ".png");
    }

    TMain* main_;
    test::PanelDriver panel_;
    workflow::Services& services_;
    QString shots_;
};

void startWhenReady(TMain* mainWindow) {
    if (!mainWindow->startupRan()) {
        QTimer::singleShot(200, mainWindow, [mainWindow] { startWhenReady(mainWindow); });
        return;
    }
    Road(mainWindow).run();
    mainWindow->close();
}

} // namespace

void runDemoRoad(TMain* mainWindow) {
    if (qEnvironmentVariableIsEmpty("ZERKON_DEMO_ROAD")) return;
    QTimer::singleShot(500, mainWindow, [mainWindow] { startWhenReady(mainWindow); });
}

} // namespace zk
