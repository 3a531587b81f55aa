#include "explorer/browser/TreeExpansion.h"

#include "explorer/browser/ElementSet.h"
#include "explorer/browser/xElement.h"

namespace qb::browser {

std::vector<TreeChild> expandTreeNode(ElementSet& elements, int elementId)
{
    std::vector<TreeChild> children;
    xElement* element = elements.element(elementId);
    if (!element || element->childKind(0) == kNoRelative)
        return children;
    if (!element->isLoaded())
        element->show_data(ShowRequest{QString(), false, false});
    const int count = element->itemCount();
    children.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const xElement* opened = elements.element(element->childKind(i));
        const bool expandable = opened && opened->childKind(0) != kNoRelative;
        children.push_back({element->cellText(i, 0), element->itemImage(i, 0), expandable});
    }
    return children;
}

} // namespace qb::browser
