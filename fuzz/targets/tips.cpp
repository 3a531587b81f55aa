// The tips file and the tip text functions over any input. Properties: expanding the escapes
// keeps the text's length and changes only escape pairs; the links found lie inside the text,
// in order, without overlap, each one whole word with a target; the file reader keeps its texts
// within the 1023-character buffer and answers for any tip index.
#include "support/FuzzSupport.h"
#include "tips/HyperText.h"
#include "tips/TipText.h"

namespace {

bool endsWord(QChar c)
{
    return c.unicode() <= 32 || c == u'!' || c == u',' || c == u';';
}

void checkText(const QString& text)
{
    const QString expanded = qb::tips::expandTipEscapes(text);
    QBFUZZ_CHECK(expanded.size() == text.size(), expanded);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (expanded[i] != text[i])
            QBFUZZ_CHECK((text[i] == u'\\' && expanded[i] == u' ') || (i > 0 && text[i - 1] == u'\\'),
                         QStringLiteral("position %1 changed outside an escape").arg(i));

    qsizetype end = 0;
    for (const qb::tips::HyperLink& link : qb::tips::findLinks(expanded)) {
        QBFUZZ_CHECK(link.length > 0 && link.start >= end && link.start + link.length <= expanded.size(),
                     QStringLiteral("a link at %1 of %2 after %3").arg(link.start).arg(link.length).arg(end));
        QBFUZZ_CHECK(link.start == 0 || endsWord(expanded[link.start - 1]), QStringLiteral("a link inside a word"));
        QBFUZZ_CHECK(link.start + link.length == expanded.size() || endsWord(expanded[link.start + link.length]),
                     QStringLiteral("a link cut short"));
        QBFUZZ_CHECK(link.target.endsWith(expanded.mid(link.start, link.length)), link.target);
        end = link.start + link.length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    checkText(qbfuzz::textOf(data, size));

    const qb::tips::TipsFile file(qbfuzz::writeScratchFile(QStringLiteral("input.tip"),
                                                           QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))));
    QBFUZZ_CHECK(file.caption().size() <= qb::tips::kMaxTipTextLength, QStringLiteral("a caption too long"));
    const int count = file.count();
    for (int index : {-1, 0, 1, count - 1, count, 1 << 30}) {
        const QString tip = file.tip(index);
        QBFUZZ_CHECK(tip.size() <= qb::tips::kMaxTipTextLength, QStringLiteral("tip %1 too long").arg(index));
        checkText(tip);
    }
    return 0;
}
