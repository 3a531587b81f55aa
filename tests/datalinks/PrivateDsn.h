#pragma once
// A user data source name of this suite's own for the private PostgreSQL server of
// scripts/test-services.sh: a copy of the ODBC user file with the entry, named by ODBCINI for the
// rest of the process (the drivers stay those of ODBCSYSINI). Throws std::runtime_error when the
// server's variables are missing, so a run without the server fails instead of passing.
#include "support/TempDir.h"

#include <QFile>
#include <QString>
#include <stdexcept>

namespace qbtest {

inline QString requiredServerVariable(const char* name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        throw std::runtime_error(std::string(name) + " is not set: run through scripts/test.sh (the private PostgreSQL server)");
    return value;
}

class PrivateDsn {
public:
    static constexpr char16_t kName[] = u"qb_datalinks_pg";

    PrivateDsn()
    {
        const QString file = m_dir.qfile("odbc.ini");
        QFile ini(file);
        if (!ini.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write the private odbc.ini");
        ini.write(QStringLiteral("[%1]\nDriver=PostgreSQL Unicode\nServername=%2\nPort=%3\nDatabase=postgres\n")
                      .arg(QString::fromUtf16(kName), requiredServerVariable("QB_PG_HOST"),
                           requiredServerVariable("QB_PG_PORT"))
                      .toUtf8());
        ini.close();
        qputenv("ODBCINI", file.toUtf8());
    }

    static QString name() { return QString::fromUtf16(kName); }
    static QString user() { return requiredServerVariable("QB_PG_USER"); }
    static QString password() { return requiredServerVariable("QB_PG_PASSWORD"); }

private:
    TempDir m_dir;
};

} // namespace qbtest
