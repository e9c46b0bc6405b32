// The program's hot paths at device, desktop and 4K screen sizes, on the headless backend:
// repainting a page, a stroke, turning a page, loading and saving a 100-page notepad, and the
// pause an autosave puts in the ink.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/app.h"
#include "app/commands.h"
#include "backend/backend.h"
#include "backend/headless/headless.h"
#include "core/clock.h"
#include "floors.h"
#include "in_turn.h"
#include "gdi/draw_target.h"
#include "ink/ink.h"
#include "navigation/scrolling.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "notepad/page_operations.h"
#include "notepad/undo.h"
#include "platform/platform.h"
#include "ratios.h"
#include "settings/settings.h"
#include "system/module.h"

namespace {

std::string ScratchDir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/scrivo-bench-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return dir;
}

// Answers the next box the program shows as a person would, with Enter.
void AnswerNextBox(platform::HeadlessBackend& screen) {
    screen.when_idle([&screen] {
        screen.push({platform::DeviceEvent::Type::KeyDown, 0, 0, VK_RETURN});
        screen.push({platform::DeviceEvent::Type::KeyUp, 0, 0, VK_RETURN});
    });
}

// Starts the program's notepad on a screen of that size, once per size.
void StartProgram(int width, int height) {
    static int currentWidth = 0;
    static int currentHeight = 0;
    if (width == currentWidth && height == currentHeight) return;
    if (MainWindow) {
        DirtyFlag = 0;
        // The loading and saving measured may leave a notice about the notepad file for the way out.
        AnswerNextBox(static_cast<platform::HeadlessBackend&>(platform::backend()));
        DestroyWindow(MainWindow);
        MSG quit;
        while (PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    setenv("XDG_CONFIG_HOME", ScratchDir().c_str(), 1);
    platform::set_program_path(ScratchDir() + "/scrivo");
    std::filesystem::remove(ScratchDir() + "/Scrivo.bmp");
    AnswerNextBox(platform::use_headless_backend(width, height));
    AppInstance = platform::program_instance();
    CreateMainWindow(AppInstance);
    InitNotepad(MainWindow, AppInstance);
    currentWidth = width;
    currentHeight = height;
}

// The main window's pixels, where the program's screen drawing lands.
platform::Surface MainWindowPixels() {
    platform::DrawTarget target{};
    platform::window_draw_target(MainWindow, &target);
    return target.surface;
}

void ScreenSizes(benchmark::internal::Benchmark* b) {
    b->Args({240, 320})->Args({1920, 1080})->Args({3840, 2160});
}

void BM_RepaintWholePage(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) RepaintFromImage(0, 0, PageWidth, PageHeight);
    state.SetItemsProcessed(state.iterations() * PageWidth * PageHeight);
}

// Its floor: a vectorised fill of the same window pixels.
void BM_FillWholePage(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const platform::Surface screen = MainWindowPixels();
    std::uint32_t value = 0;
    for (auto _ : state) {
        bench::fill_pixels(reinterpret_cast<std::uint32_t*>(screen.row(0)), PageWidth, PageHeight, screen.stride / 4,
                           value++);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * PageWidth * PageHeight);
}

// One move of 30 pixels with a 20 × 20 pen: 30 stamps, each on the screen and in the image. As in
// a fast stroke, the pen's next point is already waiting, so the move's clock read does not hold
// for the refresh: the frame is composed and presented once a refresh, not once a move.
void StartLargePen(const benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Settings.PenWidth = Settings.PenHeight = 20;
    DrawMode = DRAW_PEN;
    static_cast<platform::HeadlessBackend&>(platform::backend()).push({platform::DeviceEvent::Type::PointerMove, 1, 1});
}

// The next move along the page from *x, back to the left at the right edge.
void MoveLargePen(int* x) {
    StrokeActive = true;
    LastPoint = {*x, 60};
    StylusMove(*x + 30, 75);
    *x = *x + 37 > PageWidth - 60 ? 40 : *x + 37;
}

// The moves of a round timed in turn with its floor, and of a stroke (about 300 pixels).
constexpr int MovesAStroke = 8;

// The floor of a pen move: a plain loop putting the same 30 stamps into the notepad image (20 masked
// row writes each) and onto the window (a 20 × 20 fill each, in whole vector stores), and nothing
// else.
void ThirtyStampsPlainLoop(const platform::Surface& screen, int* x) {
    auto* pixels = reinterpret_cast<std::uint32_t*>(screen.row(0));
    const std::ptrdiff_t pitch = screen.stride / 4;
    for (int i = 0; i < 30; ++i) {
        const int left = *x + i - 10, top = 60 + i / 2 - 10;
        const std::uint32_t mask = __builtin_bswap32((~0u >> (left & 7)) & ~(~0u >> ((left & 7) + 20)));
        // Stored rows run bottom-up: image row `top` and the 19 below it.
        bench::stamp_20(NotepadImage.Bits + static_cast<std::ptrdiff_t>(NotepadHeight - 1 - top) * NotepadStride +
                            (left >> 3),
                        -NotepadStride, mask, 0, pixels + top * pitch + left, pitch, 0xFFFFFF);
    }
    benchmark::ClobberMemory();
    *x = *x + 37 > PageWidth - 60 ? 40 : *x + 37;
}

void BM_StylusMove30WithLargePen(benchmark::State& state) {
    StartLargePen(state);
    const platform::Surface screen = MainWindowPixels();
    int x = 40;
    bench::time_in_turn(
        state, MovesAStroke,
        [&x] {
            for (int move = 0; move < MovesAStroke; ++move) MoveLargePen(&x);
        },
        "plain loop",
        [&screen, &x] {
            for (int move = 0; move < MovesAStroke; ++move) ThirtyStampsPlainLoop(screen, &x);
        });
}
// Rounds of about 20 µs: half a second.
BENCHMARK(BM_StylusMove30WithLargePen)->Args({240, 320})->Args({3840, 2160})->UseManualTime()->Iterations(25000);

// One animated page and one flip, with the budget's sleep on the virtual clock: the time is the
// drawing alone. At the last page the direction turns.
void BM_TurnPage(benchmark::State& state, int (*turn)(int, DWORD), DWORD budget) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    int direction = 1;
    for (auto _ : state)
        if (!turn(direction, budget)) direction = -direction;
}
BENCHMARK_CAPTURE(BM_TurnPage, animated, ScrollPageAnimated, AnimatedPageBudget)
    ->Apply(ScreenSizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TurnPage, flip, FlipPage, FlippedPageBudget)->Apply(ScreenSizes)->Unit(benchmark::kMicrosecond);

// A 100-page notepad, saved and loaded; the save's pauses run on the virtual clock.
HBITMAP HundredPages() {
    static HBITMAP image = nullptr;
    static int forWidth = 0;
    if (image && forWidth == PageWidth) return image;
    if (image) DeleteObject(image);
    HDC holder = CreateCompatibleDC(nullptr);
    image = CreateMonoImage(holder, PageWidth, 100 * PageHeight);
    PatBlt(holder, 0, 0, PageWidth, 100 * PageHeight, WHITENESS);
    DeleteDC(holder);
    forWidth = PageWidth;
    return image;
}

void BM_SaveHundredPages(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::wstring path = std::filesystem::path(ScratchDir() + "/Hundred.bmp").wstring();
    HBITMAP image = HundredPages();
    for (auto _ : state)
        if (!SaveNotepadFile(image, path.c_str())) state.SkipWithError("save failed");
}

// Its floor: the same bytes written into a file of their own, then flushed to the disk.
void BM_WriteAndSyncHundredPages(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::string path = ScratchDir() + "/Written.bmp";
    BITMAP image{};
    GetObjectW(HundredPages(), sizeof image, &image);
    const auto size = static_cast<std::size_t>(image.bmWidthBytes) * static_cast<std::size_t>(image.bmHeight);
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const bool written = fd >= 0 && write(fd, image.bmBits, size) == static_cast<ssize_t>(size) && fsync(fd) == 0;
        if (fd >= 0) close(fd);
        if (!written) state.SkipWithError("write failed");
    }
}

void BM_LoadHundredPages(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::wstring path = std::filesystem::path(ScratchDir() + "/Hundred.bmp").wstring();
    SaveNotepadFile(HundredPages(), path.c_str());
    HDC context = CreateCompatibleDC(nullptr);
    HBITMAP spare = CreateCompatibleBitmap(context, 1, 1);
    for (auto _ : state) {
        HBITMAP loaded = LoadNotepadFile(context, path.c_str());
        if (!loaded) state.SkipWithError("load failed");
        SelectObject(context, spare);
        DeleteObject(loaded);
    }
    DeleteDC(context);
    DeleteObject(spare);
}
BENCHMARK(BM_LoadHundredPages)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

// Compressing a 100-page notepad whose every other page is written: fifty passes, each one copy
// of everything below and one fill. The pauses run on the virtual clock; the floor below is what
// those pauses alone cost there, to be taken off.
constexpr int CompressPauses = 2 * 50 + 1;

void BM_CompressHundredPages(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (NotepadHeight != 100 * PageHeight) ResizeNotepad(PageWidth, 100 * PageHeight);
    DirtyFlag = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ClearNotepad();
        for (int page = 1; page < 100; page += 2)
            PatBlt(NotepadImage.Context, PageWidth / 2, page * PageHeight + PageHeight / 2, 1, 1, BLACKNESS);
        state.ResumeTiming();
        if (CompressNotepad() != 50) state.SkipWithError("compress went wrong");
    }
}
BENCHMARK(BM_CompressHundredPages)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_CompressPausesAlone(benchmark::State& state) {
    StartProgram(1920, 1080);
    for (auto _ : state)
        for (int i = 0; i < CompressPauses; ++i) Sleep(CompressPause);
}
BENCHMARK(BM_CompressPausesAlone)->Unit(benchmark::kMillisecond);

// What an autosave takes from the GUI thread, where the ink is drawn: the snapshot and the start of
// the worker. The worker's writing is left out of the time (and waited for between rounds).
void BM_AutosaveInkDelay(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    HBITMAP own = NotepadImage.Bitmap;
    if (state.range(2) == 100) NotepadImage.Bitmap = HundredPages();
    for (auto _ : state) {
        DirtyFlag = 1;
        if (!StartAutosave()) state.SkipWithError("autosave did not start");
        state.PauseTiming();
        FinishAutosave();
        if (DirtyFlag) state.SkipWithError("autosave failed");
        state.ResumeTiming();
    }
    NotepadImage.Bitmap = own;
}
// A fixed count of rounds: the time taken is a small part of each, and rounds enough to fill the
// usual half second would write hundreds of gigabytes.
BENCHMARK(BM_AutosaveInkDelay)
    ->ArgNames({"width", "height", "pages"})
    ->Args({1920, 1080, 5})
    ->Args({3840, 2160, 100})
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// The same moves with the undo history keeping what each stroke of eight moves (about 300 pixels)
// touches, the way a person writes: the price of undo on every pen move. Its floor is a stroke of
// the same moves unrecorded.
void BM_StylusMove30WithHistory(benchmark::State& state) {
    StartLargePen(state);
    int x = 40;
    const auto stroke = [&x] {
        for (int move = 0; move < MovesAStroke; ++move) MoveLargePen(&x);
    };
    bench::time_in_turn(
        state, MovesAStroke,
        [&stroke] {
            BeginStrokeStep();
            stroke();
            EndStrokeStep();
        },
        "unrecorded", stroke);
    ClearHistory();
}
// Rounds of about 30 µs: half a second. The history fills its budget (some 15,000 strokes) and then
// drops its oldest steps.
BENCHMARK(BM_StylusMove30WithHistory)->Apply(ScreenSizes)->UseManualTime()->Iterations(20000);

// A 300-pixel stroke of a 20 × 20 pen on a blank page, made the way the stylus makes it. (Drawn
// again over itself it would change nothing, and undo would pass over it.)
void OneRecordedStroke() {
    ClearNotepad();
    ClearHistory();
    Settings.PenWidth = Settings.PenHeight = 20;
    DrawMode = DRAW_PEN;
    StylusDown(100, 100);
    for (int x = 110; x <= 400; x += 10) StylusMove(x, 100 + x / 10);
    StylusUp(400, 140);
}

// Undo then redo of that stroke in the notepad image; each pair is two steps.
void BM_UndoRedoStroke(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    OneRecordedStroke();
    StepPlace place{};
    for (auto _ : state)
        if (!UndoStep(&place) || !RedoStep(&place)) state.SkipWithError("the stroke was not kept");
    ClearHistory();
}
BENCHMARK(BM_UndoRedoStroke)->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// The same from the menu's commands, the whole screen drawn again after each.
void BM_UndoRedoStrokeCommands(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    OneRecordedStroke();
    for (auto _ : state) {
        RunCommand(MainWindow, IDM_UNDO);
        RunCommand(MainWindow, IDM_REDO);
    }
    ClearHistory();
    DirtyFlag = 0;
}
BENCHMARK(BM_UndoRedoStrokeCommands)->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// A 100-page notepad, every page written with a few lines of handwriting, cleared as Clear Pad
// does; then its undo and its redo, each timed on its own.
void BM_UndoClearPadHundredPages(benchmark::State& state) {
    StartProgram(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (NotepadHeight != 100 * PageHeight) ResizeNotepad(PageWidth, 100 * PageHeight);
    ClearNotepad();
    for (int page = 0; page < 100; ++page)
        for (int line = 0; line < 10; ++line)
            PatBlt(NotepadImage.Context, 40, page * PageHeight + 60 + line * 90, PageWidth / 2, 3, BLACKNESS);
    ClearHistory();
    RecordRowsStep(0, NotepadHeight);
    ClearNotepad();
    StepPlace place{};
    const bool redo = state.range(2) != 0;
    for (auto _ : state) {
        if (redo) {
            state.PauseTiming();
            UndoStep(&place);
            state.ResumeTiming();
            if (!RedoStep(&place)) state.SkipWithError("no redo");
        } else {
            if (!UndoStep(&place)) state.SkipWithError("no undo");
            state.PauseTiming();
            RedoStep(&place);
            state.ResumeTiming();
        }
    }
    ClearHistory();
    DirtyFlag = 0;
}
BENCHMARK(BM_UndoClearPadHundredPages)
    ->ArgNames({"width", "height", "redo"})
    ->Args({3840, 2160, 0})
    ->Args({3840, 2160, 1})
    ->Unit(benchmark::kMillisecond);

using Measure = void (*)(benchmark::State&);

// A path and its floor run one after the other at each size, on the same program, screen and pixel
// memory: a new size starts the program again, and fresh memory can be a fifth faster or slower.
void BesideFloor(const char* path, Measure measure, const char* floor, Measure measure_floor,
                 std::initializer_list<std::pair<int, int>> sizes, benchmark::TimeUnit unit, bool real_time = false) {
    for (const auto& [width, height] : sizes)
        for (const auto& [name, function] : {std::pair{path, measure}, std::pair{floor, measure_floor}}) {
            auto* b = benchmark::RegisterBenchmark(name, function)->Args({width, height})->Unit(unit);
            if (real_time) b->UseRealTime();
        }
}

}  // namespace

int main(int argc, char** argv) {
    BesideFloor("BM_RepaintWholePage", BM_RepaintWholePage, "BM_FillWholePage", BM_FillWholePage,
                {{240, 320}, {1920, 1080}, {3840, 2160}}, benchmark::kMicrosecond);
    BesideFloor("BM_SaveHundredPages", BM_SaveHundredPages, "BM_WriteAndSyncHundredPages", BM_WriteAndSyncHundredPages,
                {{1920, 1080}, {3840, 2160}}, benchmark::kMillisecond, true);
    const int status = bench::run_with_ratios(
        argc, argv,
        {{"BM_RepaintWholePage/1920/1080", "BM_FillWholePage/1920/1080", 1.3},
         {"BM_RepaintWholePage/3840/2160", "BM_FillWholePage/3840/2160", 1.3},
         bench::in_turn("BM_StylusMove30WithLargePen/240/320/iterations:25000", "plain loop", 2.0),
         bench::in_turn("BM_StylusMove30WithLargePen/3840/2160/iterations:25000", "plain loop", 2.0),
         bench::in_turn("BM_StylusMove30WithHistory/240/320/iterations:20000", "unrecorded", 1.1),
         bench::in_turn("BM_StylusMove30WithHistory/1920/1080/iterations:20000", "unrecorded", 1.1),
         bench::in_turn("BM_StylusMove30WithHistory/3840/2160/iterations:20000", "unrecorded", 1.1),
         {"BM_SaveHundredPages/3840/2160/real_time", "BM_WriteAndSyncHundredPages/3840/2160/real_time", 1.5},
         {"BM_SaveHundredPages/1920/1080/real_time", "BM_WriteAndSyncHundredPages/1920/1080/real_time", 1.5}});
    std::filesystem::remove_all(ScratchDir());
    return status;
}
