#pragma once
// A console window on a real database, driven as a user would: the real worker thread, keys
// through Qt Test, a private registry folder per test, and prompts the test answers itself.
// Waits are on conditions, never on time alone.
#include "console/ui/ConsolePrompts.h"
#include "console/ui/ConsoleWindow.h"
#include "console/ui/ResultView.h"
#include "console/ui/SqlEditor.h"
#include "support/BackendFixture.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <deque>
#include <functional>

namespace qbtest {

// Answers the window's questions from queues the test fills, and records every message.
class ScriptedPrompts : public qb::console::ui::ConsolePrompts {
public:
    struct Message {
        QMessageBox::Icon icon;
        QString caption;
        QString text;
    };
    std::deque<QMessageBox::StandardButton> answers; // empty: No
    std::deque<QString> openFiles;                    // empty: cancelled
    std::deque<QString> saveFiles;                    // empty: cancelled
    std::vector<Message> questions;
    std::vector<Message> messages;
    int beeps = 0;

    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons) override
    {
        questions.push_back({icon, caption, text});
        return take(answers, QMessageBox::No);
    }
    void tell(QMessageBox::Icon icon, const QString& caption, const QString& text) override
    {
        messages.push_back({icon, caption, text});
    }
    QString openFile(const qb::console::ui::FileChoice&) override { return take(openFiles, QString()); }
    QString saveFile(const qb::console::ui::FileChoice&) override { return take(saveFiles, QString()); }
    void beep() override { ++beeps; }

private:
    template <typename T> static T take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

class ConsoleWindowFixture : public BackendFixture {
protected:
    std::unique_ptr<qb::console::ui::ConsoleWindow> openWindow()
    {
        qb::console::ui::ConsoleWindowOptions options;
        options.prompts = prompts;
        auto window = std::make_unique<qb::console::ui::ConsoleWindow>(options);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
        return window;
    }

    void connect(qb::console::ui::ConsoleWindow& w) { ASSERT_TRUE(w.openConnection(backend->connectionString(), false)); }

    // Runs the script as F5 does and waits until the run has ended and its output arrived.
    static void run(qb::console::ui::ConsoleWindow& w, const QString& script)
    {
        w.sqlEditor().setPlainText(script);
        QTest::keyClick(&w, Qt::Key_F5);
        waitForRun(w);
    }
    static void waitForRun(qb::console::ui::ConsoleWindow& w)
    {
        ASSERT_TRUE(waitUntil([&] { return !w.isRunning(); }, 120000));
        QCoreApplication::processEvents();
    }
    static QString resultText(qb::console::ui::ConsoleWindow& w) { return w.resultView().toPlainText(); }

    std::shared_ptr<ScriptedPrompts> prompts = std::make_shared<ScriptedPrompts>();
};

} // namespace qbtest
