#pragma once
// What the fuzz targets share: reading structured values from the fuzzer's bytes, turning bytes
// into text, a private scratch folder, and the property check that stops the run.
//
// Every target defines LLVMFuzzerTestOneInput, and sets itself up at its first input; the same
// source runs under libFuzzer and under the replay main of the test build.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace qbfuzz {

// A property the target checks failed: prints what and where, then aborts, which the fuzzer
// reports as a crash with the input saved and the replay test reports as a failure.
[[noreturn]] void fail(const char* file, int line, const QString& what);

#define QBFUZZ_CHECK(condition, what)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::qbfuzz::fail(__FILE__, __LINE__, QStringLiteral("%1: %2").arg(QLatin1String(#condition), (what))); \
    } while (false)

// The input as text: after a UTF-16LE byte-order mark (FF FE) the code units as they are, lone
// surrogates and NULs included (an odd last byte is dropped); otherwise UTF-8, invalid bytes
// becoming U+FFFD. So seeds stay readable and any UTF-16 text is still reachable.
QString textOf(const uint8_t* data, size_t size);

// Reads values from the front of the input; past the end every read gives zero or empty.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }
    uint8_t byte();
    uint16_t u16();
    uint32_t u32();
    uint64_t u64();
    // A number in [0, count) (count > 0).
    uint32_t below(uint32_t count) { return u32() % count; }
    // Up to maxBytes bytes, the count taken from the input first.
    QByteArray bytes(size_t maxBytes);
    // Up to maxUnits UTF-16 code units as they are (any value, lone surrogates and NULs too).
    QString units(size_t maxUnits);
    // Everything not read yet.
    QByteArray rest();

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A private folder for the files a target writes, made at first use under the temporary folder
// and removed at exit.
QString scratchFolder();
// Writes the bytes to scratchFolder()/name (replacing it) and gives the path.
QString writeScratchFile(const QString& name, const QByteArray& bytes);

// Points the registry at a private folder of the scratch folder, so no target touches a user's
// settings. Call before the first registry call; later calls do nothing.
void usePrivateRegistry();

} // namespace qbfuzz
