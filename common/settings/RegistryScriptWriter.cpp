#include "common/settings/RegistryScriptWriter.h"

#include "common/settings/SettingsNumber.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"

#include <QSaveFile>
#include <QtEndian>
#include <deque>

namespace qb::settings {
namespace {

using namespace qb::reg;

// String-table ids of the failure message.
constexpr int kExportCaption = 61436;
constexpr int kFileNotCreated = 61437;

constexpr int kFirstLineBytes = 22;
constexpr int kContinuationBytes = 21;

QByteArray quoted(const QString& text)
{
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

class ScriptBuilder {
public:
    RegistryScriptText result;

    void line(const QByteArray& text)
    {
        result.text += text;
        result.text += "\r\n";
    }
    void errorLine()
    {
        line(QByteArray());
        line("Error");
        ++result.errorLines;
    }

    // The path line, then the values of parent\subKey when they can be read.
    void section(HKEY parent, const QString& subKey, const QString& path)
    {
        line("[" + path.toUtf8() + "]");
        if (!parent)
            return;
        KeyGuard key;
        KeyInfo info;
        if (RegOpenKeyEx(parent, subKey, key.out()) != ERROR_SUCCESS || RegQueryInfoKey(key.get(), &info) != ERROR_SUCCESS)
            return;
        QByteArray data(qsizetype(std::max<uint32_t>(info.maxValueLen, 1)), '\0');
        for (uint32_t index = 0;; ++index) {
            QString name;
            uint32_t type = REG_NONE;
            uint32_t size = uint32_t(data.size());
            long rc = RegEnumValue(key.get(), index, &name, &type, data.data(), &size);
            if (rc == ERROR_MORE_DATA) { // the value grew since the key's information was read
                data.resize(qsizetype(size));
                size = uint32_t(data.size());
                rc = RegEnumValue(key.get(), index, &name, &type, data.data(), &size);
            }
            if (rc != ERROR_SUCCESS)
                break;
            value(name, type, QByteArray(data.constData(), qsizetype(size)));
        }
    }

private:
    void value(const QString& name, uint32_t type, const QByteArray& data)
    {
        const QByteArray namePart = name.isEmpty() ? QByteArray("@ = ") : quoted(name) + " = ";
        if (type == REG_SZ) {
            const QString text = textOfStringData(data);
            if (!text.contains(u'\r') && !text.contains(u'\n')) {
                line(namePart + quoted(text));
                return;
            }
        } else if (type == REG_DWORD && data.size() == 4) {
            line(namePart + "dword:" + QByteArray::number(qFromLittleEndian<quint32>(data.constData()), 16).rightJustified(8, '0'));
            return;
        }
        const QByteArray prefix = type == REG_BINARY ? QByteArray("hex:") : "hex(" + QByteArray::number(type) + "):";
        bytes(namePart + prefix, data);
    }

    void bytes(QByteArray current, const QByteArray& data)
    {
        for (qsizetype i = 0; i < data.size(); ++i) {
            current += QByteArray::number(uchar(data[i]), 16).rightJustified(2, '0');
            current += ',';
            if (i >= kFirstLineBytes - 1 && (i - (kFirstLineBytes - 1)) % kContinuationBytes == 0) {
                line(current + "\\");
                current.clear();
            }
        }
        line(current);
    }
};

struct Level {
    KeyGuard key;
    uint32_t index = 0;
    QString path;
};

} // namespace

RegistryScriptText buildRegistryScript(const QString& rootName, const QString& keyPath)
{
    ScriptBuilder out;
    const HKEY root = rootByName(rootName);
    const QString startPath = keyPath.isEmpty() ? rootName : rootName + u'\\' + keyPath;
    out.line("REGEDIT4");
    out.line(QByteArray());

    std::deque<Level> stack; // Level holds a key guard, which does not move: deque never moves
    stack.emplace_back();
    stack.back().path = startPath;
    const long opened = root ? RegOpenKeyEx(root, keyPath, stack.back().key.out()) : ERROR_FILE_NOT_FOUND;
    out.section(root, keyPath, startPath);
    if (opened != ERROR_SUCCESS) {
        out.errorLine();
        return out.result;
    }
    while (!stack.empty()) {
        Level& level = stack.back();
        QString name;
        const long rc = RegEnumKeyEx(level.key.get(), level.index, &name);
        if (rc != ERROR_SUCCESS) {
            if (rc != ERROR_NO_MORE_ITEMS)
                out.errorLine();
            stack.pop_back();
            continue;
        }
        ++level.index;
        const QString path = level.path + u'\\' + name;
        const HKEY parent = level.key.get();
        out.line(QByteArray());
        out.section(parent, name, path);
        stack.emplace_back();
        stack.back().path = path;
        if (RegOpenKeyEx(parent, name, stack.back().key.out()) != ERROR_SUCCESS) {
            out.errorLine();
            stack.pop_back();
        }
    }
    return out.result;
}

bool writeRegistryScript(const QString& rootName, const QString& keyPath, const QString& fileName,
                         const ExportMessage& report, int* errorLines)
{
    const auto fail = [&report] {
        if (report)
            report(qb::loadString(kExportCaption), qb::loadString(kFileNotCreated));
        return false;
    };
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    const RegistryScriptText script = buildRegistryScript(rootName, keyPath);
    if (errorLines)
        *errorLines = script.errorLines;
    if (file.write(script.text) != script.text.size() || !file.commit())
        return fail();
    return true;
}

} // namespace qb::settings
