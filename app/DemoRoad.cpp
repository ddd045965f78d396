#include "app/DemoRoad.h"

#include "app/Mainform.h"
#include "browser/Iectrl.h"
#include "category/Categoryform.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "ui_Mainform.h"
#include "workflow/Pause.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace zk {

namespace {

void say(const QString& line) { std::fprintf(stderr, "zerkon: %s\n", qPrintable(line)); }

// The seller's picture folder: six pictures and a description template with its marks.
QString makePictureFolder(const QString& folder) {
    QDir().mkpath(folder);
    const QStringList names = {"a01.jpg", "a02.jpg", "a03.jpg", "b01.jpg", "c01.jpg", "c02.jpg"};
    for (int i = 0; i < names.size(); ++i) {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(i * 60, 120, 230));
        QPainter painter(&picture);
        QFont font = painter.font();
        font.setPixelSize(96);
        painter.setFont(font);
        painter.drawText(picture.rect(), Qt::AlignCenter, names[i].left(3));
        painter.end();
        picture.save(folder + "/" + names[i], "JPEG", 85);
    }
    QFile tmpl(folder + "/template.txt");
    if (tmpl.open(QIODevice::WriteOnly))
        tmpl.write(cp932::fromUnicode("<b>%%</b><br>\r\n状態：%%<br>\r\nご覧いただきありがとうございます。"));
    return folder + "/" + names[0];
}

class Road {
public:
    explicit Road(TMain* main) : main_(main), ui_(*main->ui()), shared_(main->shared()) {}

    void run() {
        const QString book = qEnvironmentVariable("ZERKON_DEMO_ROAD");
        shots_ = qEnvironmentVariable("ZERKON_DEMO_SHOTS");
        const QString picture = makePictureFolder(QFileInfo(book).absolutePath() + "/../pictures");
        QElapsedTimer all;
        all.start();

        answer({book, "OK"});
        ui_.StartExcel->click();
        if (shared_.ExcelState != 1) return fail("the workbook did not open");
        shared_.Row.choose(2); // the item rows start below the header
        shot("workbook");

        // A closing date with every hour, the jitter on.
        ui_.ClosingDate->setCurrentIndex(std::min(2, ui_.ClosingDate->count() - 1));
        main_->closingTime().ClosingDateChange();
        ui_.ClosingTime->setCurrentIndex(std::min(12, ui_.ClosingTime->count() - 1));
        main_->closingTime().ClosingTimeChange();
        ui_.TimeSway->setItemIndex(0);

        const int pictures[] = {3, 1, 2};
        QStringList ids;
        QList<double> seconds;
        for (int row = 0; row < 3; ++row) {
            QElapsedTimer one;
            one.start();
            if (!chooseCategory()) return fail("no category was opened");
            if (row == 0) shot("category");
            ui_.TrackBar1->setValue(pictures[row]);
            answer({picture, "OK"});
            ui_.UploadButton->click();
            if (row == 0) shot("upload");
            answer({});
            ui_.SetShuppin->click();
            if (row == 0) shot("item-set");
            ui_.Exhibit->click();
            const QString id = sheet::TExcel::ToText(shared_.Excel->ReadCell(2 + row, 1));
            ids << id;
            seconds << one.elapsed() / 1000.0;
            say(QStringLiteral("listed row %1 as %2 in %3 s").arg(2 + row).arg(id.isEmpty() ? "(nothing)" : id)
                    .arg(seconds.last(), 0, 'f', 1));
            if (row == 0) shot("listed");
        }

        // Relisting: one item singly from its page, the rest in bulk at the panel's prices.
        answer({});
        ui_.GoReShuppin->click();
        TIECtrl& ie = *shared_.IE;
        int single = 0;
        if (ie.SelectByName("aidlist") == 0 && ie.GetListLength() > 0) {
            const QString id = ie.GetItemAttribute(0, "value");
            const QString list = ie.GetUrl();
            const QString page = list.left(list.indexOf("://") + 3) + "page." + shared_.Settings.auctionHost() +
                                 "/jp/auction/" + id;
            if (ie.NavigateWait(page) == 0) {
                ui_.ReShuppin->click();
                single = 1;
            }
        }
        ui_.RSKingakuPanelCheck->click();
        for (int i = 0; i < 100 && !ui_.RSKingakuPanelCheck->isEnabled(); ++i) workflow::pause(50);
        ui_.RSStartPrice->setText("900");
        ui_.RSBuyPrice->setText("");
        shot("relist-panel");
        answer({"Yes", "Yes", "OK"});
        ui_.ReShuppinAll->click();
        auto* progress = main_->findChild<QLabel*>("RelistProgress");
        const QString relisted = progress ? progress->text() : QString();
        shot("relisted");

        // Collections last: they close the item workbook (saved) and make their own.
        QStringList written;
        for (int mode : {1, 0}) {
            ui_.CollectionRadio->setItemIndex(mode);
            answer({"Yes", "OK"});
            ui_.ShuppinCollection->click();
            written << ui_.CollectionProgress->text();
        }
        shot("collected");

        say("---- report ----");
        const qsizetype listed = std::count_if(ids.begin(), ids.end(), [](const QString& s) { return !s.isEmpty(); });
        say(QStringLiteral("rows listed: %1 (auction IDs %2)").arg(listed).arg(ids.join(", ")));
        double sum = 0;
        for (double s : seconds) sum += s;
        say(QStringLiteral("seconds per listing: %1").arg(seconds.isEmpty() ? 0 : sum / seconds.size(), 0, 'f', 1));
        say(QStringLiteral("relisted singly: %1; bulk: %2").arg(single).arg(relisted));
        for (const QString& line : written) say(QStringLiteral("collection: %1").arg(line));
        const QDir documents(qEnvironmentVariable("ZERKON_DOCUMENTS_DIR"));
        for (const QString& file : documents.entryList(QDir::Files)) say(QStringLiteral("written: %1").arg(documents.filePath(file)));
        say(QStringLiteral("road done in %1 s").arg(all.elapsed() / 1000.0, 0, 'f', 1));
    }

private:
    void answer(const QStringList& lines) { MessageService::instance().setAnswers(lines); }
    void fail(const QString& why) { say("road stopped: " + why); }

    // The first category of the dialog that has a code, then the navigation that the dialog's
    // polling starts.
    bool chooseCategory() {
        const QString before = shared_.LastCategory;
        ui_.CategoryButton->click();
        TCategory* dialog = shared_.CategoryDialog;
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
        shared_.LastCategory.clear();
        while (shared_.LastCategory != code && waited.elapsed() < 60000) workflow::pause(20);
        if (shared_.LastCategory.isEmpty()) shared_.LastCategory = before;
        return shared_.LastCategory == code;
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
    Ui::TMain& ui_;
    workflow::Shared& shared_;
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
