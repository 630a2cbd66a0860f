// toggle_bench TOGGLES: the real window on the offscreen platform clicked TOGGLES times; prints
// each click with the repaint it causes (its posted events processed), in microseconds, one a line.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "app/qt/accessibility.h"
#include "app/qt/form1_window.h"
#include "tests/hardening/paint_counter.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int toggles = argc == 2 ? std::atoi(argv[1]) : 0;
    fernwick::qt::installAccessibility();
    fernwick::qt::Form1Window window;
    window.showFirstWelcomeScreen();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    QApplication::processEvents();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("STARTBUTTON"));
    fernwick::PaintCounter counter;
    window.findChild<QWidget*>(QStringLiteral("HEADING"))->installEventFilter(&counter);

    QElapsedTimer timer;
    for (int i = 0; i < toggles; ++i) {
        timer.start();
        button->click();
        QApplication::processEvents();
        std::printf("%.1f\n", double(timer.nsecsElapsed()) / 1000.0);
    }
    if (toggles > 0 && counter.paints >= toggles) return 0;
    std::fprintf(stderr, "toggle_bench: %ld heading paints, %d toggles\n", counter.paints, toggles);
    return 1;
}
