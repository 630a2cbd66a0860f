// first_paint ROUNDS GAME SAME_SCREEN, on DISPLAY: each round times the game, the same screen and
// the bare window (SAME_SCREEN --bare) from spawn to first paint (docs/bench.md). Prints per run:
// program, round, ms to first paint (-1: none in 20 s), ru_maxrss in KiB, CPU ms by then.
#include "tests/design.h"
// Xlib after the game's headers: its macros (None among them) would rewrite their names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Part {
    QRect r;
    int minInk;
    bool (*ink)(int, int, int);
};

struct Program {
    const char *name, *path;
    std::vector<Part> parts;
    const char* option = nullptr;
};

Display* display = nullptr;

bool showsContent(Window window, const Program& program) {
    static const QSize size = fernwick::design::clientSize();
    auto* image = XGetImage(display, window, 0, 0, size.width(), size.height(), AllPlanes, ZPixmap);
    if (!image) return false;  // not viewable yet
    const bool shown = std::ranges::all_of(program.parts, [&](const Part& p) {
        int ink = 0, light = 0;
        for (int y = p.r.top(); y <= p.r.bottom(); ++y)
            for (int x = p.r.left(); x <= p.r.right(); ++x) {
                const unsigned long v = XGetPixel(image, x, y);
                const int r = int(v >> 16) & 0xff, g = int(v >> 8) & 0xff, b = int(v) & 0xff;
                ink += p.ink(r, g, b);
                light += r >= 160 && g >= 160 && b >= 160;
            }
        return ink >= p.minInk && 4 * light >= p.r.width() * p.r.height();
    });
    XDestroyImage(image);
    return shown;
}

// The process's top-level window (its _NET_WM_PID), in the root or in a frame of the WM.
Window windowOf(pid_t pid, Window parent, int depth) {
    static const Atom wmPid = XInternAtom(display, "_NET_WM_PID", False);
    Window root, up, *children = nullptr, found = 0;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        Atom type;
        int format;
        unsigned long n, rest;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], wmPid, 0, 1, False, AnyPropertyType, &type,
                               &format, &n, &rest, &data) == Success &&
            n == 1 && pid_t(*reinterpret_cast<unsigned long*>(data)) == pid)
            found = children[i];
        if (data) XFree(data);
        if (!found && depth > 1) found = windowOf(pid, children[i], depth - 1);
    }
    if (children) XFree(children);
    return found;
}

// CLOCK_MONOTONIC in ms; given a process, the CPU time of all its threads.
double ms(pid_t pid = 0) {
    clockid_t clock = CLOCK_MONOTONIC;
    timespec t{};
    if (pid == 0 || clock_getcpuclockid(pid, &clock) == 0) clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Runs the program once and, from round 0 on, prints its line. False: it showed no content.
bool measure(const Program& program, int round) {
    double paint = -1, cpu = -1;
    XSync(display, True);  // drops the reports of earlier runs
    const double start = ms();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program.path), const_cast<char*>(program.option), nullptr};
    if (posix_spawn(&pid, program.path, nullptr, nullptr, argv, environ) != 0) return false;
    pollfd x{ConnectionNumber(display), POLLIN, 0};
    for (Window window = 0; paint < 0 && ms() < start + 20e3;) {
        if (!XPending(display)) poll(&x, 1, 100);
        const double reported = ms();
        bool damaged = false;
        for (XEvent event; XPending(display); damaged = true) XNextEvent(display, &event);
        if (damaged && !window) window = windowOf(pid, DefaultRootWindow(display), 2);
        if (damaged && window && showsContent(window, program)) {
            paint = reported - start;
            cpu = ms(pid);
        }
    }
    usleep(500000);
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGTERM) paint = -1;  // ended early
    if (round >= 0)
        std::printf("%s\t%d\t%.2f\t%ld\t%.2f\n", program.name, round, paint, usage.ru_maxrss, cpu);
    std::fflush(stdout);
    if (paint < 0) std::fprintf(stderr, "first_paint: %s showed no content\n", program.name);
    return paint >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    int events = 0, errors = 0;
    if (argc != 4 || !(display = XOpenDisplay(nullptr)) ||
        !XDamageQueryExtension(display, &events, &errors)) {
        std::fprintf(stderr, "usage: %s ROUNDS GAME SAME_SCREEN, on X with DAMAGE\n", argv[0]);
        return 2;
    }
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XDamageCreate(display, DefaultRootWindow(display), XDamageReportRawRectangles);
    // A part is drawn once its rectangle holds `minInk` pixels of its ink, about half of what the
    // finished part has, and is a quarter light: the heading down to the picture's frame (4,891
    // blue pixels), the dog inside the frame (8,582 coloured: fur, ears, muzzle, tongue), the
    // button's caption (227 dark). No ink is light, so an undrawn window fails the light rule.
    using fernwick::Named, fernwick::design::rect;
    const QRect frame = rect(Named::Picture1), heading = rect(Named::HEADING);
    const std::vector<Part> parts = {
        {heading.adjusted(0, 0, 0, frame.top() - 1 - heading.bottom()), 2000,
         [](int r, int g, int b) { return r <= 32 && g <= 32 && b >= 160 && b <= 224; }},
        {frame.adjusted(2, 2, -2, -2), 4000,
         [](int r, int g, int b) {
             return std::max({r, g, b}) - std::min({r, g, b}) >= 64;
         }},
        {rect(Named::STARTBUTTON), 100,
         [](int r, int g, int b) { return r < 64 && g < 64 && b < 64; }},
    };
    const std::vector<Program> programs = {{"fernwick", argv[2], parts},
                                           {"same_screen", argv[3], parts},
                                           {"bare", argv[3], {parts.back()}, "--bare"}};
    std::printf("program\tround\tpaint_ms\tmaxrss_kib\tcpu_ms\n");
    int failures = 0;
    for (int round = -1; round < std::atoi(argv[1]); ++round)  // round -1 untimed, to warm up
        for (std::size_t k = 0; k < programs.size(); ++k)
            failures += !measure(programs[(std::size_t(round + 1) + k) % programs.size()], round);
    return failures ? 1 : 0;
}
