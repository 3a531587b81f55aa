#pragma once
// An initialization (connection) string: "key=value" pairs separated by ";".
//
//   - Keys compare without regard to case and keep their spelling; blanks around keys and values
//     are trimmed; empty pairs (";;", a trailing ";") are skipped.
//   - A value that starts with " or ' runs to the matching quote, and a doubled quote inside
//     stands for one; only blanks may follow the closing quote.
//   - A value that starts with "{" runs to the matching "}" ("}}" inside stands for one) and keeps
//     its braces, so ODBC attributes such as Driver={PostgreSQL Unicode} or Pwd={a;b} pass through.
//   - A key given twice: the later value replaces the earlier one.
// Malformed text (an unterminated quote, a pair without "=", an empty key, text after a closing
// quote) is an error naming the position, never a guess.
#include <QString>
#include <optional>
#include <vector>

namespace qb::data {

class ConnectionString {
public:
    struct Entry {
        QString key;
        QString value;
    };

    ConnectionString() = default;
    // Throws ProviderError (E_INVALIDARG) with a description of what is wrong.
    static ConnectionString parse(const QString& text);

    bool contains(const QString& key) const;
    // The value, or an empty text when the key is missing.
    QString value(const QString& key) const;
    std::optional<QString> find(const QString& key) const;
    void set(const QString& key, const QString& value);
    void remove(const QString& key);
    const std::vector<Entry>& entries() const { return m_entries; }

    // The string again, values quoted where they need it; parse(toString()) gives the same entries.
    QString toString() const;

private:
    std::vector<Entry> m_entries;
};

// Whether the value is one braced whole, "{...}" with every "}" inside doubled: the form a
// value keeps through parse() and toString() with its braces.
bool isBracedValue(const QString& value);

// The start of a text quoted in an error message: the first 40 characters, then "..." when there
// was more, so a message about a megabyte of garbage stays readable.
QString excerptOf(const QString& text);

// A yes/no value as connection strings write it: "True", "Yes", "1" / "False", "No", "0"
// (without regard to case, blanks around ignored); nullopt for anything else, the empty text too.
std::optional<bool> parseBoolean(const QString& value);

} // namespace qb::data
