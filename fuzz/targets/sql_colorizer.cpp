// The colouring engine over any UTF-16 text, with the default keywords or a list taken from the
// input (the text before its first U+0001). Property: every range is non-empty, lies inside the
// text and starts after the previous one ends; a keyword range holds one of the keywords.
#include "common/SqlColorizer.h"
#include "support/FuzzSupport.h"

#include <algorithm>

namespace {

void checkRanges(const QString& text, const std::vector<qb::SqlColourRange>& ranges, const std::vector<QString>& keywords)
{
    qsizetype end = 0;
    for (const qb::SqlColourRange& r : ranges) {
        QBFUZZ_CHECK(r.length > 0, QStringLiteral("an empty range at %1").arg(r.start));
        QBFUZZ_CHECK(r.start >= end, QStringLiteral("a range at %1 overlaps or precedes the one ending at %2").arg(r.start).arg(end));
        QBFUZZ_CHECK(r.start + r.length <= text.size(),
                     QStringLiteral("a range at %1 of %2 runs past the text (%3)").arg(r.start).arg(r.length).arg(text.size()));
        QBFUZZ_CHECK(r.category != qb::SqlTextCategory::Other, QStringLiteral("an \"other text\" range"));
        if (r.category == qb::SqlTextCategory::Keyword) {
            const QString word = text.mid(r.start, r.length);
            QBFUZZ_CHECK(std::find(keywords.begin(), keywords.end(), word) != keywords.end(), word);
        }
        end = r.start + r.length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString text = qbfuzz::textOf(data, size);
    QString keywordList = qb::SqlColorizer::defaultKeywordList();
    const qsizetype split = text.indexOf(QChar(1));
    if (split >= 0) {
        keywordList = text.first(split);
        text.remove(0, split + 1);
    }
    qb::SqlColorizer colorizer;
    colorizer.setKeywords(keywordList);
    const std::vector<qb::SqlColourRange> ranges = colorizer.colour(text);
    checkRanges(text, ranges, colorizer.keywords());

    // Replacing the list leaves nothing of the old one behind: the engine then colours like one
    // that was given the new list alone.
    if (split >= 0) {
        colorizer.setKeywords(qb::SqlColorizer::defaultKeywordList());
        qb::SqlColorizer fresh;
        fresh.setKeywords(qb::SqlColorizer::defaultKeywordList());
        QBFUZZ_CHECK(fresh.colour(text) == colorizer.colour(text), QStringLiteral("replacing the keywords left something behind"));
    }
    return 0;
}
