// The REGEDIT4 script parser and importer over any bytes, importing into a private registry.
// Properties: a script is refused with a Brelib::exception or imported whole (every root it may
// name can be written here, so an import that fails half way means the parser let through what
// the registry refuses); export after import reproduces an import of the export: exporting,
// clearing, importing the export and exporting again gives the same scripts.
#include "platform/BrelibException.h"
#include "common/settings/RegistryScriptParser.h"
#include "common/settings/RegistryScriptWriter.h"
#include "platform/Registry.h"
#include "support/FuzzSupport.h"

#include <array>

namespace {

using namespace qb::reg;
using namespace qb::settings;

const std::array<HKEY, 3> kHiveRoots = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT};

void clearRegistry()
{
    for (HKEY root : kHiveRoots)
        QBFUZZ_CHECK(RegDeleteTree(root, QString()) == ERROR_SUCCESS, rootName(root));
}

std::array<QByteArray, 3> exportRegistry()
{
    std::array<QByteArray, 3> scripts;
    for (size_t i = 0; i < kHiveRoots.size(); ++i) {
        const RegistryScriptText script = buildRegistryScript(rootName(kHiveRoots[i]), QString());
        QBFUZZ_CHECK(script.errorLines == 0, QString::fromUtf8(script.text));
        scripts[i] = script.text;
    }
    return scripts;
}

void import(const QByteArray& script, const char* what)
{
    try {
        importRegistryScript(parseRegistryScript(script));
    } catch (const Brelib::exception& e) {
        QBFUZZ_CHECK(false, QStringLiteral("%1 did not import: %2").arg(QLatin1String(what), e.text()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qbfuzz::usePrivateRegistry();

    ParsedRegistryScript script;
    try {
        script = parseRegistryScript(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const Brelib::exception& e) {
        QBFUZZ_CHECK(!e.text().isEmpty(), QStringLiteral("a refusal without a reason"));
        return 0;
    }
    clearRegistry();
    try {
        importRegistryScript(script);
    } catch (const Brelib::exception& e) {
        QBFUZZ_CHECK(false, QStringLiteral("a script that parsed did not import: %1").arg(e.text()));
    }
    const std::array<QByteArray, 3> first = exportRegistry();
    clearRegistry();
    for (const QByteArray& exported : first)
        import(exported, "an export");
    const std::array<QByteArray, 3> second = exportRegistry();
    for (size_t i = 0; i < first.size(); ++i)
        QBFUZZ_CHECK(first[i] == second[i], QStringLiteral("the export of %1 changed through an import:\n%2\n---\n%3")
                                               .arg(rootName(kHiveRoots[i]), QString::fromUtf8(first[i]), QString::fromUtf8(second[i])));
    return 0;
}
