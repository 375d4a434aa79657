#include "Hilo_Base.h"

#include <QtGlobal>

#include <exception>

THilo_Base::THilo_Base() : hilo_([this] { Bucle(); }) {}

THilo_Base::~THilo_Base() {
    {
        std::lock_guard lock(mutex_);
        fin_ = true;
    }
    hay_trabajo_.notify_one();
    hilo_.join();
}

void THilo_Base::Encola(std::function<void()> trabajo) {
    {
        std::lock_guard lock(mutex_);
        cola_.push_back(std::move(trabajo));
    }
    hay_trabajo_.notify_one();
}

void THilo_Base::Bucle() {
    for (;;) {
        std::function<void()> trabajo;
        {
            std::unique_lock lock(mutex_);
            hay_trabajo_.wait(lock, [this] { return fin_ || !cola_.empty(); });
            if (cola_.empty()) {
                return; // ending, and nothing left to run
            }
            trabajo = std::move(cola_.front());
            cola_.pop_front();
        }
        try {
            trabajo();
        } catch (const std::exception& e) {
            qWarning("Installation record: %s", e.what());
        } catch (...) {
            qWarning("Installation record: a write failed");
        }
    }
}
