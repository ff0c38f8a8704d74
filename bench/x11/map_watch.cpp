// map_watch: starts an X client and reports how long it takes to show itself.
//
//   map_watch [--tray-icon] [--timeout SECONDS] -- PROGRAM [ARGUMENT...]
//
// PROGRAM is looked up in PATH when it holds no slash.
// Prints, one line each as it becomes known (stdout, flushed at once):
//   pid N       the client's process id
//   map_us N    microseconds from the spawn to the first window mapped on the root
//   cpu_us N    CPU time the client had used by then (all its threads): unlike
//               map_us, hardly changed by other programs competing for the CPU
//   embed_us N  (--tray-icon) microseconds until the window "Sorimo tray icon"
//               is reparented away from the root, that is, docked by the tray
// Then it closes its own display connection, so that it costs the client
// nothing, and waits for the client: end the client by its pid and its exit
// status becomes ours. SIGTERM, SIGINT and SIGHUP are passed on to the client.
// Exits 3 when a measurement does not come within the timeout (default 30 s),
// after ending the client.
#include <X11/Xlib.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr const char* kTrayIconName = "Sorimo tray icon";

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct XFreeDeleter {
    void operator()(char* p) const { XFree(p); }
};

long long NowUs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

// CPU time spent by every thread of the process so far (the first figure
// of each thread's schedstat, in nanoseconds); -1 when it cannot be read.
long long CpuUs(pid_t pid) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code ec;
    long long total = 0;
    for (const auto& task : std::filesystem::directory_iterator(tasks, ec)) {
        std::ifstream schedstat(task.path() / "schedstat");
        long long ns = 0;
        if (schedstat >> ns) total += ns;
    }
    return ec ? -1 : total / 1000;
}

// The client, for the signal handler to pass signals on.
volatile sig_atomic_t g_client = 0;

void PassOn(int signal) {
    if (g_client > 0) kill(g_client, signal);
}

void InstallPassOn() {
    struct sigaction action {};
    action.sa_handler = &PassOn;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

// A window that went away between its event and our question is no error
// of ours: the answer is simply "no name".
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

struct Options {
    bool trayIcon = false;
    int timeoutS = 30;
    std::vector<char*> argv;  // the client's, null-terminated
};

bool Parse(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--tray-icon") {
            options.trayIcon = true;
        } else if (arg == "--timeout" && i + 1 < argc) {
            options.timeoutS = std::atoi(argv[++i]);
        } else if (arg == "--") {
            ++i;
            break;
        } else {
            break;
        }
    }
    for (; i < argc; ++i) options.argv.push_back(argv[i]);
    if (options.argv.empty() || options.timeoutS <= 0) return false;
    options.argv.push_back(nullptr);
    return true;
}

bool IsTrayIcon(Display* d, Window w) {
    char* raw = nullptr;
    if (!XFetchName(d, w, &raw) || !raw) return false;
    const std::unique_ptr<char, XFreeDeleter> name(raw);
    return std::strcmp(name.get(), kTrayIconName) == 0;
}

// Reads events until the wanted ones came; false on timeout or when the
// client ended first.
bool Watch(Display* d, Window root, const Options& options, pid_t client, long long started) {
    bool mapped = false;
    bool embedded = !options.trayIcon;
    const long long deadline = started + static_cast<long long>(options.timeoutS) * 1000000;
    while (!mapped || !embedded) {
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            const long long at = NowUs() - started;
            // openbox maps the frame it wraps the client in; a window that
            // is not managed is mapped by the client itself. Either is the
            // moment the client shows up.
            if (e.type == MapNotify && e.xmap.event == root && !mapped) {
                mapped = true;
                std::printf("map_us %lld\ncpu_us %lld\n", at, CpuUs(client));
            } else if (e.type == ReparentNotify && e.xreparent.event == root &&
                       e.xreparent.parent != root && !embedded && IsTrayIcon(d, e.xreparent.window)) {
                embedded = true;
                std::printf("embed_us %lld\n", at);
            }
            std::fflush(stdout);
        }
        if (mapped && embedded) break;
        int status = 0;
        if (waitpid(client, &status, WNOHANG) == client) {
            std::fprintf(stderr, "map_watch: the client ended before showing itself\n");
            g_client = 0;
            return false;
        }
        const long long left = deadline - NowUs();
        if (left <= 0) {
            std::fprintf(stderr, "map_watch: timed out\n");
            return false;
        }
        // Short slices: a client that dies is noticed without a SIGCHLD
        // handler interrupting Xlib.
        pollfd fd{ConnectionNumber(d), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left / 1000 < 100 ? left / 1000 + 1 : 100));
    }
    return true;
}

int WaitForClient(pid_t client) {
    int status = 0;
    while (waitpid(client, &status, 0) < 0) {
        if (errno != EINTR) return 1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: map_watch [--tray-icon] [--timeout SECONDS] -- PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "map_watch: cannot open the X display\n");
        return 2;
    }
    XSetErrorHandler(&IgnoreXError);
    Display* d = display.get();
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    // The selection must be in force before the client can map anything.
    XSync(d, False);

    InstallPassOn();
    pid_t client = 0;
    const long long started = NowUs();
    const int error = posix_spawnp(&client, options.argv[0], nullptr, nullptr, options.argv.data(), environ);
    if (error != 0) {
        std::fprintf(stderr, "map_watch: cannot start %s: %s\n", options.argv[0], std::strerror(error));
        return 2;
    }
    g_client = client;
    std::printf("pid %d\n", static_cast<int>(client));
    std::fflush(stdout);

    const bool complete = Watch(d, root, options, client, started);
    display.reset();
    if (!complete) {
        if (g_client > 0) {
            kill(client, SIGTERM);
            WaitForClient(client);
        }
        return 3;
    }
    return WaitForClient(client);
}
