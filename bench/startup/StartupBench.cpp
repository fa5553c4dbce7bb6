// Measures, for each program given, the time from starting the process to its
// first window being mapped on the X server, its peak memory and the processor
// time it used, alternating the programs run by run so that all of them see the
// same machine load. Each run is ended as a user would end it: the window is
// asked to close (WM_DELETE_WINDOW) once it has had time to draw itself.
//
//   startup_bench <runs> <yardstick program> <program>...
//
// Ratios are given against the first program. The programs run with a private
// home, configuration and runtime folder, so that they neither read nor change
// the user's settings. Needs an X server without a window manager (DISPLAY set),
// e.g. under tests/support/on-x-server.sh, whose network namespace of its own
// also keeps a copy the user has open from getting in the way.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <poll.h>
#include <signal.h>
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
using Milliseconds = std::chrono::duration<double, std::milli>;

struct Run {
    double startMilliseconds;
    double peakKilobytes;
    double cpuMilliseconds;
};

struct Connection {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(x); }
};

using Event = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

// The next event, or null once `deadline` has passed or the connection is lost.
Event nextEvent(xcb_connection_t* x, Clock::time_point deadline) {
    for (;;) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(x))
            return {event, &std::free};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(x))
            return {nullptr, &std::free};
        pollfd descriptor{xcb_get_file_descriptor(x), POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(left.count()));
    }
}

// The top-level window mapped next, or XCB_NONE on timeout.
xcb_window_t waitForMap(xcb_connection_t* x, Clock::time_point deadline) {
    while (Event event = nextEvent(x, deadline)) {
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
            return reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window;
    }
    return XCB_NONE;
}

xcb_atom_t atom(xcb_connection_t* x, const std::string& name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(x, 0, static_cast<uint16_t>(name.size()), name.c_str());
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(x, cookie, nullptr), &std::free);
    return reply ? reply->atom : XCB_NONE;
}

// What a window manager sends when the user clicks a window's close button.
void askToClose(xcb_connection_t* x, xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(x, "WM_PROTOCOLS");
    message.data.data32[0] = atom(x, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(x, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(x);
}

// Waits up to `timeout` for the process to end; false if it had to be killed.
bool reap(pid_t pid, std::chrono::seconds timeout, rusage& usage) {
    const auto deadline = Clock::now() + timeout;
    int status = 0;
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

double milliseconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

[[noreturn]] void fail(const char* program, const char* what) {
    std::fprintf(stderr, "%s: %s\n", program, what);
    std::exit(1);
}

Run runOnce(xcb_connection_t* x, const char* program) {
    char* const argv[] = {const_cast<char*>(program), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0)
        fail(program, "cannot be started");
    const xcb_window_t window = waitForMap(x, start + std::chrono::seconds(20));
    const auto shown = Clock::now();
    if (window == XCB_NONE) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        fail(program, "no window was mapped");
    }
    // Let the first paint finish, so that its memory counts, then close as a user would.
    while (nextEvent(x, shown + std::chrono::milliseconds(300))) {
    }
    askToClose(x, window);
    rusage usage{};
    if (!reap(pid, std::chrono::seconds(10), usage))
        fail(program, "did not end when its window was closed");
    return {Milliseconds(shown - start).count(), static_cast<double>(usage.ru_maxrss),
            milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime)};
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double quartile(std::vector<double> values, double which) {
    std::ranges::sort(values);
    return values[static_cast<std::size_t>(which * static_cast<double>(values.size() - 1) + 0.5)];
}

std::vector<double> column(const std::vector<Run>& runs, double Run::*field) {
    std::vector<double> values;
    for (const Run& run : runs)
        values.push_back(run.*field);
    return values;
}

// The ratio of each run to the yardstick's run of the same round: rounds run
// back to back, so a change of machine load between rounds cancels out.
double pairedRatio(const std::vector<Run>& runs, const std::vector<Run>& yardstick,
                   double Run::*field) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < runs.size(); ++i)
        ratios.push_back(runs[i].*field / (yardstick[i].*field));
    return median(ratios);
}

std::filesystem::path madeFolder(const std::filesystem::path& in) {
    std::string pattern = in / "startup_bench.XXXXXX";
    if (!mkdtemp(pattern.data()))
        fail("startup_bench", "cannot make a temporary folder");
    return pattern;
}

// A home, configuration, cache and runtime folder of their own for the programs
// measured. The runtime folder lies in memory, as a desktop session's does
// (/run/user/<id>): a lock file there costs no disk write.
class PrivateFolders {
public:
    PrivateFolders()
        : m_root(madeFolder(std::filesystem::temp_directory_path()))
        , m_runtime(madeFolder(inMemory())) {
        use("HOME", m_root / "home");
        use("XDG_CONFIG_HOME", m_root / "config");
        use("XDG_CACHE_HOME", m_root / "cache");
        use("XDG_RUNTIME_DIR", m_runtime);
    }
    ~PrivateFolders() {
        std::filesystem::remove_all(m_root);
        std::filesystem::remove_all(m_runtime);
    }

private:
    static std::filesystem::path inMemory() {
        const char* session = std::getenv("XDG_RUNTIME_DIR");
        if (session && std::filesystem::is_directory(session))
            return session;
        if (std::filesystem::is_directory("/dev/shm"))
            return "/dev/shm";
        return std::filesystem::temp_directory_path();
    }

    static void use(const char* variable, const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        setenv(variable, folder.c_str(), 1);
    }

    std::filesystem::path m_root;
    std::filesystem::path m_runtime;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <runs> <yardstick program> <program>...\n", argv[0]);
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

    PrivateFolders folders;
    std::vector<std::vector<Run>> results(programs.size());
    // One warm-up round: every program then starts from a warm file cache, and a
    // program that writes its settings on the first start has done so.
    for (const char* program : programs)
        runOnce(connection.x, program);
    for (int run = 0; run < runs; ++run)
        for (std::size_t i = 0; i < programs.size(); ++i)
            results[i].push_back(runOnce(connection.x, programs[i]));

    std::printf("%d runs each; medians, with the middle half of the start times in brackets\n",
                runs);
    std::printf("%-36s %24s %7s %11s %7s %9s %7s\n", "program", "start to mapped (ms)", "ratio",
                "peak (KiB)", "ratio", "CPU (ms)", "ratio");
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const std::vector<double> starts = column(results[i], &Run::startMilliseconds);
        char spread[32];
        std::snprintf(spread, sizeof spread, "[%.1f-%.1f]", quartile(starts, 0.25),
                      quartile(starts, 0.75));
        std::printf("%-36s %7.1f %16s %7.2f %11.0f %7.2f %9.1f %7.2f\n", programs[i],
                    median(starts), spread,
                    pairedRatio(results[i], results[0], &Run::startMilliseconds),
                    median(column(results[i], &Run::peakKilobytes)),
                    pairedRatio(results[i], results[0], &Run::peakKilobytes),
                    median(column(results[i], &Run::cpuMilliseconds)),
                    pairedRatio(results[i], results[0], &Run::cpuMilliseconds));
    }
    return 0;
}
