#include "SimOutbox.h"

#include <algorithm>

namespace kalvex::sim {

void Outbox::Add(Clock::time_point due, Chunk chunk) {
    auto at = std::upper_bound(items_.begin(), items_.end(), due,
                               [](Clock::time_point t, const Item& i) { return t < i.due; });
    items_.insert(at, Item{due, std::move(chunk)});
}

std::optional<Clock::time_point> Outbox::NextDue() const {
    if (items_.empty())
        return std::nullopt;
    return pacing_ ? std::max(items_.front().due, lineFree_) + ByteTime : items_.front().due;
}

std::vector<Frame> Outbox::Flush(Clock::time_point now, const Writer& write) {
    std::vector<Frame> done;
    while (!items_.empty() && items_.front().due <= now) {
        auto& bytes = items_.front().chunk.bytes;
        if (pacing_) {
            // Written when its last bit would have arrived: a byte time after the line was
            // free and the byte was due. The line is free again at that moment, not when the
            // simulator got round to writing: a late wake-up must not slow the line down.
            const Clock::time_point end = std::max(items_.front().due, lineFree_) + ByteTime;
            if (end > now)
                break;
            write(bytes.data(), 1);
            bytes.erase(bytes.begin());
            lineFree_ = end;
        } else {
            write(bytes.data(), bytes.size());
            bytes.clear();
        }
        if (bytes.empty()) {
            if (items_.front().chunk.frame)
                done.push_back(*items_.front().chunk.frame);
            items_.pop_front();
        }
    }
    return done;
}

} // namespace kalvex::sim
