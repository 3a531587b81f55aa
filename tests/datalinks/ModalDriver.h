#pragma once
// Drives modal dialogs that a call under test opens and waits for: each time a modal widget is
// up, the next step gets it (and may accept or reject it). Steps run from a timer of the nested
// event loop, so the call under test runs as it would for a user.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace qbtest {

class ModalDriver {
public:
    using Step = std::function<void(QWidget* modal)>;

    explicit ModalDriver(std::deque<Step> steps) : m_steps(std::move(steps))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }
    // Steps not run: the call under test opened fewer dialogs than expected.
    size_t stepsLeft() const { return m_steps.size(); }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last || m_steps.empty())
            return;
        m_last = modal;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(modal);
        // A dialog shown again by the same object counts as a new one once it was closed.
        if (!modal->isVisible())
            m_last = nullptr;
    }

    std::deque<Step> m_steps;
    QTimer m_timer;
    QWidget* m_last = nullptr;
};

} // namespace qbtest
