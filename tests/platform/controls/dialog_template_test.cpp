// The text form of dialog templates: the shipped templates read as intended, and damaged text is
// refused as a whole.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "controls/dialog_template.h"
#include "platform/platform.h"

using platform::parse_dialog_template;

namespace {

std::optional<platform::DialogTemplate> parse(const std::string& text) {
    return parse_dialog_template(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

std::optional<platform::DialogTemplate> shipped(const char* name) {
    std::ifstream in(std::string(SCRIVO_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return parse(std::string(std::istreambuf_iterator<char>(in), {}));
}

}  // namespace

TEST(DialogTemplate, OptionsTemplateHoldsItsControlsInTabOrder) {
    const auto t = shipped("options.dlg");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->style, WS_POPUP | WS_VISIBLE | WS_BORDER | DS_SETFONT);
    EXPECT_EQ(t->units.right, 138);
    EXPECT_EQ(t->units.bottom, 154);
    EXPECT_EQ(t->font_points, 8);
    EXPECT_EQ(t->font_face, L"System");
    const WORD ids[] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 1030, 1027, 1035, 1036,
                        1052,   1033,   1034,   1053,   1031,   1028,   1032,   1029, 0xFFFF, 0xFFFF};
    ASSERT_EQ(t->items.size(), std::size(ids));
    for (std::size_t i = 0; i < std::size(ids); ++i) EXPECT_EQ(t->items[i].id, ids[i]) << i;

    const auto& spin = t->items[13];  // the end dot's spin control
    EXPECT_EQ(spin.class_name, L"msctls_updown32");
    EXPECT_EQ(spin.units.left, 119);
    EXPECT_EQ(spin.units.right, 130);
    EXPECT_EQ(spin.style, WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT);
    EXPECT_EQ(t->items[6].text, L"#130");
    EXPECT_EQ(t->items[14].units.bottom, 57 + 83);  // a combo box's height is its dropped list's
    EXPECT_EQ(t->items[20].style & BS_TYPEMASK, BS_GROUPBOX);
}

TEST(DialogTemplate, AboutTemplateKeepsLineBreaksInItsText) {
    const auto t = shipped("about.dlg");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->style & WS_VISIBLE, 0u);
    ASSERT_EQ(t->items.size(), 3u);
    EXPECT_EQ(t->items[0].style & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(t->items[1].text.find(L'\n'), std::wstring::npos);
    EXPECT_EQ(t->items[2].units.left, 18);
    EXPECT_EQ(t->items[2].units.top, 92);
}

TEST(DialogTemplate, DamagedTextIsRefusedWhole) {
    const std::string good = "dialog 0 0 10 10\ncontrol STATIC 5 1 1 2 2 \"a \\\"b\\\" # c\" WS_CHILD 0x4\n";
    const auto t = parse(good);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->items[0].text, L"a \"b\" # c");
    EXPECT_EQ(t->items[0].style, WS_CHILD | 0x4u);

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
