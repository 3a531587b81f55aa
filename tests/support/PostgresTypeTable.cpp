#include "support/PostgresTypeTable.h"

#include "support/BackendsOdbc.h"

#include <QProcess>
#include <QRegularExpression>
#include <stdexcept>

namespace qbtest {
namespace {

// Separators no value of the table holds.
constexpr char16_t kFieldSeparator = u'\x1f';
constexpr char16_t kRowSeparator = u'\x1e';

QString requiredVariable(const char* name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        throw std::runtime_error(std::string(name) + " is not set: psql needs the private PostgreSQL server "
                                                     "of scripts/test-services.sh");
    return value;
}

QString databaseOf(const QString& connectionString)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("(?:^|;)\\s*Database=([^;]+)"), QRegularExpression::CaseInsensitiveOption)
            .match(connectionString);
    if (!m.hasMatch())
        throw std::runtime_error("no database in the connection string");
    return m.captured(1).trimmed();
}

QStringList setupStatements()
{
    return {
        QStringLiteral("CREATE TYPE mood AS ENUM ('sad', 'ok', 'happy')"),
        QStringLiteral(
            "CREATE TABLE vals (id integer PRIMARY KEY, j json, jb jsonb, u uuid, ip inet, net cidr, mac macaddr, "
            "iv interval, m money, n numeric(40,20), b bytea, ts timestamptz, tsn timestamp, d date, arr integer[], "
            "tarr text[], p point, x xml, tv tsvector, bv bit varying(16), e mood, r int4range, tr tstzrange, "
            "f boolean, t time, ttz timetz, fl float8, r4 real)"),
        QStringLiteral(
            "INSERT INTO vals VALUES "
            "(1, '{\"a\": [1, 2.5, \"x\"]}', '{\"b\": {\"c\": null}, \"a\": 1}', 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', "
            "'192.168.1.5/24', '10.0.0.0/8', '08:00:2b:01:02:03', '1 year 2 mons 3 days 04:05:06.789', 12345.67, "
            "12345678901234567890.12345678901234567890, '\\x00ff10', '2024-02-29 13:14:15.123456+00', "
            "'2024-02-29 13:14:15.123456', '2024-02-29', '{1,2,3}', '{\"a b\",\"c,d\",NULL}', '(1.5,-2)', "
            "'<r a=\"1\">t</r>', 'the quick brown fox', B'10110', 'happy', '[1,10)', "
            "'[2024-01-01 00:00+00,2024-06-01 00:00+00)', true, '13:14:15.5', '13:14:15+02', 1.5e300, 3.25)"),
        QStringLiteral(
            "INSERT INTO vals VALUES "
            "(2, 'null', '[]', '00000000-0000-0000-0000-000000000000', '::1', '2001:db8::/32', 'ff:ff:ff:ff:ff:ff', "
            "'-1 days -00:00:01', -0.01, -0.00000000000000000001, '', 'infinity', 'infinity', "
            "'infinity', '{}', '{}', '(0,0)', '', '', B'', 'sad', 'empty', 'empty', false, '00:00:00', '24:00:00+00', "
            "'NaN', '-Infinity')"),

        QStringLiteral("INSERT INTO vals (id, ts, tsn, d, fl) VALUES (3, '-infinity', '-infinity', '-infinity', 'Infinity')"),
        QStringLiteral("INSERT INTO vals (id, ts, tsn, d) VALUES "
                       "(4, '0044-03-15 12:00:00+00 BC', '0001-12-31 23:59:59.5 BC', '4713-01-01 BC')"),
        QStringLiteral("INSERT INTO vals (id, ts, tsn, d) VALUES "
                       "(5, '20000-01-01 00:00:00.5+00', '0001-01-01 00:00:00', '5874897-12-31')"),
        QStringLiteral("INSERT INTO vals (id, tsn, d, fl) VALUES (6, '9999-12-31 23:59:59', '9999-12-31', "
                       "-2.2250738585072014e-308)"),
    };
}

// Runs `query` with psql (QB_PG_BIN) on the private server's socket (QB_PG_SOCKET, QB_PG_PORT,
// QB_PG_USER) in the database named by `connectionString`: each row's fields as psql prints them.
std::vector<QStringList> psqlRows(const QString& connectionString, const QString& query)
{
    QProcess psql;
    psql.setProgram(requiredVariable("QB_PG_BIN") + QStringLiteral("/psql"));
    psql.setArguments({QStringLiteral("--no-psqlrc"), QStringLiteral("--quiet"), QStringLiteral("--no-align"),
                       QStringLiteral("--tuples-only"), QStringLiteral("--host"), requiredVariable("QB_PG_SOCKET"),
                       QStringLiteral("--port"), requiredVariable("QB_PG_PORT"), QStringLiteral("--username"),
                       requiredVariable("QB_PG_USER"), QStringLiteral("--dbname"), databaseOf(connectionString),
                       QStringLiteral("--set=ON_ERROR_STOP=1"), QStringLiteral("--pset=null=") + QString::fromUtf16(kPsqlNull),
                       QStringLiteral("--field-separator=") + QString(kFieldSeparator),
                       QStringLiteral("--record-separator=") + QString(kRowSeparator), QStringLiteral("--command"),
                       query});
    psql.start();
    if (!psql.waitForFinished(60000) || psql.exitStatus() != QProcess::NormalExit || psql.exitCode() != 0)
        throw std::runtime_error("psql failed: " + psql.readAllStandardError().toStdString());
    QString out = QString::fromUtf8(psql.readAllStandardOutput());
    if (out.endsWith(u'\n'))
        out.chop(1);
    std::vector<QStringList> rows;
    for (const QString& row : out.split(kRowSeparator, Qt::SkipEmptyParts))
        rows.push_back(row.split(kFieldSeparator));
    return rows;
}

} // namespace

PostgresTypeTable::PostgresTypeTable(const TempDir& scratch) : m_backend(makeOdbcBackend("postgres", scratch))
{
    for (const QString& statement : setupStatements())
        m_backend->exec(statement);
    m_psqlRows = qbtest::psqlRows(m_backend->connectionString(), query());
}

std::optional<QString> throughPsqlodbc(const QString& column, int id, const QString& psqlText)
{
    // GUIDs come in capitals.
    if (column == u"u")
        return psqlText.toUpper();
    // Dates and timestamps pass the driver's own calendar fields (OdbcDateStandIns.h): what they
    // cannot hold is lost, and a stored 9999-12-31 23:59:59 reads like 'infinity'.
    if ((column == u"d" && (id == 2 || id == 3 || id == 5)) || (column == u"ts" && id == 5))
        return std::nullopt;
    if (column == u"tsn" && id == 6)
        return QStringLiteral("infinity");
    // A date keeps no era.
    if (column == u"d" && id == 4)
        return QString(psqlText).remove(QStringLiteral(" BC"));
    // A timestamp with time zone is the session's wall-clock time, without the offset.
    if (column == u"ts")
        return QString(psqlText).remove(QRegularExpression(QStringLiteral("[+-]\\d\\d(:\\d\\d){0,2}(?=( BC)?$)")));
    return psqlText;
}

} // namespace qbtest
