// The drawn artwork: the see-through key gives the window its shape and must never leak into
// the panels' area or appear as a blended near-red; the pictures have the sizes the forms use.
#include "Artwork.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr QRgb Key = 0xFF0000;
const QRect PanelArea(39, 12, 874, 111);

struct KeyCount {
    int key = 0;
    int nearRed = 0;   // reddish pixels that are not the key: blended edges
    int insidePanels = 0;
};

KeyCount countKey(const QImage& image) {
    KeyCount c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            if (p == Key) {
                ++c.key;
                if (PanelArea.contains(x, y)) ++c.insidePanels;
            } else if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60) {
                ++c.nearRed;
            }
        }
    return c;
}

} // namespace

TEST(Artwork, BackgroundsAreShapedByAPureKeyOutsideThePanels) {
    for (const QImage& image : {zk::art::mainBackground(), zk::art::subBackground(), zk::art::noTouchBackground()}) {
        ASSERT_EQ(image.size(), QSize(930, 135));
        const KeyCount c = countKey(image);
        EXPECT_GT(c.key, 100) << "rounded corners and the top edge are see-through";
        EXPECT_EQ(c.nearRed, 0);
        EXPECT_EQ(c.insidePanels, 0);
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, Key);
        EXPECT_EQ(image.pixel(929, 134) & 0xFFFFFF, Key);
        EXPECT_NE(image.pixel(465, 130) & 0xFFFFFF, Key) << "the bottom edge is solid";
    }
}

TEST(Artwork, CurtainCarriesItsMessageInWhiteOnNavy) {
    const QImage image = zk::art::noTouchBackground();
    int white = 0, navy = 0;
    for (int y = PanelArea.top(); y <= PanelArea.bottom(); ++y)
        for (int x = PanelArea.left(); x <= PanelArea.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) > 240) ++white;
            if (qBlue(p) > 60 && qRed(p) < 60 && qGreen(p) < 80) ++navy;
        }
    // Twenty large characters: thousands of white pixels, on a mostly navy panel.
    EXPECT_GT(white, 3000);
    EXPECT_GT(navy, PanelArea.width() * PanelArea.height() / 2);
}

TEST(Artwork, PicturesHaveTheSizesOfTheirPlaces) {
    EXPECT_EQ(zk::art::miniBar().size(), QSize(920, 20));
    EXPECT_EQ(zk::art::programIcon().size(), QSize(32, 32));
    EXPECT_EQ(zk::art::foldOffIcon().size(), QSize(16, 16));
    EXPECT_EQ(zk::art::foldOnIcon().size(), QSize(16, 16));
    EXPECT_NE(zk::art::foldOffIcon(), zk::art::foldOnIcon());
    EXPECT_EQ(zk::art::browserButton().size(), QSize(60, 40));
    EXPECT_EQ(zk::art::sheetButton().size(), QSize(60, 40));
    EXPECT_EQ(zk::art::hintIcon().size(), QSize(24, 24));
}

TEST(Artwork, ThemeIconsAreTheSameDrawingAtEverySize) {
    // Scaled down to 32, every size looks like the panel's own icon: the drawing is scaled, not
    // cropped into a corner or left small in the middle of a bigger canvas.
    const QImage reference = zk::art::programIcon();
    for (int size : zk::art::ThemeIconSizes) {
        SCOPED_TRACE(size);
        const QImage icon = zk::art::programIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        if (size < 32) continue;
        const QImage scaled = icon.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(reference.format());
        int far = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (qAbs(qAlpha(scaled.pixel(x, y)) - qAlpha(reference.pixel(x, y))) > 96) ++far;
        EXPECT_LT(far, 32) << "pixels whose coverage differs from the 32-pixel icon";
    }
}

TEST(Artwork, GuideFramesShareAPaletteWithTheFormColourFirst) {
    const QList<QImage> frames = zk::art::guideFrames();
    ASSERT_GE(frames.size(), 4);
    for (const QImage& f : frames) {
        EXPECT_EQ(f.format(), QImage::Format_Indexed8);
        EXPECT_EQ(f.size(), QSize(20, 40));
        EXPECT_EQ(f.colorTable(), frames.first().colorTable());
        EXPECT_EQ(f.pixelIndex(0, 0), 0) << "the corner is background: the transparent colour";
        EXPECT_EQ(f.pixelIndex(19, 39), 0);
    }
    EXPECT_EQ(frames.first().color(0) & 0xFFFFFF, qRgb(255, 201, 74) & 0xFFFFFF);
    EXPECT_NE(frames[0], frames[frames.size() / 2]) << "the arrow moves";
}
