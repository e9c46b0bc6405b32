// The platform's own window classes, in one table: each name with the procedure that handles its
// windows and the extra bytes they carry. The shell's strips are the top of the platform, so the
// table stands here, where the controls and the strips are both in reach.
#include "controls/button.h"
#include "controls/control_kit.h"
#include "controls/control_state.h"
#include "controls/message_box.h"
#include "controls/popup_menu.h"
#include "core/text.h"
#include "shell/shell_strips.h"
#include "window/platform_classes.h"

namespace platform {
namespace {

struct PlatformClass {
    const wchar_t* name;
    WNDPROC proc;
    int window_extra;
};

constexpr PlatformClass kPlatformClasses[] = {
    {L"BUTTON", button_proc, kButtonExtraBytes},
    {kMessageBoxClass, message_box_proc, 0},
    {kPopupMenuClass, popup_menu_proc, 0},
    {kDialogClass, dialog_window_proc, 0},
    {L"STATIC", static_proc, kControlStateBytes},
    {L"EDIT", edit_proc, kControlStateBytes},
    {L"msctls_updown32", up_down_proc, kControlStateBytes},
    {L"COMBOBOX", combo_box_proc, kControlStateBytes},
    {kComboListClass, combo_list_proc, kComboListExtraBytes},
    {kNavigationBarClass, navigation_bar_proc, 0},
    {kMenuBarClass, menu_bar_proc, 0},
};

}  // namespace

bool register_platform_class(LPCWSTR name) {
    for (const PlatformClass& c : kPlatformClasses) {
        if (!same_text_ignoring_case(c.name, name)) continue;
        WNDCLASSW wc{};
        wc.lpfnWndProc = c.proc;
        wc.cbWndExtra = c.window_extra;
        wc.lpszClassName = c.name;
        return RegisterClassW(&wc) != 0;
    }
    return false;
}

}  // namespace platform
