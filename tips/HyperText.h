#pragma once
// Finding the links in a tip's text. A word starts at the start of the text or after a blank, a
// control character, "!", "," or ";" and runs to the next of those; compared without regard to
// case, a word is a link when it
//   - starts with "http://", "https://", "ftp://" or "mailto:" (the target is the word),
//   - starts with "www." (target "http://" + word) or "ftp." (target "ftp://" + word),
//   - holds "@" after its first character (target "mailto:" + word).
// A pure function of the text: safe for any input (fuzz entry point, see TipText.h).
#include <QString>
#include <vector>

namespace qb::tips {

struct HyperLink {
    qsizetype start = 0;
    qsizetype length = 0;
    QString target;

    bool contains(qsizetype position) const { return position >= start && position < start + length; }
    bool operator==(const HyperLink&) const = default;
};

std::vector<HyperLink> findLinks(const QString& text);

} // namespace qb::tips
