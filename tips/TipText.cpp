#include "tips/TipText.h"

#include "platform/Profile.h"

namespace qb::tips {

QString expandTipEscapes(const QString& text)
{
    QString out = text;
    for (qsizetype i = 0; i + 1 < out.size(); ++i) {
        if (out[i] != u'\\')
            continue;
        const QChar letter = out[i + 1];
        const QChar replacement = letter == u'n' ? QChar(u'\n') : letter == u't' ? QChar(u'\t') : letter == u'r' ? QChar(u'\r') : QChar();
        if (replacement.isNull())
            continue;
        out[i] = u' ';
        out[i + 1] = replacement;
        ++i;
    }
    return out;
}

QString TipsFile::caption() const
{
    return Profile(m_path).readString(QStringLiteral("info"), QStringLiteral("caption"), QString(), kMaxTipTextLength + 1);
}

int TipsFile::count() const
{
    return Profile(m_path).readInt(QStringLiteral("info"), QStringLiteral("tips"), 0);
}

QString TipsFile::tip(int index) const
{
    return expandTipEscapes(Profile(m_path).readString(QStringLiteral("tip%1").arg(index), QStringLiteral("text"),
                                                       QString(), kMaxTipTextLength + 1));
}

} // namespace qb::tips
