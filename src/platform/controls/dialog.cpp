// Modal dialogs made from templates: their layout in dialog units, WM_INITDIALOG and the first
// focus, the keys that move the focus or answer the dialog, and the calls a dialog procedure makes
// on its controls.
#include "controls/dialog.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "backend/backend.h"
#include "controls/control_kit.h"
#include "controls/dialog_template.h"
#include "controls/open_windows.h"
#include "core/text.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "system/resources.h"
#include "window/modal_loop.h"
#include "window/window_table.h"

using namespace platform;

namespace {

struct Dialog {
    HWND window = nullptr;
    DLGPROC proc = nullptr;
    std::vector<HWND> items;  // template order, which is the Tab order
    HFONT font = nullptr;
    DialogUnits units;
    ModalLoop* loop = nullptr;
    bool ended = false;
    INT_PTR result = 0;

    Dialog() = default;
    ~Dialog() { DeleteObject(font); }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
};

OpenWindows<Dialog> open_dialogs;

Dialog* find_dialog(HWND window) { return open_dialogs.find(window); }

// The template font realised at the dialog's scale: its size in points becomes pixels.
HFONT make_template_font(const DialogTemplate& t, int scale) {
    LOGFONTW lf{};
    lf.lfHeight = -std::max(1, (t.font_points ? t.font_points : 8) * 96 * scale / 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(lf.lfFaceName, t.font_face.empty() ? L"System" : t.font_face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

RECT to_pixels(const DialogUnits& u, const RECT& r) {
    return {r.left * u.x / 4, r.top * u.y / 8, r.right * u.x / 4, r.bottom * u.y / 8};
}

// A static (a picture or a text) shows no focus mark, so the focus passes it by: a keyboard user
// would otherwise not see where the focus stands.
bool shows_focus(const Window& w) { return !w.window_class || !same_text_ignoring_case(w.window_class->name, L"STATIC"); }

bool can_take_focus(HWND item) {
    const Window* w = find_window(item);
    return w && (w->style & WS_TABSTOP) && w->visible && w->enabled && shows_focus(*w);
}

HWND first_tab_stop(const Dialog& d) {
    for (HWND item : d.items)
        if (can_take_focus(item)) return item;
    return nullptr;
}

// The next (or previous) tab stop after the focused item, wrapping round.
void move_focus(const Dialog& d, bool backwards) {
    const auto count = static_cast<std::ptrdiff_t>(d.items.size());
    if (count == 0) return;
    const auto at = std::find_if(d.items.begin(), d.items.end(), [](HWND item) { return is_within(GetFocus(), item); });
    std::ptrdiff_t i = at == d.items.end() ? (backwards ? 0 : -1) : at - d.items.begin();
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        i = ((backwards ? i - 1 : i + 1) % count + count) % count;
        if (can_take_focus(d.items[static_cast<std::size_t>(i)])) {
            SetFocus(d.items[static_cast<std::size_t>(i)]);
            return;
        }
    }
}

// Tab and Shift+Tab move the focus, Enter answers OK and Escape Cancel, and Up and Down step a
// field that has an up-down beside it, before the focused control sees the key. True when the
// key was the dialog's.
bool dialog_key(Dialog& d, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !is_within(msg.hwnd, d.window)) return false;
    switch (msg.wParam) {
    case VK_TAB:
        move_focus(d, GetAsyncKeyState(VK_SHIFT) < 0);
        return true;
    case VK_RETURN:
        SendMessageW(d.window, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        return true;
    case VK_ESCAPE:
        SendMessageW(d.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return true;
    case VK_UP:
    case VK_DOWN:
        return step_up_down_of_buddy(GetFocus(), msg.wParam == VK_UP ? 1 : -1);
    default:
        return false;
    }
}

void paint_background(HWND window) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    if (dc) {
        FillRect(dc, &ps.rcPaint, control_brush(window, WM_CTLCOLORDLG, dc));
        // The background covered whatever controls lay under the painted area: they draw again.
        if (const Window* w = find_window(window))
            for (HWND child : w->children)
                if (const Window* c = find_window(child); c && !intersect(c->rect, rect_from(ps.rcPaint)).empty())
                    InvalidateRect(child, nullptr, TRUE);
    }
    EndPaint(window, &ps);
}

// A tap on the dialog's own ground close beside a control goes to that control: some parts (an
// up-down's arrows) are drawn smaller than a finger.
bool pass_tap_to_nearby_control(HWND dialog, LPARAM position) {
    const Window* d = find_window(dialog);
    if (!d) return false;
    const int x = GET_X_LPARAM(position);
    const int y = GET_Y_LPARAM(position);
    const int reach = 6 * scale_of(dialog);
    for (auto it = d->children.rbegin(); it != d->children.rend(); ++it) {
        const Window* c = find_window(*it);
        if (!c || !c->visible || !c->enabled) continue;
        const Rect grown = {c->rect.left - reach, c->rect.top - reach, c->rect.right + reach, c->rect.bottom + reach};
        if (!grown.contains(x, y)) continue;
        const int cx = std::clamp(x, static_cast<int>(c->rect.left), static_cast<int>(c->rect.right) - 1) - c->rect.left;
        const int cy = std::clamp(y, static_cast<int>(c->rect.top), static_cast<int>(c->rect.bottom) - 1) - c->rect.top;
        SendMessageW(*it, WM_LBUTTONDOWN, 0, MAKELPARAM(static_cast<WORD>(cx), static_cast<WORD>(cy)));
        return true;
    }
    return false;
}

}  // namespace

namespace platform {

LRESULT dialog_window_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* d = find_dialog(window);
    if (!d) return DefWindowProcW(window, message, wParam, lParam);
    const INT_PTR answer = d->proc(window, message, wParam, lParam);
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return answer ? answer : default_control_colours(message, reinterpret_cast<HDC>(wParam));
    case WM_INITDIALOG:
        return answer;
    case WM_PAINT:
        if (!answer) paint_background(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills the whole area in the dialog's own colour
    case WM_CLOSE:
        if (!answer) SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return 0;
    case WM_LBUTTONDOWN:
        if (!answer) pass_tap_to_nearby_control(window, lParam);
        return 0;
    default:
        return answer ? answer : DefWindowProcW(window, message, wParam, lParam);
    }
}

DialogUnits dialog_units_of(HFONT font) {
    static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    DialogUnits units{4, 8};
    if (const HDC dc = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = SelectObject(dc, font);
        RECT r{0, 0, 0, 0};
        if (DrawTextW(dc, kAlphabet, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX) > 0) {
            units.x = std::max(1, ((r.right - r.left) / 26 + 1) / 2);
            units.y = std::max(1, static_cast<int>(r.bottom - r.top));
        }
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    return units;
}

bool dialog_units_of_window(HWND dialog, DialogUnits* units) {
    const Dialog* d = find_dialog(dialog);
    if (!d || !units) return false;
    *units = d->units;
    return true;
}

}  // namespace platform

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                LPARAM param) {
    const ResourceEntry* entry = loaded_resource(reinterpret_cast<std::uintptr_t>(dialogTemplate));
    if (!entry || entry->type != LOWORD(reinterpret_cast<std::uintptr_t>(RT_DIALOG)) || !proc ||
        (owner && !IsWindow(owner)))
        return -1;
    const auto parsed = parse_dialog_template(entry->data, entry->size);
    if (!parsed) return -1;

    Dialog d;
    d.proc = proc;
    const OpenWindows<Dialog>::Registration open(open_dialogs, d);
    const int scale = fitted_scale();
    d.font = make_template_font(*parsed, scale);
    d.units = dialog_units_of(d.font);
    const RECT place = to_pixels(d.units, parsed->units);
    Window* owner_window = find_window(owner);
    const HWND top_owner = owner_window ? top_level_of(*owner_window).handle : nullptr;
    d.window = CreateWindowExW(0, kDialogClass, L"", (parsed->style & ~(WS_VISIBLE | WS_CHILD)) | WS_POPUP,
                               place.left, place.top, place.right - place.left, place.bottom - place.top, top_owner,
                               nullptr, instance, nullptr);
    if (!d.window) return -1;
    find_window(d.window)->scale = scale;
    for (const DialogItemTemplate& item : parsed->items) {
        const RECT r = to_pixels(d.units, item.units);
        const HWND control = CreateWindowExW(0, item.class_name.c_str(), item.text.c_str(), item.style | WS_CHILD,
                                             r.left, r.top, r.right - r.left, r.bottom - r.top, d.window,
                                             reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(item.id)), instance,
                                             nullptr);
        if (!control) {
            DestroyWindow(d.window);
            return -1;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), 0);
        d.items.push_back(control);
    }

    const HWND first = first_tab_stop(d);
    const bool default_focus =
        SendMessageW(d.window, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) != 0 && !d.ended;
    if (IsWindow(d.window) && !d.ended) {
        ShowWindow(d.window, SW_SHOW);
        if (default_focus && first) SetFocus(first);
        ModalLoop loop(top_owner);
        d.loop = &loop;
        loop.run(d.window, [&](const MSG& msg) { return dialog_key(d, msg); });
        d.loop = nullptr;
    }
    DestroyWindow(d.window);
    // What the dialog and its strips covered is the owner's to paint again, as on a screen that
    // keeps no pixels of hidden windows; a program that sets its full-screen mode when it paints
    // counts on that paint.
    if (top_owner) InvalidateRect(top_owner, nullptr, FALSE);
    return d.ended ? d.result : -1;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    Dialog* d = find_dialog(dialog);
    if (!d) return FALSE;
    d->ended = true;
    d->result = result;
    if (d->loop) d->loop->end();
    // A loop waiting for input learns of the end through a message, whoever called.
    PostMessageW(dialog, 0, 0, 0);
    return TRUE;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    const HWND item = GetDlgItem(dialog, id);
    if (!item) return FALSE;
    wchar_t text[16];
    if (isSigned)
        std::swprintf(text, 16, L"%d", static_cast<int>(value));
    else
        std::swprintf(text, 16, L"%u", value);
    return SetWindowTextW(item, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated) *translated = FALSE;
    const HWND item = GetDlgItem(dialog, id);
    if (!item) return 0;
    wchar_t text[32];
    const int length = GetWindowTextW(item, text, 32);
    const wchar_t* c = text;
    const wchar_t* end = text + length;
    while (c < end && *c == L' ') ++c;
    const bool negative = isSigned && c < end && *c == L'-';
    if (negative) ++c;
    if (c == end || *c < L'0' || *c > L'9') return 0;
    unsigned long long value = 0;
    for (; c < end && *c >= L'0' && *c <= L'9'; ++c) {
        value = value * 10 + static_cast<unsigned>(*c - L'0');
        if (value > (isSigned ? 0x80000000ULL : 0xFFFFFFFFULL)) return 0;
    }
    while (c < end && *c == L' ') ++c;
    if (c != end || (isSigned && !negative && value > 0x7FFFFFFFULL)) return 0;
    if (translated) *translated = TRUE;
    return negative ? static_cast<UINT>(0 - value) : static_cast<UINT>(value);
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND item = GetDlgItem(dialog, id);
    return item ? SendMessageW(item, message, wParam, lParam) : 0;
}
