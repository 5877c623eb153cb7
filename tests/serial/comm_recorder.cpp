#include "tests/serial/comm_recorder.h"

namespace lumivert::testing {

CommRecorder::CommRecorder(TComm& comm) : comm_(comm) {
    comm.setOnReceiveData([this](TComm&, const std::uint8_t* buffer, std::uint16_t length) {
        record({CommMessageKind::ReceiveData, {buffer, buffer + length}, 0, {}, {}});
    });
    comm.setOnReceiveError([this](TComm&, std::uint32_t mask) {
        record({CommMessageKind::ReceiveError, {}, mask, {}, {}});
    });
    comm.setOnModemStateChange([this](TComm&, std::uint32_t bits) {
        record({CommMessageKind::ModemStateChange, {}, bits, {}, {}});
    });
    comm.setOnRequestHangup([this](TComm&) {
        record({CommMessageKind::RequestHangup, {}, 0, {}, {}});
    });
    comm.setOnSendDataEmpty([this](TComm&) {
        record({CommMessageKind::SendDataEmpty, {}, 0, {}, {}});
    });
}

void CommRecorder::record(Event event) {
    event.at = Clock::now();
    event.thread = std::this_thread::get_id();
    receivedCount += event.bytes.size();
    events.push_back(std::move(event));
}

bool CommRecorder::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        if (comm_.waitForEvents(left)) {
            comm_.dispatchPending();
        }
    }
    return true;
}

bool CommRecorder::pumpUntilReceived(std::size_t count, std::chrono::milliseconds timeout) {
    return pumpUntil([&] { return receivedCount >= count; }, timeout);
}

std::vector<std::uint8_t> CommRecorder::received() const {
    std::vector<std::uint8_t> bytes;
    for (const auto& event : events) {
        bytes.insert(bytes.end(), event.bytes.begin(), event.bytes.end());
    }
    return bytes;
}

std::vector<const CommRecorder::Event*> CommRecorder::eventsOf(CommMessageKind kind) const {
    std::vector<const Event*> found;
    for (const auto& event : events) {
        if (event.kind == kind) {
            found.push_back(&event);
        }
    }
    return found;
}

} // namespace lumivert::testing
