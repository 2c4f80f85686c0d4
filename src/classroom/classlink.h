#pragma once

#include "classroom/classserver.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include <QObject>
#include <QThread>

// The class server on a thread of its own: an absent server may keep a call
// waiting for seconds, which the window and the keystrokes never do. Jobs
// run one after another, in the order they were given.
class ClassLink : public QObject
{
    Q_OBJECT

public:
    ClassLink(std::string server, QString computer, QObject *parent = nullptr);
    // Waits for the job under way; the ones not started are dropped.
    ~ClassLink() override;

    // Runs job on the server's thread, then done with its result on this
    // object's thread (never when this object is gone by then).
    template<typename Result> void post(std::function<Result(ClassServer &)> job, std::function<void(Result)> done)
    {
        QMetaObject::invokeMethod(m_worker, [this, job = std::move(job), done = std::move(done)]() mutable {
            if (m_closing)
                return;
            auto result = std::make_shared<Result>(job(*m_server));
            QMetaObject::invokeMethod(this, [done = std::move(done), result] { done(std::move(*result)); });
        });
    }

    // A window's read waits no longer than this.
    static constexpr int kWindowWaitMs = 3000;

    // Runs job on the server's thread and waits up to timeoutMs for it; no
    // answer by then (the server's thread busy waiting for an absent server)
    // is nothing.
    template<typename Result>
    std::optional<Result> call(std::function<std::optional<Result>(ClassServer &)> job, int timeoutMs = kWindowWaitMs)
    {
        auto shared = std::make_shared<Answer<Result>>();
        QMetaObject::invokeMethod(m_worker,
            [this, job = std::move(job), shared] { shared->give(m_closing ? std::nullopt : job(*m_server)); });
        return shared->take(timeoutMs);
    }

private:
    template<typename Result> struct Answer {
        std::mutex mutex;
        std::condition_variable ready;
        bool given = false;
        std::optional<Result> result;
        void give(std::optional<Result> r)
        {
            std::lock_guard lock(mutex);
            result = std::move(r);
            given = true;
            ready.notify_all();
        }
        std::optional<Result> take(int timeoutMs)
        {
            std::unique_lock lock(mutex);
            if (!ready.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return given; }))
                return std::nullopt;
            return std::move(result);
        }
    };

    std::atomic<bool> m_closing = false;
    QThread m_thread;
    QObject *m_worker = nullptr; // lives on m_thread
    std::unique_ptr<ClassServer> m_server; // used only on m_thread
};
