// MessageBoxW: a modal top-level window owned by the caller's window, with its own message loop.
// Everything it draws goes through the public drawing calls, sized by the display's scale.
#include <algorithm>
#include <cwchar>
#include <vector>

#include "backend/backend.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "testing.h"

using namespace platform;

namespace {

constexpr const wchar_t* kClassName = L"MessageBoxWindow";
constexpr UINT kButtonsMask = 0x0000000F;
constexpr UINT kIconMask = 0x000000F0;

struct Button {
    int id;
    const wchar_t* label;
    RECT rect;  // client coordinates
};

struct Box {
    HWND window = nullptr;
    std::wstring text;
    std::wstring caption;
    int answer = 0;
    int escape_answer = IDOK;
    bool error_icon = false;
    int unit = 0;  // the height of a line of text; everything else is measured in it
    int width = 0;
    int height = 0;
    RECT caption_bar{};
    RECT icon{};
    RECT text_area{};
    std::vector<Button> buttons;
    int pressed = 0;  // the button the pen went down on
    HFONT font = nullptr;
    HFONT bold = nullptr;
};

std::vector<Box*> open_boxes;

Box* find_box(HWND window) {
    for (Box* b : open_boxes)
        if (b->window == window) return b;
    return nullptr;
}

// Registers the box for the duration of its loop, and frees its fonts, however the loop ends.
struct OpenBox {
    Box& box;
    explicit OpenBox(Box& b) : box(b) { open_boxes.push_back(&b); }
    ~OpenBox() {
        std::erase(open_boxes, &box);
        DeleteObject(box.font);
        DeleteObject(box.bold);
    }
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;
};

HFONT make_font(int height, LONG weight) {
    LOGFONTW lf{};
    lf.lfHeight = -height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcscpy(lf.lfFaceName, L"Swiss");
    return CreateFontIndirectW(&lf);
}

// The height the wrapped text takes in `width` pixels; an estimate where text cannot be measured.
int text_height(const Box& box, int width) {
    RECT r{0, 0, width, 0};
    int measured = 0;
    if (const HDC dc = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = SelectObject(dc, box.font);
        measured = DrawTextW(dc, box.text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
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

// A line of text: legible at scale 1, and as much larger as the display's scale asks.
constexpr int kLineAtScaleOne = 13;

void lay_out(Box& box, int screen_width, int screen_height) {
    const int u = box.unit;
    const int pad = u / 2;
    box.width = std::min(screen_width - pad, 16 * u);
    const int caption_height = u + pad;
    box.caption_bar = {1, 1, box.width - 1, 1 + caption_height};
    const int top = box.caption_bar.bottom + pad;
    const int icon_size = box.error_icon ? 2 * u : 0;
    box.icon = {pad, top, pad + icon_size, top + icon_size};
    const int text_left = box.error_icon ? box.icon.right + pad : pad;
    const int text_width = std::max(u, box.width - pad - text_left);
    const int body = std::max(text_height(box, text_width), icon_size);
    box.text_area = {text_left, top, text_left + text_width, top + body};

    const int button_width = 5 * u;
    const int button_height = 2 * u;
    const int count = static_cast<int>(box.buttons.size());
    int left = (box.width - count * button_width - (count - 1) * u) / 2;
    const int button_top = box.text_area.bottom + pad;
    for (Button& b : box.buttons) {
        b.rect = {left, button_top, left + button_width, button_top + button_height};
        left += button_width + u;
    }
    box.height = std::min(screen_height, button_top + button_height + pad);
}

const Button* button_at(const Box& box, LPARAM position) {
    const int x = LOWORD(static_cast<std::uintptr_t>(position));
    const int y = HIWORD(static_cast<std::uintptr_t>(position));
    for (const Button& b : box.buttons)
        if (x >= b.rect.left && x < b.rect.right && y >= b.rect.top && y < b.rect.bottom) return &b;
    return nullptr;
}

void fill(HDC dc, RECT r, HBRUSH brush) { FillRect(dc, &r, brush); }

RECT inset(RECT r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

void paint(const Box& box, HDC dc) {
    const int line = std::max(1, box.unit / 13);
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const auto white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const HBRUSH title = CreateSolidBrush(RGB(0, 0, 128));
    const HBRUSH face = CreateSolidBrush(RGB(192, 192, 192));
    const HBRUSH sunken = CreateSolidBrush(RGB(128, 128, 128));
    const HBRUSH red = CreateSolidBrush(RGB(224, 0, 0));

    fill(dc, {0, 0, box.width, box.height}, black);
    fill(dc, inset({0, 0, box.width, box.height}, line), white);
    fill(dc, box.caption_bar, title);
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ old_font = SelectObject(dc, box.bold);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT caption = {box.caption_bar.left + box.unit / 2, box.caption_bar.top, box.caption_bar.right - box.unit / 2,
                    box.caption_bar.bottom};
    DrawTextW(dc, box.caption.c_str(), -1, &caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    if (box.error_icon) {
        fill(dc, box.icon, red);
        RECT mark = box.icon;
        DrawTextW(dc, L"X", -1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    SelectObject(dc, box.font);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT text = box.text_area;
    DrawTextW(dc, box.text.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);

    for (const Button& b : box.buttons) {
        fill(dc, b.rect, black);
        fill(dc, inset(b.rect, line), b.id == box.pressed ? sunken : face);
        RECT label = b.rect;
        DrawTextW(dc, b.label, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old_font);
    for (HBRUSH brush : {title, face, sunken, red}) DeleteObject(brush);
}

void redraw_buttons(Box& box) {
    for (const Button& b : box.buttons) InvalidateRect(box.window, &b.rect, FALSE);
}

LRESULT box_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Box* box = find_box(window);
    if (!box) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (const HDC dc = BeginPaint(window, &ps)) paint(*box, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) box->answer = IDOK;
        if (wParam == VK_ESCAPE) box->answer = box->escape_answer;
        return 0;
    case WM_LBUTTONDOWN:
        if (const Button* b = button_at(*box, lParam)) {
            box->pressed = b->id;
            SetCapture(window);
            redraw_buttons(*box);
        }
        return 0;
    case WM_LBUTTONUP: {
        ReleaseCapture();
        const Button* b = button_at(*box, lParam);
        if (box->pressed && b && b->id == box->pressed) box->answer = b->id;
        box->pressed = 0;
        redraw_buttons(*box);
        return 0;
    }
    case WM_CLOSE:
        box->answer = box->escape_answer;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool register_class() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = box_proc;
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc) != 0;
    }();
    return registered;
}

HWND top_level_of(HWND window) {
    while (const HWND parent = GetParent(window)) window = parent;
    return window;
}

}  // namespace

namespace platform {

bool message_box_info(HWND window, std::wstring* text, std::wstring* caption) {
    const Box* box = find_box(window);
    if (!box) return false;
    if (text) *text = box->text;
    if (caption) *caption = box->caption;
    return true;
}

bool message_box_button(HWND window, int id, RECT* on_screen) {
    const Box* box = find_box(window);
    RECT place;
    if (!box || !on_screen || !GetWindowRect(window, &place)) return false;
    for (const Button& b : box->buttons) {
        if (b.id != id) continue;
        *on_screen = {place.left + b.rect.left, place.top + b.rect.top, place.left + b.rect.right,
                      place.top + b.rect.bottom};
        return true;
    }
    return false;
}

}  // namespace platform

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if ((owner && !IsWindow(owner)) || !has_backend() || !register_class()) return 0;
    Box box;
    box.text = text ? text : L"";
    box.caption = caption ? caption : L"Error";
    box.error_icon = (type & kIconMask) == MB_ICONHAND;
    box.buttons.push_back({IDOK, L"OK", {}});
    if ((type & kButtonsMask) == MB_OKCANCEL) {
        box.buttons.push_back({IDCANCEL, L"Cancel", {}});
        box.escape_answer = IDCANCEL;
    }
    OpenBox open(box);
    const int screen_width = backend().screen_width();
    const int screen_height = backend().screen_height();
    box.unit = kLineAtScaleOne * display_scale();
    box.font = make_font(box.unit, FW_NORMAL);
    box.bold = make_font(box.unit, FW_BOLD);
    lay_out(box, screen_width, screen_height);

    const HWND top_owner = owner ? top_level_of(owner) : nullptr;
    const bool disabled_owner = top_owner && IsWindowEnabled(top_owner);
    if (disabled_owner) EnableWindow(top_owner, FALSE);
    box.window = CreateWindowExW(0, kClassName, box.caption.c_str(), WS_POPUP, (screen_width - box.width) / 2,
                                 (screen_height - box.height) / 2, box.width, box.height, top_owner, nullptr,
                                 nullptr, nullptr);
    if (box.window) {
        ShowWindow(box.window, SW_SHOW);
        MSG msg;
        while (box.answer == 0 && IsWindow(box.window)) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                // The loop that called us has to see the quit too.
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    const int answer = box.window ? (box.answer ? box.answer : box.escape_answer) : 0;
    if (disabled_owner) EnableWindow(top_owner, TRUE);
    DestroyWindow(box.window);
    if (top_owner && IsWindowVisible(top_owner) && GetActiveWindow() != top_owner) SetFocus(top_owner);
    return answer;
}
