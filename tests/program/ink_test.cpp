// Pen and eraser strokes on the screen and in the notepad image.
#include <set>
#include <tuple>
#include <utility>

#include "app/app.h"
#include "ink/ink.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "settings/settings.h"

using Points = std::set<std::pair<int, int>>;

class InkTest : public ProgramTest {
protected:
    // The ink pixels of the image, and of the screen as image coordinates.
    Points ImageInk() const {
        Points ink;
        for (int y = 0; y < NotepadHeight; ++y)
            for (int x = 0; x < NotepadWidth; ++x)
                if (!ImageBit(x, y)) ink.insert({x, y});
        return ink;
    }
    Points ScreenInkPoints() const {
        Points ink;
        for (int y = 0; y < PageHeight; ++y)
            for (int x = 0; x < PageWidth; ++x)
                if (!OnToolButton(x, y) && Pixel(x, y) == WhiteInk) ink.insert({x, y + ViewOffset});
        return ink;
    }
    // Every pixel of the notepad ink, on the screen too.
    void InkEverywhere() {
        PatBlt(NotepadImage.Context, 0, 0, NotepadWidth, NotepadHeight, BLACKNESS);
        RepaintFromImage(0, 0, PageWidth, PageHeight);
    }
    // The next pointer input starts a stroke at `from` without an end dot getting in the way.
    void StrokeFrom(int x, int y) {
        StrokeActive = true;
        LastPoint = {x, y};
        DirtyFlag = 0;
    }
};

// Each move leaves its end point to the next; a far sample waits for the next, to tell a wild sample
// from a fast move.
TEST_F(InkTest, InterpolationTruncatesTowardZeroAMoveAloneStartsAStrokeAndAFarSampleWaitsForTheNext) {
    OnNewPad([this] {
        ViewOffset = 320;
        StrokeFrom(10, 10);
        StylusMove(15, 7);
        const Points expected = {{10, 330}, {11, 330}, {12, 329}, {13, 329}, {14, 328}};
        EXPECT_EQ(ImageInk(), expected);
        EXPECT_EQ(ScreenInkPoints(), expected);
        EXPECT_EQ(std::tuple(LastPoint.x, LastPoint.y, DirtyFlag), std::tuple(15, 7, 1));

        // A move with no stroke starts one at its own point: only the end dot, two pixels square,
        // centred with the half size taken off.
        ViewOffset = 0;
        StrokeActive = false;
        PatBlt(NotepadImage.Context, 0, 0, NotepadWidth, NotepadHeight, WHITENESS);
        SendMessageW(MainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(60, 70));
        EXPECT_EQ(std::tuple(StrokeActive, LastPoint.x, LastPoint.y), std::tuple(true, 60, 70));
        EXPECT_EQ(ImageInk(), (Points{{59, 69}, {60, 69}, {59, 70}, {60, 70}}));

        // Thirty pixels is an ordinary move, drawn at once.
        PatBlt(NotepadImage.Context, 0, 0, NotepadWidth, NotepadHeight, WHITENESS);
        StrokeFrom(50, 50);
        StylusMove(80, 50);
        Points line;
        for (int x = 50; x < 80; ++x) line.insert({x, 50});
        EXPECT_EQ(ImageInk(), line);

        // A lone wild sample mid-stroke: held, then dropped when the pen is back near the stroke.
        DirtyFlag = 0;
        StylusMove(150, 200);
        EXPECT_EQ(std::tuple(SampleHeld, DirtyFlag), std::tuple(true, 0));
        StylusMove(82, 51);
        EXPECT_FALSE(SampleHeld);
        EXPECT_EQ(ImageInk().size(), line.size() + 2);
        EXPECT_TRUE(ScreenAreaIs(90, 60, 240, 320, BluePage));
        EXPECT_EQ(std::tuple(LastPoint.x, DirtyFlag), std::tuple(82, 1));
    });
}

TEST_F(InkTest, DraggedStrokesLeaveTheSameMarksOnScreenAndInTheNotepadUnbrokenToTheLiftAndSoDoesTheEraser) {
    AnswerNewPad();
    Drag({{10, 100}, {55, 100}, {100, 100}, {145, 100}, {190, 100}});
    Drag({{20, 20}, {30, 25}, {45, 40}, {60, 38}, {61, 80}, {200, 300}, {205, 301}});
    Idle([this] {
        for (int x = 10; x <= 190; ++x) ASSERT_FALSE(ImageBit(x, 100)) << x;
        EXPECT_EQ(std::tuple(StrokeActive, DirtyFlag), std::tuple(false, 1));
        EXPECT_EQ(ScreenInkPoints(), ImageInk());
        // The pen really went to (200, 300): the next sample went on from there.
        EXPECT_EQ(Pixel(130, 190), WhiteInk);
        EXPECT_EQ(Pixel(205, 301), WhiteInk);
    });
    // The pen lifts right after a far sample: the stroke still reaches it.
    Idle([this] {
        StrokeFrom(10, 200);
        StylusMove(60, 200);
        StylusUp(60, 200);
        for (int x = 10; x <= 60; ++x) ASSERT_FALSE(ImageBit(x, 200)) << x;
        EXPECT_FALSE(SampleHeld);
    });
    // The eraser touches the same rectangle on the screen and in the image, and erases along its
    // whole path.
    Idle([this] {
        ViewOffset = 320;
        InkEverywhere();
        DrawMode = DRAW_ERASER;
        StylusDown(100, 50);
        for (int y = 0; y < NotepadHeight; ++y)
            for (int x = 0; x < NotepadWidth; ++x)
                ASSERT_EQ(ImageBit(x, y), x >= 95 && x <= 104 && y >= 365 && y <= 374) << x << "," << y;
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
        StylusUp(100, 50);
        ViewOffset = 0;
        InkEverywhere();
    });
    Drag({{20, 100}, {40, 100}, {60, 100}, {100, 100}, {200, 100}});
    Idle([this] {
        for (int x = 15; x <= 204; ++x)
            for (int y = 95; y <= 104; ++y) ASSERT_TRUE(ImageBit(x, y)) << x << "," << y;
        EXPECT_FALSE(ImageBit(10, 100));
        EXPECT_FALSE(ImageBit(100, 90));
    });
    Finish();
}

// On a screen of scale factor 2 a sample may be twice as far before it counts as a jump.
TEST_F(InkTest, TheJumpLimitGrowsWithTheScaleFactor) {
    UseScreen(3840, 2160);
    OnNewPad([this] {
        StylusDown(100, 100);
        StylusMove(160, 100);
        EXPECT_FALSE(SampleHeld);
        EXPECT_FALSE(ImageBit(159, 100));
        StylusMove(221, 100);
        EXPECT_TRUE(SampleHeld);
    });
}

TEST_F(InkTest, StampsLargerThanTheStampBitmapsAreSolidSizeZeroDrawsNothingAndNoneReachesPastThePageOnTheScreen) {
    OnNewPad([this] {
        Settings.PenEnd = 41;
        StylusDown(100, 100);
        Points expected;
        for (int y = 80; y <= 120; ++y)
            for (int x = 80; x <= 120; ++x) expected.insert({x, y});
        EXPECT_EQ(ImageInk(), expected);
        EXPECT_EQ(ScreenInkPoints(), expected);

        DrawMode = DRAW_ERASER;
        Settings.EraserWidth = Settings.EraserHeight = 25;
        StylusDown(100, 100);
        Points erased = expected;
        for (int y = 88; y < 113; ++y)
            for (int x = 88; x < 113; ++x) erased.erase({x, y});
        EXPECT_EQ(ImageInk(), erased);

        // A stamp at the screen's corner is clipped to the screen and the image.
        Settings.EraserWidth = Settings.EraserHeight = 0;
        DirtyFlag = 0;
        StylusDown(100, 100);
        EXPECT_EQ(ImageInk(), erased);
        EXPECT_EQ(DirtyFlag, 1);

        DrawMode = DRAW_PEN;
        Settings.PenEnd = 60;
        StylusUp(0, 0);
        EXPECT_TRUE(ScreenAreaIs(0, 0, 30, 30, WhiteInk));
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));

        // Stamps reach only the page on the screen.
        PatBlt(NotepadImage.Context, 0, 0, NotepadWidth, NotepadHeight, BLACKNESS);
        ViewOffset = 320;
        DrawMode = DRAW_ERASER;
        Settings.EraserWidth = Settings.EraserHeight = 9999;
        StylusDown(120, 160);
        for (int y = 0; y < NotepadHeight; y += 7)
            ASSERT_EQ(ImageBit(5, y), y >= 320 && y < 640) << y;

        // A pen end dot across the top and the bottom edge of the screen stops at the page too.
        PatBlt(NotepadImage.Context, 0, 0, NotepadWidth, NotepadHeight, WHITENESS);
        DrawMode = DRAW_PEN;
        Settings.PenEnd = 11;
        StylusDown(50, 2);
        StylusDown(50, 317);
        Points edges;
        for (int x = 45; x <= 55; ++x) {
            for (int y = 320; y <= 327; ++y) edges.insert({x, y});
            for (int y = 632; y <= 639; ++y) edges.insert({x, y});
        }
        EXPECT_EQ(ImageInk(), edges);
    });
}
