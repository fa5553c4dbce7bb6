// Measures, for each program given, the time from starting the process to its
// first window being mapped on the X server, and the peak memory of the process,
// alternating the programs run by run so that both see the same machine load.
//
//   startup_bench <runs> <program>...
//
// Needs an X server without a window manager (DISPLAY set, e.g. under xvfb-run).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    double milliseconds;
    long peakKilobytes;
};

struct Connection {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(x); }
};

// Waits for a top-level window to be mapped; false on timeout or a lost connection.
bool waitForMap(xcb_connection_t* x, Clock::time_point deadline) {
    while (Clock::now() < deadline) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(x),
                                                                         &std::free);
        if (!event) {
            if (xcb_connection_has_error(x))
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
            return true;
    }
    return false;
}

Run runOnce(xcb_connection_t* x, const char* program) {
    char* const argv[] = {const_cast<char*>(program), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        std::perror(program);
        std::exit(2);
    }
    const bool mapped = waitForMap(x, start + std::chrono::seconds(20));
    const auto shown = Clock::now();
    // Let the first paint finish before the process is ended, so its memory counts.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!mapped) {
        std::fprintf(stderr, "%s: no window was mapped\n", program);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(shown - start).count(), usage.ru_maxrss};
}

template <typename T> T median(std::vector<T> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <runs> <program>...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::vector<const char*> programs(argv + 2, argv + argc);

    Connection connection;
    if (xcb_connection_has_error(connection.x)) {
        std::fprintf(stderr, "cannot connect to the X server\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection.x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection.x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection.x);

    std::vector<std::vector<Run>> results(programs.size());
    // One warm-up round so that every program starts from a warm file cache.
    for (const char* program : programs)
        runOnce(connection.x, program);
    for (int run = 0; run < runs; ++run)
        for (std::size_t i = 0; i < programs.size(); ++i)
            results[i].push_back(runOnce(connection.x, programs[i]));

    std::printf("%-40s %12s %14s\n", "program", "start (ms)", "peak (KiB)");
    for (std::size_t i = 0; i < programs.size(); ++i) {
        std::vector<double> times;
        std::vector<long> peaks;
        for (const Run& run : results[i]) {
            times.push_back(run.milliseconds);
            peaks.push_back(run.peakKilobytes);
        }
        std::printf("%-40s %12.1f %14ld\n", programs[i], median(times), median(peaks));
    }
    return 0;
}
