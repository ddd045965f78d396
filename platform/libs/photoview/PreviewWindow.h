#pragma once
// The preview window: four square slots side by side, the next pictures in upload order.
#include <QString>
#include <QWidget>
#include <array>

class QLabel;

namespace zk::photoview {

class PreviewWindow : public QWidget {
public:
    static constexpr int Slots = 4;
    static constexpr int SlotSize = 160;
    static constexpr int Margin = 4;

    PreviewWindow();
    void setPictureName(int slot, const QString& path);
    void draw();

private:
    std::array<QString, Slots> names_;
    std::array<QLabel*, Slots> labels_{};
};

} // namespace zk::photoview
