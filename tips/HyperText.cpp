#include "tips/HyperText.h"

namespace qb::tips {
namespace {

bool endsWord(QChar c)
{
    return c.unicode() <= 32 || c == u'!' || c == u',' || c == u';';
}

QString targetOf(const QString& word)
{
    for (const char16_t* scheme : {u"http://", u"https://", u"ftp://", u"mailto:"})
        if (word.startsWith(QStringView(scheme), Qt::CaseInsensitive))
            return word;
    if (word.startsWith(u"www.", Qt::CaseInsensitive))
        return QStringLiteral("http://") + word;
    if (word.startsWith(u"ftp.", Qt::CaseInsensitive))
        return QStringLiteral("ftp://") + word;
    if (word.indexOf(u'@') > 0)
        return QStringLiteral("mailto:") + word;
    return {};
}

} // namespace

std::vector<HyperLink> findLinks(const QString& text)
{
    std::vector<HyperLink> links;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && endsWord(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !endsWord(text[i]))
            ++i;
        if (i == start)
            break;
        const QString word = text.mid(start, i - start);
        QString target = targetOf(word);
        if (!target.isEmpty())
            links.push_back({start, i - start, std::move(target)});
    }
    return links;
}

} // namespace qb::tips
