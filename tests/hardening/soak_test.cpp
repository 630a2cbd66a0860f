// Soak: the window toggled and repainted a hundred thousand times; the heap stops growing after
// warm-up and the window looks exactly as at the start. Under AddressSanitizer too.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "app/qt/form1_window.h"
#include "app/qt/label_widget.h"
#include "tests/hardening/paint_counter.h"

#if defined(__SANITIZE_ADDRESS__)
#define FERNWICK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FERNWICK_ASAN 1
#endif
#endif

#ifdef FERNWICK_ASAN
#if __has_include(<sanitizer/allocator_interface.h>)
#include <sanitizer/allocator_interface.h>
#else
// GCC's packages leave out the sanitizer headers; the runtime has the function all the same.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif
#else
#include <malloc.h>
#endif

namespace fernwick::qt {
namespace {

// Heap bytes in use; under AddressSanitizer its allocator's figure, as mallinfo2() misses it.
std::int64_t heapInUse() {
#ifdef FERNWICK_ASAN
    return std::int64_t(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return std::int64_t(info.uordblks + info.hblkhd);  // small chunks and mmapped ones
#endif
}

constexpr const char* kHeapSource =
#ifdef FERNWICK_ASAN
    "__sanitizer_get_current_allocated_bytes";
#else
    "mallinfo2 uordblks + hblkhd";
#endif

constexpr int kWarmUpToggles = 500;
constexpr int kSoakToggles = 100000;
constexpr int kReports = 5;
constexpr std::int64_t kAllowedGrowth = 64 * 1024;

TEST(SoakTest, AHundredThousandTogglesLeaveTheHeapAndTheScreenAsTheyWere) {
    auto window = std::make_unique<Form1Window>();
    window->setEndProgram(
        [](int status) { ADD_FAILURE() << "the window reported a failure, status " << status; });
    window->showFirstWelcomeScreen();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto* button = window->findChild<QPushButton*>("STARTBUTTON");
    auto* heading = window->findChild<LabelWidget*>("HEADING");
    ASSERT_TRUE(button && heading);
    PaintCounter headingPaints;
    heading->installEventFilter(&headingPaints);

    auto toggle = [button] {
        button->click();
        QApplication::processEvents();
    };
    QApplication::processEvents();
    const QImage welcome = window->grab().toImage();

    // Warm-up: fonts, glyph caches and pixmaps are all made now.
    for (int i = 0; i < kWarmUpToggles; ++i) toggle();
    ASSERT_EQ(kWarmUpToggles % 2, 0);
    const std::int64_t before = heapInUse();
    const long paintsBefore = headingPaints.paints;
    std::printf("[ heap     ] %s after %d warm-up toggles: %lld bytes\n", kHeapSource,
                kWarmUpToggles, static_cast<long long>(before));

    std::int64_t highest = before;
    for (int report = 1; report <= kReports; ++report) {
        for (int i = 0; i < kSoakToggles / kReports; ++i) toggle();
        const std::int64_t now = heapInUse();
        highest = std::max(highest, now);
        std::printf("[ heap     ] after %6d more toggles: %lld bytes (%+lld)\n",
                    report * (kSoakToggles / kReports), static_cast<long long>(now),
                    static_cast<long long>(now - before));
    }
    std::fflush(stdout);

    EXPECT_LT(highest - before, kAllowedGrowth) << "the heap grows with the toggles";
    EXPECT_GE(headingPaints.paints - paintsBefore, kSoakToggles);
    // An even number of clicks: nothing drawn has drifted from the start, pixel for pixel.
    EXPECT_EQ(window->grab().toImage(), welcome);
}

}  // namespace
}  // namespace fernwick::qt
