#include "controls/message_box.h"
#include "window/window_table.h"
#include "window_test_support.h"

using namespace window_test;
using Type = platform::DeviceEvent::Type;

namespace {

class MessageBox : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        main = top_level(0, 0, 240, 320, nullptr, L"main");
        dispatch_all();
        received.clear();
    }

    // Runs `step` as soon as the program waits inside the box.
    void when_box_open(std::function<void(HWND)> step) {
        screen.when_idle([step] {
            const HWND box = GetActiveWindow();
            ASSERT_TRUE(platform::message_box_info(box, nullptr, nullptr));
            step(box);
        });
    }

    void press(int vk) {
        screen.push(key(Type::KeyDown, vk));
        screen.push(key(Type::KeyUp, vk));
    }

    HWND main = nullptr;
};

TEST_F(MessageBox, EnterAnswersOkEscapeAnswersCancelOrOk) {
    when_box_open([&](HWND) { press(VK_RETURN); });
    EXPECT_EQ(MessageBoxW(main, L"Clear?", L"Scribble", MB_OKCANCEL), IDOK);
    when_box_open([&](HWND) { press(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxW(main, L"Clear?", L"Scribble", MB_OKCANCEL), IDCANCEL);
    when_box_open([&](HWND) { press(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxW(main, L"Done", L"Scribble", MB_OK), IDOK);
}

TEST_F(MessageBox, ATapOnAButtonAnswersIt) {
    when_box_open([&](HWND box) {
        RECT cancel;
        ASSERT_TRUE(platform::message_box_button(box, IDCANCEL, &cancel));
        screen.push(pointer(Type::PointerDown, cancel.left + 3, cancel.top + 3));
        screen.push(pointer(Type::PointerUp, cancel.left + 4, cancel.top + 4));
    });
    EXPECT_EQ(MessageBoxW(main, L"Compress?", L"Scribble", MB_OKCANCEL), IDCANCEL);

    when_box_open([&](HWND box) {
        RECT ok;
        RECT cancel;
        ASSERT_TRUE(platform::message_box_button(box, IDOK, &ok));
        EXPECT_FALSE(platform::message_box_button(box, IDCANCEL, &cancel));
        // Pressed on OK but let go elsewhere: no answer yet.
        screen.push(pointer(Type::PointerDown, ok.left + 3, ok.top + 3));
        screen.push(pointer(Type::PointerUp, 0, 0));
        screen.push(pointer(Type::PointerDown, ok.left + 3, ok.top + 3));
        screen.push(pointer(Type::PointerUp, ok.left + 3, ok.top + 3));
    });
    EXPECT_EQ(MessageBoxW(main, L"No blank page available", L"Scribble", MB_ICONHAND), IDOK);
}

TEST_F(MessageBox, TheOwnerWaitsDisabledAndIsActiveAgainAfterwards) {
    std::vector<HWND> owners_of_activated;
    handlers[WM_ACTIVATE] = [&](HWND w, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (w == main && LOWORD(wParam) == WA_INACTIVE)
            owners_of_activated.push_back(GetWindow(reinterpret_cast<HWND>(lParam), GW_OWNER));
        return 0;
    };
    when_box_open([&](HWND box) {
        std::wstring text;
        std::wstring caption;
        ASSERT_TRUE(platform::message_box_info(box, &text, &caption));
        EXPECT_EQ(text, L"New Pad Created");
        EXPECT_EQ(caption, L"Scribble");
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        EXPECT_FALSE(IsWindowEnabled(main));
        RECT r;
        GetWindowRect(box, &r);
        EXPECT_EQ(r.left + r.right, 240) << "centred";
        EXPECT_LE(std::abs(r.top + r.bottom - 320), 1);
        press(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(main, L"New Pad Created", L"Scribble", MB_OK), IDOK);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), main);
    std::vector<WORD> states;
    for (const Received& r : received_of(WM_ACTIVATE))
        if (r.window == main) states.push_back(LOWORD(r.wParam));
    EXPECT_EQ(states, (std::vector<WORD>{WA_INACTIVE, WA_ACTIVE}));
    EXPECT_EQ(owners_of_activated, std::vector<HWND>{main}) << "the main window can tell its own box";
    EXPECT_EQ(platform::window_table().windows.live(), 1u) << "the box is gone";
}

TEST_F(MessageBox, MessagesForOtherWindowsRunWhileItIsOpen) {
    InvalidateRect(main, nullptr, FALSE);
    PostMessageW(main, WM_APP, 0, 0);
    bool app_handled = false;
    bool painted = false;
    handlers[WM_APP] = [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
        app_handled = true;
        return 0;
    };
    handlers[WM_PAINT] = [&](HWND w, UINT, WPARAM, LPARAM) -> LRESULT {
        painted = painted || w == main;
        return DefWindowProcW(w, WM_PAINT, 0, 0);
    };
    when_box_open([&](HWND) {
        EXPECT_TRUE(app_handled);
        EXPECT_TRUE(painted);
        press(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(main, L"Question", L"Scribble", MB_OKCANCEL), IDOK);
}

TEST_F(MessageBox, AQuitInsideEndsTheBoxAndReachesTheOuterLoop) {
    PostMessageW(main, WM_APP, 0, 0);
    handlers[WM_APP] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
        PostQuitMessage(4);
        return 0;
    };
    MessageBoxW(main, L"Question", L"Scribble", MB_OKCANCEL);
    EXPECT_TRUE(IsWindowEnabled(main));
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(MessageBox, ClosingTheOwnerEndsTheBox) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(MessageBoxW(main, L"Question", L"Scribble", MB_OKCANCEL), IDCANCEL);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(MessageBox, SizedForTheScreen) {
    RECT small{};
    when_box_open([&](HWND box) {
        GetWindowRect(box, &small);
        press(VK_RETURN);
    });
    MessageBoxW(main, L"New Pad Created", L"Scribble", MB_OK);

    platform::HeadlessBackend& big = platform::use_headless_backend(3840, 2160);
    RECT large{};
    big.when_idle([&] {
        GetWindowRect(GetActiveWindow(), &large);
        big.push(key(Type::KeyDown, VK_RETURN));
    });
    MessageBoxW(main, L"New Pad Created", L"Scribble", MB_OK);

    EXPECT_GT(small.left, 0);
    EXPECT_LE(small.right, 240);
    EXPECT_GT(small.top, 0);
    EXPECT_LE(small.bottom, 320);
    EXPECT_GT(large.right - large.left, 3 * (small.right - small.left));
    EXPECT_LT(large.right - large.left, 3840 / 2);
}

}  // namespace
