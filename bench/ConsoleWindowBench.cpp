// Timing programs of tessmar's window under the offscreen platform (bench/run-console.sh):
//   console_window_bench make FILE ROWS  a table t of ROWS rows and 5 columns (the console run's shape)
//   console_window_bench type            ms of one keystroke in a 1 MB script, recolouring included
//                                        (the median of 21 keystrokes at spread-out places)
//   console_window_bench results FILE    ms from F5 on "select * from t" until every row is in
//                                        the result window (show data on)
//   console_window_bench stall FILE      the GUI thread's longest stall (ms) while that prints
//   console_window_bench stop FILE       ms from Stop, once rows are arriving, until the run has
//                                        ended with its interruption line in the window
#include "bench/BenchSupport.h"
#include "common/ui/SqlHighlighter.h"
#include "console/ui/ConsoleCommandIds.h"
#include "console/ui/ConsoleWindow.h"
#include "console/ui/ResultView.h"
#include "console/ui/SqlEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <sqlite3.h>

namespace {

using namespace qb::console::ui;
using Clock = std::chrono::steady_clock;

int make(const char* path, long rows)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path, &db) != SQLITE_OK)
        return 1;
    const std::string sql =
        "CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(30), city VARCHAR(30), price REAL, qty INTEGER);"
        "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < " + std::to_string(rows) + ") "
        "INSERT INTO t SELECT i, 'customer ' || i, 'city ' || (i % 97), i * 0.25, i % 1000 FROM c;";
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
}

struct Window {
    std::unique_ptr<ConsoleWindow> window;
    explicit Window(const QString& file)
    {
        ConsoleWindowOptions options;
        options.settingsRoot = QStringLiteral("Software\\Marrowind\\quillbase\\tessmar-bench");
        window = std::make_unique<ConsoleWindow>(options);
        window->resize(1000, 700);
        window->show();
        if (!file.isEmpty() && !window->openConnection(QStringLiteral("Provider=SQLite;Data Source=") + file, false))
            throw std::runtime_error("cannot open the database");
    }
    void start(const QString& script)
    {
        window->sqlEditor().setPlainText(script);
        window->sqlEditor().document()->setModified(false);
        window->executeQuery();
    }
    bool resultEndsWith(const QString& tail) const
    {
        const ResultView& view = window->resultView();
        QString text;
        for (qsizetype line = view.lineCount() - 1; line >= 0 && line >= view.lineCount() - 4; --line)
            text.prepend(view.lineText(line) + u'\n');
        return text.contains(tail);
    }
};

int type()
{
    Window w{QString()};
    SqlEditor& editor = w.window->sqlEditor();
    const QString script = qb::bench::repeatedText(1 << 20, [](int i) {
        return QStringLiteral("select id, name /* row %1 */ from t where name = 'x%1' // note\n").arg(i);
    });
    editor.setReadOnly(false);
    editor.setPlainText(script);
    editor.setFocus();
    QCoreApplication::processEvents();
    std::vector<double> times;
    const int blocks = editor.document()->blockCount();
    for (int i = 0; i < 21; ++i) {
        QTextCursor cursor(editor.document()->findBlockByNumber(blocks * i / 21));
        cursor.movePosition(QTextCursor::EndOfWord);
        editor.setTextCursor(cursor);
        const auto begin = Clock::now();
        QTest::keyClick(&editor, Qt::Key_A);
        QCoreApplication::processEvents(); // the repaint of what the recolouring changed
        times.push_back(qb::bench::msSince(begin));
    }
    std::sort(times.begin(), times.end());
    qb::bench::printMs(times[times.size() / 2]);
    return 0;
}

int results(const QString& file, bool stall)
{
    Window w(file);
    QElapsedTimer clock;
    qint64 last = 0, worst = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (w.window->isRunning())
            worst = std::max(worst, now - last - 5);
        last = now;
    });
    const auto begin = Clock::now();
    clock.start();
    ticker.start(5);
    w.start(QStringLiteral("select * from t;"));
    qb::bench::processUntil([&] { return !w.window->isRunning() && w.resultEndsWith(QStringLiteral("Selected ")); });
    ticker.stop();
    qb::bench::printMs(stall ? double(worst) : qb::bench::msSince(begin));
    return 0;
}

int stop(const QString& file)
{
    Window w(file);
    w.start(QStringLiteral("select * from t;"));
    // Once the rows are coming (the count is behind the run).
    qb::bench::processUntil([&] { return w.window->resultView().lineCount() > 1000; });
    const auto asked = Clock::now();
    w.window->stopExecution();
    qb::bench::processUntil([&] { return !w.window->isRunning(); });
    if (!w.resultEndsWith(QStringLiteral("Execution has been interrupted")))
        throw std::runtime_error("no interruption line");
    qb::bench::printMs(qb::bench::msSince(asked));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return qb::bench::runMode(argc, argv, 1, "make FILE ROWS|type|results FILE|stall FILE|stop FILE",
                              [&](const std::string& mode) -> std::optional<int> {
                                  const QString file = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
                                  if (mode == "make" && argc > 3)
                                      return make(argv[2], std::atol(argv[3]));
                                  if (mode == "type")
                                      return type();
                                  if (mode == "results")
                                      return results(file, false);
                                  if (mode == "stall")
                                      return results(file, true);
                                  if (mode == "stop")
                                      return stop(file);
                                  return std::nullopt;
                              });
}
