// Runs the real program in-process on the headless backend and the virtual clock, with a scripted
// user. Each test runs in its own process, so the program's globals start fresh.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "backend/headless/headless.h"
#include "platform/platform.h"

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh screen of that size; call before RunScrivo when 240 × 320 is not wanted.
    void UseScreen(int width, int height, std::uint64_t clockStart = 0);
    int RunScrivo();

    // The script.
    void Idle(std::function<void()> step);
    void Key(int vk);
    void Command(WORD id);  // an idle step that sends the main window the command
    void Press(int vk);  // the key pressed and let go now, not as a step of its own
    void Tap(int x, int y);
    void Drag(const std::vector<POINT>& points);
    void Stroke(const std::vector<POINT>& points);  // the stroke now, not as a step of its own
    // An idle step that expects a message box with this text and caption and answers it with the key.
    void AnswerMessageBox(const std::wstring& text, int vk = VK_RETURN, const std::wstring& caption = L"Scrivo");
    void AnswerNewPad() { AnswerMessageBox(L"New Pad Created"); }
    // A first start: the "New Pad Created" box answered, then the step, then a clean close.
    void OnNewPad(std::function<void()> step);
    // The box of a save at exit that failed for `reason` and kept the notepad in RescueCopy().
    void AnswerRescueBox(const std::wstring& reason);
    void Close();
    // Closes the program and expects it to end cleanly.
    void Finish();

    // The screen as the next refresh shows it, and the colours the program shows. Reading the
    // screen first composes what the program drew since the last present, without moving the clock.
    std::uint32_t Pixel(int x, int y) const;
    bool ScreenAreaIs(int left, int top, int right, int bottom, std::uint32_t pixel) const;
    // The screen shows exactly the notepad rows starting at `ViewOffset` in the given colours,
    // everywhere but under the tool button, and optionally apart from the page indicator's box.
    bool ScreenShowsImage(std::uint32_t ink, std::uint32_t paper, bool underIndicator = true) const;
    // The screen point is covered by the tool button, when it shows.
    bool OnToolButton(int x, int y) const;
    // The screen's pixels under the tool button, row by row.
    std::vector<std::uint32_t> ToolButtonFace() const;
    bool ImageBit(int x, int y) const;  // true for paper

    // A number in the program's settings store, or `absent` when it holds none.
    static LONG StoredNumber(LPCWSTR name, LONG absent = -12345);
    static void StoreNumber(LPCWSTR name, LONG value);

    std::string ProgramDir() const { return dir_; }
    std::string NotepadPath() const { return dir_ + "/Scrivo.bmp"; }
    std::string ConfigDir() const { return dir_ + "/config"; }
    // The user's data folder; made by the program when it keeps the notepad there.
    std::string DataDir() const { return dir_ + "/data"; }
    // The one copy a failed save at exit kept in the data folder; empty when there is none.
    std::string RescueCopy() const;

    platform::HeadlessBackend* screen_ = nullptr;

private:
    void AnswerOpenBox(const std::wstring& expected, int vk, const std::wstring& caption = L"Scrivo");
    std::string dir_;
    int stepsQueued_ = 0;
    int stepsRun_ = 0;
};

// Screen pixels of the default colours: white ink on a blue page.
constexpr std::uint32_t WhiteInk = 0x00FFFFFF;
constexpr std::uint32_t BluePage = 0x000000FF;

// The open message box, if any: its text and caption.
bool OpenMessageBox(std::wstring* text, std::wstring* caption);
bool MenuIsOpen();

// Writes a 1-bit BMP file by hand, independently of the program's writer. `ink(x, y)` tells which
// pixels are ink, y counted from the top.
struct BmpOptions {
    bool topDown = false;     // rows stored from the top (negative height)
    bool whiteFirst = false;  // colour table white, black: 0 bits are paper
    int infoSize = 40;
};
void WriteBmp(const std::string& path, int width, int height, const std::function<bool(int, int)>& ink,
              const BmpOptions& options = {});
// Whether the notepad file at `path` has ink at (x, y), y counted from the top; false when there is
// no whole file.
bool FileHasInkAt(const std::string& path, int x, int y);
// The little-endian 32-bit field at `at`, and a field of `size` bytes written there.
std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at);
void PutField(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size = 4);
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
