#include "program_test.h"

#include <cstdlib>
#include <filesystem>

#include "app/app.h"
#include "controls/message_box.h"
#include "notepad/notepad.h"
#include "system/module.h"

void ProgramTest::SetUp() {
    char pattern[] = "/tmp/scrivo-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::filesystem::create_directories(ConfigDir());
    setenv("XDG_CONFIG_HOME", ConfigDir().c_str(), 1);
    platform::set_program_path(dir_ + "/scrivo");
    UseScreen(240, 320);
}

void ProgramTest::TearDown() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void ProgramTest::UseScreen(int width, int height, std::uint64_t clockStart) {
    screen_ = &platform::use_headless_backend(width, height, clockStart);
}

int ProgramTest::RunScrivo() {
    WCHAR commandLine[] = L"";
    return WinMain(platform::program_instance(), nullptr, commandLine, SW_SHOW);
}

void ProgramTest::Idle(std::function<void()> step) { screen_->when_idle(std::move(step)); }

void ProgramTest::Key(int vk) {
    Idle([this, vk] {
        screen_->push({platform::DeviceEvent::Type::KeyDown, 0, 0, vk});
        screen_->push({platform::DeviceEvent::Type::KeyUp, 0, 0, vk});
    });
}

void ProgramTest::Tap(int x, int y) { Drag({{x, y}}); }

void ProgramTest::Drag(const std::vector<POINT>& points) {
    Idle([this, points] {
        using Type = platform::DeviceEvent::Type;
        screen_->push({Type::PointerDown, points.front().x, points.front().y});
        for (std::size_t i = 1; i < points.size(); ++i) screen_->push({Type::PointerMove, points[i].x, points[i].y});
        screen_->push({Type::PointerUp, points.back().x, points.back().y});
    });
}

void ProgramTest::AnswerMessageBox(const std::wstring& expected, int vk) {
    Idle([this, expected, vk] {
        std::wstring text, caption;
        ASSERT_TRUE(OpenMessageBox(&text, &caption)) << "no message box is open";
        EXPECT_EQ(text, expected);
        EXPECT_EQ(caption, L"Scrivo");
        screen_->push({platform::DeviceEvent::Type::KeyDown, 0, 0, vk});
        screen_->push({platform::DeviceEvent::Type::KeyUp, 0, 0, vk});
    });
}

void ProgramTest::Close() {
    Idle([] { PostMessageW(MainWindow, WM_CLOSE, 0, 0); });
}

bool ProgramTest::ScreenAreaIs(int left, int top, int right, int bottom, std::uint32_t pixel) const {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Pixel(x, y) != pixel) return false;
    return true;
}

bool ProgramTest::ImageBit(int x, int y) const {
    const BYTE* row = NotepadImage.Bits + static_cast<std::ptrdiff_t>(NotepadHeight - 1 - y) * NotepadStride;
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

bool ProgramTest::ScreenShowsImage(std::uint32_t ink, std::uint32_t paper) const {
    for (int y = 0; y < PageHeight; ++y)
        for (int x = 0; x < PageWidth; ++x)
            if (Pixel(x, y) != (ImageBit(x, y + ViewOffset) ? paper : ink)) return false;
    return true;
}

bool OpenMessageBox(std::wstring* text, std::wstring* caption) {
    return platform::message_box_info(GetActiveWindow(), text, caption);
}
