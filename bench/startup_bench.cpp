// Start-up and peak memory of the game against two other Qt programs, on the X display in DISPLAY
// (scripts/bench starts Xvfb for it, with a window manager and without one).
//
//   startup_bench RUNS OUT_DIR GAME SAME_SCREEN BARE
//
// GAME and SAME_SCREEN show the same screen (the heading, the dog in its frame and the button);
// BARE shows the button alone. Each program first runs once untimed, so that the file cache and
// the session's services are warm for all alike. Then come RUNS rounds; each runs the three
// programs one after the other, the one going first rotating.
//
// A run is timed from just before the process is spawned to the first frame that shows the
// program's own content, judged alike for every program by the parts it draws (see Part below).
// Once the window is mapped, it is read back with XGetImage about every half millisecond. Nothing
// waits for a later state: a frame counts as soon as each part is drawn, whatever the window still
// changes after. Half a second later the peak resident set (VmHWM) is read from /proc, then the
// window is closed the way a window manager closes it (WM_DELETE_WINDOW) and the exit status is
// collected.
//
// Writes one line per run to stdout: program, round, milliseconds to first paint, VmHWM in KiB,
// ru_maxrss in KiB, exit status, and the CPU milliseconds the program had used when its clock
// stopped. In the first round each program's window is read once more right after its clock stopped
// and saved in OUT_DIR as a PPM file, to show what counted.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Pixels = std::vector<std::uint32_t>;  // 0xRRGGBB, row by row

struct Rect {
    int x, y, w, h;
};

int red(std::uint32_t p) { return int(p >> 16) & 0xff; }
int green(std::uint32_t p) { return int(p >> 8) & 0xff; }
int blue(std::uint32_t p) { return int(p) & 0xff; }

// The inks the parts are drawn in. None of them is light, so a window not yet drawn (black, or
// whatever the screen held) is told apart by the light face each part is drawn on.
bool isHeadingBlue(std::uint32_t p) {  // the heading's (0, 0, 192), anti-aliased edges aside
    return red(p) <= 32 && green(p) <= 32 && blue(p) >= 160 && blue(p) <= 224;
}
bool isColoured(std::uint32_t p) {  // the dog's fur, ears, muzzle and tongue; no grey
    return std::max({red(p), green(p), blue(p)}) - std::min({red(p), green(p), blue(p)}) >= 64;
}
bool isDark(std::uint32_t p) {  // black text
    return red(p) < 64 && green(p) < 64 && blue(p) < 64;
}
bool isLight(std::uint32_t p) { return red(p) >= 160 && green(p) >= 160 && blue(p) >= 160; }

// A part of a program's own content: a rectangle of its client area and the ink it is drawn in.
// The part is drawn in a frame when the rectangle holds at least `minInk` pixels of that ink, about
// half what the finished part shows, and at least a quarter of it is light, the face the part is
// drawn on. The rectangles and counts are the same for every program that draws the part.
struct Part {
    Rect rect;
    bool (*ink)(std::uint32_t);
    int minInk;
};

// The heading above the picture frame (4,891 pixels of its blue when drawn), the dog inside the
// frame's border (8,582 coloured pixels) and the button with its caption (227 dark pixels).
const Part kHeading{{8, 0, 225, 88}, isHeadingBlue, 2000};
const Part kDog{{42, 90, 149, 157}, isColoured, 4000};
const Part kButton{{8, 256, 225, 25}, isDark, 100};

bool drawn(const Part& part, const Pixels& pixels) {
    int ink = 0, light = 0;
    for (std::uint32_t p : pixels) {
        ink += part.ink(p);
        light += isLight(p);
    }
    return ink >= part.minInk && 4 * light >= int(pixels.size());
}

struct Program {
    std::string name;
    std::string path;
    std::vector<Part> parts;
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

// A rectangle of the window, or nothing while it cannot be read (not yet mapped).
std::optional<Pixels> grab(Window window, const Rect& r) {
    XImage* image =
        XGetImage(display, window, r.x, r.y, unsigned(r.w), unsigned(r.h), AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    Pixels pixels;
    pixels.reserve(std::size_t(r.w) * std::size_t(r.h));
    for (int y = 0; y < r.h; ++y) {
        for (int x = 0; x < r.w; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xffffffu);
    }
    XDestroyImage(image);
    return pixels;
}

// Whether the window shows every part of the program's content; reads part by part and stops at
// the first that is not drawn yet.
bool showsOwnContent(Window window, const Program& program) {
    for (const Part& part : program.parts) {
        const auto pixels = grab(window, part.rect);
        if (!pixels || !drawn(part, *pixels)) return false;
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

void savePpm(const std::string& file, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return;
    const auto pixels = grab(window, {0, 0, attributes.width, attributes.height});
    if (!pixels) return;
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << attributes.width << " " << attributes.height << "\n255\n";
    for (std::uint32_t p : *pixels) {
        const char rgb[3] = {char(red(p)), char(green(p)), char(blue(p))};
        out.write(rgb, 3);
    }
}

// Waits at most `ms` for the X server to report a change among the root's children (a window
// mapped, or framed by the window manager), and drops the reports. Looking for the window only
// then keeps the timer from loading the X server while the program starts.
void awaitWindowChange(int ms) {
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    if (!XPending(display)) poll(&fd, 1, ms);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// The CPU time the process has had so far, all its threads together, in milliseconds: the
// scheduler's own account, which other work on the machine slows far less than the clock.
double cpuMs(pid_t pid) {
    double ns = 0;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu) ns += onCpu;
    }
    return ns / 1e6;
}

struct Run {
    double paintMs = -1;
    double cpuMs = -1;
    long hwmKiB = -1;
    Ended ended;
};

// One run of the program; the window as the clock stopped is saved to `firstFrame` if given.
Run measure(const Program& program, const std::string& firstFrame = {}) {
    Run run;
    const auto start = Clock::now();
    const pid_t pid = spawn(program.path);
    if (!pid) return run;
    Window window = 0;
    const auto deadline = start + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        if (!window && !(window = shownWindowOf(pid))) {
            awaitWindowChange(10);
            continue;
        }
        if (showsOwnContent(window, program)) {
            run.paintMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            run.cpuMs = cpuMs(pid);
            if (!firstFrame.empty()) savePpm(firstFrame, window);
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
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s RUNS OUT_DIR GAME SAME_SCREEN BARE\n", argv[0]);
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
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    const std::vector<Program> programs = {
        {"fernwick", argv[3], {kHeading, kDog, kButton}},
        {"same_screen", argv[4], {kHeading, kDog, kButton}},
        {"bare", argv[5], {kButton}},
    };
    for (const Program& program : programs) {
        const Run warmUp = measure(program);
        if (warmUp.paintMs < 0 || warmUp.ended.status != 0) {
            std::fprintf(stderr,
                         "startup_bench: %s did not show its content within 20 s and close "
                         "cleanly (status %d)\n",
                         program.name.c_str(), warmUp.ended.status);
            return 1;
        }
    }

    std::printf("program\tround\tpaint_ms\tvmhwm_kib\tmaxrss_kib\tstatus\tcpu_ms\n");
    int failures = 0;
    const std::size_t n = programs.size();
    for (int i = 0; i < runs; ++i) {
        for (std::size_t k = 0; k < n; ++k) {
            const Program& program = programs[(std::size_t(i) + k) % n];
            const Run run =
                measure(program, i == 0 ? outDir + "/" + program.name + "-first-frame.ppm" : "");
            std::printf("%s\t%d\t%.2f\t%ld\t%ld\t%d\t%.2f\n", program.name.c_str(), i, run.paintMs,
                        run.hwmKiB, run.ended.maxRssKiB, run.ended.status, run.cpuMs);
            std::fflush(stdout);
            if (run.paintMs < 0 || run.ended.status != 0) ++failures;
        }
    }
    XCloseDisplay(display);
    return failures == 0 ? 0 : 1;
}
