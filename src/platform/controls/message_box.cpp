// MessageBoxW: a top-level window owned by the caller's window, with a BUTTON for each answer, run
// in the shared modal loop. It is laid out for the device's screen, enlarged to fit the real one.
#include "controls/message_box.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "backend/backend.h"
#include "core/utf8.h"
#include "controls/draw.h"
#include "controls/open_windows.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "testing.h"
#include "window/modal_loop.h"
#include "window/window_table.h"

namespace platform {
namespace {

constexpr UINT kButtonsMask = 0x0000000F;
constexpr UINT kIconMask = 0x000000F0;
constexpr UINT kDefaultButtonMask = 0x00000F00;
// A line of text: legible at scale 1, and as much larger as the box's scale asks.
constexpr int kLineAtScaleOne = 13;
constexpr COLORREF kCaptionColour = RGB(0, 0, 128);
constexpr COLORREF kErrorColour = RGB(224, 0, 0);

struct Answer {
    int id;
    const wchar_t* label;
};

struct Box {
    HWND window = nullptr;
    ModalLoop* loop = nullptr;
    std::wstring text;
    std::wstring caption;
    std::vector<Answer> answers;
    int answer = 0;
    int escape_answer = IDOK;
    int default_answer = IDOK;
    int scale = 1;  // the fitted factor of a layout made for the device's screen
    bool error_icon = false;
    int unit = 0;  // the height of a line of text; everything else is measured in it
    int width = 0;
    int height = 0;
    RECT caption_bar{};
    RECT icon{};
    RECT text_area{};
    int buttons_top = 0;
    HFONT font = nullptr;
    HFONT bold = nullptr;

    Box() = default;
    ~Box() {
        DeleteObject(font);
        DeleteObject(bold);
    }
    Box(const Box&) = delete;
    Box& operator=(const Box&) = delete;
};

OpenWindows<Box> open_boxes;

Box* find_box(HWND window) { return open_boxes.find(window); }

HFONT make_font(int height, LONG weight) {
    LOGFONTW lf{};
    lf.lfHeight = -height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Swiss", ARRAYSIZE(lf.lfFaceName));
    return CreateFontIndirectW(&lf);
}

// The height the wrapped text takes in `width` pixels; an estimate where text cannot be measured.
int text_height(const Box& box, int width) {
    RECT r{0, 0, width, 0};
    int measured = 0;
    if (const HDC dc = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = SelectObject(dc, box.font);
        measured = DrawTextW(dc, box.text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    if (measured > 0) return r.bottom - r.top;
    const int per_line = std::max(1, width / std::max(1, box.unit / 2));
    int lines = 0;
    std::size_t start = 0;
    while (start <= box.text.size()) {
        const std::size_t end = std::min(box.text.find(L'\n', start), box.text.size());
        lines += std::max(1, static_cast<int>((end - start + static_cast<std::size_t>(per_line) - 1) /
                                              static_cast<std::size_t>(per_line)));
        start = end + 1;
    }
    return lines * box.unit;
}

// The width of the text's longest line, unbroken.
int natural_width(const Box& box) {
    RECT r{0, 0, 0, 0};
    int measured = 0;
    if (const HDC dc = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = SelectObject(dc, box.font);
        measured = DrawTextW(dc, box.text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    return measured > 0 ? r.right - r.left : static_cast<int>(box.text.size()) * box.unit / 2;
}

// As wide as a short message needs to stand on one line, within the device's screen width; a
// longer one breaks at its words.
void lay_out(Box& box, int screen_width, int screen_height) {
    const int u = box.unit;
    const int pad = u / 2;
    const int icon_width = box.error_icon ? 2 * u + pad : 0;
    const int widest = std::min(screen_width, kDeviceScreenWidth * box.scale) - pad;
    const int wanted = natural_width(box) + icon_width + 2 * pad + 2 * box.scale;
    box.width = std::min(widest, std::max(16 * u, wanted));
    const int caption_height = u + pad;
    const int line = box.scale;
    box.caption_bar = {line, line, box.width - line, line + caption_height};
    const int top = box.caption_bar.bottom + pad;
    const int icon_size = box.error_icon ? 2 * u : 0;
    box.icon = {pad, top, pad + icon_size, top + icon_size};
    const int text_left = box.error_icon ? box.icon.right + pad : pad;
    const int text_width = std::max(u, box.width - pad - text_left);
    const int body = std::max(text_height(box, text_width), icon_size);
    box.text_area = {text_left, top, text_left + text_width, top + body};
    box.buttons_top = box.text_area.bottom + pad;
    box.height = std::min(screen_height, box.buttons_top + 2 * u + pad);
}

// One push button per answer, in a centred row; the default one takes the focus.
void add_buttons(const Box& box) {
    const int u = box.unit;
    const int button_width = 5 * u;
    const int count = static_cast<int>(box.answers.size());
    int left = (box.width - count * button_width - (count - 1) * u) / 2;
    for (const Answer& a : box.answers) {
        const DWORD kind = a.id == box.default_answer ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        const HWND button = CreateWindowExW(0, L"BUTTON", a.label, WS_CHILD | WS_VISIBLE | kind, left, box.buttons_top,
                                            button_width, 2 * u, box.window, reinterpret_cast<HMENU>(a.id), nullptr,
                                            nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(box.font), FALSE);
        left += button_width + u;
    }
}

void paint(const Box& box, HDC dc) {
    const int line = box.scale;
    const RECT whole{0, 0, box.width, box.height};
    draw::frame(dc, whole, draw::kDark, line);
    draw::fill(dc, draw::inset(whole, line), draw::kLight);
    draw::fill(dc, box.caption_bar, kCaptionColour);
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ old_font = SelectObject(dc, box.bold);
    SetTextColor(dc, draw::kLight);
    RECT caption = {box.caption_bar.left + box.unit / 2, box.caption_bar.top, box.caption_bar.right - box.unit / 2,
                    box.caption_bar.bottom};
    DrawTextW(dc, box.caption.c_str(), -1, &caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    if (box.error_icon) {
        draw::fill(dc, box.icon, kErrorColour);
        RECT mark = box.icon;
        DrawTextW(dc, L"X", -1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    SelectObject(dc, box.font);
    SetTextColor(dc, draw::kDark);
    RECT text = box.text_area;
    DrawTextW(dc, box.text.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc, old_font);
}

void answer(Box& box, int id) {
    box.answer = id;
    box.loop->end();
}

// Enter answers with the focused button, so the thick default frame goes with the focus.
void show_as_default(const Box& box, int id) {
    for (const auto& a : box.answers) {
        const HWND button = GetDlgItem(box.window, a.id);
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        const LONG_PTR kind = a.id == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((style & BS_TYPEMASK) == kind) continue;
        SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | kind);
        InvalidateRect(button, nullptr, FALSE);
    }
}

// The box's keys, whichever of its buttons has the focus: Enter answers with the focused button
// (the default one when none has it), Escape as closing the box does, Tab and the arrows move the
// focus from button to button.
bool handle_key(Box& box, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != box.window && GetParent(msg.hwnd) != box.window)) return false;
    const int focused = GetParent(GetFocus()) == box.window ? GetDlgCtrlID(GetFocus()) : 0;
    std::size_t at = 0;
    while (at < box.answers.size() && box.answers[at].id != focused) ++at;
    switch (msg.wParam) {
    case VK_RETURN: answer(box, focused ? focused : box.default_answer); return true;
    case VK_ESCAPE: answer(box, box.escape_answer); return true;
    case VK_TAB:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP: {
        const bool back = msg.wParam == VK_LEFT || msg.wParam == VK_UP || (GetAsyncKeyState(VK_SHIFT) & 0x8000);
        const std::size_t n = box.answers.size();
        const std::size_t next = at >= n ? 0 : (back ? at + n - 1 : at + 1) % n;
        SetFocus(GetDlgItem(box.window, box.answers[next].id));
        show_as_default(box, box.answers[next].id);
        return true;
    }
    default: return false;
    }
}

// With the display gone a person can still read stderr: the caption and the text on one line,
// any code point that is no character shown as U+FFFD.
void write_to_stderr(const Box& box) {
    std::wstring line = box.caption + L": " + box.text;
    for (wchar_t& c : line) {
        const auto code = static_cast<std::uint32_t>(c);
        const bool byte_carrier = code >= 0xDC80 && code <= 0xDCFF;
        if (code < 0x20 || code == 0x7F)
            c = L' ';
        else if ((code >= 0xD800 && code <= 0xDFFF && !byte_carrier) || code > 0x10FFFF)
            c = L'\uFFFD';
    }
    std::fprintf(stderr, "%s\n", wide_to_utf8(line).value_or("").c_str());
    std::fflush(stderr);
}

}  // namespace

LRESULT message_box_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Box* box = find_box(window);
    if (!box) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (const HDC dc = BeginPaint(window, &ps)) paint(*box, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) answer(*box, LOWORD(wParam));
        return 0;
    case WM_CLOSE: answer(*box, box->escape_answer); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool message_box_info(HWND window, std::wstring* text, std::wstring* caption) {
    const Box* box = find_box(window);
    if (!box) return false;
    if (text) *text = box->text;
    if (caption) *caption = box->caption;
    return true;
}

}  // namespace platform

using namespace platform;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if ((owner && !IsWindow(owner)) || !has_backend()) return 0;
    Box box;
    box.text = text ? text : L"";
    box.caption = caption ? caption : L"Error";
    box.error_icon = (type & kIconMask) == MB_ICONHAND;
    box.answers.push_back({IDOK, L"OK"});
    if ((type & kButtonsMask) == MB_OKCANCEL) {
        box.answers.push_back({IDCANCEL, L"Cancel"});
        box.escape_answer = IDCANCEL;
        if ((type & kDefaultButtonMask) == MB_DEFBUTTON2) box.default_answer = IDCANCEL;
    }
    const OpenWindows<Box>::Registration open(open_boxes, box);
    const int screen_width = backend().screen_width();
    const int screen_height = backend().screen_height();
    box.scale = fitted_scale();
    box.unit = kLineAtScaleOne * box.scale;
    box.font = make_font(box.unit, FW_NORMAL);
    box.bold = make_font(box.unit, FW_BOLD);
    lay_out(box, screen_width, screen_height);

    ModalLoop loop(owner);
    box.loop = &loop;
    box.window = CreateWindowExW(0, kMessageBoxClass, box.caption.c_str(), WS_POPUP, (screen_width - box.width) / 2,
                                 (screen_height - box.height) / 2, box.width, box.height, owner, nullptr, nullptr,
                                 nullptr);
    if (!box.window) return 0;
    find_window(box.window)->scale = box.scale;
    add_buttons(box);
    ShowWindow(box.window, SW_SHOW);
    SetFocus(GetDlgItem(box.window, box.default_answer));
    loop.run(box.window, [&box](const MSG& msg) { return handle_key(box, msg); });

    // The loop ends at once when the display is gone, or with the close request that tells of it:
    // nobody answered, whatever the close says, and the box failed to ask.
    const bool unanswered = backend().display_lost();
    if (unanswered) write_to_stderr(box);
    const int result = unanswered ? 0 : box.answer ? box.answer : box.escape_answer;
    DestroyWindow(box.window);
    Window* owner_window = find_window(owner);
    const HWND top_owner = owner_window ? top_level_of(*owner_window).handle : nullptr;
    if (top_owner && IsWindowVisible(top_owner) && GetActiveWindow() != top_owner) SetFocus(top_owner);
    return result;
}
