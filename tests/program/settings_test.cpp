// Settings from the per-user store: defaults, damaged values, and the scroll position.
#include <filesystem>
#include <tuple>

#include "app/app.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "program_test.h"
#include "settings/settings.h"
#include "testing.h"

class SettingsTest : public ProgramTest {
protected:
    static std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
};

TEST_F(SettingsTest, StoredOptionsApplyWithoutBoundsColoursShowOnTheScreenAndARestOfZeroSecondsTurnsAutosaveOff) {
    // Red ink on a green page, and no autosave.
    const std::pair<LPCWSTR, LONG> stored[] = {{L"PenWidth", 50}, {L"PenHeight", 3}, {L"PenEnd", 7},
                                               {L"EraserSize", 0}, {L"PenColour", 0x000000FF}, {L"BakColour", 0x0000FF00},
                                               {L"AutosaveSeconds", 0}};
    for (const auto& [name, value] : stored) StoreNumber(name, value);
    AnswerNewPad();
    Idle([this] {
        EXPECT_EQ(std::tuple(Settings.PenWidth, Settings.PenHeight, Settings.PenEnd, Settings.EraserWidth),
                  std::tuple(50, 3, 7, 0));
        EXPECT_TRUE(ScreenShowsImage(0x00FF0000, 0x0000FF00));
    });
    Tap(100, 100);
    Idle([this] {
        EXPECT_TRUE(ScreenAreaIs(97, 97, 104, 104, 0x00FF0000));
        EXPECT_EQ(Pixel(96, 100), 0x0000FF00u);
        // Only the close saves, however long the pen rests.
        screen_->at_time(GetTickCount() + 60000, [this] {
            FinishAutosave();
            EXPECT_FALSE(std::filesystem::exists(NotepadPath()));
            PostMessageW(MainWindow, WM_CLOSE, 0, 0);
        });
    });
    EXPECT_EQ(RunScrivo(), 0);
    EXPECT_TRUE(FileHasInkAt(NotepadPath(), 100, 100));
}

// A normal exit stores the position of the moment the window went; a start takes it back within
// the notepad. Closing while the first box is up, the box closes, nothing of this run's start is
// stored over what the last run left, and nothing made for it outlives it.
TEST_F(SettingsTest, TheStoredPositionIsBoundedToTheNotepadAndAClosingWhileTheNewPadBoxIsUpKeepsIt) {
    struct Case {
        LONG stored;
        LONG expected;
    };
    for (const Case c : {Case{99999, 4 * 320}, Case{4 * 320, 4 * 320}, Case{-40, 0}}) {
        StoreNumber(L"PositionY", c.stored);
        OnNewPad([c] { EXPECT_EQ(ViewOffset, c.expected) << "stored " << c.stored; });
    }
    OnNewPad([] { ViewOffset = 777; });
    EXPECT_EQ(StoredNumber(L"PositionY"), 777);
    OnNewPad([] { EXPECT_EQ(ViewOffset, 777); });

    StoreNumber(L"PositionY", 960);
    const std::size_t objects = platform::gdi_live_objects();
    Close();
    EXPECT_EQ(RunScrivo(), 0);
    EXPECT_EQ(StoredNumber(L"PositionY"), 960);
    EXPECT_EQ(platform::gdi_live_objects(), objects);
}

// What a person wrote in the settings file by hand outlives the program's own writes to it, and a
// file too long to read whole is left alone rather than cut.
TEST_F(SettingsTest, StoringThePositionKeepsWhatAPersonWroteAndNeverCutsTheFile) {
    const std::string folder = ConfigDir() + "/scrivo";
    std::filesystem::create_directories(folder);
    const std::string file = folder + "/registry.reg";
    WriteWholeFile(file, Bytes("REGEDIT4\n\n; my settings, tuned by hand\n"
                               "[HKEY_CURRENT_USER\\Software\\Corvane\\Scrivo]\n"
                               "; thick pen for the whiteboard\n\"PenWidth\"=dword:00000004\n"
                               "\"PenHeight\"=dword:zz\n"
                               "[HKEY_CURRENT_USER\\Software\\Broken\n\"Kept\"=dword:00000001\n"));
    OnNewPad([] { ViewOffset = 320; });
    const std::vector<std::uint8_t> bytes = ReadWholeFile(file);
    const std::string text(bytes.begin(), bytes.end());
    for (const char* line : {"; my settings, tuned by hand", "; thick pen for the whiteboard\n\"PenWidth\"=dword:00000004",
                             "\"PenHeight\"=dword:zz", "[HKEY_CURRENT_USER\\Software\\Broken\n\"Kept\"=dword:00000001",
                             "\"PositionY\"=dword:00000140"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nnot in\n" << text;
    EXPECT_EQ(text.find("REGEDIT4", 1), std::string::npos) << text;

    std::string huge = text + "; " + std::string(1 << 20, 'x') + "\n";
    WriteWholeFile(file, Bytes(huge));
    LONG position = 640;
    DWORD type = REG_DWORD, size = sizeof position;
    EXPECT_EQ(RegistryValue(REGISTRY_STORE, L"PositionY", &type, &position, &size), 0);
    EXPECT_EQ(ReadWholeFile(file), Bytes(huge));
}
