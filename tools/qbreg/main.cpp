// qbreg: the suite's stand-in for a registry editor, for carrying settings between machines and
// for scripts. Two forms only:
//   qbreg export "<root name>\<key path>" FILE   writes the key and its subtree as REGEDIT4
//   qbreg import FILE                            applies a REGEDIT4 script, all or nothing
// Both use the registry that QUILLBASE_REGISTRY_DIR points at, like every program of the suite.
#include "common/settings/RegistryScriptParser.h"
#include "common/settings/RegistryScriptWriter.h"
#include "platform/BrelibException.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kUsageError = 2;

void printError(const QString& text)
{
    std::fprintf(stderr, "qbreg: %s\n", text.toLocal8Bit().constData());
}

int usage()
{
    std::fputs("usage: qbreg export \"<root name>\\<key path>\" FILE\n"
               "       qbreg import FILE\n",
               stderr);
    return kUsageError;
}

int exportKey(const QString& key, const QString& fileName)
{
    const qsizetype slash = key.indexOf(u'\\');
    const QString rootName = slash < 0 ? key : key.left(slash);
    const QString keyPath = slash < 0 ? QString() : key.mid(slash + 1);
    int errorLines = 0;
    const bool written = qb::settings::writeRegistryScript(
        rootName, keyPath, fileName,
        [&](const QString&, const QString& text) {
            printError(QStringLiteral("%1: %2").arg(text, fileName));
        },
        &errorLines);
    if (!written)
        return 1; // already reported
    if (errorLines > 0) {
        printError(QStringLiteral("%1 could not be read whole; %2 has %3 \"Error\" line(s)")
                       .arg(key, fileName)
                       .arg(errorLines));
        return 1;
    }
    return 0;
}

int importFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()));
        return 1;
    }
    // One byte past the limit is enough for the parser to refuse a file too large.
    const QByteArray bytes = file.read(qb::settings::kMaxRegistryScriptSize + 1);
    try {
        const qb::settings::ParsedRegistryScript script = qb::settings::parseRegistryScript(bytes);
        qb::settings::importRegistryScript(script);
    } catch (const Brelib::exception& e) {
        printError(QStringLiteral("%1: %2").arg(fileName, e.text()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == QLatin1String("export"))
            return exportKey(args[1], args[2]);
        if (args.size() == 2 && args[0] == QLatin1String("import"))
            return importFile(args[1]);
    } catch (const std::exception& e) {
        printError(QString::fromLocal8Bit(e.what()));
        return 1;
    }
    return usage();
}
