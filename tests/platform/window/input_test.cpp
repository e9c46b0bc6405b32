#include "window_test_support.h"

using namespace window_test;

namespace {

class Input : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        button = child(main, 200, 10, 30, 30);
        dispatch_all();
        received.clear();
    }

    void tap(int x, int y) { screen.push({Type::PointerDown, x, y}); }

    HWND button = nullptr;
};

// A tap goes to the deepest shown window under it, in its coordinates; the capture takes
// everything, decided when the message is taken.
TEST_F(Input, TapsGoToTheDeepestShownWindowAndACaptureTakesEverything) {
    // All three arrive before the program looks; the press takes the capture, and the moves that
    // were already waiting follow it.
    handlers[WM_LBUTTONDOWN] = [](HWND w, UINT, WPARAM, LPARAM) -> LRESULT {
        SetCapture(w);
        return 0;
    };
    tap(205, 20);
    screen.push({Type::PointerMove, 100, 5});
    screen.push({Type::PointerUp, 100, 5});
    dispatch_all();
    EXPECT_EQ(GetCapture(), button);
    ReleaseCapture();
    handlers.erase(WM_LBUTTONDOWN);
    tap(100, 5);  // after the release the point decides again
    ShowWindow(button, SW_HIDE);
    tap(205, 20);
    dispatch_all();

    std::vector<std::tuple<HWND, UINT, LPARAM>> got;
    for (const Received& r : received_of(WM_MOUSEFIRST, WM_MOUSELAST)) got.emplace_back(r.window, r.message, r.lParam);
    const LPARAM outside = MAKELPARAM(static_cast<WORD>(100 - 200), static_cast<WORD>(5 - 10));
    EXPECT_EQ(got, (std::vector<std::tuple<HWND, UINT, LPARAM>>{
                       {button, WM_LBUTTONDOWN, MAKELPARAM(5, 10)}, {button, WM_MOUSEMOVE, outside},
                       {button, WM_LBUTTONUP, outside}, {main, WM_LBUTTONDOWN, MAKELPARAM(100, 5)},
                       {main, WM_LBUTTONDOWN, MAKELPARAM(205, 20)}}));
}

TEST_F(Input, AnotherProgramTakingTheDisplayDeactivatesWithNoWindowOnceTheQueueIsRead) {
    screen.push({Type::FocusLost});
    GetAsyncKeyState(VK_DOWN);  // a busy program reads the device but takes no messages
    EXPECT_TRUE(received_of(WM_ACTIVATE).empty());
    screen.push({Type::FocusLost});  // no change, no message
    dispatch_all();
    EXPECT_EQ(GetActiveWindow(), main);
    screen.push({Type::FocusGained});
    dispatch_all();
    std::vector<std::tuple<HWND, WORD, LPARAM>> got;
    for (const Received& r : received_of(WM_ACTIVATE)) got.emplace_back(r.window, LOWORD(r.wParam), r.lParam);
    EXPECT_EQ(got, (std::vector<std::tuple<HWND, WORD, LPARAM>>{{main, WA_INACTIVE, 0}, {main, WA_ACTIVE, 0}}));
}

// A close (the display going away, a signal) must not overtake a stroke that came before it: the
// stroke is the person's last word and has to be in what the close saves.
TEST_F(Input, ACloseWaitsBehindTheInputThatCameBeforeIt) {
    handlers[WM_CLOSE] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
    tap(100, 20);
    screen.push({Type::PointerUp, 100, 20});
    screen.push({Type::CloseRequested});
    GetAsyncKeyState(VK_DOWN);  // all three are read before the program takes a message
    dispatch_all();
    screen.push({Type::CloseRequested});  // nothing waits before this one
    dispatch_all();
    std::vector<std::pair<HWND, UINT>> got;
    for (const Received& r : received)
        if (r.message == WM_LBUTTONDOWN || r.message == WM_LBUTTONUP || r.message == WM_CLOSE)
            got.emplace_back(r.window, r.message);
    EXPECT_EQ(got, (std::vector<std::pair<HWND, UINT>>{
                       {main, WM_LBUTTONDOWN}, {main, WM_LBUTTONUP}, {main, WM_CLOSE}, {main, WM_CLOSE}}));
}

TEST_F(Input, TypedTextReachesTheFocusedWindowAsCharacters) {
    SetFocus(button);
    platform::DeviceEvent text{Type::Text};
    for (char32_t c : {U'\u00E9', U'\u20AC'}) {
        text.character = c;
        screen.push(text);
    }
    // A letter's key types nothing itself: its text does.
    for (int vk : {int{'A'}, VK_RETURN, VK_ESCAPE, VK_BACK, VK_TAB}) screen.push({Type::KeyDown, 0, 0, vk});
    dispatch_all();
    std::vector<std::pair<HWND, WPARAM>> got;
    for (const Received& r : received_of(WM_CHAR)) got.emplace_back(r.window, r.wParam);
    EXPECT_EQ(got, (std::vector<std::pair<HWND, WPARAM>>{
                       {button, 0xE9}, {button, 0x20AC}, {button, L'\r'}, {button, 0x1B}, {button, L'\b'}, {button, L'\t'}}));
}

TEST_F(Input, ADisabledWindowGetsNoInput) {
    SetFocus(button);
    EnableWindow(button, FALSE);
    EXPECT_EQ(received_of(WM_ENABLE).size(), 1u);
    EXPECT_EQ(GetFocus(), nullptr) << "the focus left it";
    EXPECT_EQ(SetFocus(button), nullptr);
    tap(205, 20);  // on the disabled button: its parent takes the tap
    screen.push({Type::KeyDown, 0, 0, VK_DOWN});
    dispatch_all();
    for (const UINT m : {WM_LBUTTONDOWN, WM_KEYDOWN})
        EXPECT_TRUE(received_of(m).size() == 1 && received_of(m)[0].window == main) << m;

    EnableWindow(button, TRUE);
    SetFocus(button);
    EnableWindow(main, FALSE);  // the whole window, with its focused button
    received.clear();
    tap(205, 20);
    tap(10, 10);
    screen.push({Type::KeyDown, 0, 0, VK_DOWN});
    platform::DeviceEvent text{Type::Text};
    text.character = U'x';
    screen.push(text);
    dispatch_all();
    EXPECT_TRUE(received_of(WM_MOUSEFIRST, WM_MOUSELAST).empty());
    EXPECT_TRUE(received_of(WM_KEYFIRST, WM_KEYLAST).empty());
}

using platform::CursorLook;
using platform::DeviceEvent;
using platform::PointerSource;

DeviceEvent from(Type type, int x, int y, PointerSource source) {
    DeviceEvent e{type, x, y};
    e.source = source;
    return e;
}

// A mouse's message straight after a pen's carries no mark of the pen; the touch and eraser marks
// are seen through the program's pointer tests.
TEST_F(Input, EachPointerMessageSaysWhereItCameFromAndAHoverIsNoMessage) {
    std::vector<std::pair<UINT, LPARAM>> got;
    for (const UINT m : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_RBUTTONDOWN})
        handlers[m] = [&got](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
            got.emplace_back(message, GetMessageExtraInfo());
            return 0;
        };
    for (const DeviceEvent& e : {from(Type::PointerDown, 10, 10, PointerSource::Pen),
                                 from(Type::RightButtonDown, 40, 40, PointerSource::Mouse),
                                 from(Type::PointerHover, 50, 50, PointerSource::Mouse)})
        screen.push(e);
    dispatch_all();
    EXPECT_EQ(got, (std::vector<std::pair<UINT, LPARAM>>{{WM_LBUTTONDOWN, MI_WP_SIGNATURE}, {WM_RBUTTONDOWN, 0}}));
}

// (The arrow over a class without a cursor, and a hovering pen hiding it, are seen through the
// program's pointer tests.)
TEST_F(Input, TheMouseShowsItsWindowsCursorAndAPenOrFingerHidesIt) {
    using Kind = CursorLook::Kind;
    // A 2 × 2 picture: black, white / transparent, inverted (shown black).
    const std::uint8_t and_plane[] = {0x00, 0, 0xC0, 0};
    const std::uint8_t xor_plane[] = {0x40, 0, 0x40, 0};
    const HCURSOR cross = CreateCursor(nullptr, 1, 0, 2, 2, and_plane, xor_plane);
    ASSERT_NE(cross, nullptr);
    EXPECT_EQ(CreateCursor(nullptr, 2, 0, 2, 2, and_plane, xor_plane), nullptr);  // hot spot outside
    SetClassLongPtrW(main, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cross));

    screen.push(from(Type::PointerHover, 50, 50, PointerSource::Mouse));
    dispatch_all();
    EXPECT_EQ(std::pair(screen.cursor().kind, screen.cursor().hot_x), std::pair(Kind::Picture, 1));
    EXPECT_EQ(screen.cursor().pixels, (std::vector<std::uint32_t>{0xFF000000, 0xFFFFFFFF, 0, 0xFF000000}));
    EXPECT_EQ(SetClassLongPtrW(main, GCLP_HCURSOR, 0), reinterpret_cast<ULONG_PTR>(cross));
    screen.push(from(Type::PointerDown, 50, 50, PointerSource::Touch));
    dispatch_all();
    EXPECT_EQ(screen.cursor().kind, Kind::Hidden);
    // The wait cursor is for everyone.
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(screen.cursor().kind, Kind::Wait);
    SetCursor(nullptr);
    EXPECT_EQ(screen.cursor().kind, Kind::Hidden);
    SetClassLongPtrW(main, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cross));
    EXPECT_TRUE(DestroyCursor(cross));
    screen.push(from(Type::PointerHover, 60, 60, PointerSource::Mouse));
    dispatch_all();
    EXPECT_EQ(screen.cursor().kind, Kind::Arrow);
}

}  // namespace
