#include "AnimateWidget.h"

#include <QPainter>
#include <cmath>

namespace zk {

namespace {
// Clips without a usable rate play at the control's usual pace.
constexpr double DefaultFrameRate = 10.0;
constexpr int MinIntervalMs = 10;
} // namespace

AnimateWidget::AnimateWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    connect(&timer_, &QTimer::timeout, this, &AnimateWidget::advance);
}

bool AnimateWidget::open(const QString& file) {
    stop();
    AviReader reader;
    if (!reader.read(file)) {
        close();
        error_ = reader.errorString();
        return false;
    }
    source_ = reader.frames();
    frameRate_ = reader.frameRate();
    error_.clear();
    current_ = 0;
    prepareFrames();
    setFixedSize(reader.size());
    update();
    return true;
}

void AnimateWidget::close() {
    stop();
    source_.clear();
    frames_.clear();
    frameRate_ = 0;
    current_ = 0;
    update();
}

void AnimateWidget::play() {
    if (frames_.size() < 2) return; // a single frame needs no timer
    const double rate = frameRate_ > 0 ? frameRate_ : DefaultFrameRate;
    timer_.start(qMax(MinIntervalMs, int(std::lround(1000.0 / rate))));
}

void AnimateWidget::stop() { timer_.stop(); }

void AnimateWidget::setTransparent(bool on) {
    if (transparent_ == on) return;
    transparent_ = on;
    prepareFrames();
    update();
}

void AnimateWidget::seek(int frame) {
    if (frames_.isEmpty()) return;
    current_ = qBound(0, frame, int(frames_.size()) - 1);
    emit frameChanged(current_);
    update();
}

QImage AnimateWidget::frameImage(int frame) const {
    if (frame < 0 || frame >= frames_.size()) return {};
    return frames_[frame];
}

QSize AnimateWidget::sizeHint() const {
    return frames_.isEmpty() ? QSize(20, 40) : frames_.first().size();
}

void AnimateWidget::paintEvent(QPaintEvent*) {
    if (frames_.isEmpty()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, frames_[current_]);
}

void AnimateWidget::advance() {
    if (frames_.isEmpty()) return;
    current_ = (current_ + 1) % int(frames_.size());
    emit frameChanged(current_);
    update();
}

void AnimateWidget::prepareFrames() {
    frames_.clear();
    if (source_.isEmpty()) return;
    if (!transparent_) {
        frames_ = source_;
        return;
    }
    const QRgb key = source_.first().pixel(0, 0);
    for (const QImage& frame : source_) {
        QImage image = frame.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
        }
        frames_.append(image);
    }
}

} // namespace zk
