// The connection string parser and the ODBC translation over any text. Properties: a string is
// parsed or refused with a ProviderError; the string built from parsed pairs parses back to the
// same pairs; the driver's string is well formed by ODBC's rules (pairs at ";", a value either
// braced with "}}" for "}" or free of ";" and of blanks at its ends) and carries every pair the
// translation keeps, with its value.
#include "dataaccess/ConnectionString.h"
#include "dataaccess/Provider.h"
#include "dataaccess/providers/odbc/OdbcConnectString.h"
#include "support/FuzzSupport.h"

namespace {

using qb::data::ConnectionString;

struct OdbcPair {
    QString key;
    QString value; // braces removed
};

// Reads a driver connection string the way ODBC defines it.
std::vector<OdbcPair> parseOdbc(const QString& text)
{
    std::vector<OdbcPair> pairs;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype equals = text.indexOf(u'=', pos);
        QBFUZZ_CHECK(equals > pos, QStringLiteral("no key at %1 of \"%2\"").arg(pos).arg(text));
        OdbcPair pair{text.mid(pos, equals - pos), QString()};
        QBFUZZ_CHECK(!pair.key.contains(u';'), QStringLiteral("a key with \";\": \"%1\"").arg(pair.key));
        pos = equals + 1;
        if (pos < text.size() && text[pos] == u'{') {
            ++pos;
            for (;;) {
                QBFUZZ_CHECK(pos < text.size(), QStringLiteral("an unclosed brace in \"%1\"").arg(text));
                if (text[pos] == u'}') {
                    if (pos + 1 < text.size() && text[pos + 1] == u'}') {
                        pair.value += u'}';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                pair.value += text[pos++];
            }
        } else {
            const qsizetype end = text.indexOf(u';', pos);
            pair.value = text.mid(pos, (end < 0 ? text.size() : end) - pos);
            QBFUZZ_CHECK(pair.value == pair.value.trimmed(), QStringLiteral("blanks at the ends of an unbraced value: \"%1\"").arg(pair.value));
            pos += pair.value.size();
        }
        QBFUZZ_CHECK(pos < text.size() && text[pos] == u';', QStringLiteral("no \";\" after the value of %1").arg(pair.key));
        ++pos;
        pairs.push_back(pair);
    }
    return pairs;
}

bool handledByTranslation(const QString& key)
{
    for (const char16_t* k : {u"Provider", u"Extended Properties", u"Persist Security Info", u"Data Source", u"User ID",
                              u"Password", u"Initial Catalog", u"DSN", u"UID", u"PWD", u"DATABASE"})
        if (key.compare(QStringView(k), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void checkOdbc(const ConnectionString& properties)
{
    qb::data::odbc::OdbcConnectString odbc;
    try {
        odbc = qb::data::odbc::OdbcConnectString::build(properties, [](const QString& dsn) { return dsn; });
    } catch (const qb::data::ProviderError&) {
        return; // Extended Properties that do not parse
    }
    const std::vector<OdbcPair> pairs = parseOdbc(odbc.text);
    for (const ConnectionString::Entry& e : properties.entries()) {
        if (handledByTranslation(e.key))
            continue;
        const auto found = std::find_if(pairs.begin(), pairs.end(),
                                        [&](const OdbcPair& p) { return p.key.compare(e.key, Qt::CaseInsensitive) == 0; });
        QBFUZZ_CHECK(found != pairs.end(), QStringLiteral("the key %1 was lost").arg(e.key));
        QBFUZZ_CHECK(found->value == qb::data::odbc::unbracedOdbcValue(e.value),
                     QStringLiteral("%1 = \"%2\" reached the driver as \"%3\"").arg(e.key, e.value, found->value));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = qbfuzz::textOf(data, size);
    ConnectionString parsed;
    try {
        parsed = ConnectionString::parse(text);
    } catch (const qb::data::ProviderError& e) {
        QBFUZZ_CHECK(e.hr() == qb::data::E_INVALIDARG && !e.description().isEmpty(), e.description());
        return 0;
    }
    const QString built = parsed.toString();
    ConnectionString again;
    try {
        again = ConnectionString::parse(built);
    } catch (const qb::data::ProviderError& e) {
        QBFUZZ_CHECK(false, QStringLiteral("\"%1\" does not parse back: %2").arg(built, e.description()));
    }
    QBFUZZ_CHECK(again.entries().size() == parsed.entries().size(), built);
    for (size_t i = 0; i < parsed.entries().size(); ++i) {
        QBFUZZ_CHECK(again.entries()[i].key == parsed.entries()[i].key, built);
        QBFUZZ_CHECK(again.entries()[i].value == parsed.entries()[i].value,
                     QStringLiteral("\"%1\" came back as \"%2\" from \"%3\"").arg(parsed.entries()[i].value, again.entries()[i].value, built));
    }
    checkOdbc(parsed);
    return 0;
}
