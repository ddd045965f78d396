#pragma once
// The panel's artwork, drawn by code so that nothing binary lives in the repository.
#include <QImage>
#include <QList>
#include <QSize>

namespace zk::art {

// The main window's client size comes from these pictures.
inline constexpr QSize BackgroundSize(930, 135);
inline constexpr QSize MiniBarSize(920, 20);
inline constexpr QSize GuideClipSize(20, 40);
inline constexpr int GuideFramesPerSecond = 10;

// Page backgrounds (pure red is see-through and gives the window its shape).
QImage mainBackground();
QImage subBackground();
QImage noTouchBackground();

QImage miniBar();
QImage programIcon(int size = 32); // Image2 at 32 x 32; the menu's icon at the theme's sizes
QImage foldOffIcon();       // Image3, 16 x 16: auto-fold off
QImage foldOnIcon();        // Image4, 16 x 16: auto-fold on
QImage browserButton();     // StartIE, 60 x 40
QImage sheetButton();       // StartExcel, 60 x 40
QImage hintIcon();          // ImageList1, 24 x 24

// The sizes at which the program's icon goes into the desktop's icon theme.
inline const QList<int> ThemeIconSizes = {16, 24, 32, 48, 64, 128, 256};

// The guide clip's frames: Format_Indexed8 sharing one palette whose entry 0 (the background,
// the form colour) is the clip's transparent colour.
QList<QImage> guideFrames();

} // namespace zk::art
