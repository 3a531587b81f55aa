#include "docking/PanePlace.h"

namespace qb::docking {
namespace {

constexpr uint32_t kSignature = 0x4B444251; // "QBDK" read as a little-endian number
constexpr uint32_t kLayoutVersion = 1;
constexpr uint32_t kShown = 1u << 0;
constexpr uint32_t kBeside = 1u << 1;
constexpr uint32_t kInFront = 1u << 2;

enum Offset : int {
    kSignatureAt = 0,
    kVersionAt = 4,
    kLeftAt = 8,
    kTopAt = 12,
    kRightAt = 16,
    kBottomAt = 20,
    kSideAt = 24,
    kOrderAt = 28,
    kLeaderAt = 32,
    kFlagsAt = 36,
    kDockedAt = 52,
};

void put(PlaceRecord& r, int at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        r[size_t(at + i)] = static_cast<unsigned char>(v >> (8 * i));
}

uint32_t get(const PlaceRecord& r, int at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(r[size_t(at + i)]) << (8 * i);
    return v;
}

int getInt(const PlaceRecord& r, int at)
{
    return static_cast<int32_t>(get(r, at));
}

bool validSide(uint32_t side)
{
    return side == 1 || side == 2 || side == 4 || side == 8;
}

} // namespace

PlaceRecord encodePlace(const PanePlace& place)
{
    PlaceRecord r{};
    put(r, kSignatureAt, kSignature);
    put(r, kVersionAt, kLayoutVersion);
    put(r, kLeftAt, uint32_t(place.rect.left));
    put(r, kTopAt, uint32_t(place.rect.top));
    put(r, kRightAt, uint32_t(place.rect.right));
    put(r, kBottomAt, uint32_t(place.rect.bottom));
    put(r, kSideAt, uint32_t(place.side));
    put(r, kOrderAt, uint32_t(place.order));
    put(r, kLeaderAt, uint32_t(place.boxLeader));
    put(r, kFlagsAt, (place.shown ? kShown : 0) | (place.beside ? kBeside : 0) | (place.inFront ? kInFront : 0));
    put(r, kDockedAt, place.docked ? 1 : 0);
    return r;
}

std::optional<PanePlace> decodePlace(const PlaceRecord& r)
{
    if (get(r, kSignatureAt) != kSignature || get(r, kVersionAt) != kLayoutVersion)
        return std::nullopt;
    PanePlace p;
    p.rect = {getInt(r, kLeftAt), getInt(r, kTopAt), getInt(r, kRightAt), getInt(r, kBottomAt)};
    const uint32_t side = get(r, kSideAt);
    p.order = getInt(r, kOrderAt);
    p.boxLeader = getInt(r, kLeaderAt);
    const uint32_t flags = get(r, kFlagsAt);
    p.docked = get(r, kDockedAt) != 0;
    if (!validSide(side) || p.rect.width() <= 0 || p.rect.height() <= 0 || p.rect.width() > kMaxExtent
        || p.rect.height() > kMaxExtent || p.order < 0 || p.order >= kMaxPanes || p.boxLeader < -1
        || p.boxLeader >= kMaxPanes || (flags & ~(kShown | kBeside | kInFront)) != 0)
        return std::nullopt;
    p.side = static_cast<DockSide>(side);
    p.shown = flags & kShown;
    p.beside = flags & kBeside;
    p.inFront = flags & kInFront;
    return p;
}

} // namespace qb::docking
