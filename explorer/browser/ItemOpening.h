#pragma once
// What activating an item of the data list, or selecting a node of the database tree, asks the
// loader to show. Both decide from texts, as the views only know those.
#include "explorer/browser/ElementSet.h"
#include "explorer/browser/ShowOrder.h"

#include <QString>
#include <optional>

namespace qb::browser {

// Activating the item whose first column reads `itemText` while element `current` is shown:
//   database: the folder with that caption (2, 3 or 4);
//   tables or views folder: the table (5) or view (6) element with that item's object;
//   anything else: nothing (job code 0).
ShowOrder orderForOpenedItem(const ElementSet& elements, int current, const QString& itemText);

// The element a node of the database tree stands for, from its text and its parent's text
// (no parent: the root): the root with the database caption is 1; below it the folder with the
// node's caption (2, 3, 4); below the tables folder 5, below the views folder 6; else 0.
int elementForTreeNode(const ElementCaptions& captions, const QString& nodeText,
                       const std::optional<QString>& parentText);

// The order for selecting a tree node: its element, and for a table or view node the object the
// node names.
ShowOrder orderForTreeNode(const ElementSet& elements, const QString& nodeText,
                           const std::optional<QString>& parentText);

} // namespace qb::browser
