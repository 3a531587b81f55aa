// The data link file reader over any bytes. Properties: a file is either read or refused with a
// ProviderError naming it; a string read back is one trimmed line, and writing it to a new data
// link file and reading that gives the same string; the provider lookup never throws.
#include "dataaccess/DataLinkFile.h"
#include "dataaccess/Provider.h"
#include "support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = qbfuzz::writeScratchFile(QStringLiteral("input.udl"),
                                                  QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    qb::data::readDataLinkProvider(path);
    QString initString;
    try {
        initString = qb::data::readDataLinkFile(path);
    } catch (const qb::data::ProviderError& e) {
        QBFUZZ_CHECK(e.description().contains(path), e.description());
        return 0;
    }
    QBFUZZ_CHECK(!initString.isEmpty() && initString == initString.trimmed(), initString);
    QBFUZZ_CHECK(!initString.contains(u'\n') && !initString.contains(u'\r'), initString);

    const QString copy = qbfuzz::scratchFolder() + QStringLiteral("/copy.udl");
    qb::data::writeDataLinkFile(copy, initString);
    const QString reread = qb::data::readDataLinkFile(copy);
    QBFUZZ_CHECK(reread == initString, QStringLiteral("\"%1\" was written and read back as \"%2\"").arg(initString, reread));
    return 0;
}
