#pragma once
// The account dialog: the auction site's ID and password, the password typed twice.
#include <QDialog>
#include <memory>

namespace Ui {
class TYahooIDDialog1;
}

namespace zk {

class ProfileFile;

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

// Asks for the account and writes it to the open settings file; true when confirmed and written.
bool EditAccount(QWidget* owner, ProfileFile& file, QString& id, QString& password);

} // namespace zk
