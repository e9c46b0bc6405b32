#include "program_test.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "app/app.h"
#include "testing.h"
#include "notepad/notepad.h"
#include "settings/settings.h"
#include "system/module.h"
#include "toolbutton/toolbutton.h"
#include "window/screen.h"

void ProgramTest::SetUp() {
    char pattern[] = "/tmp/scrivo-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::filesystem::create_directories(ConfigDir());
    setenv("XDG_CONFIG_HOME", ConfigDir().c_str(), 1);
    setenv("XDG_DATA_HOME", DataDir().c_str(), 1);
    platform::set_program_path(dir_ + "/scrivo");
    UseScreen(240, 320);
}

void ProgramTest::TearDown() {
    EXPECT_EQ(stepsRun_, stepsQueued_) << "steps queued behind the close never ran";
    // The platform's limits outlive the program's globals when tests share a process.
    platform::set_pixel_memory_limit(std::numeric_limits<std::int64_t>::max());
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

void ProgramTest::Idle(std::function<void()> step) {
    ++stepsQueued_;
    screen_->when_idle([this, step = std::move(step)] {
        ++stepsRun_;
        step();
    });
}

void ProgramTest::Key(int vk) {
    Idle([this, vk] { Press(vk); });
}

void ProgramTest::Command(WORD id) {
    Idle([id] { PostMessageW(MainWindow, WM_COMMAND, id, 0); });
}

void ProgramTest::Press(int vk) {
    screen_->push({platform::DeviceEvent::Type::KeyDown, 0, 0, vk});
    screen_->push({platform::DeviceEvent::Type::KeyUp, 0, 0, vk});
}

void ProgramTest::Tap(int x, int y) { Drag({{x, y}}); }

void ProgramTest::Drag(const std::vector<POINT>& points) {
    Idle([this, points] { Stroke(points); });
}

void ProgramTest::Stroke(const std::vector<POINT>& points) {
    using Type = platform::DeviceEvent::Type;
    screen_->push({Type::PointerDown, points.front().x, points.front().y});
    for (std::size_t i = 1; i < points.size(); ++i) screen_->push({Type::PointerMove, points[i].x, points[i].y});
    screen_->push({Type::PointerUp, points.back().x, points.back().y});
}

void ProgramTest::AnswerMessageBox(const std::wstring& expected, int vk, const std::wstring& caption) {
    Idle([this, expected, vk, caption] { AnswerOpenBox(expected, vk, caption); });
}

void ProgramTest::AnswerOpenBox(const std::wstring& expected, int vk, const std::wstring& expectedCaption) {
    std::wstring text, caption;
    ASSERT_TRUE(OpenMessageBox(&text, &caption)) << "no message box is open";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(caption, expectedCaption);
    Press(vk);
}

void ProgramTest::AnswerRescueBox(const std::wstring& reason) {
    Idle([this, reason] {
        const std::string copy = RescueCopy();
        ASSERT_FALSE(copy.empty()) << "no rescue copy";
        AnswerOpenBox(L"The notepad could not be saved: " + reason + L". What you wrote is kept in " +
                          std::wstring(copy.begin(), copy.end()) + L".",
                      VK_RETURN);
    });
}

std::string ProgramTest::RescueCopy() const {
    std::error_code missing;
    std::string found;
    for (const auto& entry : std::filesystem::directory_iterator(DataDir() + "/scrivo", missing)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Scrivo-", 0) != 0 || entry.path().extension() != ".bmp") continue;
        EXPECT_TRUE(found.empty()) << "two rescue copies";
        found = entry.path().string();
    }
    return found;
}

void ProgramTest::Close() {
    Idle([] { PostMessageW(MainWindow, WM_CLOSE, 0, 0); });
}

LONG ProgramTest::StoredNumber(LPCWSTR name, LONG absent) {
    DWORD type = REG_DWORD, size = sizeof(LONG);
    LONG value = 0;
    return RegistryValue(REGISTRY_READ, name, &type, &value, &size) == 1 ? value : absent;
}

void ProgramTest::StoreNumber(LPCWSTR name, LONG value) {
    DWORD type = REG_DWORD, size = sizeof value;
    ASSERT_EQ(RegistryValue(REGISTRY_STORE, name, &type, &value, &size), 1);
}

void ProgramTest::Finish() {
    Close();
    EXPECT_EQ(RunScrivo(), 0);
}

void ProgramTest::OnNewPad(std::function<void()> step) {
    AnswerNewPad();
    Idle(std::move(step));
    Finish();
}

std::uint32_t ProgramTest::Pixel(int x, int y) const {
    platform::compose_changes();
    return screen_->pixel(x, y);
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

bool ProgramTest::ScreenShowsImage(std::uint32_t ink, std::uint32_t paper, bool underIndicator) const {
    const RECT indicator = ScaledRect(PageIndicatorOuter);
    for (int y = 0; y < PageHeight; ++y)
        for (int x = 0; x < PageWidth; ++x) {
            if (OnToolButton(x, y)) continue;
            if (!underIndicator && x < indicator.right && y < indicator.bottom) continue;
            if (Pixel(x, y) != (ImageBit(x, y + ViewOffset) ? paper : ink)) return false;
        }
    return true;
}

bool ProgramTest::OnToolButton(int x, int y) const {
    RECT button{};
    return IsWindowVisible(ToolButton) && GetWindowRect(ToolButton, &button) && x >= button.left &&
           x < button.right && y >= button.top && y < button.bottom;
}

std::vector<std::uint32_t> ProgramTest::ToolButtonFace() const {
    RECT button{};
    GetWindowRect(ToolButton, &button);
    std::vector<std::uint32_t> face;
    for (int y = button.top; y < button.bottom; ++y)
        for (int x = button.left; x < button.right; ++x) face.push_back(Pixel(x, y));
    return face;
}

bool OpenMessageBox(std::wstring* text, std::wstring* caption) {
    return platform::message_box_info(GetActiveWindow(), text, caption);
}

bool MenuIsOpen() { return platform::popup_menu_items(GetActiveWindow(), nullptr); }

void PutField(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void WriteBmp(const std::string& path, int width, int height, const std::function<bool(int, int)>& ink,
              const BmpOptions& options) {
    const std::size_t stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const std::size_t offBits = 14 + static_cast<std::size_t>(options.infoSize) + 8;
    std::vector<std::uint8_t> file(offBits + stride * static_cast<std::size_t>(height), 0);
    file[0] = 'B';
    file[1] = 'M';
    PutField(file, 2, static_cast<std::uint32_t>(file.size()));
    PutField(file, 10, static_cast<std::uint32_t>(offBits));
    PutField(file, 14, static_cast<std::uint32_t>(options.infoSize));
    PutField(file, 18, static_cast<std::uint32_t>(width));
    PutField(file, 22, static_cast<std::uint32_t>(options.topDown ? -height : height));
    PutField(file, 26, 1, 2);
    PutField(file, 28, 1, 2);
    PutField(file, 46, 2);
    const std::size_t table = 14 + static_cast<std::size_t>(options.infoSize);
    const std::size_t white = options.whiteFirst ? table : table + 4;
    file[white] = file[white + 1] = file[white + 2] = 255;
    const bool inkBit = options.whiteFirst;
    for (int y = 0; y < height; ++y) {
        const int stored = options.topDown ? y : height - 1 - y;
        std::uint8_t* row = file.data() + offBits + static_cast<std::size_t>(stored) * stride;
        for (int x = 0; x < width; ++x) {
            const bool bit = ink(x, y) ? inkBit : !inkBit;
            if (bit) row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (0x80 >> (x % 8)));
        }
    }
    WriteWholeFile(path, file);
}

bool FileHasInkAt(const std::string& path, int x, int y) {
    const std::vector<std::uint8_t> file = ReadWholeFile(path);
    if (file.size() < 62) return false;
    const auto width = static_cast<int>(Read32(file, 18)), height = static_cast<int>(Read32(file, 22));
    const std::size_t stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const std::uint32_t offBits = Read32(file, 10);
    if (x >= width || y >= height || file.size() < offBits + stride * static_cast<std::size_t>(height)) return false;
    const std::uint8_t* row = file.data() + offBits + static_cast<std::size_t>(height - 1 - y) * stride;
    return !((row[x / 8] >> (7 - x % 8)) & 1);
}

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
