#include "docking/ScreenFit.h"

#include <algorithm>

namespace qb::docking {

QRect fitOnScreens(const QRect& rect, const std::vector<QRect>& screens)
{
    if (screens.empty() || rect.isEmpty())
        return rect;
    const QRect grip(rect.topLeft(), QSize(std::min(rect.width(), kReachableMargin), std::min(rect.height(), kReachableMargin)));
    for (const QRect& screen : screens)
        if (screen.contains(grip))
            return rect;
    const QRect& target = screens.front();
    QRect fitted(QPoint(0, 0), rect.size().boundedTo(target.size()));
    fitted.moveTopLeft(target.topLeft());
    // Keep the saved offset within the screen where it still fits.
    const int x = std::clamp(rect.left(), target.left(), target.right() + 1 - fitted.width());
    const int y = std::clamp(rect.top(), target.top(), target.bottom() + 1 - fitted.height());
    fitted.moveTopLeft(QPoint(x, y));
    return fitted;
}

} // namespace qb::docking
