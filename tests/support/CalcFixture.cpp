#include "CalcFixture.h"

namespace zk::test {

std::shared_ptr<calc::Application>& SharedOffice::slot() {
    static std::shared_ptr<calc::Application> app;
    return app;
}

std::shared_ptr<calc::Application> SharedOffice::app() {
    std::shared_ptr<calc::Application>& app = slot();
    if (!app || !app->office().connected()) {
        app = calc::Application::create();
        app->setVisible(true);
    }
    return app;
}

void SharedOffice::TearDown() {
    // Ends the office whatever state the tests left it in, before the program's exit.
    if (slot()) slot()->office().terminate();
    slot().reset();
}

void makeWorkbook(const QString& path, const QList<QPair<QString, QString>>& cells) {
    auto book = SharedOffice::app()->workbooks()->add();
    auto sheet = book->sheets()->item(1);
    for (const auto& [address, text] : cells) sheet->range(address)->setValue(text);
    book->saveAs(path);
    book->close();
}

Reopened::Reopened(const QString& path) : book_(SharedOffice::app()->workbooks()->open(path)) {}

Reopened::~Reopened() {
    if (book_ && !book_->closed()) book_->close();
}

std::shared_ptr<calc::Worksheet> Reopened::sheet(int number) const { return book_->sheets()->item(number); }

QString Reopened::text(const QString& address) const { return calc::cellText(sheet()->range(address)->value()); }

} // namespace zk::test
