#include "TLineInputQueue.h"

#include <algorithm>

void TLineInputQueue::Reset(int limit, bool discardNull) {
    std::lock_guard<std::mutex> g(lock_);
    bytes_.clear();
    arrivals_.clear();
    limit_ = limit;
    discardNull_ = discardNull;
}

void TLineInputQueue::Append(const uint8_t* bytes, int count, TLineClock::time_point at,
                             TLineClock::duration quietBefore) {
    std::lock_guard<std::mutex> g(lock_);
    int queued = 0;
    for (int i = 0; i < count; ++i) {
        if (static_cast<int>(bytes_.size()) >= limit_)
            break; // a full driver queue drops what does not fit
        if (discardNull_ && bytes[i] == 0)
            continue;
        bytes_.push_back(bytes[i]);
        ++queued;
    }
    if (queued > 0)
        arrivals_.push_back({queued, at, quietBefore});
}

int TLineInputQueue::Read(uint8_t* out, int count) {
    std::lock_guard<std::mutex> g(lock_);
    const int n = std::clamp(count, 0, static_cast<int>(bytes_.size()));
    std::copy_n(bytes_.begin(), n, out);
    bytes_.erase(bytes_.begin(), bytes_.begin() + n);
    for (int left = n; left > 0;) {
        TInputArrival& first = arrivals_.front();
        const int taken = std::min(left, first.Count);
        first.Count -= taken;
        left -= taken;
        if (first.Count == 0)
            arrivals_.pop_front();
    }
    return n;
}

int TLineInputQueue::Size() {
    std::lock_guard<std::mutex> g(lock_);
    return static_cast<int>(bytes_.size());
}

std::vector<TInputArrival> TLineInputQueue::Arrivals() {
    std::lock_guard<std::mutex> g(lock_);
    return {arrivals_.begin(), arrivals_.end()};
}
