#pragma once
// A private-profile (INI) file read the way the suite has always read its data link and tips
// files:
//
//   [section]
//   ; a comment line
//   key = value
//
// - Section and key names compare without regard to case; blanks around names and values are
//   trimmed. A section may appear more than once: its parts read as one section.
// - The first occurrence wins: a key given twice answers with its first value.
// - readString removes one pair of enclosing quotes (" or ', the same at both ends) from a value.
// - Lines without "=" and lines before the first section header carry nothing.
// - A missing or unreadable file behaves as an empty one; a binary file yields whatever parses.
//
// Every call reads the file anew in one pass (ProfileTextReader) and stops as soon as it has its
// answer, so nothing is cached and another program may change the file between two calls.
#include <QList>
#include <QString>
#include <QStringList>

namespace qb {

struct ProfileEntry {
    QString key;
    QString value; // trimmed, quotes kept: the text as written
};

class Profile {
public:
    explicit Profile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    // The value of the key, or the default (its trailing blanks dropped) when the section or key
    // is missing. Like a caller's buffer of bufferSize characters with room for the terminator,
    // the result holds at most bufferSize - 1 characters; a bufferSize below 1 gives "".
    QString readString(const QString& section, const QString& key, const QString& defaultValue,
                       qsizetype bufferSize) const;

    // The value as a decimal number: leading blanks, an optional sign and the digits that follow;
    // text after the digits is ignored, a value without digits gives 0, values beyond the range
    // of int are clamped. A missing key or an empty value gives the default.
    int readInt(const QString& section, const QString& key, int defaultValue) const;

    // Section names in file order, each once, spelled as first written.
    QStringList sectionNames() const;
    // Key names of the section in file order, each once, spelled as first written.
    QStringList keys(const QString& section) const;
    // The entries of the section in file order, duplicates included.
    QList<ProfileEntry> entries(const QString& section) const;

private:
    QString m_path;
};

} // namespace qb
