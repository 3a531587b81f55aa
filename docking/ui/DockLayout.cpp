#include "docking/ui/DockLayout.h"

#include "docking/BandValue.h"
#include "docking/ScreenFit.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QToolBar>
#include <algorithm>
#include <map>
#include <numeric>

namespace qb::docking {
namespace {

PlaceRect toPlace(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect toRect(const PlaceRect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

bool stacksVertically(DockSide side)
{
    return side == DockSide::Left || side == DockSide::Right;
}

} // namespace

std::vector<QRect> availableScreenAreas()
{
    std::vector<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens.push_back(primary->availableGeometry());
    for (QScreen* s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen())
            screens.push_back(s->availableGeometry());
    return screens;
}

namespace {

int indexOf(const std::vector<QDockWidget*>& panes, const QDockWidget* pane)
{
    const auto it = std::find(panes.begin(), panes.end(), pane);
    return it == panes.end() ? -1 : int(it - panes.begin());
}

// The tab in front of a shared box is the one whose contents can be seen.
bool isFrontTab(const QDockWidget& pane)
{
    return !pane.isHidden() && pane.isVisible();
}

} // namespace

std::vector<PanePlace> measurePanes(const QMainWindow& window, const std::vector<QDockWidget*>& panes)
{
    std::vector<PanePlace> places(panes.size());
    for (size_t i = 0; i < panes.size(); ++i) {
        const QDockWidget& pane = *panes[i];
        PanePlace& p = places[i];
        p.docked = !pane.isFloating();
        p.shown = !pane.isHidden();
        p.rect = toPlace(pane.geometry());
        p.side = static_cast<DockSide>(window.dockWidgetArea(const_cast<QDockWidget*>(&pane)));
        if (!p.docked || (p.side != DockSide::Left && p.side != DockSide::Right && p.side != DockSide::Top
                          && p.side != DockSide::Bottom))
            p.side = DockSide::Left;
        p.boxLeader = -1;
        p.inFront = true;
        if (p.docked) {
            // The box's leader is its pane with the lowest index.
            const QList<QDockWidget*> tabs = window.tabifiedDockWidgets(const_cast<QDockWidget*>(&pane));
            int leader = int(i);
            for (const QDockWidget* other : tabs) {
                const int k = indexOf(panes, other);
                if (k >= 0 && k < leader && !panes[size_t(k)]->isFloating())
                    leader = k;
            }
            if (leader != int(i))
                p.boxLeader = leader;
            p.inFront = tabs.isEmpty() || isFrontTab(pane);
        }
    }
    // Order the boxes of each side along it; a box's neighbour decides beside or below.
    std::map<DockSide, std::vector<size_t>> boxes;
    for (size_t i = 0; i < places.size(); ++i)
        if (places[i].docked && places[i].boxLeader < 0)
            boxes[places[i].side].push_back(i);
    for (auto& [side, members] : boxes) {
        std::sort(members.begin(), members.end(), [&](size_t a, size_t b) {
            const PlaceRect& ra = places[a].rect;
            const PlaceRect& rb = places[b].rect;
            return stacksVertically(side) ? std::pair(ra.left, ra.top) < std::pair(rb.left, rb.top)
                                          : std::pair(ra.top, ra.left) < std::pair(rb.top, rb.left);
        });
        for (size_t k = 0; k < members.size(); ++k) {
            PanePlace& p = places[members[k]];
            p.order = int(k);
            p.beside = k > 0 && places[members[k - 1]].rect.right <= p.rect.left;
        }
    }
    // A tabbed pane takes its leader's side and order, so the record reads the same either way.
    for (PanePlace& p : places)
        if (p.docked && p.boxLeader >= 0) {
            p.order = places[size_t(p.boxLeader)].order;
            p.side = places[size_t(p.boxLeader)].side;
        }
    return places;
}

void restorePanes(QMainWindow& window, const std::vector<QDockWidget*>& panes,
                  const std::vector<std::optional<PanePlace>>& places)
{
    std::vector<size_t> leaders;
    for (size_t i = 0; i < panes.size() && i < places.size(); ++i)
        if (places[i] && places[i]->docked && places[i]->boxLeader < 0)
            leaders.push_back(i);
    std::stable_sort(leaders.begin(), leaders.end(), [&](size_t a, size_t b) {
        return std::pair(uint32_t(places[a]->side), places[a]->order) < std::pair(uint32_t(places[b]->side), places[b]->order);
    });

    QDockWidget* previous = nullptr;
    DockSide previousSide{};
    for (size_t i : leaders) {
        const PanePlace& p = *places[i];
        QDockWidget* pane = panes[i];
        pane->setFloating(false);
        if (previous && previousSide == p.side) {
            window.splitDockWidget(previous, pane, p.beside ? Qt::Horizontal : Qt::Vertical);
        } else {
            window.addDockWidget(static_cast<Qt::DockWidgetArea>(p.side), pane,
                                 stacksVertically(p.side) ? Qt::Vertical : Qt::Horizontal);
        }
        previous = pane;
        previousSide = p.side;
    }
    for (size_t i = 0; i < panes.size() && i < places.size(); ++i) {
        if (!places[i])
            continue;
        const PanePlace& p = *places[i];
        QDockWidget* pane = panes[i];
        if (p.docked && p.boxLeader >= 0) {
            const size_t leader = size_t(p.boxLeader);
            if (leader < panes.size() && leader != i && places[leader] && places[leader]->docked
                && places[leader]->boxLeader < 0) {
                pane->setFloating(false);
                window.tabifyDockWidget(panes[leader], pane);
            } else {
                // A leader that is not docked any more: the pane gets a box of its own.
                pane->setFloating(false);
                window.addDockWidget(static_cast<Qt::DockWidgetArea>(p.side), pane);
            }
        } else if (!p.docked) {
            pane->setFloating(true);
            pane->setGeometry(fitOnScreens(toRect(p.rect), availableScreenAreas()));
        }
    }

    // Sizes: widths across the side panels, heights down them.
    QList<QDockWidget*> sized;
    QList<int> widths, heights;
    for (size_t i : leaders) {
        sized.append(panes[i]);
        widths.append(places[i]->rect.width());
        heights.append(places[i]->rect.height());
    }
    if (!sized.isEmpty()) {
        window.resizeDocks(sized, widths, Qt::Horizontal);
        window.resizeDocks(sized, heights, Qt::Vertical);
    }

    for (size_t i = 0; i < panes.size() && i < places.size(); ++i)
        if (places[i])
            panes[i]->setVisible(places[i]->shown);
    for (size_t i = 0; i < panes.size() && i < places.size(); ++i)
        if (places[i] && places[i]->docked && places[i]->shown && places[i]->inFront && places[i]->boxLeader >= 0)
            panes[i]->raise();
}

void showPane(QDockWidget& pane)
{
    pane.show();
    pane.raise();
}

std::vector<uint32_t> measureBands(const QMainWindow& window, const std::vector<QToolBar*>& bars, int firstPosition)
{
    // Visual order in the top area: by row, then from left to right.
    std::vector<size_t> order(bars.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const QRect ra = bars[a]->geometry();
        const QRect rb = bars[b]->geometry();
        return std::pair(ra.top(), ra.left()) < std::pair(rb.top(), rb.left());
    });
    std::vector<uint32_t> values(bars.size());
    int previousTop = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        const QToolBar& bar = *bars[order[k]];
        BandValue v;
        v.width = uint16_t(std::clamp(bar.width(), 0, 0xFFFF));
        v.position = uint8_t(firstPosition + int(k));
        // The first toolbar always opens a row: nothing else shares the menu bar's row.
        v.newRow = k == 0 || bar.geometry().top() != previousTop || window.toolBarBreak(const_cast<QToolBar*>(&bar));
        previousTop = bar.geometry().top();
        values[order[k]] = v.encode();
    }
    return values;
}

void restoreBands(QMainWindow& window, const std::vector<QToolBar*>& bars, const std::vector<std::optional<uint32_t>>& values)
{
    std::vector<size_t> order(bars.size());
    std::iota(order.begin(), order.end(), size_t(0));
    auto position = [&](size_t i) {
        return i < values.size() && values[i] ? int(BandValue::decode(*values[i]).position) : 256 + int(i);
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return position(a) < position(b); });
    for (size_t k = 0; k < order.size(); ++k) {
        QToolBar* bar = bars[order[k]];
        const bool visible = !bar->isHidden();
        window.removeToolBar(bar);
        const bool newRow = order[k] < values.size() && values[order[k]] && BandValue::decode(*values[order[k]]).newRow;
        if (k > 0 && newRow)
            window.addToolBarBreak(Qt::TopToolBarArea);
        window.addToolBar(Qt::TopToolBarArea, bar);
        bar->setVisible(visible);
    }
}

void setBandsLocked(const std::vector<QToolBar*>& bars, bool locked)
{
    for (QToolBar* bar : bars)
        bar->setMovable(!locked);
}

} // namespace qb::docking
