#include <string>
#include <tuple>
#include <vector>

#include "controls_test_support.h"
#include "testing.h"
#include "window/screen.h"

using namespace controls_test;

namespace {

class PopupMenu : public ControlTest {
protected:
    void TearDown() override { DestroyMenu(menu); }

    // Five items around two separators.
    HMENU Build() {
        menu = CreatePopupMenu();
        for (UINT_PTR id : {11, 12, 0, 13, 0, 14, 15}) {
            const std::wstring text = L"Item " + std::to_wstring(id);
            EXPECT_TRUE(AppendMenuW(menu, id ? MF_STRING : MF_SEPARATOR, id, id ? text.c_str() : nullptr));
        }
        return menu;
    }
    // Runs `step` with the open menu's items as soon as the program waits inside it.
    void when_open(std::function<void(const std::vector<platform::PopupMenuItem>&)> step) {
        screen.when_idle([step] {
            std::vector<platform::PopupMenuItem> items;
            ASSERT_TRUE(platform::popup_menu_items(GetActiveWindow(), &items));
            step(items);
        });
    }
    // The commands the owner was posted, in order.
    std::vector<WPARAM> Commands() {
        std::vector<WPARAM> ids;
        MSG msg;
        while (PeekMessageW(&msg, main, WM_COMMAND, WM_COMMAND, PM_REMOVE)) ids.push_back(msg.wParam);
        return ids;
    }

    HMENU menu = nullptr;
};

TEST_F(PopupMenu, MenusAreCheckedHandlesAndTakeOnlyWhatIsImplemented) {
    const HMENU m = Build();
    const HMENU empty = CreatePopupMenu();
    // Each call in the list fails but the one destroying the empty menu; a wrong one is named by its
    // place. A check mark is not supported, and a destroyed menu takes nothing.
    const BOOL results[] = {AppendMenuW(m, 0x0008, 1, L"checked"), AppendMenuW(m, MF_STRING, 1, nullptr),
                            AppendMenuW(nullptr, MF_STRING, 1, L"x"), TrackPopupMenuEx(nullptr, 0, 0, 0, main, nullptr),
                            TrackPopupMenuEx(m, 0, 0, 0, nullptr, nullptr),
                            TrackPopupMenuEx(m, 0, 0, 0, main, reinterpret_cast<const TPMPARAMS*>(&m)),
                            TrackPopupMenuEx(empty, 0, 0, 0, main, nullptr), DestroyMenu(empty), DestroyMenu(empty),
                            AppendMenuW(empty, MF_STRING, 1, L"x")};
    for (std::size_t i = 0; i < std::size(results); ++i) EXPECT_EQ(results[i], i == 7) << "call " << i;
    EXPECT_TRUE(Commands().empty());
}

TEST_F(PopupMenu, APickIsPostedToTheOwnerAfterTheMenuHasGone) {
    Build();
    when_open([&](const auto& items) {
        EXPECT_FALSE(IsWindowEnabled(main));
        // In the topmost band: a window that comes up meanwhile stays below the menu.
        const HWND later = top_level(0, 0, 240, 320, nullptr, WS_VISIBLE | WS_DISABLED);
        UpdateWindow(later);
        platform::present_holding_clock();
        const RECT r = items[3].on_screen;
        EXPECT_EQ(screen.pixel(r.right - 3, r.top + 3), 0xC0C0C0u);
        // Pressed on one item and let go on another: the one let go on counts.
        screen.push({Type::PointerDown, items[0].on_screen.left + 2, items[0].on_screen.top + 2});
        screen.push({Type::PointerMove, r.left + 2, r.top + 2});
        screen.push({Type::PointerUp, r.left + 2, r.top + 2});
    });
    EXPECT_TRUE(TrackPopupMenuEx(menu, TPM_CENTERALIGN | TPM_VCENTERALIGN, 120, 160, main, nullptr));
    EXPECT_EQ(std::tuple(IsWindowEnabled(main), GetActiveWindow(), received_of(WM_COMMAND).empty(), Commands()),
              std::tuple(true, main, true, std::vector<WPARAM>{13}));
}

TEST_F(PopupMenu, KeysMoveOverSeparatorsRoundTheEndsAndEscapeEndsWithNoCommand) {
    Build();
    when_open([&](const auto&) {
        press(VK_UP);    // from nothing to the last item
        press(VK_DOWN);  // round to the first
        press(VK_DOWN);
        press(VK_DOWN);  // over the separator
        press(VK_RETURN);
    });
    TrackPopupMenuEx(menu, 0, 10, 10, main, nullptr);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{13});
    when_open([&](const auto&) { press(VK_RETURN); });  // nothing lit: nothing picked
    // A release the menu did not see pressed (the hold that opened it) does nothing either. A tap
    // outside, which ends the menu and reaches no window below, is seen through the program's
    // command menu test.
    when_open([&](const auto& items) {
        EXPECT_GT(items[0].on_screen.left, 5);
        screen.push({Type::PointerUp, 5, 5});
    });
    when_open([&](const auto&) { press(VK_ESCAPE); });
    TrackPopupMenuEx(menu, 0, 10, 10, main, nullptr);
    EXPECT_TRUE(Commands().empty());
}

// A menu of fifteen entries, three of them separators, as it opened centred on (x, y): its
// rectangle and the heights of an item and of a separator.
struct Placed {
    RECT place;
    LONG item;
    LONG separator;
};

Placed open_fifteen(platform::HeadlessBackend& screen, HWND owner, int x, int y) {
    const HMENU menu = CreatePopupMenu();
    for (int i = 0; i < 15; ++i) AppendMenuW(menu, i % 4 == 3 ? MF_SEPARATOR : MF_STRING, 100 + i, L"Item");
    Placed placed{};
    screen.when_idle([&] {
        std::vector<platform::PopupMenuItem> items;
        ASSERT_TRUE(platform::popup_menu_items(GetActiveWindow(), &items));
        ASSERT_TRUE(GetWindowRect(GetActiveWindow(), &placed.place));
        placed.item = items[0].on_screen.bottom - items[0].on_screen.top;
        placed.separator = items[3].on_screen.bottom - items[3].on_screen.top;
        press(screen, VK_ESCAPE);
    });
    TrackPopupMenuEx(menu, TPM_CENTERALIGN | TPM_VCENTERALIGN, x, y, owner, nullptr);
    DestroyMenu(menu);
    return placed;
}

TEST_F(PopupMenu, AllFifteenEntriesFitASmallScreenAndWhereThereIsRoomItemsAreAsTallAsAFinger) {
    // Asked for at the corner, the menu is kept on the screen.
    const Placed small = open_fifteen(screen, main, 240, 320);
    EXPECT_GE(small.place.top, 0);
    EXPECT_EQ(small.place.bottom, 320) << "kept on the screen at its foot";
    EXPECT_EQ(small.place.right, 240);
    EXPECT_GE(small.item, 20);
    EXPECT_LT(small.separator, small.item);

    auto& wide = platform::use_headless_backend(1920, 1080, 1000);
    const HWND owner = top_level(0, 0, 1920, 1080);
    const Placed room = open_fifteen(wide, owner, 960, 540);
    // Centred on the point asked for: seen through the program's command menu test.
    EXPECT_EQ(room.item, 32);
    // The display's scale makes everything larger, as far as the screen has room.
    wide.set_desktop_scale(2);
    const Placed scaled = open_fifteen(wide, owner, 960, 540);
    EXPECT_EQ(scaled.item, 64);
    EXPECT_GT(scaled.place.right - scaled.place.left, (room.place.right - room.place.left) * 3 / 2);
}

}  // namespace
