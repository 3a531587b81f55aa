#include "console/settings/ConsoleSettingsStore.h"

#include "common/settings/SettingsNumber.h"
#include "platform/Registry.h"

#include <QtEndian>
#include <functional>

namespace qb::console {
namespace {

using namespace qb::reg;

// Generous limits for the two texts: far beyond any face name or keyword list a person writes.
constexpr uint32_t kFaceNameReadLimit = 2048;
constexpr uint32_t kKeywordsReadLimit = 256 * 1024;

QString versionPath() { return QStringLiteral("\\1.6"); }
QString viewPath() { return versionPath() + QStringLiteral("\\view"); }
QString rebarPath() { return viewPath() + QStringLiteral("\\rebar"); }
QString generalPath() { return versionPath() + QStringLiteral("\\Property\\General"); }
QString editorPath() { return versionPath() + QStringLiteral("\\Property\\Editor"); }
QString formatPath() { return versionPath() + QStringLiteral("\\Property\\Format"); }

std::optional<QString> readText(HKEY key, const QString& name, uint32_t limit)
{
    QByteArray data(qsizetype(limit), '\0');
    uint32_t type = REG_NONE;
    uint32_t size = limit;
    if (RegQueryValueEx(key, name, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    data.truncate(size);
    return settings::textOfStringData(data);
}

long writeText(HKEY key, const QString& name, const QString& text)
{
    QByteArray data((text.size() + 1) * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), data.data() + 2 * i);
    return RegSetValueEx(key, name, REG_SZ, data.constData(), uint32_t(data.size()));
}

// One pass over every value, for reading and writing alike: each key opened in turn, each value
// handed to the visitor's number or text function. The first key that fails ends the pass.
class Pass {
public:
    Pass(QString root, bool create) : m_root(std::move(root)), m_create(create) {}
    virtual ~Pass() = default;
    long result() const { return m_result; }

    bool key(const QString& path)
    {
        if (m_result != ERROR_SUCCESS)
            return false;
        m_result = m_create ? RegCreateKeyEx(HKEY_CURRENT_USER, m_root + path, m_key.out())
                            : RegOpenKeyEx(HKEY_CURRENT_USER, m_root + path, m_key.out());
        return m_result == ERROR_SUCCESS;
    }
    virtual void number(const QString& name, uint32_t& value) = 0;
    virtual void dword(const QString& name, uint32_t& value, bool& present) = 0;
    virtual void text(const QString& name, QString& value, uint32_t limit) = 0;

protected:
    HKEY handle() const { return m_key.get(); }
    void fail(long rc)
    {
        if (m_result == ERROR_SUCCESS)
            m_result = rc;
    }

private:
    QString m_root;
    bool m_create;
    KeyGuard m_key;
    long m_result = ERROR_SUCCESS;
};

class ReadPass : public Pass {
public:
    explicit ReadPass(QString root) : Pass(std::move(root), false) {}
    void number(const QString& name, uint32_t& value) override
    {
        if (const auto v = settings::readNumberValue(handle(), name))
            value = *v;
    }
    void dword(const QString& name, uint32_t& value, bool& present) override
    {
        if (const auto v = settings::readDwordValue(handle(), name)) {
            value = *v;
            present = true;
        }
    }
    void text(const QString& name, QString& value, uint32_t limit) override
    {
        if (const auto v = readText(handle(), name, limit))
            value = *v;
    }
};

class WritePass : public Pass {
public:
    explicit WritePass(QString root) : Pass(std::move(root), true) {}
    void number(const QString& name, uint32_t& value) override { fail(settings::writeNumberValue(handle(), name, value)); }
    void dword(const QString& name, uint32_t& value, bool& present) override
    {
        if (present)
            fail(settings::writeDwordValue(handle(), name, value));
    }
    void text(const QString& name, QString& value, uint32_t) override { fail(writeText(handle(), name, value)); }
};

void number(Pass& pass, const QString& name, int& value)
{
    uint32_t v = uint32_t(value);
    pass.number(name, v);
    value = int(v);
}

void flag(Pass& pass, const QString& name, bool& value)
{
    uint32_t v = value ? 1 : 0;
    pass.number(name, v);
    value = v == 1;
}

void editor(Pass& pass, const QString& window, EditorOptions& options)
{
    pass.number(window + QStringLiteral(" TabCount"), options.tabCount);
    pass.number(window + QStringLiteral(" LeftMargin"), options.leftMargin);
    pass.number(window + QStringLiteral(" RightMargin"), options.rightMargin);
    pass.number(window + QStringLiteral(" UndoSize"), options.undoSize);
}

// Walks every key and value in the order they are stored.
void walk(Pass& pass, ConsoleSettings& s)
{
    if (pass.key(viewPath())) {
        number(pass, QStringLiteral("left"), s.left);
        number(pass, QStringLiteral("top"), s.top);
        number(pass, QStringLiteral("right"), s.right);
        number(pass, QStringLiteral("bottom"), s.bottom);
        flag(pass, QStringLiteral("IsFullWnd"), s.fullWindow);
        pass.number(QStringLiteral("xyMainSplitterPos"), s.splitterPos);
    }
    if (pass.key(rebarPath()))
        pass.dword(QString::number(kToolbarBandId), s.toolbarBand, s.hasToolbarBand);
    if (pass.key(generalPath()))
        pass.number(QStringLiteral("IsShowDataDuringExec"), s.showDataDuringExec);
    if (pass.key(editorPath())) {
        editor(pass, QStringLiteral("SQLWnd"), s.sqlWindow);
        editor(pass, QStringLiteral("RsltWnd"), s.resultWindow);
    }
    if (pass.key(formatPath())) {
        for (int i = 0; i < kCategoryCount; ++i) {
            TextCategory& c = s.categories[size_t(i)];
            const QString prefix = categoryPrefix(i);
            pass.text(prefix + QStringLiteral(" FaceName"), c.faceName, kFaceNameReadLimit);
            pass.number(prefix + QStringLiteral(" TextColor"), c.textColor);
            pass.number(prefix + QStringLiteral(" Effects"), c.effects);
            pass.number(prefix + QStringLiteral(" PitchAndFamily"), c.pitchAndFamily);
            pass.number(prefix + QStringLiteral(" CharSet"), c.charSet);
            pass.number(prefix + QStringLiteral(" Height"), c.height);
            if (i == kSqlKeywords)
                pass.text(prefix + QStringLiteral(" Keywords"), s.keywords, kKeywordsReadLimit);
        }
    }
}

} // namespace

long ConsoleSettingsStore::load(ConsoleSettings& settings) const
{
    ReadPass pass(m_rootPath);
    walk(pass, settings);
    return pass.result();
}

long ConsoleSettingsStore::save(const ConsoleSettings& settings) const
{
    ConsoleSettings copy = settings; // the walk takes its values by reference for both passes
    WritePass pass(m_rootPath);
    walk(pass, copy);
    return pass.result();
}

} // namespace qb::console
