#pragma once
// The thread on which all of the record's SQL runs, one job after another.
//
// Why a thread and not a zero-timer on the user-interface thread: a commit waits for the disk
// (milliseconds, far more on a slow card), and a Save or a devices test waits for its replies
// in a nested event loop on the user-interface thread, where the line hands every received
// frame over. A commit run there would hold a reply back; here it holds back nothing.
//
// Threading contract: Encola and Ejecuta are called from one thread (the owner's). Jobs run in
// the order they were queued. A job that raises is logged and the next one runs. The
// destructor runs every job still queued before it returns, so nothing queued is lost.

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <type_traits>

class THilo_Base {
public:
    THilo_Base();
    ~THilo_Base();
    THilo_Base(const THilo_Base&) = delete;
    THilo_Base& operator=(const THilo_Base&) = delete;

    void Encola(std::function<void()> trabajo);

    // Runs the job after everything queued before it and waits for its result; what it
    // raises is raised here.
    template <class F> std::invoke_result_t<F&> Ejecuta(F trabajo) {
        std::packaged_task<std::invoke_result_t<F&>()> tarea(std::move(trabajo));
        auto resultado = tarea.get_future();
        Encola([&tarea] { tarea(); });
        return resultado.get();
    }

private:
    void Bucle();

    std::mutex mutex_;
    std::condition_variable hay_trabajo_;
    std::deque<std::function<void()>> cola_;
    bool fin_ = false;
    std::thread hilo_; // last: starts once the queue exists
};
