// A port the user may not use: the error says which group opens it and how to join it.
#include "serial/tcomm.h"
#include "tests/support/child_process.h"
#include "tests/support/pty_pair.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivert::testing {
namespace {

// Opens `path` as a user the device's permissions apply to, in a child process, and gives
// the error it met.
std::string openingErrorAsUser(const std::string& path) {
    int pipeEnds[2] = {-1, -1};
    if (::pipe(pipeEnds) != 0) {
        return "no pipe";
    }
    inChildProcess([&] {
        ::close(pipeEnds[0]);
        std::string error = "opened";
        if (!becomeUnprivileged()) {
            error = "could not become nobody";
        } else {
            try {
                TComm comm;
                comm.setCommName(path);
                comm.OpenPort();
            } catch (const ECommsError& failure) {
                error = failure.what();
            }
        }
        return ::write(pipeEnds[1], error.data(), error.size()) ==
                       static_cast<ssize_t>(error.size())
                   ? 0
                   : 1;
    });
    ::close(pipeEnds[1]);
    std::string error;
    char chunk[256];
    for (ssize_t got = 0; (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
        error.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    return error;
}

TEST(PortPermissionTest, NamesTheGroupAndTheCommandThatAddsTheUser) {
    PtyPair pty;
    ASSERT_EQ(::chmod(pty.path().c_str(), 0600), 0); // the owner's alone
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(pty.path().c_str(), 0000), 0); // not even the owner's
    }
    const std::string error = openingErrorAsUser(pty.path());

    EXPECT_EQ(error.rfind("打开串口出错\r\n", 0), 0u) << error;
    EXPECT_NE(error.find(pty.path()), std::string::npos) << error;
    // Pseudo-terminals belong to the group tty, adapters to dialout: the device's own group.
    struct stat status {};
    ASSERT_EQ(::stat(pty.path().c_str(), &status), 0);
    const group* owner = status.st_gid == 0 ? nullptr : ::getgrgid(status.st_gid);
    const std::string command = std::string("sudo usermod -aG ") +
                                (owner != nullptr ? owner->gr_name : "dialout") + " $USER";
    EXPECT_NE(error.find(command), std::string::npos) << error;
    EXPECT_NE(error.find("log out and in again"), std::string::npos) << error;
}

} // namespace
} // namespace lumivert::testing
