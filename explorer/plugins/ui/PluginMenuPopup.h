#pragma once
// The viewer menu of a "(BLOB)" or "(TEXT)" cell as a popup below the cell, and showing the cell
// with the viewer chosen; the entry points the data list and the main window call.
#include <QRect>
#include <QString>
#include <memory>

class QMenu;
class QWidget;

namespace qb::plugins {

class CellValueSource;
class PluginMenu;

// Opens the menu below the cell (its rectangle in `list` coordinates: left edge, bottom edge)
// and, when the user picks a viewer, shows the value with it over the list's window. The value
// is copied once for both. False when there is no plug-in host or the value cannot be filled (a
// NULL cell, or a failure already in the report log): then no menu appears.
bool openPluginMenu(QWidget* list, const QRect& cell, CellValueSource& source, int row, int column);

// The popup for a built menu: one action per item, each command's id in its data().
std::unique_ptr<QMenu> makePluginPopup(const PluginMenu& menu);

// Menu commands the main window sends to the plug-ins: 0xD000 to 0xD100.
bool isPluginCommand(int id);
// A routed command: shows the cell, filled afresh, with the plug-in of the id.
void runPluginCommand(int id, CellValueSource& source, int row, int column, QWidget* parent);

// A plug-in's reason for not showing a value, as it is (never taken as markup or a format).
void showPluginWarning(QWidget* parent, const QString& text);

} // namespace qb::plugins
