#pragma once
// The slide of the relist price panel: it grows leftwards over its neighbour, 10 pixels a tick,
// until it covers the neighbour's rectangle exactly, and shrinks back to nothing at the
// neighbour's right edge.
#include <QRect>

namespace zk::relist {

struct SlideStep {
    QRect panel;  // where the panel goes
    bool done;    // the slide has ended: the timer stops
};

constexpr int SlidePixels = 10;
constexpr int SlideTickMs = 50;

// One tick of the slide, opening over `neighbour` or closing back to its right edge.
SlideStep slideOpen(const QRect& panel, const QRect& neighbour);
SlideStep slideClose(const QRect& panel, const QRect& neighbour);

} // namespace zk::relist
