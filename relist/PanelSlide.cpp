#include "relist/PanelSlide.h"

namespace zk::relist {

SlideStep slideOpen(const QRect& panel, const QRect& neighbour) {
    if (panel.width() + SlidePixels < neighbour.width()) {
        // The right edge stays where it is.
        return {QRect(panel.x() - SlidePixels, panel.y(), panel.width() + SlidePixels, panel.height()), false};
    }
    return {QRect(neighbour.x(), panel.y(), neighbour.width(), panel.height()), true};
}

SlideStep slideClose(const QRect& panel, const QRect& neighbour) {
    if (panel.width() - SlidePixels < 0)
        return {QRect(neighbour.x() + neighbour.width(), panel.y(), 0, panel.height()), true};
    return {QRect(panel.x() + SlidePixels, panel.y(), panel.width() - SlidePixels, panel.height()), false};
}

} // namespace zk::relist
