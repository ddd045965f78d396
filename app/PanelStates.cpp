// Busy and ready states of the control panel while a workflow runs.
#include "app/Mainform.h"
#include "ui_Mainform.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <QApplication>

namespace zk {

void TMain::setBusy(bool busy) {
    Ui::TMain& u = *ui_;
    const bool ready = !busy;
    // Counted: a busy inside a busy changes nothing, and only the ready that ends the outermost
    // one gives the remembered states back. A ready with no busy open applies ready again.
    if (!ready && busyDepth_++ > 0) return;
    if (ready && busyDepth_ > 1) {
        --busyDepth_;
        return;
    }
    if (ready) busyDepth_ = 0;

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
             u.Exhibit, u.SetYahooID, u.StartIE, u.ShuppinCollection, u.CollectionRadio, u.SetOption,
             static_cast<QWidget*>(RenzokuShuppin), static_cast<QWidget*>(RenzokuCount)})
        w->setEnabled(ready);

    QApplication::processEvents();
}

std::vector<QWidget*> TMain::pressControls() const {
    Ui::TMain& u = *ui_;
    return {u.UploadButton, u.TrackBar1, u.UploadClear, u.SokketuCheckBox, u.TempPriceSelect, u.ManualPrice,
            u.SetShuppin, u.SendSelect, u.CloseExcel, u.SelectRow, u.StartExcel, u.ClosingDate, u.ClosingTime,
            u.TimeSway, u.PreviousUpload, u.PreviousTitle, u.GoReShuppin, u.ReShuppinAll, u.ReShuppin, u.Button1,
            u.RSKingakuPanelCheck, u.ReShuppinKakakuPanel, u.CategoryButton, u.Exhibit, u.SetYahooID, u.StartIE,
            u.ShuppinCollection, u.CollectionRadio, u.SetOption, u.StopReshuppin, RenzokuShuppin, RenzokuCount,
            RenzokuStop};
}

workflow::Panel::Snapshot TMain::snapshot() const {
    Snapshot s;
    for (const QWidget* w : pressControls()) s.enabled.push_back(w->isEnabled());
    s.remembered = {RememberedSokketu, RememberedClose, RememberedSelectRow};
    s.busyDepth = busyDepth_;
    s.curtain = PageIndex == 2;
    s.stopVisible = ui_->StopReshuppin->isVisible();
    s.batchStopVisible = RenzokuStop->isVisible();
    return s;
}

void TMain::restore(const Snapshot& s) {
    if ((PageIndex == 2) != s.curtain) setCurtain(s.curtain);
    if (ui_->StopReshuppin->isVisible() != s.stopVisible) setStopVisible(s.stopVisible);
    if (RenzokuStop->isVisible() != s.batchStopVisible) {
        setBatchStopVisible(s.batchStopVisible);
        if (!s.batchStopVisible) showBatchProgress({});
    }
    const std::vector<QWidget*> controls = pressControls();
    for (size_t i = 0; i < controls.size() && i < s.enabled.size(); ++i) controls[i]->setEnabled(s.enabled[i]);
    if (s.remembered.size() == 3) {
        RememberedSokketu = s.remembered[0];
        RememberedClose = s.remembered[1];
        RememberedSelectRow = s.remembered[2];
    }
    busyDepth_ = s.busyDepth;
}

} // namespace zk
