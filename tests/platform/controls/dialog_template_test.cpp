// The text form of dialog templates: every field and escape read as written, and damaged text
// refused as a whole.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "controls/dialog_template.h"
#include "platform/platform.h"

using platform::parse_dialog_template;

namespace {

std::optional<platform::DialogTemplate> parse(const std::string& text) {
    return parse_dialog_template(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace

TEST(DialogTemplate, TextIsReadWithItsEscapesAndDamagedTextIsRefusedWhole) {
    const std::string good = "# a comment\ndialog 0 0 138 154\nstyle WS_POPUP DS_SETFONT\nfont 8 \"System\"\n"
                             "control STATIC 5 1 2 3 4 \"a \\\"b\\\" # c\\nd\" WS_CHILD 0x4\n"
                             "control msctls_updown32 0xFFFF 119 57 11 14 \"\" UDS_AUTOBUDDY UDS_SETBUDDYINT\n";
    const auto t = parse(good);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->style, WS_POPUP | DS_SETFONT);
    EXPECT_EQ(std::tuple(t->units.right, t->units.bottom, t->font_points, t->font_face),
              std::tuple(138, 154, 8, std::wstring(L"System")));
    ASSERT_EQ(t->items.size(), 2u);
    EXPECT_EQ(t->items[0].text, L"a \"b\" # c\nd");
    EXPECT_EQ(t->items[0].style, WS_CHILD | 0x4u);
    EXPECT_EQ(std::tuple(t->items[0].id, t->items[0].units.left, t->items[0].units.top, t->items[0].units.right,
                         t->items[0].units.bottom),
              std::tuple(WORD{5}, 1, 2, 1 + 3, 2 + 4));
    EXPECT_EQ(std::tuple(t->items[1].class_name, t->items[1].id, t->items[1].style),
              std::tuple(L"msctls_updown32", 0xFFFF, UDS_AUTOBUDDY | UDS_SETBUDDYINT));

    for (const char* bad : {
             "",                                                   // no dialog line
             "dialog 0 0 10\n",                                    // a missing field
             "dialog 0 0 10 10\ndialog 0 0 10 10\n",               // placed twice
             "dialog 0 0 10 10\nstyle WS_NOSUCH\n",                // unknown style
             "dialog 0 0 10 10\nwindow 1\n",                       // unknown statement
             "dialog 0 0 -10 10\n",                                // negative size
             "dialog 0 0 10 10\ncontrol STATIC 70000 1 1 2 2 \"\"\n",  // id beyond 16 bits
             "dialog 0 0 10 10\ncontrol STATIC 1 1 1 2 2 \"open\n",    // unterminated text
             "dialog 0 0 10 10\ncontrol STATIC 1 1 1 2 2 \"\\q\"\n",   // unknown escape
             "dialog 0 0 10 10\ncontrol STATIC 1 1 1 2 2 WS_CHILD\n",  // no text
             "dialog 0 0 10 10\nfont 0 \"System\"\n",              // no size
         })
        EXPECT_FALSE(parse(bad)) << bad;
    EXPECT_FALSE(parse_dialog_template(nullptr, 4));
}
