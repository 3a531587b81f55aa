#include "common/RecentDocumentList.h"

#include "common/RecentDocumentMenu.h"
#include "platform/Registry.h"

#include <QtEndian>
#include <optional>
#include <algorithm>

namespace qb {
namespace {

using namespace qb::reg;

const QString kListKey = QStringLiteral("Recent Document List");
const QString kCountValue = QStringLiteral("DocumentCount");
constexpr uint32_t kEntryReadLimit = 2048; // bytes

QString entryValueName(int n)
{
    return QStringLiteral("Document%1").arg(n);
}

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\';
}

int findCommand(const RecentDocumentMenu& menu, int command)
{
    for (int i = 0; i < menu.itemCount(); ++i)
        if (menu.commandAt(i) == command)
            return i;
    return -1;
}

// An entry as stored: REG_SZ text of at most 2048 bytes, up to its first zero character.
std::optional<QString> readEntry(HKEY key, const QString& name)
{
    QByteArray data(kEntryReadLimit, '\0');
    uint32_t type = REG_NONE;
    uint32_t size = kEntryReadLimit;
    if (RegQueryValueEx(key, name, &type, data.data(), &size) != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    QString text;
    for (uint32_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = qFromLittleEndian<quint16>(data.constData() + i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

long writeEntry(HKEY key, const QString& name, const QString& text)
{
    QByteArray data((text.size() + 1) * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), data.data() + 2 * i);
    return RegSetValueEx(key, name, REG_SZ, data.constData(), uint32_t(data.size()));
}

} // namespace

void RecentDocumentList::attachMenu(RecentDocumentMenu* menu)
{
    m_menu = menu;
    if (!menu)
        return;
    const int position = findCommand(*menu, kFirstCommand);
    m_placeholder = position >= 0 ? menu->textAt(position) : QStringLiteral("(empty)");
}

void RecentDocumentList::read(const QString& rootPath)
{
    KeyGuard root;
    KeyGuard key;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, rootPath, root.out()) != ERROR_SUCCESS
        || RegOpenKeyEx(root.get(), kListKey, key.out()) != ERROR_SUCCESS)
        return;
    unsigned char countData[4];
    uint32_t type = REG_NONE;
    uint32_t size = sizeof countData;
    if (RegQueryValueEx(key.get(), kCountValue, &type, countData, &size) != ERROR_SUCCESS || type != REG_DWORD
        || size != sizeof countData)
        return;
    const auto count = static_cast<int32_t>(qFromLittleEndian<quint32>(countData));
    m_maximum = std::clamp<int>(count, kMinimumEntries, kMaximumEntries);
    m_entries.clear();
    for (int n = m_maximum; n >= 1; --n) {
        // An empty text names no file; it is left out rather than shown as a blank entry.
        if (const auto entry = readEntry(key.get(), entryValueName(n)); entry && !entry->isEmpty())
            m_entries.append(*entry);
    }
    rebuildMenu();
}

long RecentDocumentList::write(const QString& rootPath) const
{
    KeyGuard root;
    KeyGuard key;
    if (const long rc = RegCreateKeyEx(HKEY_CURRENT_USER, rootPath, root.out()); rc != ERROR_SUCCESS)
        return rc;
    if (const long rc = RegCreateKeyEx(root.get(), kListKey, key.out()); rc != ERROR_SUCCESS)
        return rc;
    unsigned char countData[4];
    qToLittleEndian<quint32>(uint32_t(m_maximum), countData);
    long result = RegSetValueEx(key.get(), kCountValue, REG_DWORD, countData, sizeof countData);
    const int count = int(m_entries.size());
    for (int n = count; n >= 1 && result == ERROR_SUCCESS; --n)
        result = writeEntry(key.get(), entryValueName(n), m_entries[count - n]);
    // Every name the largest list can use, Document16 included: a value left behind would come
    // back as an entry at the next read.
    for (int n = count + 1; n <= kMaximumEntries && result == ERROR_SUCCESS; ++n) {
        const long rc = RegDeleteValue(key.get(), entryValueName(n));
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
            result = rc;
    }
    return result;
}

bool RecentDocumentList::add(const QString& path)
{
    if (path.isEmpty() || path.size() > kMaxPathLength)
        return false;
    m_entries.removeIf([&path](const QString& e) { return e.compare(path, Qt::CaseInsensitive) == 0; });
    dropOldestBeyond(m_maximum - 1);
    m_entries.append(path);
    rebuildMenu();
    return true;
}

void RecentDocumentList::setMaximumEntries(int n)
{
    m_maximum = std::clamp(n, kMinimumEntries, kMaximumEntries);
    dropOldestBeyond(m_maximum);
    rebuildMenu();
}

void RecentDocumentList::setMaximumLabelLength(int n)
{
    m_maxLabelLength = std::clamp(n, kMinimumLabelLength, kMaximumLabelLength);
}

void RecentDocumentList::dropOldestBeyond(int maximum)
{
    while (m_entries.size() > std::max(maximum, 0))
        m_entries.removeFirst();
}

QString RecentDocumentList::pathForCommand(int command) const
{
    const int k = command - (kFirstCommand - 1);
    const int count = int(m_entries.size());
    if (k < 1 || k > count)
        return QString();
    return m_entries[count - k];
}

QString RecentDocumentList::labelForEntry(int k) const
{
    const int count = int(m_entries.size());
    if (k < 1 || k > count)
        return QString();
    QString shortened = shortenPath(m_entries[count - k], m_maxLabelLength);
    // A "&" of the path would otherwise be taken as the menu's mnemonic marker.
    shortened.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(k).arg(shortened);
}

QString RecentDocumentList::shortenPath(const QString& path, int maxLength)
{
    if (path.size() < maxLength)
        return path;
    const int lastSeparator = int(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')));
    const QChar separator = lastSeparator >= 0 ? path[lastSeparator] : QChar(u'\\');
    // The file name starts after the last "/", ":" or "\" that is followed by a character other
    // than a separator, so a trailing separator stays part of the name.
    qsizetype nameStart = 0;
    for (qsizetype i = path.size() - 2; i >= 0; --i) {
        const QChar c = path[i];
        if ((isSeparator(c) || c == u':') && !isSeparator(path[i + 1])) {
            nameStart = i + 1;
            break;
        }
    }
    const QString dots = QStringLiteral("...");
    if (nameStart == 0)
        return path.left(maxLength - 4) + dots;
    const QString name = path.mid(nameStart);
    if (name.size() < maxLength - 4)
        return path.left(maxLength - name.size() - 5) + dots + separator + name;
    return dots + separator + name.left(std::max(maxLength - 8, 0)) + dots;
}

void RecentDocumentList::rebuildMenu()
{
    if (!m_menu)
        return;
    RecentDocumentMenu& menu = *m_menu;
    // Entry items of every possible id go, not only those up to the current maximum: after the
    // maximum was lowered the items of the old, larger list are still in the menu.
    for (int i = menu.itemCount() - 1; i >= 0; --i) {
        const int command = menu.commandAt(i);
        if (command > kFirstCommand && command < kFirstCommand + kMaximumEntries)
            menu.removeItem(i);
    }
    const int position = findCommand(menu, kFirstCommand);
    if (position < 0)
        return; // a menu without the placeholder has no place for the list
    const int count = int(m_entries.size());
    if (count == 0) {
        menu.insertItem(position, kFirstCommand, m_placeholder, false);
    } else {
        for (int k = 1; k <= count; ++k)
            menu.insertItem(position + k - 1, kFirstCommand + k - 1, labelForEntry(k), true);
    }
    // The item that held the place before (the old placeholder or the old newest entry).
    menu.removeItem(position + std::max(count, 1));
}

} // namespace qb
