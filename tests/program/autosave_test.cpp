// Autosave: what was written reaches the file a few seconds after the pen rests, on the virtual
// clock, without waiting for Scrivo to close.
#include <sys/stat.h>

#include <filesystem>
#include <tuple>

#include "app/app.h"
#include "app/commands.h"
#include "ink/ink.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "testing.h"

namespace fs = std::filesystem;

class AutosaveTest : public ProgramTest {
protected:
    // Ink at one point, as a pen's tap leaves it.
    static void Dot(int x, int y) {
        StylusDown(x, y);
        StylusUp(x, y);
    }
    // Runs `check` when the clock is `ms` past the moment this is called, after any autosave
    // started by then has finished writing.
    void After(DWORD ms, std::function<void()> check) {
        screen_->at_time(GetTickCount() + ms, [check = std::move(check)] {
            FinishAutosave();
            check();
        });
    }
};

TEST_F(AutosaveTest, ThreeSecondsAfterThePenLastRestsTheNotepadIsOnDiskEvenWhenAPageTurnFlushesTheInput) {
    AnswerNewPad();
    Drag({{50, 50}, {60, 60}});
    Idle([this] {
        // Writing again before the autosave is due puts it off.
        for (DWORD at = 1000; at <= 2000; at += 1000)
            screen_->at_time(GetTickCount() + at, [at] { Dot(10 + static_cast<int>(at / 100), 10); });
        After(4900, [this] {
            EXPECT_EQ(std::tuple(fs::exists(NotepadPath()), DirtyFlag), std::tuple(false, 1));
        });
        After(5100, [this] {
            EXPECT_EQ(std::tuple(FileHasInkAt(NotepadPath(), 55, 55), FileHasInkAt(NotepadPath(), 30, 10), DirtyFlag),
                      std::tuple(true, true, 0));
            // The pen went on: the next autosave comes three seconds after it rested again.
            Dot(100, 100);
            After(2900, [this] { EXPECT_FALSE(FileHasInkAt(NotepadPath(), 100, 100)); });
            After(3100, [this] {
                EXPECT_TRUE(FileHasInkAt(NotepadPath(), 100, 100));
                // A page turn runs past the moment the next autosave is due, and throws away the input
                // that piled up meanwhile: the autosave still comes.
                Dot(150, 150);
                screen_->at_time(GetTickCount() + 2800, [this] { Press(VK_DOWN); });
                After(10000, [this] {
                    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 150, 150));
                    PostMessageW(MainWindow, WM_CLOSE, 0, 0);
                });
            });
        });
    });
    EXPECT_EQ(RunScrivo(), 0);
}

TEST_F(AutosaveTest, InkAfterTheSnapshotStaysMarkedAndAFailedWriteIsTriedAgain) {
    AnswerNewPad();
    Idle([this] {
        Dot(50, 50);
        ASSERT_EQ(StartAutosave(), 1);
        // Written while the worker writes the snapshot: not in the file, so still unsaved.
        Dot(120, 120);
        FinishAutosave();
        EXPECT_EQ(std::tuple(FileHasInkAt(NotepadPath(), 50, 50), FileHasInkAt(NotepadPath(), 120, 120), DirtyFlag),
                  std::tuple(true, false, 1));

        platform::fail_next_file_flushes(1);
        ASSERT_EQ(StartAutosave(), 1);
        FinishAutosave();
        EXPECT_EQ(DirtyFlag, 1);
        EXPECT_FALSE(FileHasInkAt(NotepadPath(), 120, 120));
        After(3100, [this] {
            EXPECT_EQ(std::tuple(FileHasInkAt(NotepadPath(), 120, 120), DirtyFlag), std::tuple(true, 0));
            Dot(180, 180);
            // Closing while an autosave writes: the exit's save waits for it, then writes the rest.
            ASSERT_EQ(StartAutosave(), 1);
            StylusDown(200, 200);
            PostMessageW(MainWindow, WM_CLOSE, 0, 0);
        });
    });
    EXPECT_EQ(RunScrivo(), 0);
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 180, 180));
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 200, 200));
    EXPECT_EQ(std::distance(fs::directory_iterator(ProgramDir()), fs::directory_iterator()), 2);  // and config
}

TEST_F(AutosaveTest, WhatChangesBetweenTheSnapshotsSlicesIsWhollyLeftToTheNextSave) {
    UseScreen(1920, 1080);
    OnNewPad([this] {
        Dot(50, 50);
        ASSERT_EQ(StartAutosave(), 1);
        // Four slices take the image's last rows, up to a little above the first page's bottom.
        for (int slice = 0; slice < 4; ++slice) AutosaveTimer();
        ASSERT_TRUE(SnapshotUnderWay);
        // A stroke down across where the slice ended, then undoing it and the dot before it: none
        // of it may reach the file, only the moment the autosave began.
        StylusDown(300, 1000);
        for (int y = 1020; y <= 1060; y += 20) StylusMove(300, y);
        StylusUp(300, 1060);
        RunCommand(MainWindow, IDM_UNDO);
        RunCommand(MainWindow, IDM_UNDO);
        FinishAutosave();
        EXPECT_TRUE(FileHasInkAt(NotepadPath(), 50, 50));
        EXPECT_FALSE(FileHasInkAt(NotepadPath(), 300, 1010));
        EXPECT_FALSE(FileHasInkAt(NotepadPath(), 300, 1050));
        EXPECT_EQ(DirtyFlag, 1);
        ASSERT_EQ(StartAutosave(), 1);
        FinishAutosave();
        EXPECT_EQ(std::tuple(FileHasInkAt(NotepadPath(), 50, 50), DirtyFlag), std::tuple(false, 0));
    });
}

// Told while there is still time to do something, once for a run of failures; the ink stays marked
// and a later autosave, after another rest, saves it once the file takes it.
TEST_F(AutosaveTest, AFailingAutosaveIsToldOnceAndTriedAgainUntilItSaves) {
    WriteBmp(NotepadPath(), 240, 5 * 320, [](int, int) { return false; });
    chmod(NotepadPath().c_str(), 0444);
    Drag({{50, 50}, {60, 60}});
    Idle([this] {
        After(3500, [this] {
            std::wstring text;
            ASSERT_TRUE(OpenMessageBox(&text, nullptr));
            EXPECT_EQ(text, L"The notepad could not be saved to " + fs::path(NotepadPath()).wstring() +
                                L": the notepad file or its folder is write-protected. What you wrote stays here, "
                                L"and Scrivo keeps trying to save it.");
            EXPECT_EQ(DirtyFlag, 1);
            screen_->push({platform::DeviceEvent::Type::KeyDown, 0, 0, VK_RETURN});
        });
        After(9900, [this] {
            EXPECT_FALSE(OpenMessageBox(nullptr, nullptr));
            EXPECT_FALSE(FileHasInkAt(NotepadPath(), 55, 55));
            chmod(NotepadPath().c_str(), 0644);
        });
        After(13000, [this] {
            EXPECT_EQ(std::tuple(FileHasInkAt(NotepadPath(), 55, 55), DirtyFlag), std::tuple(true, 0));
            PostMessageW(MainWindow, WM_CLOSE, 0, 0);
        });
    });
    EXPECT_EQ(RunScrivo(), 0);
}
