#pragma once
// The SQL colouring engine: a character-class state machine that finds the keyword, string and
// comment ranges of an SQL text. It is pure (text in, ranges out); the editor adapter gives the
// whole text the "other text" format first and then applies these ranges, so text outside every
// range is other text.
//
// The scan runs over the UTF-16 text itself, so every position and length is a UTF-16 code-unit
// position that matches the editor's. It knows "//" line comments, "/* */" block comments, quoted
// strings and the user's keywords (matched case-sensitively, between delimiters); it knows no
// "--" comments. A line break (CR, LF or the paragraph separators U+2028, U+2029) counts as the end
// of a line and as a delimiter, whatever line ends the editor hands over.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace qb {

enum class SqlTextCategory : uint8_t {
    Keyword = 0, // "SQL Keywords"
    Comment = 1, // "Comment"
    String = 2,  // "String value"
    Other = 3,   // "Other text in the SQL window"
};

struct SqlColourRange {
    qsizetype start = 0;
    qsizetype length = 0;
    SqlTextCategory category = SqlTextCategory::Other;
    bool operator==(const SqlColourRange&) const = default;
};

class SqlColorizer {
public:
    // The keyword list the console starts with (as its settings store it).
    static QString defaultKeywordList();

    SqlColorizer();

    // Replaces the keyword set by the comma-separated list: split at every ",", empty pieces
    // skipped, nothing trimmed (a piece with a leading space never matches), duplicates kept once.
    void setKeywords(QStringView commaSeparated);
    // The keywords in the order they are tried (sorted by code unit).
    const std::vector<QString>& keywords() const { return m_keywords; }

    // The keyword, string and comment ranges of the text, in text order, never overlapping.
    std::vector<SqlColourRange> colour(QStringView text) const;

    // The same, one line at a time, for an editor that recolours only the lines an edit touches:
    // `line` without its line end, `entry` what the lines before it left open (0 for the first
    // line), `*exit` what this one leaves open for the next. Colouring every line in turn gives
    // exactly the ranges colour() gives the whole text, cut at the line ends.
    using LineState = int;
    std::vector<SqlColourRange> colourLine(QStringView line, LineState entry, LineState* exit) const;

private:
    // Classes of the normal state. Inside a string or comment only one character matters (the
    // closing quote, the line end, the "*" of "*/"), so those states test it directly.
    enum CharClass : uint8_t {
        NoClass = 0,
        DoubleQuoteStart = 1,
        SingleQuoteStart = 3,
        Slash = 5,
        KeywordStart = 8, // set for the first character of each keyword, replacing any other class
    };

    // A line state's flag: the line's last character is a backslash (which can continue a line
    // comment over the empty line after it).
    static constexpr int kEndsWithBackslash = 0x100;

    // The scan from the state `entry` (a State); *end is the state at the end of the text.
    std::vector<SqlColourRange> scan(QStringView text, int entry, int* end) const;

    // Length of the keyword that matches at pos between delimiters, tried in set order; 0 if none.
    // *isRem tells whether it is the keyword that starts a line comment.
    qsizetype matchKeyword(QStringView text, qsizetype pos, bool* isRem) const;

    // Normal state: one entry per UTF-16 code unit, since a keyword may begin with any character.
    std::vector<uint8_t> m_normalClass;
    // Sorted, so the keywords sharing a first character form one run.
    std::vector<QString> m_keywords;
};

} // namespace qb
