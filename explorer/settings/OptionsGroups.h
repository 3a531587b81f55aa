#pragma once
// The four option groups one main window holds (owned by its options dialog object): built from
// their defaults and read from the registry at window creation, written by "Save the
// Configuration", and when the object is destroyed, whether or not the layout was saved, those
// the window changed since. Other windows keep the values they read at their own creation; a
// window that changed nothing leaves what another window saved in place.
#include "explorer/settings/DataListSettings.h"
#include "explorer/settings/DataTreeSettings.h"
#include "explorer/settings/GeneralSettings.h"
#include "explorer/settings/ReportWindowSettings.h"

namespace qb::settings {

class OptionsGroups {
public:
    explicit OptionsGroups(const QString& rootPath = explorerRootPath());
    ~OptionsGroups();
    OptionsGroups(const OptionsGroups&) = delete;
    OptionsGroups& operator=(const OptionsGroups&) = delete;

    // Writes General, Data List, Data Tree, Report Window; answers the first registry error.
    long writeAll();
    // The same for the groups whose values changed since they were read or written.
    long writeChanged();

    GeneralSettings& general() { return m_general; }
    DataListSettings& dataList() { return m_dataList; }
    DataTreeSettings& dataTree() { return m_dataTree; }
    ReportWindowSettings& reportWindow() { return m_reportWindow; }

private:
    long write(bool onlyChanged);

    GeneralSettings m_general;
    DataListSettings m_dataList;
    DataTreeSettings m_dataTree;
    ReportWindowSettings m_reportWindow;
};

} // namespace qb::settings
