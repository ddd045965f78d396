#pragma once
// The guide animation: plays an AVI clip (see AviReader) in a loop at the clip's frame rate.
// Like the classic animation control it is transparent by default: the colour of the first
// frame's top-left pixel lets the parent's background show through.
#include "AviReader.h"

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

namespace zk {

class AnimateWidget : public QWidget {
    Q_OBJECT
public:
    explicit AnimateWidget(QWidget* parent = nullptr);

    // Loads the clip, shows its first frame and resizes the widget to the clip. On failure
    // the widget is empty and errorString() says why.
    bool open(const QString& file);
    // Drops the clip.
    void close();
    bool isOpen() const { return !frames_.isEmpty(); }
    const QString& errorString() const { return error_; }

    void play();   // from the current frame, looping
    void stop();   // stays on the current frame
    bool isPlaying() const { return timer_.isActive(); }

    void setTransparent(bool on);
    bool transparent() const { return transparent_; }

    int frameCount() const { return int(frames_.size()); }
    int currentFrame() const { return current_; }
    void seek(int frame);
    double frameRate() const { return frameRate_; }
    // The frame as painted (with the transparent key applied when it is on).
    QImage frameImage(int frame) const;

    QSize sizeHint() const override;

signals:
    void frameChanged(int frame);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();
    void prepareFrames();

    QList<QImage> source_;
    QList<QImage> frames_;
    QTimer timer_;
    QString error_;
    double frameRate_ = 0;
    int current_ = 0;
    bool transparent_ = true;
};

} // namespace zk
