// The shared modal loop: owners disabled for as long as their loop runs, loops inside loops, and a
// quit passed outward.
#include "window/modal_loop.h"

#include <string>
#include <utility>

#include "window_test_support.h"

using namespace window_test;
using platform::ModalLoop;

namespace {

class Modal : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        outer_box = top_level(10, 10, 200, 200, main, WS_POPUP | WS_VISIBLE);
    }

    // Opens a box owned by the outer box and runs its loop inside the outer one, as a question
    // asked from a dialog does; `inside` runs in the inner loop.
    void on_outer_app_run_inner(std::function<void(ModalLoop&)> inside) {
        handlers[WM_APP] = [this, inside](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
            const HWND inner_box = top_level(20, 20, 100, 100, outer_box, WS_POPUP | WS_VISIBLE);
            ModalLoop inner(outer_box);
            handlers[WM_APP + 1] = [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
                EXPECT_FALSE(IsWindowEnabled(main));
                EXPECT_FALSE(IsWindowEnabled(outer_box));
                inside(inner);
                return 0;
            };
            PostMessageW(inner_box, WM_APP + 1, 0, 0);
            log.push_back(inner.run(inner_box) ? "inner ended" : "inner quit");
            EXPECT_TRUE(IsWindowEnabled(outer_box));
            EXPECT_FALSE(IsWindowEnabled(main)) << "still the outer loop's";
            DestroyWindow(inner_box);
            return 0;
        };
        PostMessageW(outer_box, WM_APP, 0, 0);
    }

    HWND outer_box = nullptr;
    std::vector<std::string> log;
};

// Asked to end, the outer loop first, each loop still ends after the one inside it; a quit ends
// both and reaches the program's own loop.
TEST_F(Modal, NestedLoopsEndInOrderAndAQuitEndsEveryLoopAndReachesTheProgramsOwnLoop) {
    for (const bool quit : {false, true}) {
        log.clear();
        ModalLoop loop(main);
        on_outer_app_run_inner([&loop, quit](ModalLoop& inner) {
            if (quit) return PostQuitMessage(3);
            loop.end();
            inner.end();
        });
        log.push_back(loop.run(outer_box) ? "outer ended" : "outer quit");
        EXPECT_EQ(log, quit ? (std::vector<std::string>{"inner quit", "outer quit"})
                            : (std::vector<std::string>{"inner ended", "outer ended"}));
        EXPECT_TRUE(IsWindowEnabled(main));
    }
    MSG msg;
    EXPECT_EQ(std::pair(GetMessageW(&msg, nullptr, 0, 0), msg.wParam), std::pair(FALSE, WPARAM{3}));
}

}  // namespace
