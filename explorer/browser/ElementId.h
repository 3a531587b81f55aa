#pragma once
// The fixed element kinds of a main window. The numbers are also the slots of the element set,
// the loader's job codes, the history's element numbers and part of the registry key that keeps
// each kind's list styles, so they never change.
namespace qb::browser {

enum ElementId : int {
    kNoElement = 0,
    kDatabaseElement = 1,
    kTablesFolder = 2,
    kProceduresFolder = 3,
    kViewsFolder = 4,
    kTableElement = 5,
    kViewElement = 6,
};

// Slot 0 stays empty; slots 1 to 6 hold the kinds above.
constexpr int kElementSlotCount = 7;

// "No parent" and "items open nothing".
constexpr int kNoRelative = -1;

constexpr bool isElementId(int id) { return id >= kDatabaseElement && id <= kViewElement; }
constexpr bool isTableKind(int id) { return id == kTableElement || id == kViewElement; }

// Indexes into the window's element image lists.
enum ElementImage : int {
    kDatabaseImage = 0,
    kTablesFolderImage = 1,
    kProceduresFolderImage = 2,
    kViewsFolderImage = 3,
    kTableImage = 4,
    kViewImage = 5,
    kProcedureImage = 6,
    kNoImage = -1,
};

} // namespace qb::browser
