#include "serial/thread_priority.h"

#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace lumivert {

void raiseThreadPriority(int steps) {
    // On Linux a nice value belongs to one thread, named by its thread id.
    const auto thread = static_cast<id_t>(::gettid());
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, thread);
    if (errno == 0) {
        ::setpriority(PRIO_PROCESS, thread, nice - steps);
    }
}

} // namespace lumivert
