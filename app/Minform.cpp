#include "app/Minform.h"

#include <QPixmap>

namespace zk {

TMinForm1::TMinForm1(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool) {
    setObjectName("TMinForm1");
    setWindowTitle("Zerkon");
    setFixedSize(920, 20);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 920, 20);
    Image1->setScaledContents(true);
    QPixmap art("art/MiniBar.png");
    if (!art.isNull()) Image1->setPixmap(art);
    else Image1->setStyleSheet("background-color: rgb(255, 201, 74);");
}

void TMinForm1::enterEvent(QEnterEvent*) { Image1MouseEnter(); }

void TMinForm1::Image1MouseEnter() {
    if (entered_) entered_();
}

} // namespace zk
