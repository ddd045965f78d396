#pragma once
// The account dialog: the auction site's ID and password, the password typed twice.
#include <QDialog>
#include <memory>

namespace Ui {
class TYahooIDDialog1;
}

namespace zk {

namespace workflow {
class Settings;
}

class TYahooIDDialog1 : public QDialog {
    Q_OBJECT
public:
    TYahooIDDialog1(QWidget* owner, QString& id, QString& password);
    ~TYahooIDDialog1() override;
    Ui::TYahooIDDialog1* ui() const { return ui_.get(); }

    void OKBtnClick();

private:
    std::unique_ptr<Ui::TYahooIDDialog1> ui_;
    QString& id_;
    QString& password_;
};

// Asks for the account and writes it through the settings; true when confirmed and written.
bool EditAccount(QWidget* owner, workflow::Settings& settings);

} // namespace zk
