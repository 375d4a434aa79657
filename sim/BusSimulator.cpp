#include "BusSimulator.h"

#include "SimPty.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <system_error>
#include <unistd.h>

namespace kalvex::sim {

namespace {
// A frame whose bytes stop arriving for this long is dropped, so that one lost byte does not
// shift every later frame.
constexpr auto ResyncGap = std::chrono::milliseconds(50);

timespec Until(Clock::time_point deadline) {
    const auto left = std::max(deadline - Clock::now(), Clock::duration::zero());
    const auto ns = std::chrono::ceil<std::chrono::nanoseconds>(left).count();
    return {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
}
} // namespace

BusSimulator::BusSimulator(Installation installation)
    : inst_(std::move(installation)), bus_(inst_) {
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

BusSimulator::~BusSimulator() {
    Stop();
    close(wake_);
}

void BusSimulator::Start(const std::string& linkPath) {
    if (thread_.joinable())
        throw std::logic_error("the simulator is already running");
    pty_ = std::make_unique<Pty>(linkPath);
    stopping_ = false;
    thread_ = std::thread(&BusSimulator::Run, this);
}

void BusSimulator::Stop() {
    if (!thread_.joinable())
        return;
    stopping_ = true;
    Wake();
    thread_.join();
    pty_.reset();
}

std::string BusSimulator::SlavePath() const {
    return pty_ ? pty_->SlavePath() : std::string();
}

void BusSimulator::Wake() {
    const uint64_t one = 1;
    [[maybe_unused]] auto n = write(wake_, &one, sizeof one);
}

const Decoder& BusSimulator::At(int decoder) const {
    if (decoder < 0 || decoder >= int(inst_.decoders.size()))
        throw std::invalid_argument("no decoder " + std::to_string(decoder));
    return inst_.decoders[size_t(decoder)];
}

int BusSimulator::DecoderCount() const {
    std::lock_guard lock(mutex_);
    return int(inst_.decoders.size());
}

int BusSimulator::FindDecoder(const std::string& nameOrIndex) const {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < inst_.decoders.size(); ++i)
        if (inst_.decoders[i].name == nameOrIndex)
            return int(i);
    if (!nameOrIndex.empty() &&
        std::all_of(nameOrIndex.begin(), nameOrIndex.end(),
                    [](unsigned char c) { return std::isdigit(c); }) &&
        nameOrIndex.size() < 6) {
        const int index = std::stoi(nameOrIndex);
        if (index < int(inst_.decoders.size()))
            return index;
    }
    throw std::invalid_argument("no decoder '" + nameOrIndex + "'");
}

std::string BusSimulator::DecoderName(int decoder) const {
    std::lock_guard lock(mutex_);
    return At(decoder).name;
}

int BusSimulator::DecoderModel(int decoder) const {
    std::lock_guard lock(mutex_);
    return At(decoder).model->reference;
}

bool BusSimulator::InProgramming(int decoder) const {
    std::lock_guard lock(mutex_);
    At(decoder);
    return bus_.Programming() == decoder;
}

void BusSimulator::PressButton(int decoder) {
    std::lock_guard lock(mutex_);
    At(decoder);
    const auto now = Clock::now();
    Emit(bus_.PressButton(decoder, now), now);
    Wake();
}

void BusSimulator::PressButton(const std::string& nameOrIndex) {
    PressButton(FindDecoder(nameOrIndex));
}

void BusSimulator::AnnounceDigitizer() {
    int digitizer = -1;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(inst_.decoders.begin(), inst_.decoders.end(), [](const Decoder& d) {
            return d.model->family == Family::Digitizer;
        });
        if (it == inst_.decoders.end())
            throw std::invalid_argument("the installation has no digitizer (6775)");
        digitizer = int(it - inst_.decoders.begin());
    }
    PressButton(digitizer);
}

void BusSimulator::SendIdentification(const std::string& nameOrIndex) {
    const int decoder = FindDecoder(nameOrIndex);
    std::lock_guard lock(mutex_);
    const Decoder& d = At(decoder);
    if (d.model->family == Family::Digitizer)
        throw std::invalid_argument("a digitizer (6775) has no identification frame");
    const auto now = Clock::now();
    Emit({{{0x40, d.model->id, 0xFF, 0xFF}, decoder, false, 0}}, now);
    Wake();
}

uint8_t BusSimulator::Register(int decoder, uint8_t reg) const {
    std::lock_guard lock(mutex_);
    return At(decoder).memory[reg];
}

uint16_t BusSimulator::Word(int decoder, uint8_t reg) const {
    std::lock_guard lock(mutex_);
    return At(decoder).Word(reg);
}

std::string BusSimulator::Dump(int decoder) const {
    std::lock_guard lock(mutex_);
    return FormatDecoder(At(decoder));
}

void BusSimulator::SetFault(const Fault& fault) {
    std::lock_guard lock(mutex_);
    if (fault.decoder != AnyDecoder)
        At(fault.decoder);
    faults_.Set(fault);
    Wake(); // noise starts at once
}

void BusSimulator::ClearFault(FaultKind kind, int decoder) {
    std::lock_guard lock(mutex_);
    faults_.Clear(kind, decoder);
}

void BusSimulator::ClearFaults() {
    std::lock_guard lock(mutex_);
    faults_.ClearAll();
}

void BusSimulator::SetPacing(bool on) {
    std::lock_guard lock(mutex_);
    outbox_.SetPacing(on);
}

std::vector<LogEntry> BusSimulator::Log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

void BusSimulator::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

bool BusSimulator::WaitForFrames(Direction direction, size_t count,
                                 std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return logChanged_.wait_for(lock, timeout, [&] {
        return size_t(std::count_if(log_.begin(), log_.end(), [&](const LogEntry& e) {
                   return e.direction == direction;
               })) >= count;
    });
}

void BusSimulator::SetFrameObserver(std::function<void(const LogEntry&)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

void BusSimulator::Save() const {
    std::lock_guard lock(mutex_);
    if (inst_.path.empty())
        throw std::logic_error("the installation was not loaded from a file");
    SaveInstallation(inst_, inst_.path);
}

void BusSimulator::SaveTo(const std::string& path) const {
    std::lock_guard lock(mutex_);
    SaveInstallation(inst_, path);
}

void BusSimulator::Emit(const std::vector<Emission>& emissions, Clock::time_point now) {
    for (const Emission& e : emissions) {
        std::vector<Chunk> chunks = faults_.Shape(e);
        if (e.reply && !chunks.empty() && e.decoder >= 0) {
            Decoder& d = inst_.decoders[size_t(e.decoder)];
            if (d.quirk == Quirk::Noisy && d.replies++ % 2 == 0)
                chunks.front().bytes.insert(chunks.front().bytes.begin(), StrayByte);
        }
        for (Chunk& c : chunks) {
            // The due time is taken before the chunk is moved: argument order is unspecified.
            const Clock::time_point due = now + c.delay;
            outbox_.Add(due, std::move(c));
        }
    }
}

void BusSimulator::Record(Direction d, const Frame& f, Clock::time_point now) {
    log_.push_back({d, f, now});
    if (observer_)
        unobserved_.push_back(log_.back());
}

void BusSimulator::Receive(const uint8_t* bytes, size_t count, Clock::time_point now) {
    for (size_t i = 0; i < count; ++i) {
        if (!partial_.empty() && now - lastByte_ > ResyncGap)
            partial_.clear();
        partial_.push_back(bytes[i]);
        lastByte_ = now;
        if (partial_.size() < 4)
            continue;
        const Frame f{partial_[0], partial_[1], partial_[2], partial_[3]};
        partial_.clear();
        Record(Direction::FromProgram, f, now);
        // The program's write lands here at once; on a real line its four bytes are still
        // travelling for four byte times, and the decoder can only answer after that.
        const auto arrived = outbox_.Pacing() ? now + 4 * ByteTime : now;
        if (Unheard(f))
            continue;
        Emit(bus_.Receive(f, now), arrived);
    }
}

bool BusSimulator::Unheard(const Frame& f) {
    const uint8_t command = f[0] & 0xF0;
    const bool request = command == 0x60 || command == 0xB0 || command == 0x80 || command == 0xD0;
    return request && bus_.Programming() >= 0 && faults_.Deaf(bus_.Programming(), f[1]);
}

void BusSimulator::WriteLine(const uint8_t* bytes, size_t count) {
    while (count > 0) {
        const ssize_t n = write(pty_->Master(), bytes, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // nobody drains the line: the bytes are lost, as on a real one
        bytes += n;
        count -= size_t(n);
    }
}

std::optional<Clock::time_point> BusSimulator::NextDeadline() const {
    std::optional<Clock::time_point> next;
    auto consider = [&next](std::optional<Clock::time_point> t) {
        if (t && (!next || *t < *next))
            next = t;
    };
    consider(outbox_.NextDue());
    consider(bus_.NextDeadline());
    if (faults_.NoiseOn())
        consider(noiseDue_ ? noiseDue_ : Clock::now());
    if (!partial_.empty())
        consider(lastByte_ + ResyncGap + std::chrono::milliseconds(1));
    return next;
}

void BusSimulator::Run() {
    // Paced bytes are due every 1.25 ms; the default slack of 50 us on each wake-up would be
    // a few per cent of the line's time.
    prctl(PR_SET_TIMERSLACK, 1UL);
    pollfd fds[2] = {{pty_->Master(), POLLIN, 0}, {wake_, POLLIN, 0}};
    std::vector<uint8_t> received;
    while (!stopping_) {
        std::optional<timespec> timeout;
        {
            std::lock_guard lock(mutex_);
            if (auto next = NextDeadline())
                timeout = Until(*next);
        }
        ppoll(fds, 2, timeout ? &*timeout : nullptr, nullptr);
        if (fds[1].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] auto n = read(wake_, &count, sizeof count);
        }
        received.clear();
        if (fds[0].revents & POLLIN) {
            uint8_t buffer[256];
            for (ssize_t n; (n = read(pty_->Master(), buffer, sizeof buffer)) > 0;)
                received.insert(received.end(), buffer, buffer + n);
        }
        std::vector<LogEntry> fresh;
        std::function<void(const LogEntry&)> observer;
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            Receive(received.data(), received.size(), now);
            if (!partial_.empty() && now - lastByte_ > ResyncGap)
                partial_.clear();
            bus_.Tick(now);
            if (!faults_.NoiseOn()) {
                noiseDue_.reset();
            } else if (!noiseDue_) {
                noiseDue_ = now + faults_.NoiseGap();
            } else if (now >= *noiseDue_) {
                if (auto burst = faults_.NoiseBurst(); !burst.empty())
                    outbox_.Add(now, {Clock::duration::zero(), burst, std::nullopt});
                noiseDue_ = now + faults_.NoiseGap();
            }
            auto write = [this](const uint8_t* b, size_t n) { WriteLine(b, n); };
            for (const Frame& f : outbox_.Flush(now, write))
                Record(Direction::ToProgram, f, Clock::now());
            fresh.swap(unobserved_);
            observer = observer_;
        }
        logChanged_.notify_all();
        if (observer)
            for (const LogEntry& e : fresh)
                observer(e);
    }
}

} // namespace kalvex::sim
