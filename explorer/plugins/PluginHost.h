#pragma once
// The viewer plug-ins of the process: the internal ones compiled into qorvex and the ".blob"
// libraries found below the plugins folder, each with its command id; the menu of viewers for one
// cell, and showing a cell with the viewer the user chose.
//
// One host per process. Every main window calls init() once when it is built and term() once
// when it goes; the first init creates the host and loads the plug-ins, the term that brings the
// use count back to zero destroys it. Those two, and so the host's creation and destruction, are
// serialised by one process-wide lock. Everything else runs on the GUI thread only and reads the
// host without the lock: the set of plug-ins never changes while the host lives.
//
// Ids: internal plug-ins from 0xD000, external ones from 0xD011, handed out in loading order and
// never reused while the host lives. Main windows route menu commands 0xD000 to 0xD100 here, so
// at most 240 external plug-ins can be run.
#include "explorer/plugins/BlobPlugin.h"
#include "explorer/plugins/CellValueSource.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace qb::plugins {

class PluginHost;

struct PluginMenuItem {
    enum class Kind {
        Command,   // id and text of a plug-in
        Separator, // between the internal and the external plug-ins
        Empty,     // "(empty)", disabled, id 1: no plug-in offered itself
    };
    Kind kind = Kind::Command;
    int id = 0;
    QString text;
};

// What showing a value came to, for the caller to present.
struct ShowOutcome {
    bool called = false; // a plug-in was found for the id and the value handed to it
    // The plug-in answered false and said why: shown to the user as it is (a warning message).
    std::optional<QString> warning;
};

// The menu of viewers for one cell. It keeps the value it was built on until it goes, so the
// viewer chosen from it shows the same bytes without copying the value a second time.
class PluginMenu {
public:
    const std::vector<PluginMenuItem>& items() const { return m_items; }
    // Shows the value with the plug-in of a command id of this menu; nothing for other ids.
    ShowOutcome run(int id, QbWindow parent);

private:
    friend class PluginHost;
    PluginMenu(const PluginHost& host, std::unique_ptr<FilledValue> value) : m_host(host), m_value(std::move(value)) {}

    const PluginHost& m_host;
    std::unique_ptr<FilledValue> m_value;
    std::vector<PluginMenuItem> m_items;
};

class PluginHost {
public:
    static constexpr int kFirstInternalId = 0xD000;
    static constexpr int kFirstExternalId = 0xD011;
    static constexpr int kLastRoutedId = 0xD100;
    static constexpr int kEmptyItemId = 1;

    // The internal plug-ins, made when the host is created, in menu order.
    using InternalFactory = std::function<std::vector<std::unique_ptr<BlobPlugin>>()>;

    // Counts one more user; the first creates the host with the internal plug-ins and the
    // libraries below `folder`. Later calls only count: they neither scan again nor change the
    // folder.
    static void init(const QString& folder, const InternalFactory& makeInternal);
    // Counts one user less; at zero every plug-in is destroyed (libraries released) and the host
    // with them. Nothing without a host.
    static void term();
    // The host, or nullptr before the first init and after the last term.
    static PluginHost* instance();
    // Internal plus external plug-ins; 0 without a host.
    static int count();
    // Index below the internal count: the internal plug-in 0xD000 + index; above: the external
    // one 0xD011 + (index - internal count). nullptr without a host or out of range.
    static BlobPlugin* pluginAt(int index);

    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // The plug-in holding a command id, or nullptr. A lookup never adds anything.
    BlobPlugin* pluginById(int id) const;
    // The command id of the plug-in at an index (see pluginAt), or 0.
    int idAt(int index) const;
    int internalCount() const { return int(m_internal.size()); }
    int externalCount() const { return int(m_external.size()); }
    // Libraries passed over while loading: "path: reason" (for diagnostics; the user is not told).
    const QStringList& skippedFiles() const { return m_skipped; }

    // The menu for one cell: every plug-in whose test accepts the value, internal ones first, a
    // separator before the external ones once an internal one is in the menu, "(empty)" when none
    // is. nullptr when the value cannot be filled (a NULL cell, a failure the source reported):
    // then no menu is shown.
    std::unique_ptr<PluginMenu> buildMenu(CellValueSource& source, int row, int column) const;
    // Shows the cell, filled afresh, with the plug-in of the id (a routed menu command).
    ShowOutcome run(int id, CellValueSource& source, int row, int column, QbWindow parent) const;

private:
    friend class PluginMenu;
    PluginHost() = default;
    void load(const QString& folder, const InternalFactory& makeInternal);
    ShowOutcome show(int id, const FilledValue& value, QbWindow parent) const;
    QString menuText(int id, BlobPlugin& plugin) const;

    std::map<int, std::unique_ptr<BlobPlugin>> m_internal;
    std::map<int, std::unique_ptr<BlobPlugin>> m_external;
    int m_nextInternalId = kFirstInternalId;
    int m_nextExternalId = kFirstExternalId;
    QStringList m_skipped;
};

} // namespace qb::plugins
