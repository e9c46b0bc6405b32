#include "testing.h"
#include "window/window_table.h"
#include "../window/window_test_support.h"

using namespace window_test;

namespace {

class MessageBox : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        main = top_level(0, 0, 240, 320);
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
        screen.push({Type::KeyDown, 0, 0, vk});
        screen.push({Type::KeyUp, 0, 0, vk});
    }

    HWND main = nullptr;
};

TEST_F(MessageBox, EscapeAnswersCancelOrOkAndATapAnswersOnlyWhereItIsLetGo) {
    when_box_open([&](HWND) { press(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxW(main, L"Clear?", L"Scribble", MB_OKCANCEL), IDCANCEL);
    when_box_open([&](HWND) { press(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxW(main, L"Done", L"Scribble", MB_OK), IDOK);

    // Pressed on OK and let go on Cancel answers neither: the next step still finds the box open.
    RECT ok{};
    RECT cancel{};
    bool still_open = false;
    when_box_open([&](HWND box) {
        ASSERT_TRUE(GetWindowRect(GetDlgItem(box, IDOK), &ok));
        ASSERT_TRUE(GetWindowRect(GetDlgItem(box, IDCANCEL), &cancel));
        screen.push({Type::PointerDown, ok.left + 3, ok.top + 3});
        screen.push({Type::PointerUp, cancel.left + 3, cancel.top + 3});
    });
    when_box_open([&](HWND) {
        still_open = true;
        screen.push({Type::PointerDown, cancel.left + 3, cancel.top + 3});
        screen.push({Type::PointerUp, cancel.left + 3, cancel.top + 3});
    });
    EXPECT_EQ(MessageBoxW(main, L"Compress?", L"Scribble", MB_OKCANCEL), IDCANCEL);
    EXPECT_TRUE(still_open);
}

// Its buttons are real BUTTON windows: the keys move the focus between them and Enter answers
// with the focused one, which is therefore the one drawn as the default.
TEST_F(MessageBox, ItsButtonsAreControlsAndEnterAnswersWithTheFocusedOne) {
    const auto looks_default = [](HWND button) {
        return (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    };
    when_box_open([&](HWND box) {
        const HWND ok = GetDlgItem(box, IDOK);
        const HWND cancel = GetDlgItem(box, IDCANCEL);
        wchar_t label[8];
        GetWindowTextW(cancel, label, 8);
        EXPECT_EQ(std::wstring(label), L"Cancel");
        EXPECT_EQ(GetFocus(), ok);
        EXPECT_TRUE(looks_default(ok));
        press(VK_TAB);
    });
    when_box_open([&](HWND box) {
        EXPECT_TRUE(looks_default(GetDlgItem(box, IDCANCEL)));
        EXPECT_FALSE(looks_default(GetDlgItem(box, IDOK)));
        press(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(main, L"Clear?", L"Scribble", MB_OKCANCEL), IDCANCEL);
    when_box_open([&](HWND box) {
        EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
        press(VK_RIGHT);  // around to OK again
        press(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(main, L"Done", L"Scribble", MB_OK), IDOK);
}

TEST_F(MessageBox, TheOwnerWaitsDisabledWhileOtherMessagesRunAndComesBackActive) {
    InvalidateRect(main, nullptr, FALSE);
    PostMessageW(main, WM_APP, 0, 0);
    HWND opened = nullptr;
    when_box_open([&](HWND box) {
        opened = box;
        EXPECT_EQ(received_of(WM_APP).size(), 1u);
        EXPECT_EQ(received_of(WM_PAINT).size(), 1u);
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        EXPECT_FALSE(IsWindowEnabled(main));
        const HWND other = top_level(0, 0, 10, 10);  // something else came to the front meanwhile
        EXPECT_TRUE(SetForegroundWindow(main));
        EXPECT_NE(GetActiveWindow(), main) << "a disabled window is not made active";
        // The low bit brings the owned windows along, as a second copy of the program asks.
        EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(main) | 1)));
        EXPECT_EQ(GetActiveWindow(), box);
        DestroyWindow(other);
        press(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(main, L"New Pad Created", L"Scribble", MB_OK), IDOK);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetFocus(), main);
    EXPECT_EQ(platform::window_table().windows.live(), 1u) << "the box is gone";
    // The main window can tell its own box coming and going from another program's window.
    std::vector<std::pair<WORD, LPARAM>> states;
    for (const Received& r : received_of(WM_ACTIVATE))
        if (r.window == main) states.emplace_back(LOWORD(r.wParam), r.lParam);
    const auto by_box = reinterpret_cast<LPARAM>(opened);
    EXPECT_EQ(states, (std::vector<std::pair<WORD, LPARAM>>{{WA_INACTIVE, by_box}, {WA_ACTIVE, by_box}}));
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

TEST_F(MessageBox, ACloseRequestWhileItIsOpenEndsItAndItsOwner) {
    when_box_open([&](HWND) { screen.push({Type::CloseRequested}); });
    EXPECT_EQ(MessageBoxW(main, L"New Pad Created", L"Scribble", MB_OKCANCEL), IDCANCEL);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(platform::window_table().windows.live(), 0u);
}

}  // namespace
