// Pen, touch and mouse as people use them: palm rejection, the eraser end, the mouse's pointer.
#include "app/app.h"
#include "core/clock.h"
#include "ink/pen_cursor.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "settings/settings.h"
#include "toolbutton/toolbutton.h"

namespace {

using platform::CursorLook;
using platform::DeviceEvent;
using platform::PointerSource;
using Type = DeviceEvent::Type;

class PointersTest : public ProgramTest {
protected:
    void Push(Type type, int x, int y, PointerSource source) {
        DeviceEvent e{type, x, y};
        e.source = source;
        screen_->push(e);
    }
    // A horizontal stroke from (x, y) to (x + length, y).
    void Stroke(int x, int y, int length, PointerSource source) {
        Push(Type::PointerDown, x, y, source);
        for (int i = 5; i <= length; i += 5) Push(Type::PointerMove, x + i, y, source);
        Push(Type::PointerUp, x + length, y, source);
    }
    bool InkAlong(int x, int y, int length) const {
        for (int i = 0; i <= length; ++i)
            if (ImageBit(x + i, y)) return false;
        return true;
    }
    bool PaperAround(int x, int y, int length) const {
        for (int i = -3; i <= length + 3; ++i)
            for (int dy = -3; dy <= 3; ++dy)
                if (!ImageBit(x + i, y + dy)) return false;
        return true;
    }
};

TEST_F(PointersTest, APalmDuringAndJustAfterAPenStrokeWritesNothingAndALaterTouchWrites) {
    AnswerNewPad();
    Idle([this] {
        Push(Type::PointerDown, 20, 100, PointerSource::Pen);
        Push(Type::PointerMove, 25, 100, PointerSource::Pen);
        // The hand lands beside the pen and drags a little; the pen goes on.
        Push(Type::PointerDown, 150, 200, PointerSource::Touch);
        Push(Type::PointerMove, 160, 200, PointerSource::Touch);
        Push(Type::PointerMove, 30, 100, PointerSource::Pen);
        Push(Type::PointerUp, 165, 200, PointerSource::Touch);
        Push(Type::PointerMove, 40, 100, PointerSource::Pen);
        Push(Type::PointerUp, 40, 100, PointerSource::Pen);
    });
    Idle([this] {
        EXPECT_TRUE(InkAlong(20, 100, 20));
        EXPECT_TRUE(PaperAround(150, 200, 15));
        const std::uint64_t lifted = platform::clock_peek();
        screen_->at_time(lifted + 300, [this] { Stroke(100, 250, 20, PointerSource::Touch); });
        screen_->at_time(lifted + 400, [this] { EXPECT_TRUE(PaperAround(100, 250, 20)); });
        screen_->at_time(lifted + 600, [this] { Stroke(100, 280, 20, PointerSource::Touch); });
        screen_->at_time(lifted + 700, [this] {
            EXPECT_TRUE(InkAlong(100, 280, 20));
            // A mouse is never a palm, even just after the pen.
            Stroke(20, 150, 0, PointerSource::Pen);
            Stroke(60, 150, 20, PointerSource::Mouse);
        });
        screen_->at_time(lifted + 800, [this] { EXPECT_TRUE(InkAlong(60, 150, 20)); });
        screen_->at_time(lifted + 900, [] { PostMessageW(MainWindow, WM_CLOSE, 0, 0); });
    });
    EXPECT_EQ(RunScrivo(), 0);
}

TEST_F(PointersTest, WithTouchWritesOffFingersStayOffThePageButStillTapTheButton) {
    StoreNumber(L"TouchWrites", 0);
    AnswerNewPad();
    Idle([this] { Stroke(50, 100, 20, PointerSource::Touch); });
    Idle([this] {
        EXPECT_TRUE(PaperAround(50, 100, 20));
        EXPECT_EQ(DrawMode, DRAW_PEN);
        Stroke(224, 16, 0, PointerSource::Touch);
    });
    Idle([this] {
        EXPECT_EQ(DrawMode, DRAW_ERASER);
        Stroke(224, 16, 0, PointerSource::Touch);
    });
    Idle([this] {
        EXPECT_EQ(DrawMode, DRAW_PEN);
        Stroke(50, 150, 20, PointerSource::Pen);
        Stroke(50, 200, 20, PointerSource::Mouse);
    });
    Idle([this] {
        EXPECT_TRUE(InkAlong(50, 150, 20));
        EXPECT_TRUE(InkAlong(50, 200, 20));
    });
    Finish();
}

TEST_F(PointersTest, AMouseSeesACrossHairThePensSizeOverThePageThePenAndTouchSeeNoneAndTheEraserEndErases) {
    AnswerNewPad();
    Idle([this] { Push(Type::PointerHover, 100, 100, PointerSource::Mouse); });
    Idle([this] {
        // Its size, hot spot and middle, and the arrow over the button, are checked on a real display.
        const CursorLook& cross = screen_->cursor();
        ASSERT_EQ(cross.kind, CursorLook::Kind::Picture);
        const auto at = [&cross](int x, int y) { return cross.pixels[static_cast<std::size_t>(y * cross.width + x)]; };
        EXPECT_EQ(at(4, 0), 0xFF000000u);
        EXPECT_EQ(at(0, 4), 0xFF000000u);
        EXPECT_EQ(at(3, 0), 0xFFFFFFFFu);
        EXPECT_EQ(at(0, 0) >> 24, 0u);  // transparent away from the cross
        EXPECT_TRUE(PaperAround(95, 100, 10));  // still no hover ink
        Push(Type::PointerHover, 100, 100, PointerSource::Pen);
    });
    Idle([this] {
        EXPECT_EQ(screen_->cursor().kind, CursorLook::Kind::Hidden);
        // A thick pen: the cross-hair grows with it, to the next odd size.
        Settings.PenWidth = 14;
        UpdatePenCursor();
        Push(Type::PointerHover, 100, 100, PointerSource::Mouse);
    });
    Idle([this] {
        EXPECT_EQ(screen_->cursor().width, 15);
        EXPECT_EQ(screen_->cursor().hot_x, 7);
        Stroke(100, 100, 0, PointerSource::Touch);
    });
    Idle([this] {
        EXPECT_EQ(screen_->cursor().kind, CursorLook::Kind::Hidden);
        Settings.PenWidth = 1;
    });
    // The eraser end erases with the eraser, and leaves the mode and the button's face alone.
    std::vector<std::uint32_t> face;
    Idle([this, &face] {
        PatBlt(NotepadImage.Context, 0, 0, NotepadWidth, NotepadHeight, BLACKNESS);
        RepaintFromImage(0, 0, PageWidth, PageHeight);
        UpdateWindow(ToolButton);
        face = ToolButtonFace();
        Stroke(50, 100, 30, PointerSource::Eraser);
    });
    Idle([this, &face] {
        // The eraser's 10 × 10 square along the stroke, not the pen's 1-pixel line.
        for (int x = 50; x <= 80; ++x)
            for (int y = 96; y <= 104; ++y) EXPECT_TRUE(ImageBit(x, y)) << x << "," << y;
        EXPECT_FALSE(ImageBit(50, 110));
        EXPECT_EQ(DrawMode, DRAW_PEN);
        EXPECT_EQ(ToolButtonFace(), face);
        // The tip writes again straight after.
        Stroke(50, 100, 30, PointerSource::Pen);
    });
    Idle([this] {
        EXPECT_FALSE(ImageBit(60, 100));
        EXPECT_TRUE(ImageBit(60, 103));
    });
    Finish();
}

}  // namespace
