// Dialogs from the built-in templates and the controls in them, driven through the headless screen
// the way a user drives them: layout, focus and the keys, typing, the up-down, the combo box, and
// the colours the dialog procedure answers.
#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "controls/dialog.h"
#include "controls_test_support.h"
#include "core/clock.h"
#include "platform/controls.h"
#include "window/screen.h"
#include "window/window_table.h"

using namespace controls_test;

namespace {

// What the dialog procedure of a test does, and what it heard.
std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> answer;
std::vector<WPARAM> commands;

INT_PTR test_dialog_proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) commands.push_back(wParam);
    if (answer) return answer(dialog, message, wParam, lParam);
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class Dialog : public ControlTest {
protected:
    INT_PTR run(WORD id, const std::function<void(HWND)>& step, bool end = true) {
        return run_template(screen, id, main, test_dialog_proc, step, end);
    }
    void key(int vk, bool down) { screen.push({down ? Type::KeyDown : Type::KeyUp, 0, 0, vk}); }
    // The dialog's controls in template order.
    static std::vector<HWND> controls(HWND dialog) { return platform::find_window(dialog)->children; }
};

TEST_F(Dialog, ControlsStandInDialogUnitsOfTheTemplateFontAtEachScale) {
    platform::DialogUnits units[2];
    for (int scale = 1; scale <= 2; ++scale) {
        screen.set_desktop_scale(scale);
        run(kOptions, [&](HWND dialog) {
            platform::DialogUnits& u = units[scale - 1];
            ASSERT_TRUE(platform::dialog_units_of_window(dialog, &u));
            const platform::Rect d = screen_rect(dialog);
            const auto at = [&](HWND control) { return screen_rect(control).offset(-d.left, -d.top); };
            EXPECT_EQ(std::pair(d.width(), d.height()), std::pair(138 * u.x / 4, 154 * u.y / 8));
            const platform::Rect group{2 * u.x / 4, 2 * u.y / 8, 136 * u.x / 4, 47 * u.y / 8};
            EXPECT_EQ(at(controls(dialog)[19]), group);
            // The spin control sits at the right edge of the field before it, which gives up its width.
            const platform::Rect field = at(GetDlgItem(dialog, 1033));
            const platform::Rect spin = at(GetDlgItem(dialog, 1034));
            EXPECT_EQ(std::tuple(field.left, spin.right, field.right),
                      std::tuple(109 * u.x / 4, 130 * u.x / 4, spin.left));
            EXPECT_NEAR(spin.top + spin.bottom, field.top + field.bottom, 1);
            EXPECT_GE(spin.height(), field.height());
        });
    }
    // The font is realised at the display's scale, so the units grow with it.
    EXPECT_NEAR(units[1].x, 2 * units[0].x, 2);
    EXPECT_NEAR(units[1].y, 2 * units[0].y, 2);
}

// Focus at the first field and Tab on past the pictures, spin controls and group boxes are seen
// through the end-to-end dialogs test; from the last field Tab wraps round to the first, and
// Shift+Tab goes back over the wrap.
TEST_F(Dialog, TabWrapsRoundFromTheLastFieldAndShiftTabGoesBackOverTheWrap) {
    std::vector<WORD> ids;
    const auto note = [&] { ids.push_back(static_cast<WORD>(GetDlgCtrlID(GetFocus()))); };
    run(kOptions, [&](HWND dialog) {
        SetFocus(GetDlgItem(dialog, 1032));
        press(VK_TAB);
        screen.when_idle(note);
        screen.when_idle([&] { key(VK_SHIFT, true); });
        screen.when_idle([&] { press(VK_TAB); });
        screen.when_idle(note);
        screen.when_idle([&] { key(VK_SHIFT, false); });
    });
    EXPECT_EQ(ids, (std::vector<WORD>{1030, 1032}));
}

TEST_F(Dialog, FieldsTakeDigitsOnlyAndOnlyAsManyAsFit) {
    std::wstring typed, afterBackspace;
    int beeps = 0;
    run(kOptions, [&](HWND dialog) {
        const HWND field = GetDlgItem(dialog, 1032);
        type_into(field, L"7x-12345678");
        typed = text_of(field);
        beeps = screen.beeps();
        SendMessageW(field, WM_KEYDOWN, VK_BACK, 0);
        afterBackspace = text_of(field);
    });
    ASSERT_FALSE(typed.empty());
    EXPECT_EQ(typed, std::wstring(L"712345678").substr(0, typed.size()));
    EXPECT_LT(typed.size(), 9u) << "more digits than the field can show";
    EXPECT_GE(beeps, 2);  // the letter and the minus
    EXPECT_EQ(afterBackspace, typed.substr(0, typed.size() - 1));
}

// (Enter answering OK and Escape Cancel are seen through the end-to-end dialogs test and the
// program's Options.)
TEST_F(Dialog, TheUpDownStepsWithinItsRangeAndRepeatsWhileHeldAndEndDialogGivesTheResult) {
    std::wstring beside, atTop, atBottom, held;
    const INT_PTR result = run(kOptions, [&](HWND dialog) {
        const HWND field = GetDlgItem(dialog, 1030);
        const platform::Rect spin = screen_rect(GetDlgItem(dialog, 1027));
        const int up = spin.top + 2, down = spin.bottom - 3, x = (spin.left + spin.right) / 2;
        SendDlgItemMessageW(dialog, 1027, UDM_SETRANGE, 0, MAKELPARAM(20, 1));
        SetDlgItemInt(dialog, 1030, 17, FALSE);
        tap(x, up);
        tap(spin.right + 3, up);  // a finger just beside the narrow arrows still reaches them
        screen.when_idle([&, field, x, up] {
            beside = text_of(field);
            tap(x, up);
            tap(x, up);
        });
        screen.when_idle([&, dialog, x, down, field] {
            atTop = text_of(field);
            SetDlgItemInt(dialog, 1030, 2, FALSE);
            tap(x, down);
            tap(x, down);
        });
        screen.when_idle([&, x, up, field, dialog] {
            atBottom = text_of(field);
            // Held for 950 ms: one step at once, then one after 400 ms and every 100 ms after that.
            screen.push({Type::PointerDown, x, up});
            screen.at_time(platform::clock_peek() + 950, [&, x, up, field, dialog] {
                screen.push({Type::PointerUp, x, up});
                screen.when_idle([&, field, dialog] {
                    held = text_of(field);
                    EndDialog(dialog, 42);
                });
            });
        });
    }, false);
    EXPECT_EQ(std::tuple(beside, atTop, atBottom, held), std::tuple(L"19", L"20", L"1", L"8"));
    EXPECT_EQ(result, 42);
}

// A keyboard user reaches the arrows through the field: Up and Down step it as the arrows do,
// within the range; a field without an up-down takes them as plain keys. (Up stepping up is seen
// through the end-to-end dialogs test.)
TEST_F(Dialog, UpAndDownInAFieldStepItsUpDown) {
    std::vector<std::wstring> seen;
    run(kOptions, [&](HWND dialog) {
        SendDlgItemMessageW(dialog, 1028, UDM_SETRANGE, 0, MAKELPARAM(20, 1));
        SetDlgItemInt(dialog, 1031, 10, FALSE);
        SetFocus(GetDlgItem(dialog, 1031));
        const auto note = [&, dialog] { seen.push_back(text_of(GetDlgItem(dialog, 1031))); };
        press(VK_DOWN);
        press(VK_DOWN);
        screen.when_idle(note);
        screen.when_idle([&, dialog] { SetDlgItemInt(dialog, 1031, 20, FALSE); press(VK_UP); });
        screen.when_idle(note);
    });
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"8", L"20"}));
}

TEST_F(Dialog, ComboItemsKeepTheirPlacesAndDataAndArePickedByPenOrKeys) {
    std::vector<LRESULT> results;
    LRESULT picked = 0, afterKeys = 0, afterTapOutside = 0, slidTo = 0;
    run(kOptions, [&](HWND dialog) {
        const auto send = [dialog](UINT m, WPARAM w, LPARAM l) { return SendDlgItemMessageW(dialog, 1052, m, w, l); };
        results = {send(CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"b")),
                   send(CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"a")),
                   send(CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"c")),
                   send(CB_INSERTSTRING, 7, reinterpret_cast<LPARAM>(L"z")),
                   send(CB_SETITEMDATA, 1, 0x1234),
                   send(CB_GETITEMDATA, 1, 0),
                   send(CB_GETITEMDATA, 3, 0),
                   send(CB_GETCOUNT, 0, 0),
                   send(CB_SETCURSEL, 9, 0),
                   send(CB_GETCURSEL, 0, 0)};
        const platform::Rect combo = screen_rect(GetDlgItem(dialog, 1052));
        tap(combo.right - 3, combo.top + 3);  // drops the list
        screen.when_idle([&] {
            const platform::Rect list = screen_rect(GetActiveWindow());
            const int row = list.height() / 3;
            tap(list.left + 5, list.top + 2 * row + row / 2);  // the third item
        });
        screen.when_idle([&, send, dialog] {
            picked = send(CB_GETCURSEL, 0, 0);
            SetFocus(GetDlgItem(dialog, 1052));
            press(VK_UP);
        });
        screen.when_idle([&, send, combo] {
            afterKeys = send(CB_GETCURSEL, 0, 0);
            tap(combo.right - 3, combo.top + 3);
        });
        screen.when_idle([&] { tap(2, 300); });  // outside the list: it closes, nothing chosen
        screen.when_idle([&, send, combo] {
            afterTapOutside = send(CB_GETCURSEL, 0, 0);
            screen.push({Type::PointerDown, combo.right - 3, combo.top + 3});  // held: the list drops
        });
        screen.when_idle([&] {
            const platform::Rect list = screen_rect(GetActiveWindow());
            const int first = list.top + list.height() / 6;
            screen.push({Type::PointerMove, list.left + 5, first});
            screen.push({Type::PointerUp, list.left + 5, first});  // the press that dropped it picks
        });
        screen.when_idle([&, send] { slidTo = send(CB_GETCURSEL, 0, 0); });
    });
    EXPECT_EQ(results, (std::vector<LRESULT>{0, 0, 2, CB_ERR, TRUE, 0x1234, CB_ERR, 3, CB_ERR, CB_ERR}));
    EXPECT_EQ(std::tuple(picked, afterKeys, afterTapOutside, slidTo), std::tuple(2, 1, 1, 0));
    EXPECT_EQ(std::count(commands.begin(), commands.end(), MAKEWPARAM(1052, CBN_SELCHANGE)), 3);
}

TEST_F(Dialog, ControlsPaintWithTheBrushAndColoursTheDialogAnswers) {
    const HBRUSH field = CreateSolidBrush(RGB(1, 2, 3));
    const HBRUSH ground = CreateSolidBrush(RGB(0, 200, 0));
    answer = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        if (message == WM_CTLCOLOREDIT) {
            SetTextColor(dc, RGB(250, 0, 0));
            return reinterpret_cast<INT_PTR>(field);
        }
        if (message == WM_CTLCOLORSTATIC) return reinterpret_cast<INT_PTR>(ground);
        return message == WM_INITDIALOG;
    };
    std::uint32_t fieldPixel = 0, groundPixel = 0, dialogPixel = 0;
    bool redDigit = false;
    run(kOptions, [&](HWND dialog) {
        SetDlgItemInt(dialog, 1030, 8, FALSE);
        screen.when_idle([&, dialog] {
            platform::compose_changes();
            const platform::Rect f = screen_rect(GetDlgItem(dialog, 1030));
            fieldPixel = screen.pixel(f.left + 2, f.bottom - 3);
            for (int y = f.top; y < f.bottom; ++y)
                for (int x = f.left; x < f.right; ++x) {
                    const std::uint32_t p = screen.pixel(x, y);  // red ink, however much of the pixel it covers
                    redDigit = redDigit || ((p >> 16) > 120 && ((p >> 8) & 0xFF) < 20);
                }
            const platform::Rect label = screen_rect(controls(dialog)[0]);
            groundPixel = screen.pixel(label.left, label.top);  // the picture's own ground is yellow
            const platform::Rect d = screen_rect(dialog);
            dialogPixel = screen.pixel(d.right - 2, d.bottom - 2);
        });
    });
    EXPECT_EQ(std::tuple(fieldPixel, redDigit, groundPixel), std::tuple(0x00010203u, true, 0x00FFFF00u));
    EXPECT_EQ(dialogPixel, 0x00C0C0C0u) << "an unanswered WM_CTLCOLORDLG gets the platform's grey";
    DeleteObject(field);
    DeleteObject(ground);
}

TEST_F(Dialog, NumbersAreReadWholeOrNotAtAll) {
    run(kOptions, [&](HWND dialog) {
        const HWND field = GetDlgItem(dialog, 1030);
        const auto read = [dialog, field](LPCWSTR text, BOOL isSigned, BOOL* ok) {
            SetWindowTextW(field, text);
            return GetDlgItemInt(dialog, 1030, ok, isSigned);
        };
        BOOL ok = FALSE;
        EXPECT_EQ(std::pair(read(L" 42 ", FALSE, &ok), ok), std::pair(42u, TRUE));
        EXPECT_EQ(read(L"4294967295", FALSE, &ok), 4294967295u);
        for (LPCWSTR bad : {L"", L"12a", L"4294967296", L"-3"})
            EXPECT_EQ(std::pair(read(bad, FALSE, &ok), ok), std::pair(0u, FALSE)) << bad;
        EXPECT_EQ(static_cast<int>(read(L"-3", TRUE, &ok)), -3);
        EXPECT_EQ(std::pair(GetDlgItemInt(dialog, 999, &ok, FALSE), ok), std::pair(0u, FALSE));
    });
}

}  // namespace
