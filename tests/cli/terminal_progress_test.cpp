// The progress bar of the command line on a terminal.
#include "cli/terminal_progress.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace zelkor::cli {
namespace {

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

TEST(TerminalProgress, OnATerminalWhatIsPrintedNextStartsALineOfItsOwn) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    std::FILE* out = ::fdopen(slave, "w");
    {
        TerminalProgress progress(out);
        progress.setText("x");
        progress.setPosition(50);
        endProgressLine();
        std::fputs("message\n", out);
        progress.setPosition(100);
    }
    std::fclose(out);
    EXPECT_EQ(readAll(master), "\r[##########          ]  50% x\x1b[K\n"
                               "message\n"
                               "\r[####################] 100% x\x1b[K\n");
    ::close(master);
}

} // namespace
} // namespace zelkor::cli
