// Dialogs and message boxes on screens of three sizes: the device-sized layout enlarged by the
// largest whole factor that fits, centred, with fields that hold their numbers and arrows, OK and
// buttons big enough for a finger.
#include <string>

#include "controls_test_support.h"
#include "shell/shell_strips.h"
#include "testing.h"
#include "window/screen.h"
#include "window/window_table.h"

using namespace controls_test;

namespace {

struct ScreenSize {
    int width;
    int height;
    int factor;  // the one expected
};

void PrintTo(const ScreenSize& s, std::ostream* out) { *out << s.width << "x" << s.height; }

INT_PTR full_screen_dialog_proc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
    SHInitDialog(&info);
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = dialog;
    bar.dwFlags = SHCMBF_EMPTYBAR;
    SHCreateMenuBar(&bar);
    for (int spin : {1027, 1036, 1034, 1028}) SendDlgItemMessageW(dialog, spin, UDM_SETRANGE, 0, MAKELPARAM(20, 1));
    SendDlgItemMessageW(dialog, 1029, UDM_SETRANGE, 0, MAKELPARAM(100, 1));
    return TRUE;
}

class FittedLayout : public ::testing::TestWithParam<ScreenSize> {
protected:
    void SetUp() override {
        screen = &platform::use_headless_backend(GetParam().width, GetParam().height, 1000);
        factor = GetParam().factor;
        area = {(GetParam().width - 240 * factor) / 2, (GetParam().height - 320 * factor) / 2};
    }

    void run(WORD id, const std::function<void(HWND)>& step) {
        run_template(*screen, id, nullptr, full_screen_dialog_proc, step);
    }

    platform::HeadlessBackend* screen = nullptr;
    int factor = 1;
    POINT area{};
};

TEST_P(FittedLayout, OptionsStandCentredAtTheFittedFactorWithFingerSizedArrowsAndOk) {
    EXPECT_EQ(platform::fitted_scale(), factor);
    EXPECT_EQ(platform::strip_height(), 26 * factor);
    run(kOptions, [&](HWND dialog) {
        // Full screen below the bar and above the menu bar: the frame's colour fills the rest.
        const int width = GetParam().width, height = GetParam().height;
        EXPECT_EQ(screen_rect(dialog), (platform::Rect{0, 26 * factor, width, height - 26 * factor}));
        // The controls stand where the device's layout puts them, enlarged and centred: the pen
        // group at the same place in the layout at every size.
        const platform::Rect group = screen_rect(platform::find_window(dialog)->children[19]).offset(-area.x, -area.y);
        EXPECT_NEAR(group.left, 3 * factor, 2 * factor);
        EXPECT_NEAR(group.top, 29 * factor, 3 * factor);
        EXPECT_GE(group.width(), 195 * factor);
        EXPECT_LE(group.right, 240 * factor);
        platform::Rect all{};
        for (HWND control : platform::find_window(dialog)->children) all = platform::unite(all, screen_rect(control));
        const platform::Rect layout{area.x, area.y + 26 * factor, area.x + 240 * factor, area.y + (320 - 26) * factor};
        EXPECT_EQ(platform::intersect(all, layout), all);
        // Each arrow of every up-down is at least ten pixels tall a step of the factor.
        for (int spin : {1027, 1036, 1034, 1028, 1029}) {
            const platform::Rect r = screen_rect(GetDlgItem(dialog, spin));
            EXPECT_GE(r.height() / 2, 10 * factor) << spin;
            EXPECT_GE(r.width(), 7 * factor) << spin;
        }
        RECT ok{};
        ASSERT_TRUE(platform::navigation_bar_ok(nullptr, &ok));
        EXPECT_GE(ok.right - ok.left, 20 * factor);
        EXPECT_GE(ok.bottom - ok.top, 13 * factor);
        EXPECT_LE(ok.right, area.x + 240 * factor) << "the OK stands over the layout, not far off at the edge";
    });
}

// The two-digit fields are typed into by the end-to-end dialogs test at the same sizes.
TEST_P(FittedLayout, ThePagesFieldHoldsItsLongestNumberWholeInsideTheBorder) {
    std::wstring pages;
    run(kOptions, [&](HWND dialog) {
        const HWND field = GetDlgItem(dialog, 1032);
        type_into(field, L"100");
        pages = text_of(field);
        SetFocus(nullptr);
        // The digits are drawn between the borders: the field's left border stays black all the
        // way down, and some blue ink stands inside.
        screen->when_idle([&, field] {
            platform::compose_changes();
            const platform::Rect f = screen_rect(field);
            int ink = 0;
            for (int y = f.top + factor; y < f.bottom - factor; ++y) {
                EXPECT_EQ(screen->pixel(f.left, y), 0u) << "the left border at row " << y;
                for (int x = f.left + factor; x < f.right - factor; ++x) ink += screen->pixel(x, y) != 0x00FFFFFFu;
            }
            EXPECT_GT(ink, 0);
        });
    });
    EXPECT_EQ(pages, L"100");
}

// The About texts, wrapped in their font at the fitted size, stand whole inside their blocks.
TEST_P(FittedLayout, AboutTextsFitTheirBlocks) {
    int texts = 0;
    run(kAbout, [&](HWND dialog) {
        for (HWND control : platform::find_window(dialog)->children) {
            const std::wstring text = text_of(control);
            if (text.empty() || text[0] == L'#') continue;
            ++texts;
            RECT place{};
            GetClientRect(control, &place);
            RECT needed = place;
            const HDC dc = CreateCompatibleDC(nullptr);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
            DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            DeleteDC(dc);
            EXPECT_LE(needed.bottom, place.bottom) << "cut off at the bottom: " << text;
            EXPECT_LE(needed.right, place.right);
        }
    });
    EXPECT_EQ(texts, 2);
}

TEST_P(FittedLayout, AShortQuestionStandsOnOneLineInACentredBoxAtTheFittedFactor) {
    platform::Rect box, ok, cancel;
    when_box_open(*screen, [&](HWND window) {
        box = screen_rect(window);
        ok = screen_rect(GetDlgItem(window, IDOK));
        cancel = screen_rect(GetDlgItem(window, IDCANCEL));
        press(*screen, VK_RETURN);
    });
    // The default button the question asks for is seen through the program's questions.
    MessageBoxW(nullptr, L"Warning some pages will be lost", L"Scrivo", MB_OKCANCEL | MB_DEFBUTTON2);
    EXPECT_NEAR(box.left + box.right, GetParam().width, 1);  // centred, give or take a pixel
    EXPECT_LE(box.width(), 240 * factor);
    EXPECT_GE(ok.height(), 20 * factor);
    EXPECT_GE(cancel.width(), 40 * factor);
    // One line of text: the buttons follow the caption and a single line closely.
    const int line = 13 * factor;
    EXPECT_LT(ok.top - box.top, 4 * line) << "the text broke into more lines than it needs";
}

INSTANTIATE_TEST_SUITE_P(Screens, FittedLayout,
                         ::testing::Values(ScreenSize{240, 320, 1}, ScreenSize{1920, 1080, 3}, ScreenSize{3840, 2160, 6}));

}  // namespace
