#include "app/Mainforinst.h"

#include "app/Texts.h"
#include "ui_Mainform.h"

#include <QImageReader>
#include <QPixmap>

namespace zk {

TMainForInst1::TMainForInst1(const QString& dataFolder, QWidget* parent) : TMain(dataFolder, parent) {
    setWindowTitle(texts::AppCaption);
    ui_->GoReShuppin->setText(texts::ReShuppinCaption);
    ui_->UploadButton->setToolTip(texts::UploadHint);
}

void TMainForInst1::ShowThumbnail(const QString& fileName) {
    if (fileName.isEmpty()) {
        ui_->Image1->clear();
        return;
    }
    QImageReader reader(fileName, "jpeg");
    const QImage picture = reader.read();
    ui_->Image1->setPixmap(QPixmap::fromImage(picture.scaled(ui_->Image1->size(), Qt::IgnoreAspectRatio,
                                                             Qt::SmoothTransformation)));
}

} // namespace zk
