#pragma once
// The extension's world in a temporary folder: a private registry with the installation's keys,
// a "core path" folder whose qorvex and tessmar are the argv recorder, and a local socket on which
// the recorder reports the argument vector it was started with.
#include "platform/Registry.h"
#include "shellext/RegistryText.h"
#include "shellext/ShellExtKeys.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringList>

namespace qbtest {

class ShellExtFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(m_core.qfile("core")));
        for (const char* program : {"qorvex", "tessmar"})
            ASSERT_TRUE(QFile::link(QStringLiteral(QB_ARGV_RECORDER), corePath() + QLatin1String(program)));
        m_recorderSocket = m_core.qfile("argv.socket");
        qputenv("QB_ARGV_RECORDER", m_recorderSocket.toLocal8Bit());
        ASSERT_TRUE(m_server.listen(m_recorderSocket)) << m_server.errorString().toStdString();
    }

    void TearDown() override { qunsetenv("QB_ARGV_RECORDER"); }

    // The programs' folder, with its trailing "/".
    QString corePath() const { return m_core.qfile("core") + QLatin1Char('/'); }

    static void setText(const QString& key, const QString& name, const QString& text)
    {
        qb::reg::KeyGuard handle;
        ASSERT_EQ(qb::reg::RegCreateKeyEx(qb::reg::HKEY_LOCAL_MACHINE, key, handle.out()), qb::reg::ERROR_SUCCESS);
        ASSERT_EQ(qb::shellext::writeText(handle.get(), name, text), qb::reg::ERROR_SUCCESS);
    }

    static void setTemplate(const QString& extension, const QString& argumentTemplate)
    {
        setText(qb::shellext::extensionTableKey() + QLatin1Char('\\') + extension,
                qb::shellext::argumentTemplateValue(), argumentTemplate);
    }

    void setCorePath(const QString& folder) const
    {
        setText(qb::shellext::installationKey(), qb::shellext::corePathValue(), folder);
    }

    // The argument vector of the next recorder started, argv[0] included; empty when none came
    // within the time-out (the test then fails on the comparison).
    QList<QByteArray> nextRecordedArgv()
    {
        if (!m_server.waitForNewConnection(30000))
            return {};
        QLocalSocket* client = m_server.nextPendingConnection();
        QByteArray record;
        while (client->state() == QLocalSocket::ConnectedState && client->waitForReadyRead(30000))
            record += client->readAll();
        record += client->readAll();
        delete client;
        QList<QByteArray> argv = record.split('\0');
        if (!argv.isEmpty() && argv.last().isEmpty())
            argv.removeLast();
        return argv;
    }

    ScopedRegistryDir m_registry;
    TempDir m_core;
    QString m_recorderSocket;
    QLocalServer m_server;
};

} // namespace qbtest
