#pragma once
// Excel's default 56-colour palette, by which colour indexes become RGB colours.
namespace zk::calc::palette {

constexpr int NoFill = -4142;
constexpr int Automatic = -4105;

// 0xRRGGBB for an index of 1 to 56; -1 otherwise.
int color(int index);
// The first index whose colour is `rgb`; 0 when the palette has none.
int indexOf(int rgb);

} // namespace zk::calc::palette
