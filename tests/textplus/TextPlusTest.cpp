// The description-append tool: its stock texts on disk, and the append to a real page in a real
// browser through the library's window, loaded as the program loads it.
#include "BrowserFixture.h"

#include "AppendWindow.h"
#include "DescriptionAppend.h"
#include "StockTexts.h"
#include "browser/TextPlusHost.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"

#include <QApplication>
#include <QFileInfo>
#include <QJsonObject>
#include <QLabel>
#include <QLibrary>
#include <QListWidget>
#include <QPlainTextEdit>

namespace zk::test {

TempFolder* BrowserSuite::folder_ = nullptr;
PageServer* BrowserSuite::server_ = nullptr;
TIECtrl* BrowserSuite::ie_ = nullptr;
WindowHandle BrowserSuite::window_ = 0;

namespace {

using namespace zk::textplus;

// The description sits in the second form, as on the listing page.
const QByteArray kEntryPage = R"(<html><head><title>入力</title></head><body>
<form><input name="q"></form>
<form><input name="Title" value="t"><textarea name="Description">説明</textarea></form>
</body></html>)";

TEST(StockTexts, KeepOneTextALineInCp932OwnerOnly) {
    TempFolder folder;
    StockTexts stock(folder.file(StockTexts::fileName()));
    EXPECT_TRUE(stock.load().isEmpty()) << "no file yet";
    ASSERT_TRUE(stock.save({"送料無料です", "二行の\n文章", "  ", "①～"}));
    EXPECT_EQ(stock.load(), QStringList({"送料無料です", "二行の 文章", "①～"}));
    EXPECT_EQ(folder.read(StockTexts::fileName()),
              cp932::fromUnicode("送料無料です\r\n二行の 文章\r\n①～\r\n"));
    EXPECT_EQ(QFileInfo(stock.path()).permissions() & 0x0077, 0);

    // A character CP932 has not: nothing is lost, the file turns UTF-8 (marked), and back to
    // CP932 once no such character is left.
    const QStringList hearts{"送料無料です♥", "①～", "絵文字😀も?も"};
    EXPECT_EQ(StockTexts::notInCp932(hearts), "♥😀");
    ASSERT_TRUE(stock.save(hearts));
    EXPECT_EQ(stock.load(), hearts);
    EXPECT_EQ(folder.read(StockTexts::fileName()), "\xEF\xBB\xBF" + hearts.join("\r\n").toUtf8() + "\r\n");
    ASSERT_TRUE(stock.save({"①～"}));
    EXPECT_EQ(folder.read(StockTexts::fileName()), cp932::fromUnicode("①～\r\n"));
}

class TextPlus : public BrowserSuite {
protected:
    void SetUp() override {
        BrowserSuite::SetUp();
        server_->setPage("/entry", kEntryPage);
        server_->setPage("/other", "<html><head><title>x</title></head><body><form><input name='a'></form></body></html>");
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
        data_.write("FieldsDefine.ini", "[SYSTEM]\r\nSHOUHIN_SETUMEI=Description\r\n");
        data_.writeCp932(StockTexts::fileName(), "送料無料です\r\n");
        ASSERT_EQ(ie_->GetDocument(), 0);
        ASSERT_EQ(ie_->NavigateWait(server_->url("/entry")), 0) << ie_->LastErrorText.toStdString();
    }
    QString description() { return ie_->GetFormValue(1, "Description"); }
    QStringList shown() const {
        QStringList texts;
        for (const QJsonObject& o : MessageService::instance().transcript()) texts << o["text"].toString();
        return texts;
    }
    TempFolder data_;
};

TEST_F(TextPlus, TheWindowAppendsAStockOrTypedTextToTheDescriptionOfThePageShown) {
    const QString folder = data_.path() + "/";
    EXPECT_EQ(descriptionFieldName(folder), "Description");
    TextPlusHost host(*ie_, folder);
    AppendWindow window(host);
    ASSERT_EQ(window.stockList()->count(), 1);
    window.stockList()->setCurrentRow(0);
    EXPECT_EQ(window.textEdit()->toPlainText(), "送料無料です");
    window.appendClick();
    EXPECT_EQ(description(), "説明送料無料です");
    window.textEdit()->setPlainText("<br>即日発送");
    window.appendClick();
    EXPECT_EQ(description(), "説明送料無料です<br>即日発送");
    EXPECT_EQ(shown(), QStringList({"説明文に追加しました。", "説明文に追加しました。"}));

    window.keepClick();
    EXPECT_EQ(StockTexts(folder + StockTexts::fileName()).load(), QStringList({"送料無料です", "<br>即日発送"}));
    window.stockList()->setCurrentRow(0);
    window.removeClick();
    EXPECT_EQ(StockTexts(folder + StockTexts::fileName()).load(), QStringList({"<br>即日発送"}));
    EXPECT_TRUE(window.cp932Notice()->isHidden());

    // A "♥" is kept, and the window names it.
    window.textEdit()->setPlainText("またね♥");
    EXPECT_EQ(window.cp932Notice()->text(), QString("CP932（Shift_JIS）で保存できない文字があります：♥\n"
                                                   "登録済みの文章はUTF-8で保存し、この文字も残します。"));
    window.keepClick();
    EXPECT_EQ(StockTexts(folder + StockTexts::fileName()).load(), QStringList({"<br>即日発送", "またね♥"}));
    EXPECT_FALSE(window.cp932Notice()->isHidden());

    // A page without the field, and a data folder that does not name it, say so and change nothing.
    MessageService::instance().clearTranscript();
    ASSERT_EQ(ie_->NavigateWait(server_->url("/other")), 0);
    window.appendClick();
    data_.write("FieldsDefine.ini", "[SYSTEM]\r\n");
    window.appendClick();
    EXPECT_EQ(shown(), QStringList({"表示中のページに説明文の入力欄がありません。",
                                    "FieldsDefine.iniに説明文の項目名(SHOUHIN_SETUMEI)がありません。"}));
}

TEST_F(TextPlus, TheProgramReachesTheToolThroughTheLibrarysOneEntryPoint) {
    QLibrary library(qEnvironmentVariable("ZERKON_BUILD_DIR") + "/libtextplus.so");
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    auto entry = reinterpret_cast<void (*)(void*)>(library.resolve("SetumeiTuikaMain"));
    ASSERT_NE(entry, nullptr);
    TextPlusHost host(*ie_, data_.path() + "/");
    entry(&host);
    entry(&host); // one window, brought to the front
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowTitle() != "説明文追加") continue;
        ++windows;
        // The stock texts come from the data folder the program handed over, not one of its own.
        auto* stock = w->findChild<QListWidget*>();
        ASSERT_NE(stock, nullptr);
        ASSERT_EQ(stock->count(), 1);
        EXPECT_EQ(stock->item(0)->text(), "送料無料です");
    }
    EXPECT_EQ(windows, 1);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "説明文追加") w->close();
}

TEST_F(TextPlus, WithoutABrowserTheToolSaysSo) {
    TIECtrl none;
    TextPlusHost host(none, {});
    EXPECT_EQ(appendToDescription(host, "Description", "x"), AppendResult::NoBrowser);
}

} // namespace
} // namespace zk::test
