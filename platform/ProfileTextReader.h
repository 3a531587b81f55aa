#pragma once
// Reads a profile (INI) file line by line in one pass, decoding as it goes, so a huge file costs
// one chunk of bytes plus the longest line in memory, never the whole file.
//
// Encodings: UTF-16LE or UTF-16BE with a byte-order mark, UTF-8 with or without one. A file
// without a mark whose second byte is NUL and first is not is read as UTF-16LE (what an editor
// saving "Unicode" without a mark leaves); anything else is UTF-8, invalid bytes becoming U+FFFD.
// Lines end with CR LF, LF or CR. Empty lines are not returned, so CR LF needs no pairing.
// A missing or unreadable file reads as an empty one.
#include <QFile>
#include <QString>
#include <QStringDecoder>

namespace qb {

class ProfileTextReader {
public:
    // Characters kept of one line; the rest of a longer line is skipped. No real profile comes
    // near this, and it caps what a garbage file without line ends can cost.
    static constexpr qsizetype MaxLineLength = qsizetype(1) << 20;

    explicit ProfileTextReader(const QString& path);
    ProfileTextReader(const ProfileTextReader&) = delete;
    ProfileTextReader& operator=(const ProfileTextReader&) = delete;

    // The next non-empty line without its line end; false at the end of the file.
    bool nextLine(QString& line);
    // The encoding the file was found to be in (UTF-8 for a missing or unreadable file).
    QStringConverter::Encoding encoding() const { return m_encoding; }

private:
    bool decodeNextChunk();

    QFile m_file;
    QStringConverter::Encoding m_encoding = QStringConverter::Utf8;
    QStringDecoder m_decoder;
    QString m_text;     // decoded characters not yet split into lines
    qsizetype m_pos = 0;
    bool m_atEnd = false;
};

} // namespace qb
