#include <tuple>
#include <utility>

#include "controls_test_support.h"
#include "testing.h"
#include "window/window_table.h"

using namespace controls_test;

namespace {

class MessageBox : public ControlTest {
protected:
    void when_box_open(std::function<void(HWND)> step) { controls_test::when_box_open(screen, std::move(step)); }
};

// Its buttons are real BUTTON windows: the keys move the focus between them and Enter answers
// with the focused one, which is therefore the one drawn as the default. Escape answers Cancel, or
// OK where there is no Cancel.
// (Escape answering Cancel is seen through the close request's test and the program's questions.)
TEST_F(MessageBox, ItsButtonsAreControlsEnterAnswersWithTheFocusedOneAndEscapeCancels) {
    when_box_open([&](HWND) { press(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxW(main, L"Done", L"Scribble", MB_OK), IDOK);
    const auto looks_default = [](HWND button) {
        return (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    };
    when_box_open([&](HWND box) {
        const HWND ok = GetDlgItem(box, IDOK);
        const HWND cancel = GetDlgItem(box, IDCANCEL);
        EXPECT_EQ(std::tuple(text_of(cancel), GetFocus(), looks_default(ok)), std::tuple(L"Cancel", ok, true));
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

TEST_F(MessageBox, ACloseRequestWhileItIsOpenEndsItAndItsOwner) {
    when_box_open([&](HWND) { screen.push({Type::CloseRequested}); });
    EXPECT_EQ(MessageBoxW(main, L"New Pad Created", L"Scribble", MB_OKCANCEL), IDCANCEL);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(platform::window_table().windows.live(), 0u);
}

// With the display gone nobody can answer: a box open when it goes ends unanswered, and one asked
// for after fails at once, as it does without a display; each still says on stderr what it would
// have shown, on one line.
TEST_F(MessageBox, ALostDisplayEndsOrFailsTheBoxUnansweredWithItsTextOnStderr) {
    bool open = false;
    when_box_open([&](HWND) {
        open = true;
        screen.lose_display();
    });
    testing::internal::CaptureStderr();
    // Standing on its own, as a box after the main window has gone does: only the loss can end it.
    EXPECT_EQ(MessageBoxW(nullptr, L"Gone", L"Scribble", MB_OK), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Scribble: Gone\n");
    EXPECT_TRUE(open);
    EXPECT_FALSE(IsWindow(main)) << "the loss reaches the program as a close request";

    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, L"Not saved:\nthe disk is full.", L"Scribble", MB_OKCANCEL), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Scribble: Not saved: the disk is full.\n");
    EXPECT_EQ(platform::window_table().windows.live(), 0u);
}

}  // namespace
