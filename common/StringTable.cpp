#include "common/StringTable.h"

#include <algorithm>
#include <iterator>

namespace qb {
namespace {

struct Entry {
    int id;
    const char16_t* text;
};

constexpr Entry kEntries[] = {
#include "common/strings/common.inc"
#include "common/strings/dataaccess.inc"
#include "common/strings/explorer.inc"
#include "common/strings/plugins.inc"
#include "common/strings/console.inc"
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
