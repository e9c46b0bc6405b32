// Undo and redo: every stroke and every command that changes the image is taken back and given
// again exactly, from the keys, the menu or another program, within the history's budget.
#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "notepad/notepad.h"
#include "notepad/run_length.h"
#include "notepad/undo.h"
#include "core/clock.h"
#include "program_test.h"

using Type = platform::DeviceEvent::Type;

class UndoTest : public ProgramTest {
protected:
    static std::vector<BYTE> ImageNow() {
        const BYTE* bits = NotepadImage.Bits;
        return {bits, bits + static_cast<std::size_t>(NotepadHeight) * NotepadStride};
    }
    // The program reads the live state of Control and Shift, so they are let go only once the key
    // has been handled.
    void ControlKey(int vk, bool shift = false) {
        screen_->push({Type::KeyDown, 0, 0, VK_CONTROL});
        if (shift) screen_->push({Type::KeyDown, 0, 0, VK_SHIFT});
        Press(vk);
        Idle([this, shift] {
            if (shift) screen_->push({Type::KeyUp, 0, 0, VK_SHIFT});
            screen_->push({Type::KeyUp, 0, 0, VK_CONTROL});
        });
    }
    // Answers every box the command opens with OK, then goes on. Clear Pad's question starts on
    // Cancel.
    void AfterBoxes(std::function<void()> then) {
        Idle([this, then] {
            std::wstring text, caption;
            if (OpenMessageBox(&text, &caption)) {
                if (text == ClearPadQuestion) Press(VK_LEFT);
                Press(VK_RETURN);
                AfterBoxes(then);
                return;
            }
            then();
        });
    }
};

// Random strokes and commands, each checked against a reference: the images the notepad went
// through, and which of them it shows now. A stroke or command drops the images after the current
// one, and adds its own if it changed anything; undo and redo move along them, or beep at either end.
class UndoModelTest : public UndoTest {
protected:
    enum Action { PenStroke, EraserStroke, Cut, Paste, ClearPage, ClearPad, Compress, Pages, PageTurn, Undo, Redo };
    static constexpr WORD Commands[] = {IDM_PEN, IDM_ERASER, IDM_CUT, IDM_PASTE, IDM_CLEAR_PAGE, IDM_CLEAR_PAD,
                                        IDM_COMPRESS};

    void Start() {
        Idle([this] {
            images_ = {ImageNow()};
            Next(0);
        });
    }

    std::vector<POINT> RandomStroke() {
        std::uniform_int_distribution<int> x(0, PageWidth - 1), y(0, PageHeight - 1), step(-25, 25);
        std::vector<POINT> points;
        do points = {{x(random_), y(random_)}};
        while (OnToolButton(points[0].x, points[0].y));
        for (int i = std::uniform_int_distribution<int>(0, 6)(random_); i > 0; --i)
            points.push_back({std::clamp<LONG>(points.back().x + step(random_), 0, PageWidth - 1),
                              std::clamp<LONG>(points.back().y + step(random_), 0, PageHeight - 1)});
        return points;
    }

    void Next(int done) {
        if (done == ActionCount) {
            Finish();
            return;
        }
        const auto action = static_cast<Action>(std::uniform_int_distribution<int>(PenStroke, Redo + 3)(random_));
        const int beeps = screen_->beeps();
        bool changes = action < PageTurn;
        if (action < Pages) PostMessageW(MainWindow, WM_COMMAND, Commands[action], 0);
        switch (action) {
        case PenStroke:
        case EraserStroke:
            Stroke(RandomStroke());
            break;
        case Paste:
            changes = PageClipboard != nullptr;
            break;
        case Pages: {
            const int pages = std::uniform_int_distribution<int>(2, 6)(random_);
            changes = pages * PageHeight != NotepadHeight;
            // What the Options OK does; the closing dialog uncovers the whole screen.
            ReshapeNotepad(PageWidth, pages * PageHeight);
            InvalidateRect(MainWindow, nullptr, FALSE);
            break;
        }
        case PageTurn:
            Press(ViewOffset == 0 || (ViewOffset + PageHeight < NotepadHeight && random_() % 2) ? VK_DOWN : VK_UP);
            break;
        default:  // undo and redo come three times as often as each change, to walk far back
            if (random_() % 2) PostMessageW(MainWindow, WM_COMMAND, action % 2 ? IDM_UNDO : IDM_REDO, 0);
            else if (action % 2) ControlKey('Z');
            else ControlKey(random_() % 2 ? 'Y' : 'Z', true);
            break;
        }
        AfterBoxes([this, action, beeps, changes, done] {
            std::vector<BYTE> image = ImageNow();
            if (action >= Undo) {
                const bool undo = action % 2;
                const bool possible = undo ? current_ > 0 : current_ + 1 < images_.size();
                EXPECT_EQ(screen_->beeps(), beeps + (possible ? 0 : 1)) << "action " << done;
                if (possible) current_ += undo ? -1 : 1;
                ASSERT_EQ(image, images_[current_]) << (undo ? "undo" : "redo") << " at action " << done;
            } else if (changes) {
                images_.resize(current_ + 1);
                if (image != images_[current_]) {
                    images_.push_back(std::move(image));
                    ++current_;
                }
            } else {
                ASSERT_EQ(image, images_[current_]) << "action " << done;
            }
            EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage)) << "action " << done << " of kind " << action;
            Next(done + 1);
        });
    }

    static constexpr int ActionCount = 320;
    std::vector<std::vector<BYTE>> images_;
    std::size_t current_ = 0;
    std::mt19937 random_{22};
};

TEST_F(UndoModelTest, RandomStrokesAndCommandsOnAFourPagePadAreUndoneAndRedoneToTheExactImage) {
    WriteBmp(NotepadPath(), 240, 4 * 320, [](int x, int y) { return (x + y) % 97 == 0; });
    Start();
    EXPECT_EQ(RunScrivo(), 0);
}

// Strokes of the size the budget is reckoned for: a 20 × 20 pen drawn 300 pixels at 1920 × 1080.
TEST_F(UndoTest, TwentyThousandStrokesStayWithinTheBudgetWhichHoldsTwoThousandOrdinaryOnes) {
    UseScreen(1920, 1080);
    OnNewPad([] {
        std::mt19937 random(3);
        std::size_t most = 0;
        // Horizontal strokes of a square stamp of that side, 300 pixels long, as the hooks see them.
        const auto strokes = [&random, &most](LONG side) {
            for (int stroke = 0; stroke < 10000; ++stroke) {
                const LONG x = std::uniform_int_distribution<LONG>(0, NotepadWidth - 300 - side)(random);
                const LONG y = std::uniform_int_distribution<LONG>(0, NotepadHeight - side)(random);
                BeginStrokeStep();
                for (LONG along = 0; along < 300; ++along) NoteStampArea(x + along, y, x + along + side, y + side);
                EndStrokeStep();
                most = std::max(most, HistoryBytes());
            }
        };
        strokes(20);
        EXPECT_GE(HistorySteps(), 2000u);
        // Broad eraser strokes then fill the budget, and the oldest steps make room.
        strokes(100);
        EXPECT_LE(most, UndoBudget);
        EXPECT_LT(HistorySteps(), 10000u);
        // A step larger than the whole budget is still kept, alone.
        UndoBudget = 1;
        strokes(20);
        EXPECT_EQ(HistorySteps(), 1u);
    });
}

TEST(RunLengthTest, PagesOfEveryKindComeBackByteForByteAndBlankOnesCostAlmostNothing) {
    std::mt19937 random(5);
    std::vector<std::vector<BYTE>> blocks = {{}, std::vector<BYTE>(100000, 0xFF), std::vector<BYTE>(5000, 0x00)};
    for (int inkOneIn : {2, 7, 300}) {
        std::vector<BYTE> block(20000);
        for (BYTE& byte : block) byte = random() % inkOneIn ? 0xFF : static_cast<BYTE>(random());
        blocks.push_back(block);
    }
    blocks.push_back({0x00, 0xFF, 0xFF, 0x00, 0xFF});  // paper too short to be a run, and at the end
    for (const auto& block : blocks) {
        std::vector<BYTE> coded;
        EncodeRuns(block.data(), block.size(), &coded);
        std::vector<BYTE> decoded(block.size(), 0x55);
        EXPECT_TRUE(DecodeRuns(coded, decoded.data(), decoded.size()));
        EXPECT_EQ(decoded, block);
        EXPECT_LE(coded.size(), block.size() + block.size() / 64 + 8);
    }
    std::vector<BYTE> coded;
    EncodeRuns(blocks[1].data(), blocks[1].size(), &coded);
    EXPECT_LE(coded.size(), 4u);
    std::vector<BYTE> wrongSize(blocks[1].size() - 1);
    EXPECT_FALSE(DecodeRuns(coded, wrongSize.data(), wrongSize.size()));
    coded.pop_back();
    EXPECT_FALSE(DecodeRuns(coded, blocks[1].data(), blocks[1].size()));
}

TEST_F(UndoTest, ATapOfTwoFingersUndoesOfThreeRedoesAndTheFirstFingerLeavesNoInk) {
    AnswerNewPad();
    const auto tap = [this](int fingers) {
        platform::DeviceEvent event{Type::FingerTap, 120, 160};
        event.fingers = fingers;
        screen_->push(event);
    };
    Idle([this] { Stroke({{50, 50}, {70, 60}}); });
    Idle([this, tap] {
        ASSERT_FALSE(ImageBit(60, 55));
        // The first finger draws until the second lands; then the tap undoes the stroke before it.
        screen_->push({Type::PointerDown, 120, 160});
        screen_->push({Type::PointerMove, 125, 162});
        screen_->push({Type::PointerCancel, 120, 160});
        tap(2);
    });
    Idle([this, tap] {
        EXPECT_EQ(std::tuple(ImageBit(60, 55), ImageBit(120, 160), ImageBit(125, 162)), std::tuple(true, true, true));
        EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
        EXPECT_EQ(HistorySteps(), 1u);
        tap(3);
    });
    int beeps = 0;
    Idle([this, tap, &beeps] {
        EXPECT_FALSE(ImageBit(60, 55));
        beeps = screen_->beeps();
        tap(3);
        tap(4);  // no gesture of ours
    });
    Idle([this, &beeps] {
        EXPECT_EQ(screen_->beeps(), beeps + 1);
        EXPECT_FALSE(ImageBit(60, 55));
    });
    Finish();
}

TEST_F(UndoTest, WithoutMemoryTheOldestStepsGoAndAtWorstAStepHasNoUndoButTheInkStays) {
    AnswerNewPad();
    Idle([this] {
        for (int row : {40, 60, 80}) Stroke({{40, row}, {60, row}});
    });
    Idle([this] {
        ASSERT_EQ(HistorySteps(), 3u);
        // Two refusals: the two oldest steps make room for the new stroke.
        FailHistoryMemory(2);
        Stroke({{40, 100}, {60, 100}});
    });
    Idle([this] {
        EXPECT_FALSE(ImageBit(50, 100));
        EXPECT_EQ(HistorySteps(), 2u);
        const int beeps = screen_->beeps();
        FailHistoryMemory(1000);
        Stroke({{40, 120}, {60, 120}});
        // Each step that finds no memory at all says so once and goes ahead without undo.
        Idle([this, beeps] {
            EXPECT_FALSE(ImageBit(50, 120));
            EXPECT_EQ(screen_->beeps(), beeps + 1);
            PostMessageW(MainWindow, WM_COMMAND, IDM_CLEAR_PAGE, 0);
        });
        Idle([this, beeps] {
            EXPECT_EQ(std::tuple(ImageBit(50, 120), screen_->beeps(), HistorySteps()), std::tuple(true, beeps + 2, 0u));
            FailHistoryMemory(0);
            ControlKey('Z');
            Idle([this, beeps] {
                EXPECT_EQ(std::tuple(screen_->beeps(), ImageBit(50, 40), DirtyFlag), std::tuple(beeps + 3, true, 1));
                PostMessageW(MainWindow, WM_CLOSE, 0, 0);
            });
        });
    });
    EXPECT_EQ(RunScrivo(), 0);
}

// An undo right after a save marks the notepad changed, and an undo on another page goes there and
// shows its number; a notepad another program wrote while Scrivo was behind it is read again when
// Scrivo comes back, at the same view, and starts with nothing to undo.
TEST_F(UndoTest, AnUndoAfterASaveMarksAChangeOnAnotherPageGoesThereAndAfterAReadFromDiskHasNothingToUndo) {
    AnswerNewPad();
    Idle([this] { Stroke({{50, 50}, {70, 60}}); });
    Key(VK_DOWN);
    Key(VK_DOWN);
    Idle([this] {
        SendMessageW(MainWindow, WM_ACTIVATE, WA_INACTIVE, 0);  // the save when another program comes
        ASSERT_EQ(DirtyFlag, 0);
        SendMessageW(MainWindow, WM_ACTIVATE, WA_ACTIVE, 0);
        ASSERT_EQ(ViewOffset, 2 * PageHeight);
        ControlKey('Z');
        screen_->at_time(platform::clock_now() + PageNumberFlash / 2, [this] {
            EXPECT_EQ(ViewOffset, 0);
            EXPECT_EQ(Pixel(0, 0), WhiteInk) << "the page number shows";
        });
    });
    Idle([this] {
        EXPECT_EQ(std::tuple(ViewOffset, ImageBit(60, 55), DirtyFlag), std::tuple(0, true, 1));
        Stroke({{40, 40}, {60, 40}});
    });
    Idle([this] {
        SendMessageW(MainWindow, WM_ACTIVATE, WA_INACTIVE, 0);
        // That program writes a notepad of its own, three pages with marks of its own, shown where
        // the view was; one is beside where the stroke was, for an undo of that stroke to wipe.
        WriteBmp(NotepadPath(), 240, 3 * 320,
                 [](int x, int y) { return (x == 7 && y == 327) || (x == 45 && y == 45); });
        ViewOffset = 320;
        SendMessageW(MainWindow, WM_ACTIVATE, WA_ACTIVE, 0);
        ASSERT_EQ(NotepadHeight, 3 * 320);
        EXPECT_EQ(std::tuple(PageCount, DirtyFlag), std::tuple(3, 0));
        const int beeps = screen_->beeps();
        ControlKey('Z');
        Idle([this, beeps] {
            EXPECT_EQ(std::tuple(screen_->beeps(), ImageBit(7, 327), ImageBit(45, 45), ImageBit(50, 40)),
                      std::tuple(beeps + 1, false, false, true));
            EXPECT_EQ(ViewOffset, 320);
            EXPECT_TRUE(ScreenShowsImage(WhiteInk, BluePage));
            PostMessageW(MainWindow, WM_CLOSE, 0, 0);
        });
    });
    EXPECT_EQ(RunScrivo(), 0);
}
