// The About and Options dialogs as the user meets them: opened from the command menu, in the
// program's frame, confirmed with the navigation bar's OK.
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "settings/options_dialog.h"
#include "settings/settings.h"
#include "testing.h"

namespace {

const wchar_t* const PagesLost = L"Warning some pages will be lost";

class DialogsTest : public ProgramTest {
protected:
    // The open dialog: the active window, owned by the main window.
    static HWND Dialog() {
        const HWND active = GetActiveWindow();
        EXPECT_EQ(GetWindow(active, GW_OWNER), MainWindow);
        return active;
    }

    // Taps the navigation bar's OK.
    void PressOk() {
        Idle([this] {
            RECT ok;
            ASSERT_TRUE(platform::navigation_bar_ok(nullptr, &ok)) << "no OK in the navigation bar";
            Stroke({{ok.left + 2, ok.top + 2}});
        });
    }

    // Opens Options, lets `fill` fill it in, and taps OK.
    void Options(std::function<void()> fill) {
        Command(IDM_OPTIONS);
        Idle(std::move(fill));
        PressOk();
    }

    static void Fill(int field, LPCWSTR text) { SetWindowTextW(GetDlgItem(Dialog(), field), text); }
    static void Choose(int list, int index) { SendDlgItemMessageW(Dialog(), list, CB_SETCURSEL, index, 0); }

    // The settings store holds each of these numbers.
    static void ExpectStored(std::initializer_list<std::pair<LPCWSTR, LONG>> numbers) {
        for (const auto& [name, value] : numbers)
            EXPECT_EQ(StoredNumber(name), value) << ::testing::PrintToString(name);
    }

    // Index of the colour in the list, for choosing by name.
    static int ColourIndex(COLORREF colour) {
        for (int i = 0; i < ColourCount; ++i)
            if (ColourList[i].Colour == colour) return i;
        return -1;
    }
};

// Each opening makes its own brushes and deletes them; the shell keeps what it made for the first
// dialog.
TEST_F(DialogsTest, AboutShowsTheYellowFrameWithItsTitleOnlyOkClosesAndEachOpeningDeletesWhatItMade) {
    AnswerNewPad();
    Command(IDM_ABOUT);
    std::size_t objectsAfterFirst = 0;
    Idle([this] {
        const HWND dialog = Dialog();
        // Its group boxes are painted apart from its ground.
        const HDC dc = CreateCompatibleDC(nullptr);
        const LRESULT button = SendMessageW(dialog, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), 0);
        EXPECT_NE(button, 0);
        EXPECT_NE(button, SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0));
        DeleteDC(dc);
        EXPECT_EQ(platform::navigation_bar_title(), L"Scrivo - About");
        // Full screen between the navigation bar and the menu bar, yellow behind the texts.
        RECT r;
        GetWindowRect(dialog, &r);
        EXPECT_EQ(std::tuple(r.left, r.right, r.top > 0, r.bottom < 320), std::tuple(0, 240, true, true));
        EXPECT_EQ(Pixel(5, r.top + 5), 0x00FFFF00u);
        EXPECT_EQ(Pixel(235, r.bottom - 5), 0x00FFFF00u);
        // The main window repainting behind the dialog hides its own bars, not the dialog's OK.
        InvalidateRect(MainWindow, nullptr, FALSE);
        UpdateWindow(MainWindow);
        EXPECT_TRUE(platform::navigation_bar_ok(nullptr, nullptr));
        // About leaves the input panel alone, but closing it forces the panel down.
        SHSipPreference(dialog, SIP_UP);
        // Cancel and Escape change nothing.
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        Press(VK_ESCAPE);
    });
    Idle([] { EXPECT_NE(GetActiveWindow(), MainWindow) << "the dialog closed without OK"; });
    PressOk();
    Idle([&] {
        EXPECT_EQ(GetActiveWindow(), MainWindow);
        EXPECT_FALSE(platform::navigation_bar_ok(nullptr, nullptr));
        EXPECT_FALSE(screen_->text_input());
        // The page shows again, the bars hidden.
        EXPECT_TRUE(ScreenAreaIs(0, 0, 200, 320, BluePage));
        objectsAfterFirst = platform::gdi_live_objects();
    });
    Command(IDM_ABOUT);
    PressOk();
    Idle([&] { EXPECT_EQ(platform::gdi_live_objects(), objectsAfterFirst); });
    Finish();
}

// Escape leaves Options as it found everything: nothing in Settings, the registry or the notepad.
// A menu bar that cannot be made is reported once, and the dialog still works.
TEST_F(DialogsTest, AMissingMenuBarIsToldOnceAndEscapeStoresNothing) {
    AnswerNewPad();
    SettingsRecord before{};
    Idle([] { platform::set_menu_bars_available(false); });
    Command(IDM_OPTIONS);
    AnswerMessageBox(L"Create Menu Bar Failed", VK_RETURN, L"Error");
    Idle([this, &before] {
        std::wstring text;
        EXPECT_FALSE(OpenMessageBox(&text, nullptr)) << "reported twice: " << std::string(text.begin(), text.end());
        EXPECT_TRUE(platform::navigation_bar_ok(nullptr, nullptr));
        platform::set_menu_bars_available(true);
        before = Settings;
        Fill(IDC_PEN_WIDTH, L"15");
        Fill(IDC_PAGES, L"9");
        Choose(IDC_PEN_COLOUR, ColourIndex(0x000000FF));
        Press(VK_ESCAPE);
    });
    Idle([&] {
        EXPECT_EQ(GetActiveWindow(), MainWindow) << "Escape left Options open";
        EXPECT_FALSE(platform::navigation_bar_ok(nullptr, nullptr));
        EXPECT_EQ(Settings.PenWidth, before.PenWidth);
        EXPECT_EQ(Settings.PenColour, before.PenColour);
        ExpectStored({{L"PenWidth", -12345}, {L"PenColour", -12345}});
        EXPECT_EQ(PageCount, 5);
    });
    Finish();
}

// A notepad of part pages counts its whole pages, and compares the rows it really holds. Growing
// asks nothing; shrinking asks first. A colour outside the list shows as black, and a list that lost
// its selection keeps the colour; equal colours are refused with both stored and nothing after them
// taken.
TEST_F(DialogsTest, PagesAndPenSizesAreHeldToTheirBoundsFewerPagesAskFirstAndEqualColoursAreRefused) {
    StoreNumber(L"PenColour", 0x00123456);
    StoreNumber(L"BakColour", 0x00C0C0C0);
    StoreNumber(L"PenWidth", 5);
    WriteBmp(NotepadPath(), 240, 3 * 320 + 100, [](int x, int y) { return x == 3 && y == 2 * 320 + 10; });
    const std::vector<std::uint8_t> old = ReadWholeFile(NotepadPath());
    Options([] {
        EXPECT_EQ(GetDlgItemInt(Dialog(), IDC_PAGES, nullptr, FALSE), 3u);
        Fill(IDC_PAGES, L"3");
        EXPECT_EQ(SendDlgItemMessageW(Dialog(), IDC_PEN_COLOUR, CB_GETCURSEL, 0, 0), 0);  // "Black"
        EXPECT_EQ(SendDlgItemMessageW(Dialog(), IDC_PAGE_COLOUR, CB_GETCURSEL, 0, 0), ColourIndex(0x00C0C0C0));
        EXPECT_EQ(SendDlgItemMessageW(Dialog(), IDC_PEN_COLOUR, CB_GETCOUNT, 0, 0), 8);
        SendDlgItemMessageW(Dialog(), IDC_PAGE_COLOUR, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        Fill(IDC_PEN_WIDTH, L"");  // unreadable: 0, so 1
    });
    Idle([this, old] {
        EXPECT_EQ(NotepadHeight, 3 * 320 + 100) << "choosing the count it has changes nothing";
        EXPECT_EQ(ReadWholeFile(NotepadPath()), old) << "a resize saves first; none was due";
        EXPECT_EQ(std::tuple(Settings.PenWidth, Settings.PenColour, Settings.BakColour),
                  std::tuple(1, 0u, 0x00C0C0C0u));
        // Every option is stored, changed or not.
        ExpectStored({{L"BakColour", 0x00C0C0C0}, {L"PenHeight", 1}, {L"PenEnd", 2}, {L"EraserSize", 10}});
    });
    // 4 pages are more than the rows it holds: no question. Pen sizes are held to 1..20.
    Options([this] {
        EXPECT_EQ(platform::navigation_bar_title(), L"Scrivo - Options");
        EXPECT_TRUE(screen_->text_input()) << "Options raises the input panel for its numbers";
        // The fields start from the settings.
        EXPECT_EQ(GetDlgItemInt(Dialog(), IDC_PEN_END, nullptr, FALSE), 2u);
        EXPECT_EQ(GetDlgItemInt(Dialog(), IDC_ERASER_SIZE, nullptr, FALSE), 10u);
        Fill(IDC_PAGES, L"4");
        Fill(IDC_PEN_WIDTH, L"0");
        Fill(IDC_PEN_HEIGHT, L"25");
        Fill(IDC_PEN_END, L"7");
        Fill(IDC_ERASER_SIZE, L"0");
    });
    Idle([] {
        EXPECT_EQ(std::tuple(NotepadHeight, PageCount), std::tuple(4 * 320, 4));
        EXPECT_EQ(std::tuple(Settings.PenWidth, Settings.PenHeight, Settings.PenEnd, Settings.EraserWidth,
                             Settings.EraserHeight),
                  std::tuple(1, 20, 7, 0, 0));
        ExpectStored({{L"PenWidth", 1}, {L"PenHeight", 20}, {L"PenEnd", 7}, {L"EraserSize", 0}});
    });
    Options([] { Fill(IDC_PAGES, L"150"); });
    Idle([this] {
        EXPECT_EQ(GetActiveWindow(), MainWindow);
        EXPECT_EQ(std::tuple(PageCount, NotepadHeight, ViewOffset), std::tuple(100, 100 * 320, 0));
        EXPECT_FALSE(ImageBit(3, 2 * 320 + 10)) << "the third page's ink survives growing";
    });
    Options([] {
        Fill(IDC_PAGES, L"0");
        Fill(IDC_PEN_WIDTH, L"9");
        Fill(IDC_ERASER_SIZE, L"35");  // the eraser has no bounds
        Choose(IDC_PEN_COLOUR, ColourIndex(0x000000FF));
        Choose(IDC_PAGE_COLOUR, ColourIndex(0x000000FF));
    });
    AnswerMessageBox(L"Warning Pen and Page colours are the same!", VK_ESCAPE);
    Idle([] {
        EXPECT_NE(GetActiveWindow(), MainWindow);
        // Not the eraser size, which comes after the colours.
        ExpectStored({{L"PenColour", 0x000000FF}, {L"BakColour", 0x000000FF}, {L"EraserSize", 0}});
        EXPECT_EQ(Settings.EraserWidth, 0);
        Choose(IDC_PAGE_COLOUR, ColourIndex(0x0000FFFF));
    });
    PressOk();
    // Return answers Cancel until the user moves to OK: the pages stay and Options stays open, with
    // everything before the page count in effect.
    AnswerMessageBox(PagesLost, VK_RETURN);
    Idle([] {
        EXPECT_NE(GetActiveWindow(), MainWindow);
        EXPECT_EQ(std::tuple(PageCount, Settings.PenWidth, Settings.PenColour, Settings.EraserWidth),
                  std::tuple(100, 9, 0x000000FFu, 35));
        EXPECT_EQ(StoredNumber(L"EraserSize"), 35);
    });
    PressOk();
    AnswerMessageBox(PagesLost, VK_LEFT);
    AnswerMessageBox(PagesLost, VK_RETURN);
    Idle([this] {
        EXPECT_EQ(GetActiveWindow(), MainWindow);
        EXPECT_EQ(PageCount, 1);
        ASSERT_EQ(NotepadHeight, 320);
        // The new colours reach the screen once the dialog has returned: red ink on a yellow page.
        EXPECT_EQ(GetTextColor(ScreenContext), 0x000000FFu);
        EXPECT_TRUE(ScreenAreaIs(0, 100, 200, 110, 0x00FFFF00));
    });
    Finish();
}

}  // namespace
