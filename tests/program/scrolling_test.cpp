// Turning pages on the virtual clock.
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app.h"
#include "core/clock.h"
#include "navigation/scrolling.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "toolbutton/toolbutton.h"

class ScrollingTest : public ProgramTest {
protected:
    struct ViewChange {
        std::uint64_t time;
        LONG offset;
    };

    // A notepad of `pages` pages whose every page carries a different mark, so a screen that shows
    // the wrong rows is caught.
    void WriteNotepad(int pages) {
        WriteBmp(NotepadPath(), 240, pages * 320, [](int x, int y) {
            const int page = y / 320;
            return (y % 320 == 40 + page * 20 && x < 200) || (x == 10 + page * 7) || (x + y) % 97 == 0;
        });
    }

    // Records every change of the view at the moments the clock is read; with `cost` each
    // reading also takes that long, as on a machine that falls behind while it draws.
    void TraceView(std::uint64_t cost = 0) {
        trace_.clear();
        platform::clock_set_reading_hook([this, cost] {
            if (trace_.empty() || trace_.back().offset != ViewOffset)
                trace_.push_back({platform::clock_peek(), ViewOffset});
            platform::clock_advance(cost);
        });
    }

    std::vector<LONG> Steps() const {
        std::vector<LONG> steps;
        for (std::size_t i = 1; i < trace_.size(); ++i) steps.push_back(trace_[i].offset - trace_[i - 1].offset);
        return steps;
    }

    // The moments the view first reached each page top.
    std::vector<std::uint64_t> PageArrivals() const {
        std::vector<std::uint64_t> arrivals;
        for (const ViewChange& change : trace_)
            if (change.offset % PageHeight == 0) arrivals.push_back(change.time);
        return arrivals;
    }

    bool ScreenShowsImageOutsideIndicator() const { return ScreenShowsImage(WhiteInk, BluePage, false); }

    void HoldKey(int vk) { screen_->push({platform::DeviceEvent::Type::KeyDown, 0, 0, vk}); }
    void ReleaseKey(int vk) { screen_->push({platform::DeviceEvent::Type::KeyUp, 0, 0, vk}); }

    std::vector<ViewChange> trace_;
};

// A machine behind the clock doubles its steps and ends on the rows left; one that draws in no
// time scrolls row by row, then sleeps out the budget. The tick count wraps half-way through the
// first turn, which neither rushes nor stalls it.
TEST_F(ScrollingTest, ATurnDoublesItsStepsWhenBehindEvenAcrossTheTickCountsWrapAndGoesRowByRowWhenDrawingTakesNoTime) {
    UseScreen(240, 320, (std::uint64_t{1} << 32) - 500);
    OnNewPad([this] {
        TraceView(100);
        EXPECT_EQ(ScrollPageAnimated(1, AnimatedPageBudget), 1);
        EXPECT_EQ(Steps(), (std::vector<LONG>{1, 2, 4, 8, 16, 32, 64, 128, 65}));
        EXPECT_EQ(ViewOffset, 320);
        EXPECT_TRUE(ScreenShowsImageOutsideIndicator());

        screen_->set_refresh_rate(0);
        TraceView();
        const std::uint64_t start = platform::clock_peek();
        EXPECT_EQ(ScrollPageAnimated(-1, AnimatedPageBudget), 1);
        platform::clock_set_reading_hook(nullptr);
        EXPECT_EQ(Steps(), std::vector<LONG>(320, -1));
        EXPECT_EQ(platform::clock_peek() - start, 500u);
    });
}

// Page arrivals are the starts of the pages' budgets only where drawing takes no time.
TEST_F(ScrollingTest, HoldingDownAnimatesFivePagesThenFlipsAndStopsAtTheLastWithOneBeepAndLettingGoEndsTheHoldAfterThePage) {
    screen_->set_refresh_rate(0);
    WriteNotepad(10);
    std::uint64_t start = 0;
    Idle([this, &start] {
        TraceView();
        start = platform::clock_peek();
        // While the key is held, check at the middle of every page's pause that the screen shows
        // the page's rows and not a smear of the last copies.
        std::uint64_t at = start;
        for (int page = 0; page < 9; ++page) {
            const std::uint64_t budget = page < 5 ? 500 : 200;
            screen_->at_time(at + budget / 2, [this] { EXPECT_TRUE(ScreenShowsImageOutsideIndicator()); });
            at += budget;
        }
        HoldKey(VK_DOWN);
    });
    Idle([this] {
        platform::clock_set_reading_hook(nullptr);
        EXPECT_EQ(std::tuple(ViewOffset, PagesMoved, screen_->beeps()), std::tuple(9 * 320, 9u, 1));
        const std::vector<std::uint64_t> arrivals = PageArrivals();
        ASSERT_EQ(arrivals.size(), 10u);
        // Each move sleeps out its budget before the next one starts: exactly moves 1 to 5 are
        // animated, and the flips after them take less than an animated page.
        for (std::size_t move = 1; move + 1 < arrivals.size(); ++move) {
            EXPECT_GE(arrivals[move + 1] - arrivals[move], move <= 5 ? 500u : 200u) << "move " << move;
            if (move > 5) {
                EXPECT_LT(arrivals[move + 1] - arrivals[move], 500u) << "move " << move;
            }
        }
        // The limit: a 500 ms pause with the number shown, then 100 ms after the flush.
        EXPECT_GE(platform::clock_peek() - arrivals.back(), 200u + 500u + 100u);
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
        ReleaseKey(VK_DOWN);
    });
    // Let go during the third page, the hold ends after it.
    Idle([this] {
        screen_->at_time(platform::clock_peek() + 1250, [this] { ReleaseKey(VK_UP); });
        HoldKey(VK_UP);
    });
    Idle([this] {
        EXPECT_EQ(std::tuple(ViewOffset, PagesMoved, screen_->beeps()), std::tuple(6 * 320, 3u, 1));
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
    });
    Finish();
}

// Three quick notches are three pages: the two that come while the first page moves are counted, not
// flushed; notches past the end are dropped after one beep, and a key's repeats are still flushed.
TEST_F(ScrollingTest, WheelNotchesDuringATurnTurnThatManyMorePagesAndAtEitherEndTheKeyBeepsAndFlushes) {
    WriteNotepad(5);
    const auto notch = [this](int turn) { screen_->push({platform::DeviceEvent::Type::Wheel, 100, 100, 0, false, turn}); };
    Idle([this, notch] {
        const std::uint64_t start = platform::clock_peek();
        screen_->at_time(start + 100, [notch] { notch(-1); });
        screen_->at_time(start + 200, [notch] { notch(-1); });
        notch(-1);
    });
    Idle([this, notch] {
        EXPECT_EQ(std::tuple(ViewOffset, screen_->beeps()), std::tuple(3 * 320, 0));
        const std::uint64_t start = platform::clock_peek();
        screen_->at_time(start + 100, [notch] { notch(-3); });
        notch(-1);
    });
    Idle([this] {
        EXPECT_EQ(std::tuple(ViewOffset, screen_->beeps()), std::tuple(4 * 320, 1));
        const std::uint64_t start = platform::clock_peek();
        screen_->at_time(start + 100, [this] {
            screen_->push({platform::DeviceEvent::Type::KeyDown, 0, 0, VK_UP, true});
            screen_->push({platform::DeviceEvent::Type::KeyUp, 0, 0, VK_UP});
        });
        Press(VK_UP);
    });
    Idle([] { EXPECT_EQ(ViewOffset, 3 * 320); });
    // At either end the key shows the number, beeps and throws away the input that came meanwhile.
    std::uint64_t start = 0;
    for (int vk : {VK_UP, VK_DOWN}) {
        Idle([this, vk, &start] {
            ViewOffset = vk == VK_UP ? 0 : 4 * 320;
            RepaintFromImage(0, 0, PageWidth, PageHeight);
            start = platform::clock_peek();
            // While the number shows, a tap on the page is queued; the flush must drop it.
            screen_->at_time(start + 200, [this] {
                EXPECT_EQ(Pixel(0, 0), WhiteInk);
                EXPECT_EQ(Pixel(5, 5), BluePage);
                Stroke({{120, 200}});
            });
            const int beeps = screen_->beeps();
            screen_->at_time(start + 450, [this, beeps] { EXPECT_EQ(screen_->beeps(), beeps + 1); });
            Press(vk);
        });
        Idle([this, vk, &start] {
            EXPECT_EQ(std::tuple(ViewOffset, platform::clock_peek() - start, DirtyFlag),
                      std::tuple(vk == VK_UP ? 0 : 4 * 320, 400u + 100u, 0));
            EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
        });
    }
    Finish();
}

// ScrollViewBy clamps and draws nothing when the view cannot move; a view half a page from the top
// turns to the first row. The turns leave the tool button showing, and shutdown removes it.
TEST_F(ScrollingTest, TurnsAndScrollsStopAtTheEndsOfTheNotepadAndLeaveTheButtonShowing) {
    WriteNotepad(5);
    Idle([this] {
        ScrollViewBy(-10);
        EXPECT_EQ(ViewOffset, 0);
        screen_->forget_presented();
    });
    Idle([this] {
        EXPECT_TRUE(screen_->presented().empty());
        ScrollViewBy(2 * PageHeight + 7);
        EXPECT_EQ(ViewOffset, 2 * PageHeight + 7);
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
        ScrollViewBy(-PageHeight / 3);
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
        ScrollViewBy(10 * PageHeight);
        EXPECT_EQ(ViewOffset, 4 * PageHeight);
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));

        ViewOffset = 160;
        RepaintFromImage(0, 0, PageWidth, PageHeight);
        EXPECT_EQ(ScrollPageAnimated(-1, AnimatedPageBudget), 1);
        EXPECT_EQ(ViewOffset, 0);
        EXPECT_TRUE(ScreenShowsImageOutsideIndicator());

        ViewOffset = 160;
        EXPECT_EQ(FlipPage(-1, FlippedPageBudget), 1);
        EXPECT_EQ(ViewOffset, 0);
        EXPECT_TRUE(ScreenShowsImageOutsideIndicator());
        EXPECT_EQ(FlipPage(-1, FlippedPageBudget), 0);

        EXPECT_NE(Pixel(224, 15), BluePage);
        // Hidden, the button leaves the page behind it; a repaint of the main window draws it again.
        HideToolButton();
        EXPECT_TRUE(ScreenShowsImageOutsideIndicator());
        ShowWindow(ToolButton, SW_SHOW);
        InvalidateRect(MainWindow, nullptr, FALSE);
        UpdateWindow(MainWindow);
        EXPECT_NE(Pixel(224, 15), BluePage);
    });
    Finish();
    EXPECT_FALSE(IsWindow(ToolButton));
}

// On a 60 Hz display a clock read waits a refresh after the last present once a frame is waiting,
// so the animation falls behind the clock as on a real screen: its doubling rule moves the page in
// about ten frames over the first ~200 ms, each a whole refresh after the one before, the hidden
// button's frame too, so that each is seen whenever the display's own refreshes begin.
class TurnFramesTest : public ScrollingTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(TurnFramesTest, ATurnIsAboutTenFramesEachInARefreshOfItsOwn) {
    UseScreen(GetParam().first, GetParam().second);
    OnNewPad([this] {
        const std::size_t before = screen_->present_times().size();
        const std::uint64_t start = platform::clock_since_start();
        EXPECT_EQ(ScrollPageAnimated(1, AnimatedPageBudget), 1);
        const std::vector<std::uint64_t> frames(screen_->present_times().begin() + static_cast<std::ptrdiff_t>(before),
                                                screen_->present_times().end());
        EXPECT_GE(frames.size(), 6u);
        EXPECT_LE(frames.size(), 14u);
        for (std::size_t i = 1; i < frames.size(); ++i)
            EXPECT_GE(frames[i] - frames[i - 1], 17u) << "frames " << i - 1 << " and " << i;
        EXPECT_LT(frames.back() - start, 300u) << "the page moved in the first part of its budget";
        // Then it sleeps out the rest; its budget starts once the hidden button's frame is shown.
        EXPECT_GE(platform::clock_since_start() - start, 500u);
        EXPECT_LE(platform::clock_since_start() - start, 500u + 17u);
        EXPECT_EQ(ViewOffset, PageHeight);
        EXPECT_TRUE(ScreenShowsImageOutsideIndicator());
    });
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, TurnFramesTest,
                         ::testing::Values(std::pair(240, 320), std::pair(1920, 1080), std::pair(3840, 2160)));
