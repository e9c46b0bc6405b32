// Start-up, the notepad on screen, the page indicator and the shutdown.
#include <algorithm>

#include "app/app.h"
#include "core/surface.h"
#include "testing.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "toolbutton/toolbutton.h"

// The page indicator shows the page at the top of the view, and leaves no trace.
TEST_F(ProgramTest, FirstRunAnnouncesNewPadOverTheNewPageTheWindowCarriesTheIconAndThePageIndicatorShows) {
    Idle([this] {
        std::wstring text, caption;
        ASSERT_TRUE(OpenMessageBox(&text, &caption));
        EXPECT_EQ(text, L"New Pad Created");
        // The page and its button are drawn before the box: it does not stand over a black screen.
        EXPECT_TRUE(ScreenAreaIs(0, 0, 200, 40, BluePage));
        EXPECT_TRUE(IsWindowVisible(ToolButton));
        EXPECT_NE(Pixel(239 - 16, 16), BluePage) << "no tool button face";
        // Task switchers and panels show the program's icon for its window, with its black left out.
        const auto& icon = screen_->icon();
        ASSERT_EQ(screen_->icon_width(), 32);
        ASSERT_EQ(icon.size(), 32u * 32u);
        const auto clear = std::count_if(icon.begin(), icon.end(), [](std::uint32_t p) { return p == 0; });
        const auto opaque = std::count_if(icon.begin(), icon.end(), [](std::uint32_t p) { return (p >> 24) == 0xFF; });
        EXPECT_GT(clear, 0);
        EXPECT_GT(opaque, 100);
        EXPECT_EQ(clear + opaque, static_cast<long>(icon.size()));
        Press(VK_RETURN);
    });
    Idle([this] {
        // Half-way down page 2 the current page spans pages 2 and 3; its number is 2.
        ViewOffset = PageHeight + PageHeight / 2;
        // A mark in the notepad image only, so the repaint has something to show.
        PatBlt(NotepadImage.Context, 0, ViewOffset, PageWidth, 8, BLACKNESS);
        RepaintFromImage(0, 0, PageWidth, PageHeight);
        ShowPageIndicator();

        // A one-pixel frame in the ink colour around a box in the page colour, and nothing beyond.
        EXPECT_TRUE(ScreenAreaIs(0, 0, 30, 1, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(0, 16, 30, 17, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(0, 0, 1, 17, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(29, 0, 30, 17, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(30, 0, 240, 8, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(30, 8, 240, 320, BluePage));
        EXPECT_TRUE(ScreenAreaIs(0, 17, 240, 320, BluePage));

        // The digits are drawn in the ink colour inside the inner box: compare with "2" drawn the
        // same way in a box of our own, so a wrong number fails.
        HDC scratch = CreateCompatibleDC(ScreenContext);
        HBITMAP canvas = CreateCompatibleBitmap(ScreenContext, 30, 17);
        HGDIOBJ oldBitmap = SelectObject(scratch, canvas);
        HGDIOBJ oldFont = SelectObject(scratch, PageIndicatorFont);
        SetTextColor(scratch, 0x00FFFFFF);
        SetBkColor(scratch, 0x00FF0000);
        PatBlt(scratch, 0, 0, 30, 17, BLACKNESS);
        auto rendered = [&](const wchar_t* number) {
            StretchBlt(scratch, 1, 1, 28, 15, EraserStamp, 0, 0, 1, 1, SRCCOPY);
            RECT box = PageIndicatorText;
            DrawTextW(scratch, number, -1, &box, DT_CENTER | DT_VCENTER);
            int differences = 0;
            for (int y = 1; y < 16; ++y)
                for (int x = 1; x < 29; ++x)
                    if (GetPixel(scratch, x, y) != platform::colorref_from_pixel(Pixel(x, y))) ++differences;
            return differences;
        };
        EXPECT_EQ(rendered(L"2"), 0);
        EXPECT_GT(rendered(L"3"), 0);
        SelectObject(scratch, oldFont);
        SelectObject(scratch, oldBitmap);
        DeleteObject(canvas);
        DeleteDC(scratch);

        ErasePageIndicator();
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
    });
    Finish();
}

TEST_F(ProgramTest, WithoutMemoryForANotepadTheUserIsToldAndTheProgramEnds) {
    // The stamps fit; five pages of 240 × 320 (48 000 bytes) do not.
    platform::set_pixel_memory_limit(40000);
    AnswerMessageBox(L"There is not enough memory for a notepad. Scrivo has to close.");
    EXPECT_EQ(RunScrivo(), 1);
    EXPECT_FALSE(IsWindow(MainWindow));
    EXPECT_EQ(platform::gdi_live_objects(), 0u);
}
