#include "platform/StringTable.h"

#include <algorithm>
#include <iterator>

namespace qb {
namespace {

struct Entry {
    int id;
    const char16_t* text;
};

constexpr Entry kEntries[] = {
#include "platform/strings/common.inc"
#include "platform/strings/console.inc"
#include "platform/strings/dataaccess.inc"
#include "platform/strings/explorer.inc"
#include "platform/strings/plugins.inc"
};

const Entry* find(int id)
{
    const auto it = std::find_if(std::begin(kEntries), std::end(kEntries),
                                 [id](const Entry& e) { return e.id == id; });
    return it == std::end(kEntries) ? nullptr : it;
}

} // namespace

QString loadString(int id)
{
    const Entry* e = find(id);
    return e ? QString::fromUtf16(e->text) : QString();
}

bool hasString(int id)
{
    return find(id) != nullptr;
}

} // namespace qb
