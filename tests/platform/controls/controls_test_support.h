// What the controls' tests share: a main window on the headless screen, the keys and taps a person
// gives, and dialogs opened from the built-in templates.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "../window/window_test_support.h"
#include "platform/system.h"
#include "system/module.h"
#include "testing.h"
#include "window/window_table.h"

namespace controls_test {

using namespace window_test;

constexpr WORD kAbout = 103;
constexpr WORD kOptions = 118;

inline platform::Rect screen_rect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return platform::rect_from(r);
}

inline std::wstring text_of(HWND window) {
    wchar_t text[64];
    GetWindowTextW(window, text, 64);
    return text;
}

// Empties the field and types `text` into it, a character at a time.
inline void type_into(HWND field, const std::wstring& text) {
    SetFocus(field);
    SetWindowTextW(field, L"");
    for (wchar_t c : text) SendMessageW(field, WM_CHAR, c, 0);
}

inline void press(platform::HeadlessBackend& screen, int vk) {
    screen.push({Type::KeyDown, 0, 0, vk});
    screen.push({Type::KeyUp, 0, 0, vk});
}

// Runs `step` with the open message box as soon as the program waits inside it.
inline void when_box_open(platform::HeadlessBackend& screen, std::function<void(HWND)> step) {
    screen.when_idle([step = std::move(step)] {
        const HWND box = GetActiveWindow();
        ASSERT_TRUE(platform::message_box_info(box, nullptr, nullptr));
        step(box);
    });
}

// Opens the built-in template `id` over `owner` and runs `step` once the dialog waits for input,
// then the steps it queued, then ends the dialog with 1 unless `end` is false; the dialog's result.
inline INT_PTR run_template(platform::HeadlessBackend& screen, WORD id, HWND owner, DLGPROC proc,
                            const std::function<void(HWND)>& step, bool end = true) {
    screen.when_idle([&screen, step, end] {
        const HWND dialog = GetActiveWindow();
        step(dialog);
        if (end) screen.when_idle([dialog] { EndDialog(dialog, 1); });
    });
    const HINSTANCE instance = platform::program_instance();
    const HGLOBAL loaded = LoadResource(instance, FindResourceW(instance, MAKEINTRESOURCEW(id), RT_DIALOG));
    return DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(loaded), owner, proc, 0);
}

// The main window, and the keys and taps a person gives it.
class ControlTest : public MainWindowTest {
protected:
    void press(int vk) { controls_test::press(screen, vk); }
    void tap(int x, int y) {
        screen.push({Type::PointerDown, x, y});
        screen.push({Type::PointerUp, x, y});
    }
};

}  // namespace controls_test
