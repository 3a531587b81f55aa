#pragma once
// Keeps a restored window where the user can reach it: a rectangle saved on a screen that is gone
// (or moved off every screen by hand) comes back on the first screen, shrunk to fit when needed.
#include <QRect>
#include <vector>

namespace qb::docking {

// At least this much of a window (its top left part, where a title bar is) must lie on a screen.
constexpr int kReachableMargin = 40;

// `screens` are the screens' available areas, the primary one first. A rectangle that already
// has a reachable part on some screen is returned unchanged.
QRect fitOnScreens(const QRect& rect, const std::vector<QRect>& screens);

} // namespace qb::docking
