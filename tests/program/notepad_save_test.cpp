// Saves that respect what the user set on the file and its folder, and never put the old notepad
// at risk: permissions, links, failing disks, and files that could not be loaded.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <tuple>

#include "app/app.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "program_test.h"
#include "system/module.h"
#include "testing.h"

namespace fs = std::filesystem;

class NotepadSaveTest : public ProgramTest {
protected:
    static mode_t ModeOf(const std::string& path) {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // Root passes every permission check, so a test of permissions takes an ordinary user's rights
    // for the whole test folder.
    void ActAsOrdinaryUser() {
        if (geteuid() != 0) return;
        constexpr uid_t Nobody = 65534;
        for (const auto& entry : fs::recursive_directory_iterator(ProgramDir()))
            ASSERT_EQ(lchown(entry.path().c_str(), Nobody, Nobody), 0);
        ASSERT_EQ(lchown(ProgramDir().c_str(), Nobody, Nobody), 0);
        ASSERT_EQ(setegid(Nobody), 0);
        ASSERT_EQ(seteuid(Nobody), 0);
        droppedRoot_ = true;
    }
    void TearDown() override {
        if (droppedRoot_) {
            EXPECT_EQ(seteuid(0), 0);
            EXPECT_EQ(setegid(0), 0);
        }
        ProgramTest::TearDown();
    }
    // A notepad with one diagonal line, as another tool would have written it.
    std::vector<std::uint8_t> WriteOldNotepad(const std::string& path) {
        WriteBmp(path, 240, 5 * 320, [](int x, int y) { return x == y; });
        return ReadWholeFile(path);
    }
    // Writes at (50, 50)..(60, 60) and closes, expecting the save to fail for `failure` if given and
    // the notepad to be kept in the data folder.
    void WriteAndClose(const wchar_t* failure = nullptr) {
        Drag({{50, 50}, {60, 60}});
        Close();
        if (failure) AnswerRescueBox(failure);
        EXPECT_EQ(RunScrivo(), 0);
    }
    // Runs `start` in a child process, so that each run of the program starts afresh; whether it
    // passed there.
    static bool InChild(const std::function<void()>& start) {
        const pid_t child = fork();
        if (child == 0) {
            start();
            std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
        }
        int status = 0;
        return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    bool droppedRoot_ = false;
};

TEST_F(NotepadSaveTest, AReadOnlyNotepadIsNotReplacedAndTheSaveSaysSo) {
    const std::vector<std::uint8_t> old = WriteOldNotepad(NotepadPath());
    ASSERT_EQ(chmod(NotepadPath().c_str(), 0444), 0);
    WriteAndClose(L"the notepad file or its folder is write-protected");
    EXPECT_EQ(ReadWholeFile(NotepadPath()), old);
    EXPECT_EQ(ModeOf(NotepadPath()), 0444u);
    EXPECT_TRUE(FileHasInkAt(RescueCopy(), 55, 55));
}

// The file the link leads to keeps its mode and the density it was written with.
TEST_F(NotepadSaveTest, ALinkedNotepadIsSavedIntoTheFileTheLinkLeadsToWithItsModeAndDensity) {
    const std::string notes = ProgramDir() + "/notes";
    const std::string pad = notes + "/pad.bmp";
    fs::create_directories(notes);
    std::vector<std::uint8_t> file = WriteOldNotepad(pad);
    PutField(file, 38, 2835);  // pixels per metre across and down
    PutField(file, 42, 2834);
    WriteWholeFile(pad, file);
    ASSERT_EQ(chmod(pad.c_str(), 0640), 0);
    fs::create_symlink("notes/pad.bmp", NotepadPath());
    WriteAndClose();
    EXPECT_TRUE(fs::is_symlink(NotepadPath()));
    ASSERT_TRUE(FileHasInkAt(pad, 55, 55));
    const std::vector<std::uint8_t> saved = ReadWholeFile(pad);
    EXPECT_EQ(std::tuple(Read32(saved, 38), Read32(saved, 42)), std::tuple(2835u, 2834u));
    EXPECT_EQ(ModeOf(pad), 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(notes), fs::directory_iterator()), 1);
}

TEST_F(NotepadSaveTest, AFolderThatTakesNoNewFileHasItsNotepadWrittenInPlace) {
    WriteOldNotepad(NotepadPath());
    ActAsOrdinaryUser();
    ASSERT_EQ(chmod(ProgramDir().c_str(), 0555), 0);
    WriteAndClose();
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 55, 55));
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 100, 100));
    EXPECT_EQ(ReadWholeFile(NotepadPath()).size(), 62u + 32u * 320u * 5u);
}

TEST_F(NotepadSaveTest, AFlushTheDiskRefusesFailsTheSaveAndKeepsTheOldFile) {
    const std::vector<std::uint8_t> old = WriteOldNotepad(NotepadPath());
    Drag({{50, 50}, {60, 60}});
    Idle([] {
        platform::fail_next_file_flushes(1);
        EXPECT_EQ(SaveNotepad(), 0);
        EXPECT_EQ(LastSaveError, static_cast<DWORD>(ERROR_GEN_FAILURE));
    });
    AnswerMessageBox(L"The notepad could not be saved to " + fs::path(NotepadPath()).wstring() +
                     L": the disk did not take what was written. What you wrote stays here, and Scrivo keeps "
                     L"trying to save it.");
    Idle([this, old] {
        EXPECT_EQ(ReadWholeFile(NotepadPath()), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(ProgramDir()), fs::directory_iterator()), 2);  // and config
        EXPECT_EQ(SaveNotepad(), 1);
        EXPECT_TRUE(FileHasInkAt(NotepadPath(), 55, 55));
    });
    Finish();
}

// Every file the program cannot read gives a new notepad and one added line in the box saying so;
// the file stays untouched until the first save keeps it aside under the name the box gave.
TEST_F(NotepadSaveTest, ARefusedFileIsNamedInTheStartUpBoxAndKeptUnderThatName) {
    std::vector<std::uint8_t> colour = WriteOldNotepad(NotepadPath());
    colour[28] = 24;  // the bit depth an image editor writes
    const std::vector<std::vector<std::uint8_t>> refused = {
        colour,
        {},                                                   // empty
        {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0},  // another format
        {'B', 'M', 0x37, 0x13, 0xF0, 0x0D},                   // random bytes after the mark
    };
    for (const auto& bytes : refused) {
        WriteWholeFile(NotepadPath(), bytes);
        WriteWholeFile(ProgramDir() + "/Scrivo.bad", {'o', 'l', 'd'});
        ASSERT_TRUE(InChild([this, &bytes] {
            AnswerMessageBox(L"New Pad Created\nThe old notepad could not be read. It will be kept as Scrivo.b01.");
            Idle([this, bytes] { EXPECT_EQ(ReadWholeFile(NotepadPath()), bytes); });
            WriteAndClose();
        })) << "file of " << bytes.size() << " bytes";
        EXPECT_EQ(ReadWholeFile(ProgramDir() + "/Scrivo.bad"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
        EXPECT_EQ(ReadWholeFile(ProgramDir() + "/Scrivo.b01"), bytes);
        EXPECT_TRUE(FileHasInkAt(NotepadPath(), 55, 55));
        fs::remove(ProgramDir() + "/Scrivo.b01");
    }
}

TEST_F(NotepadSaveTest, ANotepadThatIsAFolderIsKeptAside) {
    fs::create_directories(NotepadPath() + "/inside");
    AnswerMessageBox(L"New Pad Created\nThe old notepad could not be read. It will be kept as Scrivo.bad.");
    WriteAndClose();
    EXPECT_TRUE(fs::is_directory(ProgramDir() + "/Scrivo.bad/inside"));
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 55, 55));
}

TEST_F(NotepadSaveTest, ANotepadTooLargeForTheFreeMemoryIsLeftAloneAndNeverSavedOver) {
    WriteBmp(NotepadPath(), 240, 20 * 320, [](int x, int y) { return x == y; });
    const std::vector<std::uint8_t> old = ReadWholeFile(NotepadPath());
    // Twenty pages (153 600 bytes) do not fit; a new notepad of five does.
    platform::set_pixel_memory_limit(100000);
    AnswerMessageBox(L"New Pad Created\nThe old notepad is too large for the free memory. It is kept as it is; "
                     L"this one will not be saved.");
    WriteAndClose(L"the notepad on disk was too large to open and is kept as it was");
    EXPECT_EQ(ReadWholeFile(NotepadPath()), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(ProgramDir()), fs::directory_iterator()), 3);  // config, data
}

// The longest names a path holds, and longer ones, for the refused file a link leads to: the box
// names the set-aside file in full or not at all, and never runs past its own text.
TEST_F(NotepadSaveTest, ALinkToADamagedFileOfTheLongestNamesIsNamedInFullOrNotAtAll) {
    char pattern[] = "/tmp/sXXXXXX";  // short, so that the target's name can reach the path's limit
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    std::string accented;  // 127 characters, 254 bytes on disk
    for (int i = 0; i < 127; ++i) accented += "\xC3\xA9";
    const std::pair<std::wstring, std::string> names[] = {
        {L"x", "x"},
        {std::wstring(244, L'n'), std::string(244, 'n')},
        {std::wstring(246, L'n'), std::string(246, 'n')},
        {std::wstring(247, L'n'), std::string(247, 'n')},
        {std::wstring(255, L'n'), std::string(255, 'n')},
        {std::wstring(127, L'\u00e9'), accented},
    };
    for (const auto& [name, onDisk] : names) {
        const std::string target = folder + "/" + onDisk;
        WriteWholeFile(target, {'B', 'M', 1});
        fs::remove(NotepadPath());
        fs::create_symlink(target, NotepadPath());
        const bool fits = folder.size() + 1 + name.size() < static_cast<std::size_t>(MAX_PATH);
        const std::wstring aside = name.size() > 3 ? name.substr(0, name.size() - 3) + L"bad" : L"bad";
        EXPECT_TRUE(InChild([&] {
            AnswerMessageBox(fits ? L"New Pad Created\nThe old notepad could not be read. It will be kept as " +
                                        aside + L"."
                                  : L"New Pad Created\nThe old notepad could not be read. It is kept as it is.");
            Finish();
        })) << "a name of " << name.size() << " characters";
        fs::remove(target);
    }
    fs::remove_all(folder);
}

TEST_F(NotepadSaveTest, ANotepadReplacedUnderUnsavedInkIsKeptBesideItAndTheUserIsToldWhere) {
    WriteOldNotepad(NotepadPath());
    std::vector<std::uint8_t> other;
    Drag({{50, 50}, {60, 60}});
    Idle([this, &other] {
        WriteBmp(ProgramDir() + "/other.bmp", 240, 5 * 320, [](int x, int) { return x == 100; });
        other = ReadWholeFile(ProgramDir() + "/other.bmp");
        fs::rename(ProgramDir() + "/other.bmp", NotepadPath());
        EXPECT_EQ(SaveNotepad(), 1);
    });
    AnswerMessageBox(L"Another program changed the notepad file while you wrote. Its version is kept beside it as "
                     L"Scrivo.c01; yours is saved as Scrivo.bmp.");
    // Told once: the next save replaces only what this one wrote.
    Drag({{70, 70}, {80, 80}});
    Finish();
    EXPECT_EQ(ReadWholeFile(ProgramDir() + "/Scrivo.c01"), other);
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 55, 55));
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 75, 75));
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 30, 30));
    EXPECT_FALSE(fs::exists(ProgramDir() + "/Scrivo.c02"));
}
