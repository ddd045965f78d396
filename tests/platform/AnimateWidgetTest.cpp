// The guide animation widget playing the built clip.
#include "platform/AnimateWidget.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QString builtClip() { return qEnvironmentVariable("ZERKON_BUILD_DIR") + "/here.avi"; }
} // namespace

TEST(AnimateWidget, OpensTheClipAndTakesItsSize) {
    zk::AnimateWidget animate;
    ASSERT_TRUE(animate.open(builtClip())) << qPrintable(animate.errorString());
    EXPECT_TRUE(animate.isOpen());
    EXPECT_EQ(animate.size(), QSize(20, 40));
    EXPECT_EQ(animate.frameCount(), 8);
    EXPECT_EQ(animate.currentFrame(), 0);
    EXPECT_FALSE(animate.isPlaying());
}

TEST(AnimateWidget, PlayAdvancesAndLoopsStopHolds) {
    zk::AnimateWidget animate;
    ASSERT_TRUE(animate.open(builtClip()));
    QSignalSpy spy(&animate, &zk::AnimateWidget::frameChanged);
    animate.play();
    EXPECT_TRUE(animate.isPlaying());
    // Eight frames at ten a second: wait for a whole loop and a bit.
    EXPECT_TRUE(QTest::qWaitFor([&] { return spy.size() >= 9; }, 5000));
    EXPECT_EQ(spy.at(7).at(0).toInt(), 0) << "the eighth step wraps to the first frame";
    animate.stop();
    EXPECT_FALSE(animate.isPlaying());
    const int held = animate.currentFrame();
    QTest::qWait(250);
    EXPECT_EQ(animate.currentFrame(), held);
}

TEST(AnimateWidget, BackgroundColourOfTheClipIsSeeThrough) {
    zk::AnimateWidget animate;
    ASSERT_TRUE(animate.open(builtClip()));
    const QImage f = animate.frameImage(0);
    EXPECT_EQ(qAlpha(f.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(f.pixel(19, 39)), 0);
    EXPECT_EQ(qAlpha(f.pixel(5, 20)), 255) << "the arrow itself stays opaque";
    animate.setTransparent(false);
    EXPECT_EQ(qAlpha(animate.frameImage(0).pixel(0, 0)), 255);
}

TEST(AnimateWidget, ABadFileLeavesAnEmptyWidgetThatIgnoresPlay) {
    zk::AnimateWidget animate;
    ASSERT_TRUE(animate.open(builtClip()));
    EXPECT_FALSE(animate.open("/nonexistent/here.avi"));
    EXPECT_FALSE(animate.errorString().isEmpty());
    EXPECT_FALSE(animate.isOpen());
    animate.play();
    EXPECT_FALSE(animate.isPlaying());
    EXPECT_TRUE(animate.frameImage(0).isNull());
    animate.seek(3); // no frames: nothing happens
    EXPECT_EQ(animate.currentFrame(), 0);
}

TEST(AnimateWidget, SeekStaysInRange) {
    zk::AnimateWidget animate;
    ASSERT_TRUE(animate.open(builtClip()));
    animate.seek(100);
    EXPECT_EQ(animate.currentFrame(), 7);
    animate.seek(-3);
    EXPECT_EQ(animate.currentFrame(), 0);
}
