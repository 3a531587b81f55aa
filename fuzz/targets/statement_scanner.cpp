// The statement scanner over any script text. Property: the statements, joined again (each
// ordinary one with its ";"), are the script with only white space and line comments left out
// of the parts outside quotes and block comments, and every character inside those parts passed
// on as it was (line ends counted as LF); after the last ";" no further statement ends.
#include "console/script/StatementScanner.h"
#include "support/FuzzSupport.h"

namespace {

using qb::console::StatementKind;

class Collect : public qb::console::StatementSink {
public:
    QString joined;
    void onStatement(const QString& text, StatementKind kind) override
    {
        joined += text;
        if (kind == StatementKind::Ordinary)
            joined += u';';
        else
            QBFUZZ_CHECK(text.endsWith(u';'), text);
    }
};

QString withLfLineEnds(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

bool isWhiteSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Walks the script and the joined statements side by side, the script's quotes and comments
// deciding what must match exactly.
void checkJoined(const QString& script, const QString& joined)
{
    enum class Mode { Plain, Single, Double, Block } mode = Mode::Plain;
    qsizetype s = 0;
    qsizetype j = 0;
    qsizetype blockStart = -1; // where the open block comment's "/*" is
    const qsizetype n = script.size();
    auto skipJoinedSpace = [&] {
        while (j < joined.size() && isWhiteSpace(joined[j]))
            ++j;
    };
    while (s < n) {
        const QChar c = script[s];
        if (mode == Mode::Plain && j == joined.size()) {
            // Everything after the last statement: no ";" may end another one here.
            if (c == u';')
                QBFUZZ_CHECK(false, QStringLiteral("a statement ending at %1 was lost").arg(s));
        }
        if (mode == Mode::Plain) {
            if (isWhiteSpace(c)) {
                ++s;
                skipJoinedSpace();
                continue;
            }
            if ((c == u'-' || c == u'/') && s + 1 < n && script[s + 1] == c) {
                const qsizetype lineEnd = script.indexOf(u'\n', s + 2);
                if (lineEnd >= 0) {
                    s = lineEnd + 1;
                    skipJoinedSpace();
                    continue;
                }
            }
        }
        if (j == joined.size()) {
            // Past the statements: follow the quotes only to find a lost ";".
            if (mode == Mode::Plain && c == u'\'')
                mode = Mode::Single;
            else if (mode == Mode::Plain && c == u'"')
                mode = Mode::Double;
            else if (mode == Mode::Plain && c == u'/' && s + 1 < n && script[s + 1] == u'*') {
                mode = Mode::Block;
                ++s;
            } else if ((mode == Mode::Single && c == u'\'') || (mode == Mode::Double && c == u'"'))
                mode = Mode::Plain;
            else if (mode == Mode::Block && c == u'*' && s + 1 < n && script[s + 1] == u'/') {
                mode = Mode::Plain;
                ++s;
            }
            ++s;
            continue;
        }
        QBFUZZ_CHECK(joined[j] == c, QStringLiteral("script position %1 (U+%2) arrived as U+%3 at %4")
                                         .arg(s)
                                         .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                                         .arg(joined[j].unicode(), 4, 16, QLatin1Char('0'))
                                         .arg(j));
        switch (mode) {
        case Mode::Plain:
            if (c == u'\'')
                mode = Mode::Single;
            else if (c == u'"')
                mode = Mode::Double;
            else if (c == u'/' && s + 1 < n && script[s + 1] == u'*') {
                mode = Mode::Block;
                blockStart = s;
            }
            break;
        case Mode::Single:
            if (c == u'\'')
                mode = Mode::Plain;
            break;
        case Mode::Double:
            if (c == u'"')
                mode = Mode::Plain;
            break;
        case Mode::Block:
            if (c == u'/' && s >= blockStart + 3 && script[s - 1] == u'*')
                mode = Mode::Plain;
            break;
        }
        ++s;
        ++j;
    }
    QBFUZZ_CHECK(j == joined.size(), QStringLiteral("%1 characters of statements came from nowhere").arg(joined.size() - j));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString script = qbfuzz::textOf(data, size);
    Collect sink;
    qb::console::StatementScanner::scan(script, sink);
    checkJoined(withLfLineEnds(script), sink.joined);
    return 0;
}
