#pragma once
// The test's own thread playing the GUI thread: calls from other threads are queued and block
// until the GUI thread runs them (as blocking queued calls do), calls on the GUI thread run at
// once. The GUI thread runs queued calls only while it pumps, so a test that waits without
// pumping while a worker calls the window hangs, as the real program would.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace qbtest {

class FakeGuiThread {
public:
    FakeGuiThread() : m_gui(std::this_thread::get_id()) {}

    void call(const std::function<void()>& f)
    {
        if (std::this_thread::get_id() == m_gui) {
            f();
            return;
        }
        std::packaged_task<void()> task(f);
        std::future<void> done = task.get_future();
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_queue.push_back(std::move(task));
        }
        m_queued.notify_all();
        done.get();
    }

    // Runs the calls queued so far.
    void pump()
    {
        for (;;) {
            std::packaged_task<void()> task;
            {
                std::lock_guard<std::mutex> guard(m_mutex);
                if (m_queue.empty())
                    return;
                task = std::move(m_queue.front());
                m_queue.pop_front();
            }
            task();
        }
    }

    // Pumps until the condition holds; false after the timeout.
    bool pumpUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds timeout = std::chrono::seconds(60))
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            pump();
            if (condition())
                return true;
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::unique_lock<std::mutex> lock(m_mutex);
            m_queued.wait_for(lock, std::chrono::milliseconds(5), [this] { return !m_queue.empty(); });
        }
    }

private:
    const std::thread::id m_gui;
    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::deque<std::packaged_task<void()>> m_queue;
};

} // namespace qbtest
