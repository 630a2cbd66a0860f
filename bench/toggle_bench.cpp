// Click to repaint: the real window on the offscreen platform, its button clicked TOGGLES times,
// each click timed together with the repaint it causes (the events it posts processed, so the
// heading and the button are drawn and the backing store flushed).
//
//   toggle_bench TOGGLES TIMES_FILE
//
// Writes each toggle's time in microseconds to TIMES_FILE, one a line, and prints the median and
// the 99th percentile.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/qt/accessibility.h"
#include "app/qt/form1_window.h"
#include "tests/hardening/paint_counter.h"

namespace {

double percentile(std::vector<double> sorted, double p) {
    const std::size_t i = std::min(sorted.size() - 1, std::size_t(p * double(sorted.size())));
    return sorted[i];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TOGGLES TIMES_FILE\n", argv[0]);
        return 2;
    }
    const int toggles = std::atoi(argv[1]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    fernwick::qt::installAccessibility();

    fernwick::qt::Form1Window window;
    window.showFirstWelcomeScreen();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "toggle_bench: the window was never exposed\n");
        return 1;
    }
    QApplication::processEvents();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("STARTBUTTON"));
    auto* heading = window.findChild<QWidget*>(QStringLiteral("HEADING"));
    fernwick::PaintCounter counter;
    heading->installEventFilter(&counter);

    std::vector<double> micros;
    micros.reserve(std::size_t(toggles));
    QElapsedTimer timer;
    for (int i = 0; i < toggles; ++i) {
        timer.start();
        button->click();
        QApplication::processEvents();
        micros.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    if (counter.paints < toggles) {
        std::fprintf(stderr, "toggle_bench: %ld heading paints for %d toggles\n", counter.paints,
                     toggles);
        return 1;
    }

    std::ofstream out(argv[2]);
    for (double us : micros) out << us << '\n';
    std::sort(micros.begin(), micros.end());
    std::printf("toggles\t%d\nmedian_us\t%.1f\np99_us\t%.1f\nmax_us\t%.1f\n", toggles,
                percentile(micros, 0.5), percentile(micros, 0.99), micros.back());
    return 0;
}
