// Start-up and peak memory of the real program against the baseline, on the X display in DISPLAY
// (scripts/bench starts Xvfb for it, with a window manager and without one).
//
//   startup_bench RUNS OUT_DIR GAME BASELINE
//
// Each program first runs once to settle, and a screenshot of its window then is its reference.
// After that the two run RUNS times each, interleaved, the one going first alternating. A run is
// timed from just before the process is spawned to the first moment its window shows every part
// exactly as in the reference: for the game the heading, the dog and the button; for the baseline
// its button. The window is read with XGetImage, polled about once a millisecond, part by part.
// Half a second later the peak resident set (VmHWM) is read from /proc, then the window is closed
// the way a window manager closes it (WM_DELETE_WINDOW) and the exit status is collected.
//
// Writes one line per run to stdout: program, run, milliseconds to first complete paint, VmHWM in
// KiB, ru_maxrss in KiB, exit status. The references are saved in OUT_DIR as PPM files.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Rect {
    int x, y, w, h;
};

struct Program {
    std::string name;
    std::string path;
    std::vector<Rect> parts;  // what must be drawn for the paint to count as complete
    std::vector<std::vector<std::uint32_t>> reference;  // the parts' pixels once settled
    int width = 0, height = 0;
};

Display* display = nullptr;

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The process's top-level window once it is mapped: a child of the root where no window manager
// runs, inside the manager's frame where one does. Qt names its windows' process in _NET_WM_PID.
Window shownWindowOf(pid_t pid, Window parent, int depth) {
    static const Atom wmPid = XInternAtom(display, "_NET_WM_PID", False);
    Window root, up, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        Atom type;
        int format;
        unsigned long n, rest;
        unsigned char* data = nullptr;
        XWindowAttributes attributes;
        if (XGetWindowProperty(display, children[i], wmPid, 0, 1, False, XA_CARDINAL, &type,
                               &format, &n, &rest, &data) == Success &&
            n == 1 && pid_t(*reinterpret_cast<unsigned long*>(data)) == pid &&
            XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable) {
            found = children[i];
        }
        if (data) XFree(data);
        if (!found && depth > 1) found = shownWindowOf(pid, children[i], depth - 1);
    }
    if (children) XFree(children);
    return found;
}

Window shownWindowOf(pid_t pid) { return shownWindowOf(pid, DefaultRootWindow(display), 2); }

// A part of the window as 0xRRGGBB pixels, or nothing while it cannot be read (not yet mapped).
std::optional<std::vector<std::uint32_t>> grab(Window window, const Rect& r) {
    XImage* image =
        XGetImage(display, window, r.x, r.y, unsigned(r.w), unsigned(r.h), AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    std::vector<std::uint32_t> pixels;
    pixels.reserve(std::size_t(r.w) * std::size_t(r.h));
    for (int y = 0; y < r.h; ++y) {
        for (int x = 0; x < r.w; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xffffffu);
    }
    XDestroyImage(image);
    return pixels;
}

bool complete(Window window, const Program& program) {
    for (std::size_t i = 0; i < program.parts.size(); ++i) {
        const auto pixels = grab(window, program.parts[i]);
        if (!pixels || *pixels != program.reference[i]) return false;
    }
    return true;
}

long statusKiB(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    }
    return -1;
}

pid_t spawn(const std::string& path) {
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0) return 0;
    return pid;
}

void closeWindow(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

struct Ended {
    int status = -1;  // exit status, or -1 when killed or ended by a signal
    long maxRssKiB = -1;
};

Ended waitForEnd(pid_t pid, int timeoutMs) {
    Ended ended;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    rusage usage{};
    while (true) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) break;
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            return ended;
        }
        pause(5);
    }
    if (WIFEXITED(status)) ended.status = WEXITSTATUS(status);
    ended.maxRssKiB = usage.ru_maxrss;
    return ended;
}

void savePpm(const std::string& file, Window window, int w, int h) {
    const auto pixels = grab(window, {0, 0, w, h});
    if (!pixels) return;
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << w << " " << h << "\n255\n";
    for (std::uint32_t p : *pixels) {
        const char rgb[3] = {char(p >> 16), char(p >> 8), char(p)};
        out.write(rgb, 3);
    }
}

// Runs the program once, lets it settle and keeps its parts as the reference.
bool takeReference(Program& program, const std::string& outDir) {
    const pid_t pid = spawn(program.path);
    if (!pid) return false;
    Window window = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!(window = shownWindowOf(pid)) && Clock::now() < deadline) pause(20);
    if (!window) {
        std::fprintf(stderr, "startup_bench: no window of %s shown within 20 s\n",
                     program.name.c_str());
        kill(pid, SIGKILL);
        waitForEnd(pid, 1000);
        return false;
    }
    pause(1500);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    program.width = attributes.width;
    program.height = attributes.height;
    program.reference.clear();
    bool ok = true;
    for (const Rect& part : program.parts) {
        const auto pixels = grab(window, part);
        if (!pixels) ok = false;
        program.reference.push_back(pixels.value_or(std::vector<std::uint32_t>{}));
    }
    savePpm(outDir + "/" + program.name + "-reference.ppm", window, program.width, program.height);
    closeWindow(window);
    const int status = waitForEnd(pid, 5000).status;
    if (status != 0) {
        std::fprintf(stderr, "startup_bench: %s closed with status %d\n", program.name.c_str(),
                     status);
    }
    return status == 0 && ok;
}

int countIf(const std::vector<std::uint32_t>& pixels, bool (*test)(std::uint32_t)) {
    int n = 0;
    for (std::uint32_t p : pixels) n += test(p);
    return n;
}

bool isHeadingBlue(std::uint32_t p) { return p == 0x0000c0u; }
bool isDark(std::uint32_t p) {
    return ((p >> 16) & 0xff) < 64 && ((p >> 8) & 0xff) < 64 && (p & 0xff) < 64;
}

struct Run {
    double paintMs = -1;
    long hwmKiB = -1;
    Ended ended;
};

Run measure(const Program& program) {
    Run run;
    const auto start = Clock::now();
    const pid_t pid = spawn(program.path);
    if (!pid) return run;
    Window window = 0;
    const auto deadline = start + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        if (!window) window = shownWindowOf(pid);
        if (window && complete(window, program)) {
            run.paintMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    pause(500);
    run.hwmKiB = statusKiB(pid, "VmHWM");
    if (window) closeWindow(window);
    run.ended = waitForEnd(pid, 5000);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s RUNS OUT_DIR GAME BASELINE\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string outDir = argv[2];
    display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_bench: no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);

    // The game's heading, its picture frame and its button; the baseline's button.
    std::vector<Program> programs = {
        {"fernwick", argv[3], {{8, 0, 225, 88}, {40, 88, 153, 161}, {8, 256, 225, 25}}, {}},
        {"baseline", argv[4], {{8, 256, 225, 25}}, {}},
    };
    for (Program& program : programs) {
        if (!takeReference(program, outDir)) {
            std::fprintf(stderr, "startup_bench: %s did not show its window and close cleanly\n",
                         program.name.c_str());
            return 1;
        }
    }
    // A reference taken before everything is drawn would make the timing meaningless.
    const auto& game = programs[0].reference;
    std::set<std::uint32_t> dogColours(game[1].begin(), game[1].end());
    if (countIf(game[0], isHeadingBlue) < 1000 || dogColours.size() < 8 ||
        countIf(game[2], isDark) < 50 || countIf(programs[1].reference[0], isDark) < 50) {
        std::fprintf(stderr,
                     "startup_bench: a reference screenshot lacks the heading, the dog "
                     "or a button label; see %s\n",
                     outDir.c_str());
        return 1;
    }

    std::printf("program\trun\tpaint_ms\tvmhwm_kib\tmaxrss_kib\tstatus\n");
    int failures = 0;
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 2; ++k) {
            const Program& program = programs[std::size_t((i + k) % 2)];
            const Run run = measure(program);
            std::printf("%s\t%d\t%.2f\t%ld\t%ld\t%d\n", program.name.c_str(), i, run.paintMs,
                        run.hwmKiB, run.ended.maxRssKiB, run.ended.status);
            std::fflush(stdout);
            if (run.paintMs < 0 || run.ended.status != 0) ++failures;
        }
    }
    XCloseDisplay(display);
    return failures == 0 ? 0 : 1;
}
