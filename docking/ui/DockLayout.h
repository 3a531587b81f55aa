#pragma once
// Measures and restores the places of a main window's dockable panes and toolbars.
//
// Panes are addressed by their index in the list the caller hands in, so a record can name the
// pane whose box it shares. Docked panes are put back side by side in their saved order: each
// box is split off the one before it on its side (beside or below), tabbed panes join their
// leader's box, then the saved sizes are applied. Floating panes get their saved rectangle,
// kept on a screen. A pane without a place stays where the caller put it.
//
// Toolbars live in the main window's top area, one after the other like the bands of a bar; a
// band value (BandValue) gives each its position, whether it starts a new row, and its width.
#include "docking/PanePlace.h"

#include <QList>
#include <QRect>
#include <cstdint>
#include <optional>
#include <vector>

class QDockWidget;
class QMainWindow;
class QToolBar;

namespace qb::docking {

// Where each pane is now. A hidden pane is measured where it was before it was hidden.
std::vector<PanePlace> measurePanes(const QMainWindow& window, const std::vector<QDockWidget*>& panes);

// Puts every pane that has a place there, shown or hidden as recorded.
void restorePanes(QMainWindow& window, const std::vector<QDockWidget*>& panes,
                  const std::vector<std::optional<PanePlace>>& places);

// Shows a hidden pane again at its last place (Qt keeps a hidden pane's slot in its box and a
// floating pane's rectangle), in front of the panes that share its box.
void showPane(QDockWidget& pane);

// The band values of the toolbars; `firstPosition` is the position of the first toolbar in the
// bar (bands before it, like a menu bar, are not toolbars).
std::vector<uint32_t> measureBands(const QMainWindow& window, const std::vector<QToolBar*>& bars, int firstPosition);

// Orders the toolbars by their band values' positions and breaks rows where a value says so.
// `values[i]` belongs to `bars[i]`; a toolbar without a value keeps its place after the others.
void restoreBands(QMainWindow& window, const std::vector<QToolBar*>& bars, const std::vector<std::optional<uint32_t>>& values);

// The screens' available areas, the primary screen first (for fitOnScreens).
std::vector<QRect> availableScreenAreas();

// Locked toolbars have no handle and cannot be moved.
void setBandsLocked(const std::vector<QToolBar*>& bars, bool locked);

} // namespace qb::docking
