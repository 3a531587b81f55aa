#pragma once
// The child nodes of a database-tree node that is expanded for the first time (only while idle).
#include <QString>
#include <vector>

namespace qb::browser {

class ElementSet;

struct TreeChild {
    QString text;
    int image;
    bool expandable; // the element the item opens has items that open something themselves
};

// Loads the element right here (the calling GUI thread) when it is not loaded and its items
// open something, with neither redraw nor refresh, then lists one child per item. An element
// whose load is held by a job that is still running gives no children now.
std::vector<TreeChild> expandTreeNode(ElementSet& elements, int elementId);

} // namespace qb::browser
