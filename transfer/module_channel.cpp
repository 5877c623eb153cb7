#include "transfer/module_channel.h"

#include <algorithm>

namespace lumivert {

ModuleChannel::ModuleChannel(TComm& comm) : comm_(comm) {
    comm_.setOnReceiveData([this](TComm&, const std::uint8_t* bytes, std::uint16_t length) {
        received(bytes, length);
    });
    comm_.setOnRequestHangup([this](TComm&) { hungUp(); });
}

ModuleChannel::~ModuleChannel() {
    comm_.setOnReceiveData({});
    comm_.setOnRequestHangup({});
}

void ModuleChannel::openPort() {
    comm_.OpenPort();
    portLost_ = false;
}

void ModuleChannel::setReplyEnd(const std::string& replyEnd) {
    replyEnd_ = replyEnd;
    tail_.clear();
    comm_.setReplyEnd(replyEnd);
}

void ModuleChannel::expectAnswer() {
    replyFlag_.lower();
    tail_.clear();
    bytesSinceExpect_ = false;
    ++counts_.exchanges;
}

void ModuleChannel::received(const std::uint8_t* bytes, std::uint16_t length) {
    ++counts_.deliveries;
    bytesSinceExpect_ = true;
    if (replyEnd_.empty() || holdsReplyEnd({bytes, length})) {
        replyFlag_.raise();
    }
    if (received_) {
        received_(bytes, length);
    }
}

// Whether the reply end is among `bytes`, with the end of the bytes before them; counts each
// time it is.
bool ModuleChannel::holdsReplyEnd(std::span<const std::uint8_t> bytes) {
    std::string text = tail_;
    text.append(bytes.begin(), bytes.end());
    bool found = false;
    std::size_t afterLast = 0;
    for (std::size_t at = text.find(replyEnd_); at != std::string::npos;
         at = text.find(replyEnd_, afterLast)) {
        ++counts_.framedAnswers;
        found = true;
        afterLast = at + replyEnd_.size();
    }
    // A reply end may be split between two deliveries.
    const std::size_t keep = std::min(text.size() - afterLast, replyEnd_.size() - 1);
    tail_ = text.substr(text.size() - keep);
    return found;
}

void ModuleChannel::hungUp() {
    if (!comm_.isOpen() || portLost_) {
        return;
    }
    portLost_ = true;
    if (lost_) {
        lost_();
    }
}

bool answersOutnumberExchanges(const AnswerCounts& counts, bool framed) {
    return (framed ? counts.framedAnswers : counts.deliveries) > counts.exchanges;
}

} // namespace lumivert
