#include "explorer/app/QorvexProgram.h"

#include "explorer/app/BusyCursorWatch.h"
#include "explorer/app/WindowSet.h"
#include "explorer/settings/SettingsKeys.h"
#include "common/settings/SettingsNumber.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace qb::app {
namespace {

// The fixed part of the instance name; the user and the display follow it.
const char kInstanceBase[] = "8941781C-295C-4d23-BD5C-966B86288D44";
// A running process answers at once; one that does not within this time counts as not running.
constexpr int kHandOverTimeoutMs = 3000;

bool singleInstanceWanted()
{
    return settings::readDwordSetting(settings::explorerRootPath() + settings::generalKey(),
                                      QStringLiteral("SingleInstance"), 1) != 0;
}

} // namespace

QStringList handOverRequest(const QStringList& arguments)
{
    QStringList request = arguments;
    const qsizetype at = request.indexOf(QStringLiteral("-udl"));
    if (at >= 0 && at + 1 < request.size() && !CommandLineOptions::isOptionName(request[at + 1]))
        request[at + 1] = QFileInfo(request[at + 1]).absoluteFilePath();
    return request;
}

QString answerHandOver(WindowSet& windows, const QStringList& request)
{
    const QString pid = QString::number(QCoreApplication::applicationPid());
    explorer::CommandLine line = explorer::readCommandLine(request);
    if (!line.dataLinkFile.isEmpty()) {
        line.start = explorer::StartCommand::None;
        // Started from the event loop: the second process gets its answer first.
        QTimer::singleShot(0, &windows, [&windows, line] { windows.startWindow(line); });
        return QStringLiteral("qorvex is running already (process %1): it opens %2 in a new window")
            .arg(pid, line.dataLinkFile);
    }
    if (ui::MainWindow* window = windows.firstLiveWindow()) {
        bringToFront(*window);
        return QStringLiteral("qorvex is running already (process %1): its window \"%2\" was brought forward")
            .arg(pid, window->windowTitle());
    }
    return QStringLiteral("qorvex is running already (process %1)").arg(pid);
}

int runQorvex(const QStringList& arguments)
{
    SingleInstance instance(sessionScopedName(QString::fromLatin1(kInstanceBase)));
    const SingleInstance::Claim claim = instance.claim();
    if (claim == SingleInstance::Claim::OtherRunning && singleInstanceWanted()) {
        if (const auto answer = instance.handOver(handOverRequest(arguments), kHandOverTimeoutMs)) {
            std::fprintf(stderr, "%s\n", qPrintable(*answer));
            return 0;
        }
        // An owner that does not answer is not running in any useful sense: start on our own.
    }

    // Windows come and go on their own; the set says when the last one is gone.
    QApplication::setQuitOnLastWindowClosed(false);
    WindowSet windows;
    BusyCursorWatch busyCursor(platformWaitCursorSurface());
    busyCursor.install();
    instance.setHandler([&windows](const QStringList& request) { return answerHandOver(windows, request); });
    QObject::connect(&windows, &WindowSet::emptied, &windows, [&windows] { QCoreApplication::exit(windows.exitCode()); });
    QTimer::singleShot(0, &windows, [&windows, arguments] { windows.startFirstWindow(explorer::readCommandLine(arguments)); });
    return QApplication::exec();
}

} // namespace qb::app
