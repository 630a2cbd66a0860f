// first_paint ROUNDS GAME SAME_SCREEN, on the X display in DISPLAY: the game, the same screen and
// the bare window (SAME_SCREEN --bare), once untimed and then ROUNDS rounds, the first rotating.
// The clock runs from the spawn to the first DAMAGE report after which the window shows every Part
// of its content; SIGTERM half a second later. Prints per run: program, round, ms to first paint
// (-1: none within 20 s), ru_maxrss in KiB, and CPU ms of all its threads by then.
// The game's table before Xlib, whose macros (None among them) would rewrite its names.
#include "app/control_table.h"
#include "app/window_model.h"
// Xlib.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// A control's rectangle (from the game's table), drawn once it holds `minInk` pixels of its ink
// (about half the finished part's) and is a quarter light.
struct Part {
    int x, y, w, h, minInk;
    bool (*ink)(int, int, int);
};

Part part(std::u16string_view name, int inset, int minInk, bool (*ink)(int, int, int)) {
    const fernwick::WindowModel model;
    std::size_t n = 0;
    while (fernwick::kControlTable.controls[n].name != name) ++n;
    const fernwick::PixelRect r = model.rect(n);
    return {r.left + inset, r.top + inset, r.width - 2 * inset, r.height - 2 * inset, minInk, ink};
}

struct Program {
    const char *name, *path;
    std::vector<Part> parts;
    const char* option = nullptr;
};

Display* display = nullptr;

bool showsContent(Window window, const Program& program) {
    static const fernwick::WindowModel model;
    XImage* image = XGetImage(display, window, 0, 0, unsigned(model.clientWidth()),
                              unsigned(model.clientHeight()), AllPlanes, ZPixmap);
    if (!image) return false;  // not viewable yet
    const bool shown = std::all_of(program.parts.begin(), program.parts.end(), [&](const Part& p) {
        int ink = 0, light = 0;
        for (int y = p.y; y < p.y + p.h; ++y) {
            for (int x = p.x; x < p.x + p.w; ++x) {
                const unsigned long v = XGetPixel(image, x, y);
                const int r = int(v >> 16) & 0xff, g = int(v >> 8) & 0xff, b = int(v) & 0xff;
                ink += p.ink(r, g, b);
                light += r >= 160 && g >= 160 && b >= 160;
            }
        }
        return ink >= p.minInk && 4 * light >= p.w * p.h;
    });
    XDestroyImage(image);
    return shown;
}

// The process's viewable top-level window (its _NET_WM_PID), in the root or in a frame of the WM.
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
        XWindowAttributes attributes;
        if (XGetWindowProperty(display, children[i], wmPid, 0, 1, False, AnyPropertyType, &type,
                               &format, &n, &rest, &data) == Success &&
            n == 1 && pid_t(*reinterpret_cast<unsigned long*>(data)) == pid &&
            XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable)
            found = children[i];
        if (data) XFree(data);
        if (!found && depth > 1) found = windowOf(pid, children[i], depth - 1);
    }
    if (children) XFree(children);
    return found;
}

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double cpuMs(pid_t pid) {
    double ns = 0, onCpu = 0;
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        if (std::ifstream(task.path() / "schedstat") >> onCpu) ns += onCpu;
    }
    return ns / 1e6;
}

// Runs the program once and, from round 0 on, prints its line. False: it showed no content.
bool measure(const Program& program, int round) {
    double paintMs = -1, cpu = -1;
    XSync(display, True);  // drops the reports of earlier runs
    const double start = nowMs();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program.path), const_cast<char*>(program.option), nullptr};
    if (posix_spawn(&pid, program.path, nullptr, nullptr, argv, environ) != 0) return false;
    Window window = 0;
    pollfd x{ConnectionNumber(display), POLLIN, 0};
    while (paintMs < 0 && nowMs() < start + 20e3) {
        if (!XPending(display)) poll(&x, 1, 100);
        const double reported = nowMs();
        bool damaged = false;
        for (XEvent event; XPending(display); damaged = true) XNextEvent(display, &event);
        if (damaged && !window) window = windowOf(pid, DefaultRootWindow(display), 2);
        if (damaged && window && showsContent(window, program)) {
            paintMs = reported - start;
            cpu = cpuMs(pid);
        }
    }
    usleep(500000);
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGTERM) paintMs = -1;  // ended early
    if (round >= 0)
        std::printf("%s\t%d\t%.2f\t%ld\t%.2f\n", program.name, round, paintMs, usage.ru_maxrss,
                    cpu);
    std::fflush(stdout);
    if (paintMs < 0) std::fprintf(stderr, "first_paint: %s showed no content\n", program.name);
    return paintMs >= 0;
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
    // The heading down to the picture's frame (4,891 blue pixels drawn), the dog (8,582 coloured:
    // fur, ears, muzzle, tongue), the button's caption (227 dark). None of the inks is light, so
    // an undrawn window fails the light-face rule.
    Part heading = part(u"HEADING", 0, 2000, [](int r, int g, int b) {
        return r <= 32 && g <= 32 && b >= 160 && b <= 224;
    });
    const Part dog = part(u"Picture1", 2, 4000, [](int r, int g, int b) {
        return std::max({r, g, b}) - std::min({r, g, b}) >= 64;
    });
    const Part button = part(u"STARTBUTTON", 0, 100,
                             [](int r, int g, int b) { return r < 64 && g < 64 && b < 64; });
    heading.h = dog.y - 2 - heading.y;
    const std::vector<Program> programs = {{"fernwick", argv[2], {heading, dog, button}},
                                           {"same_screen", argv[3], {heading, dog, button}},
                                           {"bare", argv[3], {button}, "--bare"}};
    std::printf("program\tround\tpaint_ms\tmaxrss_kib\tcpu_ms\n");
    int failures = 0;
    for (int round = -1; round < std::atoi(argv[1]); ++round) {  // round -1 untimed, to warm up
        for (std::size_t k = 0; k < programs.size(); ++k)
            failures += !measure(programs[(std::size_t(round + 1) + k) % programs.size()], round);
    }
    return failures ? 1 : 0;
}
