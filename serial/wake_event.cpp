#include "serial/wake_event.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace lumivert {

WakeEvent::WakeEvent() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (!fd_) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

// The counter only grows until cleared; a write that would overflow it fails with EAGAIN,
// and the event is set then anyway.
void WakeEvent::set() {
    const std::uint64_t one = 1;
    while (::write(fd_.get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void WakeEvent::clear() {
    std::uint64_t count = 0;
    while (::read(fd_.get(), &count, sizeof count) < 0 && errno == EINTR) {
    }
}

bool WakeEvent::isSet() const {
    return wait(std::chrono::milliseconds(0));
}

bool WakeEvent::wait(std::chrono::milliseconds timeout) const {
    pollfd entry{fd_.get(), POLLIN, 0};
    const int limit = timeout.count() < 0 ? -1 : static_cast<int>(timeout.count());
    int result = 0;
    do {
        result = ::poll(&entry, 1, limit);
    } while (result < 0 && errno == EINTR);
    return result > 0 && (entry.revents & POLLIN) != 0;
}

} // namespace lumivert
