// The notepad file: its format, what other image tools make of it, hostile files, and saves that
// never lose the notepad.
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <tuple>

#include "app/app.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "program_test.h"
#include "system/module.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

std::wstring Wide(const std::string& text) { return {text.begin(), text.end()}; }

// Runs a command and returns what it printed.
std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[65536];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// Pixels as "w h", a line, then one '0' (ink) or '1' per pixel, rows from the top, and a line.
std::string PixelText(int width, int height, const std::function<bool(int, int)>& paper) {
    std::string text = std::to_string(width) + " " + std::to_string(height) + "\n";
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) text += paper(x, y) ? '1' : '0';
    return text + "\n";
}

// Pixels of a file as another reader sees them, as PixelText gives them.
std::string PillowPixels(const std::string& path) {
    return Output("/usr/bin/python3 -c \"import sys; from PIL import Image; im = Image.open(sys.argv[1]).convert('1');"
                  " w, h = im.size; px = im.load(); print(w, h);"
                  " print(''.join('0' if px[x, y] == 0 else '1' for y in range(h) for x in range(w)))\" " +
                  path);
}

void Scribble(unsigned seed) {
    std::mt19937 random(seed);
    for (int i = 0; i < 400; ++i) {
        const int x = static_cast<int>(random() % static_cast<unsigned>(NotepadWidth));
        const int y = static_cast<int>(random() % static_cast<unsigned>(NotepadHeight));
        PatBlt(NotepadImage.Context, x, y, 1 + static_cast<int>(random() % 9), 1 + static_cast<int>(random() % 5),
               BLACKNESS);
    }
}

std::vector<std::uint8_t> ImageBytes(HBITMAP bitmap) {
    BITMAP record{};
    GetObjectW(bitmap, sizeof record, &record);
    const auto* bits = static_cast<const std::uint8_t*>(record.bmBits);
    return {bits, bits + static_cast<std::size_t>(record.bmWidthBytes) * record.bmHeight};
}

// Loads a file as the program does at start-up; empty when it is refused.
struct Loaded {
    LONG width = 0, height = 0, stride = 0;
    std::vector<std::uint8_t> bytes;
    bool ok() const { return !bytes.empty(); }
    bool Paper(int x, int y) const {
        const std::uint8_t* row = bytes.data() + static_cast<std::size_t>(height - 1 - y) * stride;
        return (row[x / 8] >> (7 - x % 8)) & 1;
    }
};

Loaded Load(const std::string& path) {
    Loaded result;
    HDC context = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = LoadNotepadFile(context, Wide(path).c_str());
    if (bitmap) {
        BITMAP record{};
        GetObjectW(bitmap, sizeof record, &record);
        result.width = record.bmWidth;
        result.height = record.bmHeight;
        result.stride = record.bmWidthBytes;
        result.bytes = ImageBytes(bitmap);
    }
    DeleteDC(context);
    DeleteObject(bitmap);
    return result;
}

}  // namespace

class NotepadFileTest : public ProgramTest {};

TEST_F(NotepadFileTest, ASavedNotepadHasTheExpectedHeaderLoadsBitForBitAndOtherToolsSeeItsInk) {
    OnNewPad([this] {
        Scribble(1);
        ASSERT_EQ(SaveNotepad(), 1);
        const std::vector<std::uint8_t> file = ReadWholeFile(NotepadPath());
        ASSERT_EQ(file.size(), 62u + 32u * 320u * 5u);
        EXPECT_EQ(file[0] | file[1] << 8, 'B' | 'M' << 8);
        const std::pair<std::size_t, std::uint32_t> fields[] = {
            {2, static_cast<std::uint32_t>(file.size())}, {10, 62}, {14, 40}, {46, 2}, {54, 0}, {58, 0x00FFFFFF}};
        for (const auto& [at, value] : fields) EXPECT_EQ(Read32(file, at), value) << "at " << at;

        const Loaded loaded = Load(NotepadPath());
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(std::tuple(loaded.width, loaded.height, loaded.stride),
                  std::tuple(NotepadWidth, NotepadHeight, NotepadStride));
        EXPECT_EQ(loaded.bytes, ImageBytes(NotepadImage.Bitmap));

        EXPECT_EQ(PillowPixels(NotepadPath()), PixelText(240, 1600, [this](int x, int y) { return ImageBit(x, y); }));
    });
}

TEST_F(NotepadFileTest, OneBitFilesWrittenByOtherToolsAndFilesOfOtherShapesLoadWithTheirPixels) {
    OnNewPad([this] {
        const std::string pillow = ProgramDir() + "/pillow.bmp";
        Output("/usr/bin/python3 -c \"import sys; from PIL import Image, ImageDraw; im = Image.new('1', (240, 640), 1);"
               " d = ImageDraw.Draw(im); d.rectangle((10, 20, 60, 400), fill=0); d.line((0, 639, 239, 0), fill=0);"
               " im.save(sys.argv[1])\" " + pillow);
        const std::string magick = ProgramDir() + "/magick.bmp";
        Output("/usr/bin/convert " + pillow + " -monochrome " + magick);
        const std::string magick3 = ProgramDir() + "/magick3.bmp";
        Output("/usr/bin/convert " + pillow + " -monochrome BMP3:" + magick3);

        const std::string reference = PillowPixels(pillow);
        ASSERT_EQ(reference.substr(0, 8), "240 640\n");
        for (const std::string& path : {pillow, magick, magick3}) {
            const Loaded loaded = Load(path);
            ASSERT_TRUE(loaded.ok()) << path;
            EXPECT_EQ(PixelText(loaded.width, loaded.height, [&loaded](int x, int y) { return loaded.Paper(x, y); }),
                      reference)
                << path;
        }

        auto ink = [](int x, int y) { return (x * 7 + y * 3) % 11 == 0 || x == y; };
        const std::tuple<int, int, BmpOptions> shapes[] = {
            {240, 640, {true, false, 40}},   // rows stored from the top
            {240, 640, {false, true, 40}},   // white first in the colour table
            {100, 200, {false, false, 40}},  // narrower and lower than a page
            {300, 333, {true, true, 124}},   // wider, not whole pages, a longer header
        };
        for (const auto& [width, height, options] : shapes) {
            const std::string path = ProgramDir() + "/shape.bmp";
            WriteBmp(path, width, height, ink, options);
            const Loaded loaded = Load(path);
            ASSERT_TRUE(loaded.ok()) << width << "x" << height;
            EXPECT_EQ(std::tuple(loaded.width, loaded.height), std::tuple(std::max(width, 240), std::max(height, 320)));
            for (int y = 0; y < loaded.height; ++y)
                for (int x = 0; x < loaded.width; ++x) {
                    const bool expectInk = x < width && y < height && ink(x, y);
                    ASSERT_EQ(loaded.Paper(x, y), !expectInk) << x << "," << y << " of " << width;
                }
        }
    });
}

TEST_F(NotepadFileTest, HostileHeadersAndTheBmpSuitesBadFilesAreRefusedAndItsTwoColourOnesRead) {
    OnNewPad([this] {
        const std::string path = ProgramDir() + "/hostile.bmp";
        WriteBmp(path, 240, 320, [](int x, int y) { return x == y; });
        const std::vector<std::uint8_t> good = ReadWholeFile(path);
        ASSERT_TRUE(Load(path).ok());

        // Each the good file with a field of `bytes` bytes at `at` set to `value`.
        const std::tuple<std::size_t, std::uint32_t, int> hostile[] = {
            {0, 0x4142, 2},       // not "BM"
            {10, 54, 4},          // pixels said to start inside the headers
            {10, 0xFFFFFFF0, 4},  // pixels said to start past the end
            {14, 12, 4},          // an old short header
            {14, 41, 4},          // an unknown header size
            {26, 2, 2},           // two planes
            {28, 4, 2},           // four bits per pixel
            {30, 1, 4},           // compressed
            {18, 0, 4},           // no width
            {18, 0x80000000, 4},  // negative width
            {22, 0, 4},           // no height
            {22, 0x80000000, 4},  // the one height that has no positive twin
            {18, 0x7FFFFFFF, 4},  // a stride times height far beyond any memory
            {22, 0x7FFFFFFF, 4},
            {46, 3, 4},           // three colours
        };
        // Nothing a refused file made outlives the load, a half-read notepad image least of all.
        const std::size_t objects = platform::gdi_live_objects();
        for (const auto& [at, value, bytes] : hostile) {
            std::vector<std::uint8_t> bad = good;
            PutField(bad, at, value, bytes);
            WriteWholeFile(path, bad);
            EXPECT_FALSE(Load(path).ok()) << "at " << at << ": " << value;
            EXPECT_EQ(platform::gdi_live_objects(), objects) << "at " << at << ": " << value;
        }
        for (std::size_t length : {std::size_t{0}, std::size_t{13}, std::size_t{14}, std::size_t{61}, std::size_t{62},
                                   good.size() / 2, good.size() - 1}) {
            WriteWholeFile(path, {good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)});
            EXPECT_FALSE(Load(path).ok()) << "cut at " << length;
            EXPECT_EQ(platform::gdi_live_objects(), objects) << "cut at " << length;
        }

        const fs::path suite = SCRIVO_BMPSUITE_DIR;
        for (const auto& entry : fs::directory_iterator(suite / "b"))
            EXPECT_FALSE(Load(entry.path().string()).ok()) << entry.path();
        // The good two-colour files load; the black-and-white ones with the same pixels whichever
        // colour comes first in their table.
        const Loaded plain = Load((suite / "g" / "pal1.bmp").string());
        ASSERT_TRUE(plain.ok());
        EXPECT_EQ(Load((suite / "g" / "pal1wb.bmp").string()).bytes, plain.bytes);
        EXPECT_TRUE(Load((suite / "g" / "pal1bg.bmp").string()).ok());
        // The rest of the suite is the notepad reader's fuzz target's seeds, read there under the
        // sanitizers.
        EXPECT_FALSE(Load((suite / "q" / "pal1p1.bmp").string()).ok());
    });
}

// A folder path of 245 characters still takes the notepad beside the program.
TEST_F(NotepadFileTest, FoldersTooLongForThePathKeepTheNotesInTheDataFolderOrFailCleanlyAndSaySo) {
    std::string fits = ProgramDir();
    while (fits.size() < 245) {
        fits += '/';
        fits.append(std::min<std::size_t>(40, 245 - fits.size()), 'd');
    }
    fs::create_directories(fits);
    platform::set_program_path(fits + "/scrivo");
    AnswerNewPad();
    Drag({{50, 50}, {60, 60}});
    Finish();
    EXPECT_TRUE(FileHasInkAt(fits + "/Scrivo.bmp", 55, 55));
    EXPECT_EQ(std::distance(fs::directory_iterator(fits), fs::directory_iterator()), 1);

    const std::string deep = ProgramDir() + "/" + std::string(250, 'd');
    platform::set_program_path(deep + "/scrivo");
    AnswerNewPad();
    Drag({{50, 50}, {60, 60}});
    Finish();
    EXPECT_FALSE(Load(DataDir() + "/scrivo/Scrivo.bmp").Paper(55, 55));

    setenv("XDG_DATA_HOME", deep.c_str(), 1);
    AnswerNewPad();
    Drag({{50, 50}, {60, 60}});
    Close();
    AnswerMessageBox(L"The notepad could not be saved: the path of the notepad's folder is too long, and no copy "
                     L"of it could be kept elsewhere. Your last changes are lost.");
    EXPECT_EQ(RunScrivo(), 0);
    EXPECT_FALSE(fs::exists(deep));
}

TEST_F(NotepadFileTest, AKillAtAnyMomentOfASaveLeavesTheOldOrTheNewNotepad) {
    OnNewPad([this] {
        Scribble(3);
        ASSERT_EQ(SaveNotepad(), 1);
        const std::vector<std::uint8_t> first = ImageBytes(NotepadImage.Bitmap);
        Scribble(4);
        const std::vector<std::uint8_t> second = ImageBytes(NotepadImage.Bitmap);
        std::mt19937 random(5);
        for (int round = 0; round < 40; ++round) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                // Saves the two notepads in turn until killed.
                for (int i = 0;; ++i) {
                    std::memcpy(NotepadImage.Bits, (i % 2 ? first : second).data(), first.size());
                    SaveNotepad();
                }
            }
            usleep(static_cast<useconds_t>(random() % 20000));
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            const Loaded loaded = Load(NotepadPath());
            ASSERT_TRUE(loaded.ok()) << "round " << round;
            EXPECT_TRUE(loaded.bytes == first || loaded.bytes == second) << "round " << round;
        }
        RemoveLeftoverSaves(NotepadFilePath);
        for (const auto& entry : fs::directory_iterator(ProgramDir()))
            EXPECT_EQ(entry.path().filename().string().find("Scrivo.~"), std::string::npos) << entry.path();
    });
}

// A small file system of its own lets the test fill it up or make it read-only; where the test may
// not mount one, it cannot run.
class SmallFileSystemTest : public NotepadFileTest {
protected:
    void Mount(const char* options) {
        mountPoint_ = ProgramDir() + "/mnt";
        fs::create_directories(mountPoint_);
        if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, options) != 0) {
            mountPoint_.clear();
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        }
        platform::set_program_path(mountPoint_ + "/scrivo");
    }
    void TearDown() override {
        if (!mountPoint_.empty()) umount2(mountPoint_.c_str(), MNT_DETACH);
        NotepadFileTest::TearDown();
    }
    std::string mountPoint_;
};

// A notepad is found where it was left. A new one goes beside the program when the program's folder
// takes files, else into the user's data folder, which the first save makes; the choice holds for
// the whole run and the next start finds the notepad again.
TEST_F(SmallFileSystemTest, NotesStayBesideTheProgramOrGoToTheDataFolderWhenItsFolderIsReadOnly) {
    Mount("size=1m");
    if (IsSkipped()) return;
    ASSERT_EQ(mount("tmpfs", mountPoint_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"), 0);
    const std::string inData = DataDir() + "/scrivo/Scrivo.bmp";
    AnswerNewPad();
    Idle([this] { EXPECT_EQ(std::wstring(NotepadFilePath).find(Wide(DataDir() + "/scrivo/")), 0u); });
    Drag({{70, 70}, {80, 80}});
    Finish();
    EXPECT_FALSE(Load(inData).Paper(75, 75));
    EXPECT_EQ(fs::status(DataDir() + "/scrivo").permissions() & fs::perms::all, fs::perms::owner_all);

    Idle([this] { EXPECT_FALSE(ImageBit(75, 75)); });  // no "New Pad Created": found again
    Finish();

    // A notepad beside the program is used there even in a folder that takes no new files; a save
    // that cannot replace it there leaves it as it was and keeps the notes in the data folder.
    umount2(mountPoint_.c_str(), MNT_DETACH);
    Mount("size=1m");
    const std::string beside = mountPoint_ + "/Scrivo.bmp";
    WriteBmp(beside, 240, 320, [](int x, int y) { return x == y; });
    const std::vector<std::uint8_t> old = ReadWholeFile(beside);
    ASSERT_EQ(mount("tmpfs", mountPoint_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"), 0);
    Idle([this, beside] {
        EXPECT_EQ(std::wstring(NotepadFilePath), Wide(beside));
        EXPECT_FALSE(ImageBit(30, 30));
    });
    Drag({{50, 50}, {60, 60}});
    Close();
    AnswerRescueBox(L"the notepad file or its folder is write-protected");
    EXPECT_EQ(RunScrivo(), 0);
    EXPECT_EQ(ReadWholeFile(beside), old);
    EXPECT_FALSE(Load(RescueCopy()).Paper(55, 55));
}

TEST_F(SmallFileSystemTest, AFullDiskKeepsTheOldFileAndTheChangesMarked) {
    Mount("size=64k");
    if (IsSkipped()) return;
    const std::string path = mountPoint_ + "/Scrivo.bmp";
    WriteBmp(path, 240, 320, [](int x, int y) { return x == y; });
    const std::vector<std::uint8_t> old = ReadWholeFile(path);
    // A notepad of eight pages needs more room than the file system has.
    Idle([] {
        HBITMAP bigger = CreateMonoImage(NotepadImage.Context, PageWidth, 8 * PageHeight);
        ASSERT_NE(bigger, nullptr);
        DeleteObject(NotepadImage.Bitmap);
        NotepadImage.Bitmap = bigger;
        DirtyFlag = 1;
        EXPECT_EQ(SaveNotepad(), 0);
        EXPECT_EQ(LastSaveError, static_cast<DWORD>(ERROR_DISK_FULL));
    });
    // Told at once; at exit the notepad goes into the data folder instead.
    AnswerMessageBox(L"The notepad could not be saved to " + Wide(path) +
                     L": the disk is full. What you wrote stays here, and Scrivo keeps trying to save it.");
    Close();
    AnswerRescueBox(L"the disk is full");
    EXPECT_EQ(RunScrivo(), 0);
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_EQ(Load(RescueCopy()).height, 8 * 320);
    EXPECT_EQ(std::distance(fs::directory_iterator(mountPoint_), fs::directory_iterator()), 1);
}
