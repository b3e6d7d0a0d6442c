// The desktop program's start as a user has it, from `exec` to the first
// painted contents of its window on the screen, against the same for an
// empty Qt window. Each iteration starts the program afresh and watches
// the X server's DAMAGE events on the top-level windows it makes: the first
// after a window is mapped is the server's own fill of it, the next is the
// program's first paint. Needs an X server with a window manager: run it
// under tests/app/with_window_manager.sh.
#include "second_start_folder.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace zelkor {
namespace {

using Clock = std::chrono::steady_clock;

struct Disconnect {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

// The next event from the server, or none when ten seconds pass without
// one (a program that died paints nothing).
xcb_generic_event_t* nextEvent(xcb_connection_t* c) {
    for (;;) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(c))
            return event;
        pollfd server{xcb_get_file_descriptor(c), POLLIN, 0};
        if (xcb_connection_has_error(c) || ::poll(&server, 1, 10000) <= 0)
            return nullptr;
    }
}

// Runs `command` and returns the seconds to its first painted window, or a
// negative number when the X server cannot tell. The program is killed then:
// its exit is not part of its start.
double secondsToFirstPaint(std::vector<std::string> command) {
    Connection c(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(c.get()))
        return -1;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c.get(), &xcb_damage_id);
    if (damage == nullptr || !damage->present)
        return -1;
    std::free(xcb_damage_query_version_reply(
        c.get(), xcb_damage_query_version(c.get(), XCB_DAMAGE_MAJOR_VERSION, 1), nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data->root;
    const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c.get(), root, XCB_CW_EVENT_MASK, &events);
    // A round trip: the server watches the root before the program starts.
    std::free(xcb_get_input_focus_reply(c.get(), xcb_get_input_focus(c.get()), nullptr));

    std::vector<char*> argv;
    for (std::string& word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const Clock::time_point begin = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    double seconds = -1;
    bool mapped = false;
    int damages = 0;
    while (seconds < 0) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(nextEvent(c.get()),
                                                                         &std::free);
        if (!event)
            break;
        const int type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
            // Windows that take no drawing (input only) refuse; nothing is lost.
            xcb_damage_create(c.get(), xcb_generate_id(c.get()), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(c.get());
        } else if (type == XCB_MAP_NOTIFY) {
            mapped = true;
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY && mapped) {
            const auto* damaged = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
            if (++damages == 2)
                seconds = std::chrono::duration<double>(Clock::now() - begin).count();
            // Reported again only once the damage so far is taken away.
            xcb_damage_subtract(c.get(), damaged->damage, XCB_NONE, XCB_NONE);
            xcb_flush(c.get());
        }
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return seconds;
}

void timeStarts(benchmark::State& state, const std::vector<std::string>& command) {
    for (auto _ : state) {
        const double seconds = secondsToFirstPaint(command);
        if (seconds < 0) {
            state.SkipWithError("no X server with the DAMAGE extension, or no window painted");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_EmptyQtWindowProcess(benchmark::State& state) {
    timeStarts(state, {ZELKOR_EMPTY_WINDOW});
}
BENCHMARK(BM_EmptyQtWindowProcess)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A second start (see secondStartFolder), without the splash.
void BM_DesktopProgramProcess(benchmark::State& state) {
    timeStarts(state,
               {ZELKOR_DESKTOP_PROGRAM, "--no-splash", "--program-folder", secondStartFolder()});
}
BENCHMARK(BM_DesktopProgramProcess)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
} // namespace zelkor

BENCHMARK_MAIN();
