#include "window/window_table.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

class Paint : public WindowTest {
protected:
    // The paint rectangles the windows saw, painting through BeginPaint/EndPaint.
    using Painted = std::vector<std::pair<HWND, platform::Rect>>;
    Painted painted;

    void SetUp() override {
        WindowTest::SetUp();
        handlers[WM_PAINT] = [this](HWND w, UINT, WPARAM, LPARAM) -> LRESULT {
            PAINTSTRUCT ps;
            BeginPaint(w, &ps);
            painted.emplace_back(w, platform::rect_from(ps.rcPaint));
            EndPaint(w, &ps);
            return 0;
        };
    }
};

TEST_F(Paint, WhatAWindowLeavesIsPaintedByTheWindowsBelow) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND button = child(main, 200, 10, 30, 30);
    const HWND other = top_level(0, 0, 240, 320);
    const HWND box = top_level(20, 100, 200, 100, main);
    const HWND beside = top_level(0, 0, 10, 10);  // above the box: nothing of it was covered
    dispatch_all();
    painted.clear();
    ShowWindow(button, SW_HIDE);
    dispatch_all();
    ShowWindow(button, SW_SHOW);
    MoveWindow(button, 0, 0, 30, 30, TRUE);
    dispatch_all();
    EXPECT_EQ(painted, (Painted{{main, {200, 10, 230, 40}}, {main, {200, 10, 230, 40}}, {button, {0, 0, 30, 30}}}));

    painted.clear();
    DestroyWindow(box);
    dispatch_all();
    EXPECT_EQ(painted, (Painted{{other, {20, 100, 220, 200}}, {main, {20, 100, 220, 200}}}));
    EXPECT_TRUE(IsWindow(beside));
}

}  // namespace
