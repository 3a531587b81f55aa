#include "OdbcPrivateServer.h"

#include "support/TempDir.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace qbtest {
namespace {

QString serverPrograms()
{
    const QString given = qEnvironmentVariable("QB_PG_BIN");
    if (!given.isEmpty())
        return given;
    QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& v : versions)
        if (QFile::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/initdb").arg(v)))
            return QStringLiteral("/usr/lib/postgresql/%1/bin").arg(v);
    throw std::runtime_error("no PostgreSQL server programs (initdb) found");
}

} // namespace

OdbcPrivateServer::OdbcPrivateServer(const TempDir& scratch) : m_dir(scratch.path() / "pg"), m_bin(serverPrograms())
{
    std::filesystem::create_directories(m_dir);
    // The server refuses to run as root: as root, its folder goes to the postgres user.
    if (geteuid() == 0) {
        const passwd* pg = getpwnam("postgres");
        if (!pg)
            throw std::runtime_error("running as root, but there is no postgres user to run the server as");
        chmod(scratch.path().c_str(), 0711);
        if (chown(m_dir.c_str(), pg->pw_uid, pg->pw_gid) != 0)
            throw std::runtime_error("cannot hand the server folder to the postgres user");
    }
    const QString dir = QString::fromStdString(m_dir.string());
    QString output;
    if (!runServerProgram(QStringLiteral("initdb"), {QStringLiteral("-D"), dir + QStringLiteral("/data"), QStringLiteral("-U"),
                                                     QStringLiteral("postgres"), QStringLiteral("-A"), QStringLiteral("trust"),
                                                     QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8")},
                          &output))
        throw std::runtime_error("initdb failed: " + output.toStdString());
    for (int attempt = 0; attempt < 5 && !m_running; ++attempt) {
        m_port = 20000 + int(QRandomGenerator::global()->bounded(30000));
        m_running = runServerProgram(
            QStringLiteral("pg_ctl"),
            {QStringLiteral("-D"), dir + QStringLiteral("/data"), QStringLiteral("-l"), dir + QStringLiteral("/log"),
             QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("-o"),
             QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off").arg(m_port).arg(dir),
             QStringLiteral("start")},
            &output);
    }
    if (!m_running)
        throw std::runtime_error("the private PostgreSQL server did not start: " + output.toStdString());
}

OdbcPrivateServer::~OdbcPrivateServer()
{
    if (m_running) {
        runServerProgram(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), QString::fromStdString((m_dir / "data").string()),
                                                    QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"),
                                                    QStringLiteral("stop")});
    }
}

void OdbcPrivateServer::stop()
{
    QString output;
    if (!runServerProgram(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), QString::fromStdString((m_dir / "data").string()),
                                                     QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"),
                                                     QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("stop")},
                          &output))
        throw std::runtime_error("pg_ctl stop failed: " + output.toStdString());
    m_running = false;
}

QString OdbcPrivateServer::connectionString(const QString& database) const
{
    return QStringLiteral("Provider=ODBC;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=postgres;Pwd=x")
        .arg(m_port)
        .arg(database);
}

bool OdbcPrivateServer::runServerProgram(const QString& program, const QStringList& arguments, QString* output) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString path = m_bin + u'/' + program;
    if (geteuid() == 0)
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), path} + arguments);
    else
        process.start(path, arguments);
    const bool finished = process.waitForFinished(120000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace qbtest
