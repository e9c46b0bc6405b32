#include "window_test_support.h"

using namespace window_test;

namespace {

class Paint : public WindowTest {
protected:
    // The paint rectangles the windows saw, painting through BeginPaint/EndPaint.
    std::vector<std::pair<HWND, RECT>> painted;

    void SetUp() override {
        WindowTest::SetUp();
        handlers[WM_PAINT] = [this](HWND w, UINT, WPARAM, LPARAM) -> LRESULT {
            PAINTSTRUCT ps;
            BeginPaint(w, &ps);
            painted.emplace_back(w, ps.rcPaint);
            EndPaint(w, &ps);
            return 0;
        };
    }
};

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(Paint, ANewWindowPaintsOnceWhole) {
    const HWND w = top_level(5, 5, 100, 50);
    dispatch_all();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].first, w);
    EXPECT_TRUE(same(painted[0].second, {0, 0, 100, 50}));
    dispatch_all();
    EXPECT_EQ(painted.size(), 1u) << "BeginPaint validated";
}

TEST_F(Paint, InvalidAreasUniteAndValidateTakesThemAway) {
    const HWND w = top_level(0, 0, 100, 100);
    dispatch_all();
    painted.clear();
    const RECT a{10, 10, 20, 20};
    const RECT b{50, 60, 70, 80};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, FALSE);
    const RECT outside{200, 200, 300, 300};
    InvalidateRect(w, &outside, FALSE);
    dispatch_all();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_TRUE(same(painted[0].second, {10, 10, 70, 80}));

    painted.clear();
    InvalidateRect(w, nullptr, FALSE);
    const RECT top_band{0, 0, 100, 30};
    ValidateRect(w, &top_band);
    dispatch_all();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_TRUE(same(painted[0].second, {0, 30, 100, 100}));

    painted.clear();
    InvalidateRect(w, &a, FALSE);
    ValidateRect(w, nullptr);
    dispatch_all();
    EXPECT_TRUE(painted.empty());
}

TEST_F(Paint, UpdateWindowPaintsNowOnlyWhenThereIsSomethingToPaint) {
    const HWND w = top_level(0, 0, 100, 100);
    UpdateWindow(w);
    EXPECT_EQ(painted.size(), 1u);
    UpdateWindow(w);
    EXPECT_EQ(painted.size(), 1u);
    InvalidateRect(w, nullptr, TRUE);
    ShowWindow(w, SW_HIDE);
    UpdateWindow(w);
    dispatch_all();
    EXPECT_EQ(painted.size(), 1u) << "a hidden window is not painted";
    ShowWindow(w, SW_SHOW);
    dispatch_all();
    EXPECT_EQ(painted.size(), 2u);
}

TEST_F(Paint, AChildLeavingOrMovingUncoversItsParent) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND button = child(main, 200, 10, 30, 30);
    dispatch_all();
    painted.clear();
    ShowWindow(button, SW_HIDE);
    dispatch_all();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].first, main);
    EXPECT_TRUE(same(painted[0].second, {200, 10, 230, 40}));

    ShowWindow(button, SW_SHOW);
    painted.clear();
    MoveWindow(button, 0, 0, 30, 30, TRUE);
    dispatch_all();
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_TRUE(same(painted[0].second, {200, 10, 230, 40}));
    EXPECT_EQ(painted[1].first, button);
}

TEST_F(Paint, AWindowGoingFromAboveAnotherHasItPaintWhereItWas) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND other = top_level(0, 0, 240, 320);
    const HWND box = top_level(20, 100, 200, 100, main);
    const HWND beside = top_level(0, 0, 10, 10);  // above the box: nothing of it was covered
    SetForegroundWindow(beside);
    dispatch_all();
    painted.clear();
    DestroyWindow(box);
    dispatch_all();
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[0].first, other);
    EXPECT_TRUE(same(painted[0].second, {20, 100, 220, 200}));
    EXPECT_EQ(painted[1].first, main);
    EXPECT_TRUE(same(painted[1].second, {20, 100, 220, 200}));
    EXPECT_TRUE(IsWindow(beside));
}

TEST_F(Paint, EraseIsAskedOnlyWhenRequested) {
    const HWND w = top_level(0, 0, 100, 100);
    dispatch_all();
    received.clear();
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    EXPECT_TRUE(received_of(WM_ERASEBKGND).empty());
    InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    EXPECT_EQ(received_of(WM_ERASEBKGND).size(), 1u);
}

TEST_F(Paint, DeviceContextsBelongToTheirWindow) {
    const HWND a = top_level(0, 0, 100, 100);
    const HWND b = top_level(0, 0, 100, 100);
    const HDC screen_dc = GetDC(nullptr);
    EXPECT_NE(screen_dc, nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, screen_dc), 1);
    const HDC dc = GetDC(a);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ReleaseDC(b, dc), 0) << "not b's";
    EXPECT_EQ(ReleaseDC(a, dc), 1);
    PAINTSTRUCT ps;
    EXPECT_EQ(EndPaint(a, nullptr), FALSE);
    EXPECT_EQ(BeginPaint(a, nullptr), nullptr);
    ps.hdc = nullptr;
    EXPECT_EQ(EndPaint(a, &ps), FALSE);
}

}  // namespace
