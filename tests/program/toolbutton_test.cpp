// The tool button: a tap switches pen and eraser, a hold asks for the command menu.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app.h"
#include "core/clock.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "system/module.h"
#include "testing.h"
#include "toolbutton/toolbutton.h"

class ToolButtonTest : public ProgramTest {
protected:
    void InstallSound() {
        std::filesystem::copy_file(std::string(SCRIVO_RESOURCES_DIR) + "/MenuPop.wav", ProgramDir() + "/MenuPop.wav");
    }

    void Pointer(platform::DeviceEvent::Type type, int x, int y) { screen_->push({type, x, y}); }
    void Down(int x, int y) { Pointer(platform::DeviceEvent::Type::PointerDown, x, y); }
    void Move(int x, int y) { Pointer(platform::DeviceEvent::Type::PointerMove, x, y); }
    void Up(int x, int y) { Pointer(platform::DeviceEvent::Type::PointerUp, x, y); }

    static int DragDistance() { return GetSystemMetrics(SM_CXDRAG); }

    // Puts the stylus down at (x, y), then runs each step that many milliseconds after the press.
    void PressThen(int x, int y, std::vector<std::pair<std::uint64_t, std::function<void()>>> steps) {
        Idle([this, x, y, steps] {
            const std::uint64_t pressedAt = platform::clock_peek();
            Down(x, y);
            for (const auto& [after, step] : steps) screen_->at_time(pressedAt + after, step);
        });
    }

    // The screen shows the face the program loads from its resources at the button's place; the
    // face itself holds none of the blue the button leaves transparent.
    bool ScreenShowsFace(WORD resource) const {
        const HBITMAP face = LoadBitmapW(platform::program_instance(), MAKEINTRESOURCEW(resource));
        BITMAP size{};
        GetObjectW(face, sizeof size, &size);
        const HDC context = CreateCompatibleDC(nullptr);
        const HGDIOBJ old = SelectObject(context, face);
        bool shows = size.bmWidth > 0;
        for (int y = 0; y < size.bmHeight; ++y)
            for (int x = 0; x < size.bmWidth; ++x) {
                const COLORREF colour = GetPixel(context, x, y);
                const std::uint32_t pixel = std::uint32_t{GetRValue(colour)} << 16 | GetGValue(colour) << 8 | GetBValue(colour);
                shows = shows && pixel != BluePage && Pixel(PageWidth - size.bmWidth - 1 + x, 1 + y) == pixel;
            }
        SelectObject(context, old);
        DeleteDC(context);
        DeleteObject(face);
        return shows;
    }
};

// The button on a 240-pixel screen covers columns 209 to 238 and rows 1 to 30.
constexpr int Inside = 224;
constexpr int Middle = 15;

TEST_F(ToolButtonTest, ATapSwitchesTheModePlaysThePopAndShowsTheNewModesFaceWhenItEndsOnTheButton) {
    InstallSound();
    AnswerNewPad();
    // Pen to eraser and back: the face pressed while the stylus is down, then the new mode's face.
    const WORD faces[] = {IDB_PEN, IDB_PEN_PRESSED, IDB_ERASER, IDB_ERASER_PRESSED, IDB_PEN};
    for (int tap = 0; tap < 2; ++tap) {
        Idle([this, &faces, tap] {
            EXPECT_TRUE(ScreenShowsFace(faces[2 * tap]));
            Down(Inside, Middle);
        });
        Idle([this, &faces, tap] {
            EXPECT_TRUE(ScreenShowsFace(faces[2 * tap + 1]));
            EXPECT_EQ(GetCapture(), ToolButton);
            Up(Inside, Middle);
        });
        Idle([this, &faces, tap] {
            EXPECT_EQ(std::tuple(DrawMode, screen_->sounds(), GetCapture()),
                      std::tuple(tap == 0 ? DRAW_ERASER : DRAW_PEN, tap + 1, HWND{}));
            EXPECT_TRUE(ScreenShowsFace(faces[2 * tap + 2]));
        });
    }
    // Without the sound file the tap still switches, silently.
    Idle([this] {
        std::filesystem::remove(ProgramDir() + "/MenuPop.wav");
        Down(Inside, Middle);
        Up(Inside, Middle);
    });
    Idle([this] {
        EXPECT_EQ(std::tuple(DrawMode, screen_->sounds()), std::tuple(DRAW_ERASER, 2));
        EXPECT_TRUE(ScreenShowsFace(IDB_ERASER));
        EXPECT_FALSE(MenuIsOpen());
    });
    // The button's left column and top row are outside it; its last column and row are inside.
    const std::pair<POINT, DrawModeKind> lifts[] = {
        {{209, Middle}, DRAW_ERASER}, {{Inside, 1}, DRAW_ERASER}, {{238, 30}, DRAW_PEN}, {{239, Middle}, DRAW_PEN}};
    for (const auto& [lift, mode] : lifts) {
        Idle([this, lift = lift] {
            Down(Inside, Middle);
            Up(lift.x, lift.y);
        });
        Idle([mode = mode, lift = lift] { EXPECT_EQ(DrawMode, mode) << lift.x << "," << lift.y; });
    }
    Finish();
}

// Each hold opens the command menu once, at the moment the wait for it ends: closed just before,
// open just after, and Escape closes it for the next one.
TEST_F(ToolButtonTest, AHoldOpensTheMenuOnceJitterKeepsItARealMoveOrAReturnStartsItAgainAndSlidingOffEndsIt) {
    InstallSound();
    AnswerNewPad();
    ASSERT_EQ(GetSystemMetrics(SM_CYDRAG), DragDistance());
    const auto closed = [] { EXPECT_FALSE(MenuIsOpen()); };
    const auto opens = [this] {
        EXPECT_TRUE(MenuIsOpen());
        EXPECT_FALSE(ButtonPressed);
        Press(VK_ESCAPE);
    };
    PressThen(Inside, Middle,
              {// Still enough: the menu comes 400 ms after the press, and the lift after it changes nothing.
               {100, [this] { Move(Inside + DragDistance(), Middle - DragDistance()); }},
               {200, [this] { Move(Inside - DragDistance(), Middle + DragDistance()); }},
               {300, [this] { Move(Inside, Middle); }},
               {399, closed},
               {401,
                [this, opens] {
                    Up(Inside, Middle);
                    opens();
                }},
               // A second request would have opened the menu again.
               {999, closed},
               // One pixel more is a real move: the wait starts again.
               {1000, [this] { Down(Inside, Middle); }},
               {1100, [this] { Move(Inside + DragDistance() + 1, Middle); }},
               {1499, closed},
               {1501, opens},
               {1550, [this] { Up(Inside, Middle); }},
               // Small steps that together go farther: measured from where the wait last started.
               {2000, [this] { Down(216, Middle); }},
               {2100, [this] { Move(216 + DragDistance(), Middle); }},
               {2200, [this] { Move(216 + 2 * DragDistance(), Middle); }},
               {2300, [this] { Move(216 + DragDistance(), Middle); }},
               {2599, closed},
               {2601, opens},
               {2650, [this] { Up(Inside, Middle); }},
               // Back from outside, the wait starts where the stylus came back in, not at the
               // button's corner.
               {3000, [this] { Down(Inside, Middle); }},
               {3100, [this] { Move(Inside, 60); }},
               {3200, [this] { Move(214, 6); }},
               {3201, [this] { EXPECT_TRUE(ScreenShowsFace(IDB_PEN_PRESSED)); }},
               {3300, [this] { Move(215, 7); }},
               {3599, closed},
               {3601, opens},
               {3650, [this] { Up(Inside, Middle); }},
               // Slid off the button, the press stays without a hold, and a lift outside does nothing.
               {4000, [this] { Down(Inside, Middle); }},
               {4100, [this] { Move(150, 100); }},
               {4101,
                [this] {
                    EXPECT_EQ(std::tuple(ButtonPressed, HoldTimer, GetCapture()), std::tuple(true, 0u, ToolButton));
                    EXPECT_TRUE(ScreenShowsFace(IDB_PEN));
                }},
               {5000, [this] { Up(150, 100); }},
               {5001, [this, closed] {
                    closed();
                    EXPECT_EQ(std::tuple(DrawMode, screen_->sounds(), GetCapture()), std::tuple(DRAW_PEN, 0, HWND{}));
                    EXPECT_TRUE(ScreenShowsFace(IDB_PEN));
                    PostMessageW(MainWindow, WM_CLOSE, 0, 0);
                }}});
    EXPECT_EQ(RunScrivo(), 0);
}

TEST_F(ToolButtonTest, OnA4KScreenTheButtonAndThePageIndicatorAreTwiceAsLarge) {
    UseScreen(3840, 2160);
    AnswerNewPad();
    Idle([this] {
        EXPECT_TRUE(ScreenShowsFace(IDB_PEN));

        // A frame two pixels wide around a box of 60 x 34, and a number more than 15 rows tall.
        ShowPageIndicator();
        EXPECT_TRUE(ScreenAreaIs(0, 0, 60, 2, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(0, 32, 60, 34, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(0, 0, 2, 34, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(58, 0, 60, 34, WhiteInk));
        EXPECT_TRUE(ScreenAreaIs(60, 0, 62, 36, BluePage));
        int numberRows = 0;
        for (int y = 2; y < 32; ++y) {
            bool ink = false;
            for (int x = 2; x < 58; ++x) ink = ink || Pixel(x, y) == WhiteInk;
            numberRows += ink;
        }
        EXPECT_GT(numberRows, 15);
        ErasePageIndicator();
        EXPECT_TRUE(ScreenAreaIs(0, 0, 62, 36, BluePage));
    });
    Tap(3840 - 31, 31);
    Idle([this] {
        EXPECT_EQ(DrawMode, DRAW_ERASER);
        EXPECT_TRUE(ScreenShowsFace(IDB_ERASER));
    });
    Finish();
}
