#include "SimBus.h"

#include "SimDecoder.h"

#include <algorithm>

namespace kalvex::sim {

std::vector<Emission> Bus::Receive(const Frame& f, Clock::time_point now) {
    if (readOut_ && f == Acknowledgement(readOut_->frames[readOut_->next])) {
        if (++readOut_->next == readOut_->frames.size()) {
            readOut_.reset(); // the decoder stays in programming mode
            return {};
        }
        return SendNext(now);
    }
    if (programming_ >= 0 && f == inst_.decoders[size_t(programming_)].model->closing) {
        programming_ = -1;
        readOut_.reset();
        return {};
    }
    if (f[0] == 0x70 && f[1] == 0x01) {
        const int d = ServingDecoder(DataWord(f));
        if (d < 0)
            return {};
        return {{{0x20, inst_.decoders[size_t(d)].model->id, f[2], f[3]}, d, true, f[1]}};
    }
    if (f[0] == 0x50 && f[1] == 0x10) {
        const int d = ServingDecoder(DataWord(f));
        // The program writes the request twice; the second copy finds the read-out running.
        if (d < 0 || (readOut_ && readOut_->decoder == d))
            return {};
        switch (inst_.decoders[size_t(d)].quirk) {
        case Quirk::IgnoresRequests:
            return {};
        case Quirk::NoReadOut:
            // In programming mode, as its closing frame finds it, but silent.
            programming_ = d;
            readOut_.reset();
            return {};
        default:
            return StartReadOut(d, now);
        }
    }
    if (programming_ < 0)
        return {};
    if (auto answer = AnswerRequest(inst_.decoders[size_t(programming_)], f))
        return {{*answer, programming_, true, f[1]}};
    return {};
}

std::vector<Emission> Bus::PressButton(int decoder, Clock::time_point now) {
    const Decoder& d = inst_.decoders[size_t(decoder)];
    if (d.model->family != Family::Digitizer)
        return StartReadOut(decoder, now);
    programming_ = decoder;
    readOut_.reset();
    const Frame a = Announcement(d);
    return {{a, decoder, false, 0}, {a, decoder, false, 0, AnnouncementGap}};
}

void Bus::Tick(Clock::time_point now) {
    if (readOut_ && now >= readOut_->deadline) {
        readOut_.reset();
        programming_ = -1;
    }
}

std::optional<Clock::time_point> Bus::NextDeadline() const {
    if (!readOut_)
        return std::nullopt;
    return readOut_->deadline;
}

std::vector<Emission> Bus::StartReadOut(int decoder, Clock::time_point now) {
    programming_ = decoder;
    const Decoder& d = inst_.decoders[size_t(decoder)];
    std::vector<Frame> frames = ReadOutFrames(d);
    // Half its data frames, then nothing: no identification frame ends the read-out.
    if (d.quirk == Quirk::StopsHalfway)
        frames.resize(size_t(std::max(1, d.model->outputs / 2)));
    readOut_ = ReadOut{decoder, std::move(frames), 0, {}};
    return SendNext(now);
}

std::vector<Emission> Bus::SendNext(Clock::time_point now) {
    readOut_->deadline = now + AcknowledgementTimeout;
    return {{readOut_->frames[readOut_->next], readOut_->decoder, false, 0}};
}

int Bus::ServingDecoder(uint16_t code) const {
    for (size_t i = 0; i < inst_.decoders.size(); ++i)
        if (Serves(inst_.decoders[i], code))
            return int(i);
    return -1;
}

} // namespace kalvex::sim
