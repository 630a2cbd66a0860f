/* A second, independent measure of start-up to first paint, on the X display in DISPLAY:
 *
 *   probe RUNS GAME SAME_SCREEN BARE
 *
 * Where startup_bench finds each program's window and polls it, the probe never looks at the
 * program's windows. It learns once, from an untimed run of each program, where on the screen the
 * 239 x 286 client area lands, and then watches the screen itself: the X server reports every
 * drawing on the root window and its children (the DAMAGE extension), and after each batch of
 * reports the probe reads that screen rectangle back and checks it. The check is the bench's rule,
 * written afresh: the heading, the dog and the button (the bare window: the button) each show about
 * half the pixels of their own ink on a light face. The clock runs from just before the spawn to
 * the report that brought the frame which passed. Half a second later the program is ended with
 * SIGTERM, and its peak resident set is the kernel's own account at its end (ru_maxrss).
 *
 * Rounds run the three programs one after the other, the first rotating. Writes one line per run:
 * program, round, milliseconds to first paint, ru_maxrss in KiB.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

extern char** environ;

enum { kWidth = 239, kHeight = 286 };

typedef struct {
    int x, y, w, h, min_ink;
    int (*ink)(unsigned r, unsigned g, unsigned b);
} Part;

static int heading_blue(unsigned r, unsigned g, unsigned b) {
    return r <= 32 && g <= 32 && b >= 160 && b <= 224;
}
static int coloured(unsigned r, unsigned g, unsigned b) {
    unsigned hi = r > g ? r : g, lo = r < g ? r : g;
    hi = b > hi ? b : hi;
    lo = b < lo ? b : lo;
    return hi - lo >= 64;
}
static int dark(unsigned r, unsigned g, unsigned b) { return r < 64 && g < 64 && b < 64; }

static const Part kParts[] = {
    {8, 0, 225, 88, 2000, heading_blue}, /* the heading above the picture frame */
    {42, 90, 149, 157, 4000, coloured},  /* the dog inside the frame's border */
    {8, 256, 225, 25, 100, dark},        /* the button and its caption */
};

typedef struct {
    const char* name;
    const char* path;
    int first_part; /* the parts drawn: kParts[first_part] to the last */
    int x, y;       /* where the client area lands on the screen */
} Program;

static Display* display;

static int ignore_errors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static pid_t spawn(const char* path) {
    pid_t pid;
    char* argv[] = {(char*)path, NULL};
    return posix_spawn(&pid, path, NULL, NULL, argv, environ) == 0 ? pid : 0;
}

static long end_program(pid_t pid) {
    struct rusage usage;
    int status;
    kill(pid, SIGTERM);
    if (wait4(pid, &status, 0, &usage) != pid) return -1;
    return usage.ru_maxrss;
}

/* Whether the client area at (x, y) on the screen shows every part from kParts[first] on. */
static int shows_content(int x, int y, int first) {
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), x, y, kWidth, kHeight, AllPlanes, ZPixmap);
    int ok = image != NULL;
    for (int i = first; ok && i < (int)(sizeof kParts / sizeof kParts[0]); ++i) {
        const Part* p = &kParts[i];
        int ink = 0, light = 0;
        for (int row = p->y; row < p->y + p->h; ++row) {
            for (int col = p->x; col < p->x + p->w; ++col) {
                unsigned long v = XGetPixel(image, col, row);
                unsigned r = (v >> 16) & 0xff, g = (v >> 8) & 0xff, b = v & 0xff;
                ink += p->ink(r, g, b);
                light += r >= 160 && g >= 160 && b >= 160;
            }
        }
        ok = ink >= p->min_ink && 4 * light >= p->w * p->h;
    }
    if (image) XDestroyImage(image);
    return ok;
}

/* A viewable window of the client area's size, searched two levels down from `parent`. */
static Window client_window(Window parent, int depth) {
    Window root, up, *children = NULL, found = 0;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable &&
            a.width == kWidth && a.height == kHeight) {
            found = children[i];
        } else if (depth > 1) {
            found = client_window(children[i], depth - 1);
        }
    }
    if (children) XFree(children);
    return found;
}

/* Runs the program untimed until its client area is on the screen, and notes where. */
static int locate(Program* program) {
    pid_t pid = spawn(program->path);
    if (!pid) return 0;
    Window root = DefaultRootWindow(display), child, window = 0;
    int shown = 0;
    double deadline = now_ms() + 20e3;
    while (!window && now_ms() < deadline) {
        window = client_window(root, 2);
        if (!window) nanosleep(&(struct timespec){0, 5000000}, NULL);
    }
    if (window) {
        XTranslateCoordinates(display, window, root, 0, 0, &program->x, &program->y, &child);
        while (!(shown = shows_content(program->x, program->y, program->first_part)) &&
               now_ms() < deadline)
            nanosleep(&(struct timespec){0, 5000000}, NULL);
    }
    end_program(pid);
    return shown;
}

/* One timed run: milliseconds to first paint, or -1 after 20 s without it. */
static double measure(const Program* program, long* max_rss) {
    XSync(display, True); /* drops the reports of earlier runs */
    double start = now_ms(), painted = -1;
    pid_t pid = spawn(program->path);
    if (!pid) return -1;
    struct pollfd x = {ConnectionNumber(display), POLLIN, 0};
    while (painted < 0 && now_ms() < start + 20e3) {
        if (!XPending(display)) poll(&x, 1, 100);
        double reported = now_ms();
        int damaged = 0;
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            damaged = 1;
        }
        if (damaged && shows_content(program->x, program->y, program->first_part))
            painted = reported - start;
    }
    nanosleep(&(struct timespec){0, 500000000}, NULL);
    *max_rss = end_program(pid);
    return painted;
}

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: %s RUNS GAME SAME_SCREEN BARE\n", argv[0]);
        return 2;
    }
    int runs = atoi(argv[1]), events, errors;
    display = XOpenDisplay(NULL);
    if (!display || !XDamageQueryExtension(display, &events, &errors)) {
        fprintf(stderr, "probe: no X display with the DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    Program programs[] = {{"fernwick", argv[2], 0, 0, 0},
                          {"same_screen", argv[3], 0, 0, 0},
                          {"bare", argv[4], 2, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        if (!locate(&programs[i])) {
            fprintf(stderr, "probe: %s did not show its content within 20 s\n", programs[i].name);
            return 1;
        }
    }
    XDamageCreate(display, DefaultRootWindow(display), XDamageReportRawRectangles);

    printf("program\tround\tpaint_ms\tmaxrss_kib\n");
    int failures = 0;
    for (int round = 0; round < runs; ++round) {
        for (int k = 0; k < 3; ++k) {
            const Program* program = &programs[(round + k) % 3];
            long max_rss = -1;
            double ms = measure(program, &max_rss);
            printf("%s\t%d\t%.2f\t%ld\n", program->name, round, ms, max_rss);
            fflush(stdout);
            failures += ms < 0;
        }
    }
    XCloseDisplay(display);
    return failures ? 1 : 0;
}
