#pragma once
// The list of recently opened data link files of one main window: shown in the File menu,
// newest first, and kept in the registry under the program's root (key "Recent Document List",
// no version subkey). The explorer and the console use it, each under its own root.
//
// Registry form: REG_DWORD DocumentCount holds the maximum (not the number of entries);
// REG_SZ Document1..Document<n> the entries, Document1 the newest.
#include <QString>
#include <QStringList>

namespace qb {

class RecentDocumentMenu;

class RecentDocumentList {
public:
    static constexpr int kFirstCommand = 57616; // the placeholder, and entry 1 (the newest)
    static constexpr int kMinimumEntries = 2;
    static constexpr int kMaximumEntries = 16;
    static constexpr int kDefaultEntries = 4;
    static constexpr int kMaxPathLength = 1023;  // characters; read back from at most 2048 bytes
    static constexpr int kMinimumLabelLength = 6;
    static constexpr int kMaximumLabelLength = 1024;
    static constexpr int kDefaultLabelLength = 40;

    RecentDocumentList() = default;

    // Remembers the menu and its placeholder text ("(empty)" when the menu has no placeholder).
    // The menu must outlive the list or be detached with attachMenu(nullptr).
    void attachMenu(RecentDocumentMenu* menu);

    // Reads HKEY_CURRENT_USER\rootPath\Recent Document List. When the key or DocumentCount is
    // missing, the list and maximum stay as they are. Rebuilds the menu.
    void read(const QString& rootPath);
    // Writes the list under HKEY_CURRENT_USER\rootPath (creating the keys); answers 0 or the
    // registry error.
    long write(const QString& rootPath) const;

    // After a successful open or create: the same path in other letter case is replaced, the
    // oldest entry goes when the list is full, the path becomes the newest. Empty paths and paths
    // longer than kMaxPathLength are refused (false).
    bool add(const QString& path);

    // n limited to 2..16; the oldest entries beyond it go; rebuilds the menu.
    void setMaximumEntries(int n);
    int maximumEntries() const { return m_maximum; }
    // n limited to 6..1024.
    void setMaximumLabelLength(int n);
    int maximumLabelLength() const { return m_maxLabelLength; }

    // Oldest first, newest last.
    const QStringList& entries() const { return m_entries; }
    // The path a menu command opens (k = command - 57615, 1 the newest), or empty.
    QString pathForCommand(int command) const;
    // The menu label of entry k (1 the newest): "&k " and the shortened path, "&" doubled.
    QString labelForEntry(int k) const;

    // The path shortened to maxLength - 1 characters when it has maxLength or more.
    static QString shortenPath(const QString& path, int maxLength);

    void rebuildMenu();

private:
    void dropOldestBeyond(int maximum);

    QStringList m_entries;
    int m_maximum = kDefaultEntries;
    int m_maxLabelLength = kDefaultLabelLength;
    RecentDocumentMenu* m_menu = nullptr;
    QString m_placeholder = QStringLiteral("(empty)");
};

} // namespace qb
