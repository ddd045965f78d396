#include "PreviewWindow.h"

#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>

namespace zk::photoview {

PreviewWindow::PreviewWindow() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("PhotoViewForm");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->setSpacing(Margin);
    for (int i = 0; i < Slots; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName("Picture" + QString::number(i));
        label->setFixedSize(SlotSize, SlotSize);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Box);
        layout->addWidget(label);
        labels_[size_t(i)] = label;
    }
    setFixedSize(Slots * SlotSize + (Slots + 1) * Margin, SlotSize + 2 * Margin);
}

void PreviewWindow::setPictureName(int slot, const QString& path) { names_[size_t(slot)] = path; }

void PreviewWindow::draw() {
    bool ended = false;
    for (int i = 0; i < Slots; ++i) {
        QLabel* label = labels_[size_t(i)];
        label->clear();
        ended = ended || names_[size_t(i)] == QLatin1String("END");
        const QString name = ended ? QString() : names_[size_t(i)];
        label->setProperty("pictureName", name);
        if (name.isEmpty()) continue;
        // Decoded at the slot's size: a large photo costs no more than the slot.
        QImageReader reader(name);
        reader.setAutoTransform(true);
        const QSize size = reader.size();
        if (size.isValid()) reader.setScaledSize(size.scaled(SlotSize - 2, SlotSize - 2, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        if (image.isNull()) label->setText(QStringLiteral("×"));
        else label->setPixmap(QPixmap::fromImage(image));
    }
}

} // namespace zk::photoview
