// Busy and ready states of the control panel while a workflow runs.
#include "app/Mainform.h"
#include "ui_Mainform.h"

#include <QApplication>

namespace zk {

void TMain::SetPanelEnabled(int flag) {
    Ui::TMain& u = *ui_;
    const bool ready = flag == 1;

    // Upload.
    if (ready && u.TrackBar1->value() != 0) u.UploadButton->setEnabled(true);
    if (!ready) u.UploadButton->setEnabled(false);
    u.TrackBar1->setEnabled(ready);
    u.UploadClear->setEnabled(ready);

    // Item set: the buy-now box keeps a state of its own.
    if (ready) {
        u.SokketuCheckBox->setEnabled(RememberedSokketu);
    } else {
        RememberedSokketu = u.SokketuCheckBox->isEnabled();
        u.SokketuCheckBox->setEnabled(false);
    }
    for (QWidget* w : {static_cast<QWidget*>(u.TempPriceSelect), static_cast<QWidget*>(u.ManualPrice),
                       static_cast<QWidget*>(u.SetShuppin), static_cast<QWidget*>(u.SendSelect)})
        w->setEnabled(ready);

    // Workbook: closing and row selection follow the open workbook.
    if (ready) {
        u.CloseExcel->setEnabled(RememberedClose);
        u.SelectRow->setEnabled(RememberedSelectRow);
    } else {
        RememberedClose = u.CloseExcel->isEnabled();
        RememberedSelectRow = u.SelectRow->isEnabled();
        u.CloseExcel->setEnabled(false);
        u.SelectRow->setEnabled(false);
    }
    u.StartExcel->setEnabled(ready);

    // Closing time, undo, relisting and the rest.
    for (QWidget* w : std::initializer_list<QWidget*>{
             u.ClosingDate, u.ClosingTime, u.TimeSway, u.PreviousUpload, u.PreviousTitle, u.GoReShuppin,
             u.ReShuppinAll, u.ReShuppin, u.Button1, u.RSKingakuPanelCheck, u.ReShuppinKakakuPanel, u.CategoryButton,
             u.Exhibit, u.SetYahooID, u.StartIE, u.ShuppinCollection, u.CollectionRadio, u.SetOption})
        w->setEnabled(ready);

    QApplication::processEvents();
}

} // namespace zk
