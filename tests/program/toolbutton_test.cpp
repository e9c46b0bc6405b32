// The tool button: a tap switches pen and eraser, a hold asks for the command menu.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "core/clock.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "system/module.h"
#include "testing.h"
#include "toolbutton/toolbutton.h"

namespace {

// A face as its file holds it, read here independently of the platform: 0x00RRGGBB, top row first.
struct Face {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Face ReadFace(const std::string& file) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(std::string(SCRIVO_RESOURCES_DIR) + "/" + file);
    const auto u32 = [&](std::size_t at) {
        return std::uint32_t{bytes.at(at)} | std::uint32_t{bytes.at(at + 1)} << 8 |
               std::uint32_t{bytes.at(at + 2)} << 16 | std::uint32_t{bytes.at(at + 3)} << 24;
    };
    Face face;
    face.width = static_cast<int>(u32(18));
    face.height = static_cast<int>(u32(22));
    face.bitsPerPixel = bytes.at(28);
    if (face.bitsPerPixel != 4) return face;
    const std::size_t table = 14 + u32(14);
    const std::size_t stride = (static_cast<std::size_t>(face.width) * 4 + 31) / 32 * 4;
    for (int y = 0; y < face.height; ++y)
        for (int x = 0; x < face.width; ++x) {
            const std::uint8_t pair = bytes.at(u32(10) + static_cast<std::size_t>(face.height - 1 - y) * stride + x / 2);
            const std::size_t entry = table + 4 * static_cast<std::size_t>(x % 2 ? pair & 0x0F : pair >> 4);
            face.pixels.push_back(std::uint32_t{bytes.at(entry + 2)} << 16 | std::uint32_t{bytes.at(entry + 1)} << 8 |
                                  bytes.at(entry));
        }
    return face;
}

const char* const PenFace = "tool_pen.bmp";
const char* const PenPressedFace = "tool_pen_pressed.bmp";
const char* const EraserFace = "tool_eraser.bmp";
const char* const EraserPressedFace = "tool_eraser_pressed.bmp";

// A stand-in for the main window: it paints itself in the page's blue, draws the button again on
// top as the main window does, and notes the moments the button asks for the command menu.
std::vector<std::uint64_t> MenuRequests;

LRESULT HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC context = BeginPaint(window, &paint);
        HBRUSH page = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(context, &paint.rcPaint, page);
        DeleteObject(page);
        EndPaint(window, &paint);
        InvalidateRect(ToolButton, nullptr, FALSE);
        UpdateWindow(ToolButton);
        return 0;
    }
    case WM_APP:
        MenuRequests.push_back(platform::clock_peek());
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

class ToolButtonTest : public ProgramTest {
protected:
    // The button alone on the stand-in main window, with a message loop, until the script closes it.
    void RunButton() {
        AppInstance = platform::program_instance();
        GetScreenSize(&PageWidth, &PageHeight);
        WNDCLASSW hostClass = {};
        hostClass.lpfnWndProc = HostProc;
        hostClass.hInstance = AppInstance;
        hostClass.lpszClassName = L"Host";
        RegisterClassW(&hostClass);
        MainWindow = CreateWindowExW(0, L"Host", L"Host", WS_VISIBLE, 0, 0, PageWidth, PageHeight, nullptr, nullptr,
                                     AppInstance, nullptr);
        CreateToolButton(MainWindow, AppInstance);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0)) DispatchMessageW(&message);
    }

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
            pressedAt_ = platform::clock_peek();
            Down(x, y);
            for (const auto& [after, step] : steps) screen_->at_time(pressedAt_ + after, step);
        });
    }

    void CloseHost() {
        Idle([] { PostMessageW(MainWindow, WM_CLOSE, 0, 0); });
    }

    // The screen shows the face at the button's place, each face pixel `scale` screen pixels square.
    bool ScreenShowsFace(const char* file, int scale = 1) const {
        const Face face = ReadFace(file);
        const int left = PageWidth - face.width * scale - 1;
        for (int y = 0; y < face.height * scale; ++y)
            for (int x = 0; x < face.width * scale; ++x)
                if (Pixel(left + x, 1 + y) != face.At(x / scale, y / scale)) return false;
        return true;
    }

    std::uint64_t pressedAt_ = 0;
};

// The button on a 240-pixel screen covers columns 209 to 238 and rows 1 to 30.
constexpr int Inside = 224;
constexpr int Middle = 15;

TEST_F(ToolButtonTest, TheFacesAreFourBitThirtyPixelsSquareAndFreeOfTheTransparentBlue) {
    for (const char* file : {PenFace, PenPressedFace, EraserFace, EraserPressedFace}) {
        const Face face = ReadFace(file);
        EXPECT_EQ(face.bitsPerPixel, 4) << file;
        EXPECT_EQ(face.width, 30) << file;
        EXPECT_EQ(face.height, 30) << file;
        for (std::uint32_t pixel : face.pixels) ASSERT_NE(pixel, BluePage) << file;
    }
}

TEST_F(ToolButtonTest, ATapSwitchesTheModePlaysThePopAndShowsTheNewModesFaceWhenItEndsOnTheButton) {
    InstallSound();
    Idle([this] {
        EXPECT_TRUE(ScreenShowsFace(PenFace));
        Down(Inside, Middle);
    });
    Idle([this] {
        EXPECT_TRUE(ScreenShowsFace(PenPressedFace));
        EXPECT_EQ(GetCapture(), ToolButton);
        Up(Inside, Middle);
    });
    Idle([this] {
        EXPECT_EQ(DrawMode, DRAW_ERASER);
        EXPECT_EQ(screen_->sounds(), 1);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_TRUE(ScreenShowsFace(EraserFace));
        Down(Inside, Middle);
    });
    Idle([this] {
        EXPECT_TRUE(ScreenShowsFace(EraserPressedFace));
        Up(Inside, Middle);
    });
    Idle([this] {
        EXPECT_EQ(DrawMode, DRAW_PEN);
        EXPECT_EQ(screen_->sounds(), 2);
        EXPECT_TRUE(ScreenShowsFace(PenFace));
        // Without the sound file the tap still switches, silently.
        std::filesystem::remove(ProgramDir() + "/MenuPop.wav");
        Down(Inside, Middle);
        Up(Inside, Middle);
    });
    Idle([this] {
        EXPECT_EQ(DrawMode, DRAW_ERASER);
        EXPECT_EQ(screen_->sounds(), 2);
        EXPECT_TRUE(ScreenShowsFace(EraserFace));
        EXPECT_TRUE(MenuRequests.empty());
    });
    // The button's left column and top row are outside it; its last column and row are inside.
    const std::pair<POINT, DrawModeKind> lifts[] = {
        {{209, Middle}, DRAW_ERASER}, {{Inside, 1}, DRAW_ERASER}, {{238, 30}, DRAW_PEN}, {{239, Middle}, DRAW_PEN}};
    for (const auto& entry : lifts) {
        const POINT lift = entry.first;
        const DrawModeKind mode = entry.second;
        Idle([this, lift] {
            Down(Inside, Middle);
            Up(lift.x, lift.y);
        });
        Idle([mode, lift] { EXPECT_EQ(DrawMode, mode) << lift.x << "," << lift.y; });
    }
    CloseHost();
    RunButton();
}

TEST_F(ToolButtonTest, JitterKeepsTheHoldARealMoveOrAReturnFromOutsideStartsItAgainAndSlidingOffEndsIt) {
    InstallSound();
    ASSERT_EQ(GetSystemMetrics(SM_CYDRAG), DragDistance());
    PressThen(Inside, Middle,
              {// Still enough: the menu comes 400 ms after the press.
               {100, [this] { Move(Inside + DragDistance(), Middle - DragDistance()); }},
               {200, [this] { Move(Inside - DragDistance(), Middle + DragDistance()); }},
               {300, [this] { Move(Inside, Middle); }},
               {450, [this] { Up(Inside, Middle); }},
               // One pixel more is a real move: the wait starts again.
               {1000, [this] { Down(Inside, Middle); }},
               {1100, [this] { Move(Inside + DragDistance() + 1, Middle); }},
               {1550, [this] { Up(Inside, Middle); }},
               // Small steps that together go farther: measured from where the wait last started.
               {2000, [this] { Down(216, Middle); }},
               {2100, [this] { Move(216 + DragDistance(), Middle); }},
               {2200, [this] { Move(216 + 2 * DragDistance(), Middle); }},
               {2300, [this] { Move(216 + DragDistance(), Middle); }},
               {2650, [this] { Up(Inside, Middle); }},
               // Back from outside, the wait starts where the stylus came back in, not at the
               // button's corner.
               {3000, [this] { Down(Inside, Middle); }},
               {3100, [this] { Move(Inside, 60); }},
               {3200, [this] { Move(214, 6); }},
               {3201, [this] { EXPECT_TRUE(ScreenShowsFace(PenPressedFace)); }},
               {3300, [this] { Move(215, 7); }},
               {3650, [this] { Up(Inside, Middle); }},
               // Slid off the button, the press stays without a hold, and a lift outside does nothing.
               {4000, [this] { Down(Inside, Middle); }},
               {4100, [this] { Move(150, 100); }},
               {4101,
                [this] {
                    EXPECT_TRUE(ButtonPressed);
                    EXPECT_EQ(HoldTimer, 0u);
                    EXPECT_EQ(GetCapture(), ToolButton);
                    EXPECT_TRUE(ScreenShowsFace(PenFace));
                }},
               {5000, [this] { Up(150, 100); }},
               {5001, [this] {
                    const std::uint64_t t = pressedAt_;
                    EXPECT_EQ(MenuRequests, (std::vector<std::uint64_t>{t + 400, t + 1500, t + 2600, t + 3600}));
                    EXPECT_EQ(DrawMode, DRAW_PEN);
                    EXPECT_EQ(screen_->sounds(), 0);
                    EXPECT_EQ(GetCapture(), nullptr);
                    EXPECT_TRUE(ScreenShowsFace(PenFace));
                    PostMessageW(MainWindow, WM_CLOSE, 0, 0);
                }}});
    RunButton();
}

TEST_F(ToolButtonTest, StartUpPutsThePenFaceInTheCornerPagingKeepsItAndShutdownRemovesIt) {
    AnswerNewPad();
    Idle([this] {
        RECT place{};
        GetWindowRect(ToolButton, &place);
        EXPECT_EQ(place.left, 209);
        EXPECT_EQ(place.top, 1);
        EXPECT_EQ(Pixel(208, 15), BluePage);
        EXPECT_NE(Pixel(209, 15), BluePage);
        EXPECT_EQ(Pixel(239, 15), BluePage);
    });
    Key(VK_DOWN);
    Idle([this] {
        EXPECT_EQ(ViewOffset, PageHeight);
        EXPECT_TRUE(IsWindowVisible(ToolButton));
        EXPECT_NE(Pixel(224, 15), BluePage);
        // Hidden, the button leaves the page behind it; a repaint of the main window draws it again.
        HideToolButton();
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
        EXPECT_EQ(Pixel(224, 15), BluePage);
        ShowWindow(ToolButton, SW_SHOW);
        InvalidateRect(MainWindow, nullptr, FALSE);
        UpdateWindow(MainWindow);
        EXPECT_NE(Pixel(224, 15), BluePage);
    });
    Finish();
    EXPECT_FALSE(IsWindow(ToolButton));
}

TEST_F(ToolButtonTest, AHoldOpensTheCommandMenuOnceAndTheLiftAfterItChangesNothing) {
    InstallSound();
    AnswerNewPad();
    PressThen(Inside, Middle,
              {{399, [] { EXPECT_FALSE(platform::popup_menu_items(GetActiveWindow(), nullptr)); }},
               {401,
                [this] {
                    EXPECT_TRUE(platform::popup_menu_items(GetActiveWindow(), nullptr));
                    EXPECT_FALSE(ButtonPressed);
                    Up(Inside, Middle);
                    Press(VK_ESCAPE);
                }},
               // A second request would have opened the menu again.
               {2000, [this] {
                    EXPECT_FALSE(platform::popup_menu_items(GetActiveWindow(), nullptr));
                    EXPECT_EQ(DrawMode, DRAW_PEN);
                    EXPECT_EQ(screen_->sounds(), 0);
                    EXPECT_TRUE(ScreenShowsFace(PenFace));
                    PostMessageW(MainWindow, WM_CLOSE, 0, 0);
                }}});
    EXPECT_EQ(RunScrivo(), 0);
}

TEST_F(ToolButtonTest, OnA4KScreenTheButtonAndThePageIndicatorAreTwiceAsLarge) {
    UseScreen(3840, 2160);
    AnswerNewPad();
    Idle([this] {
        EXPECT_EQ(DisplayScale, 2);
        RECT place{};
        GetWindowRect(ToolButton, &place);
        EXPECT_EQ(place.left, 3840 - 61);
        EXPECT_EQ(place.top, 1);
        EXPECT_EQ(place.right, 3839);
        EXPECT_EQ(place.bottom, 61);
        EXPECT_TRUE(ScreenShowsFace(PenFace, 2));

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
        EXPECT_TRUE(ScreenShowsFace(EraserFace, 2));
    });
    Finish();
}
