// A stand-in host for the tips library: an application object, a main window (unless -nowindow),
// then the host's tips call forced on, as Help > Tip of the Day does. Prints what happened and
// the new flag. Used by the suites to see the real library in a process of its own, and by the
// screenshot script.
//   tips_host [-folder DIR] [-nowindow]
#include "explorer/startup/TipsLauncher.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    qb::explorer::TipsLauncher launcher;
    const QStringList args = app.arguments();
    const qsizetype folderAt = args.indexOf(QStringLiteral("-folder"));
    if (folderAt > 0 && folderAt + 1 < args.size())
        launcher.folder = args.at(folderAt + 1);
    launcher.showError = [](const QString& text) {
        std::printf("error: %s\n", qPrintable(text));
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vexa@Qorvex: Error message"), text);
    };
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vexa@Qorvex - no connection"));
    window.resize(900, 620);
    if (!args.contains(QStringLiteral("-nowindow"))) {
        window.show();
        window.activateWindow();
    }
    int exitCode = 0;
    QTimer::singleShot(0, [&] {
        const auto outcome = launcher.show(args.contains(QStringLiteral("-nowindow")) ? nullptr : &window, true);
        std::printf("outcome: %d\n", int(outcome));
        std::fflush(stdout);
        exitCode = int(outcome);
        app.quit();
    });
    app.exec();
    return exitCode;
}
