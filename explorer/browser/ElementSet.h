#pragma once
// The seven element slots of one main window, built with the window and serving every connection
// it opens: slot 0 empty, 1 the database, 2 to 4 the tables, stored procedures and views folders,
// 5 the table and 6 the view element. Each kind keeps its own list styles in the registry
// (\1.6\view\xElement#<slot> below the settings root).
#include "explorer/browser/ElementId.h"
#include "explorer/browser/SessionSource.h"

#include <QString>
#include <array>
#include <memory>

namespace qb {
class ReportSink;
}

namespace qb::settings {
class ElementListStyles;
}

namespace qb::browser {

class xElement;
class xElement_DB;
class xElement_Table;
class xElementSchemaT;

struct ElementCaptions {
    QString database;
    QString tables;
    QString procedures;
    QString views;
};

class ElementSet {
public:
    // Builds the six elements and reads their list styles from the registry below `settingsRoot`
    // (HKEY_CURRENT_USER).
    ElementSet(ReportSink& sink, SessionSource session, const QString& settingsRoot);
    ~ElementSet();
    ElementSet(const ElementSet&) = delete;
    ElementSet& operator=(const ElementSet&) = delete;

    // The element in a slot; nullptr for slot 0 and anything outside 1 to 6.
    xElement* element(int id) const;
    xElement_DB& database() const;
    // The folder with that id (2 to 4), or nullptr.
    xElementSchemaT* folder(int id) const;
    // The table (5) or view (6) element, or nullptr.
    xElement_Table* table(int id) const;

    ElementCaptions captions() const;

    // Drops the content of every element (closing the connection).
    void clearLoaded();

    // The list styles of the kind in a slot (every kind keeps its own), or nullptr.
    settings::ElementListStyles* listStyles(int id) const;
    // Registry passes over slots 1 to 6; the first registry error ends the pass and is answered.
    long readListStyles();
    long writeListStyles();
    // Both fields of every kind back to 0 (the window's current style is then used).
    void resetListStyles();

private:
    long eachListStyles(int mode);

    std::array<std::unique_ptr<xElement>, kElementSlotCount> m_slots;
    std::array<std::unique_ptr<settings::ElementListStyles>, kElementSlotCount> m_listStyles;
};

} // namespace qb::browser
