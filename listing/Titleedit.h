#pragma once
// TTitleEdit1: the dialog in which the user shortens an item title that is too long for the
// site, with a ruler of full-width characters above the edit box. It never changes the
// workbook.
#include <QDialog>
#include <QString>
#include <memory>

class QLineEdit;

namespace Ui {
class TTitleEdit1;
}

namespace zk::listing {

class TTitleEdit1 : public QDialog {
    Q_OBJECT
public:
    explicit TTitleEdit1(QWidget* owner = nullptr);
    ~TTitleEdit1() override;

    // Modal results.
    static constexpr int Confirmed = 1;
    static constexpr int Cancelled = 2;

    QString Title;
    int MaxChars = 0;

    // Shows the dialog modally (through the message service): 1 confirmed, 2 cancelled.
    int ShowModal();

    // The upload's test: more than 60 bytes in Shift-JIS (30 full-width characters).
    static bool TooLong(const QString& title);
    static constexpr int MaxTitleBytes = 60;
    // The whole use by the upload: the dialog with MaxChars 60; the edited title when
    // confirmed, the title unchanged when cancelled.
    static QString EditTitle(const QString& title, QWidget* owner = nullptr);

    QLineEdit* edit() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void Button1Click();

    std::unique_ptr<Ui::TTitleEdit1> ui_;
    int designedMaxLength_ = 0;
};

} // namespace zk::listing
