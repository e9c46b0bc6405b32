#include "notepad/undo.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <new>
#include <utility>
#include <vector>

#include "notepad/notepad.h"
#include "notepad/page_operations.h"
#include "notepad/run_length.h"

std::size_t UndoBudget = DefaultUndoBudget;

namespace {

// A stroke keeps the image in tiles of 64 × 32 pixels: eight bytes of each of 32 rows. Handwriting
// runs along the line, so a tile half as high keeps half as much of what a line of it passes.
constexpr LONG TileRows = 32;
constexpr LONG TileRowBytes = 8;
constexpr LONG TilePixels = TileRowBytes * 8;
constexpr std::size_t TypicalStrokeTiles = 16;

struct TilePatch {
    // The bits are filled from the image at once: no need to clear them first.
    TilePatch(LONG tilesAcross, LONG tilesDown) : across(tilesAcross), down(tilesDown) {}
    LONG across;  // in tiles from the left
    LONG down;    // in tiles from the top
    std::array<BYTE, TileRows * TileRowBytes> bits;
};

// Whole rows of the image, run-length coded.
struct RowsPatch {
    LONG top = 0;
    LONG height = 0;
    std::vector<BYTE> runs;
};

// Applying a step swaps what it keeps with what the image holds, so the same step undoes and
// redoes. A reshape also swaps the image's height with `otherHeight`.
struct HistoryStep {
    LONG viewRow = 0;
    LONG stride = 0;
    LONG otherHeight = 0;  // 0 unless the step changes the number of pages
    std::vector<TilePatch> tiles;
    RowsPatch rows;
    std::size_t bytes = 0;
};

// Steps [0, DoneSteps) can be undone, the rest redone.
std::deque<HistoryStep> History;
std::size_t DoneSteps = 0;
std::size_t TotalBytes = 0;
int MemoryFailures = 0;

HistoryStep OpenStroke;
bool StrokeRecording = false;
// One bit per tile of the image: kept already by the open stroke.
std::vector<std::uint64_t> KeptTiles;
LONG TilesAcross = 0;

BYTE* ImageRow(LONG row) { return NotepadImage.Bits + static_cast<std::ptrdiff_t>(NotepadHeight - 1 - row) * NotepadStride; }

// Rows [top, top + height) lie in one block, the lowest row first.
BYTE* RowsBlock(LONG top, LONG height) { return ImageRow(top + height - 1); }

std::size_t StepBytes(const HistoryStep& step) {
    return sizeof step + step.tiles.capacity() * sizeof(TilePatch) + step.rows.runs.capacity();
}

void DropOldest() {
    TotalBytes -= History.front().bytes;
    History.pop_front();
    if (DoneSteps > 0) --DoneSteps;
}

void DropRedoable() {
    while (History.size() > DoneSteps) {
        TotalBytes -= History.back().bytes;
        History.pop_back();
    }
}

// Tries `attempt` until it gets its memory, dropping the oldest steps for it; false once none is
// left to drop.
template <typename Attempt> bool WithRoom(Attempt attempt) {
    for (;;) {
        try {
            if (MemoryFailures > 0) {
                --MemoryFailures;
                throw std::bad_alloc();
            }
            attempt();
            return true;
        } catch (const std::bad_alloc&) {
            if (History.empty()) return false;
            DropOldest();
        }
    }
}

void KeepWithinBudget() {
    while (TotalBytes > UndoBudget && History.size() > 1) DropOldest();
}

void PushStep(HistoryStep&& step) {
    step.bytes = StepBytes(step);
    if (!WithRoom([&step] { History.push_back(std::move(step)); })) {
        MessageBeep(MB_OK);
        return;
    }
    TotalBytes += History.back().bytes;
    DoneSteps = History.size();
    KeepWithinBudget();
}

void ForEachTileRow(TilePatch& tile, auto action) {
    const LONG firstByte = tile.across * TileRowBytes;
    const LONG bytes = std::min<LONG>(TileRowBytes, NotepadStride - firstByte);
    const LONG firstRow = tile.down * TileRows;
    const LONG rows = std::min<LONG>(TileRows, NotepadHeight - firstRow);
    // Stored rows run bottom-up: each row of the tile lies a stride below the one before it.
    BYTE* image = ImageRow(firstRow) + firstByte;
    BYTE* kept = tile.bits.data();
    for (LONG r = 0; r < rows; ++r, image -= NotepadStride, kept += TileRowBytes) action(image, kept, bytes);
}

void KeepTile(LONG across, LONG down) {
    const std::size_t index = static_cast<std::size_t>(down) * TilesAcross + across;
    const std::uint64_t bit = std::uint64_t{1} << (index % 64);
    if (KeptTiles[index / 64] & bit) return;
    if (!WithRoom([across, down] { OpenStroke.tiles.emplace_back(across, down); })) {
        // Not even one tile fits: this stroke goes without undo, and its ink stays.
        StrokeRecording = false;
        KeptStrokeArea = NothingToKeep;
        MessageBeep(MB_OK);
        return;
    }
    KeptTiles[index / 64] |= bit;
    ForEachTileRow(OpenStroke.tiles.back(), [](const BYTE* image, BYTE* kept, LONG bytes) {
        // A whole tile row is one fixed move, not a call to copy a few bytes.
        if (bytes == TileRowBytes) std::memcpy(kept, image, TileRowBytes);
        else std::memcpy(kept, image, static_cast<std::size_t>(bytes));
    });
}

void ForgetKeptTiles(const std::vector<TilePatch>& tiles) {
    for (const TilePatch& tile : tiles) {
        const std::size_t index = static_cast<std::size_t>(tile.down) * TilesAcross + tile.across;
        KeptTiles[index / 64] &= ~(std::uint64_t{1} << (index % 64));
    }
}

bool TilesFit(const HistoryStep& step) {
    return std::all_of(step.tiles.begin(), step.tiles.end(), [](const TilePatch& tile) {
        return tile.across * TileRowBytes < NotepadStride && tile.down * TileRows < NotepadHeight;
    });
}

// True when the tiles differed from the image.
bool SwapTiles(HistoryStep& step) {
    bool differed = false;
    for (TilePatch& tile : step.tiles)
        ForEachTileRow(tile, [&differed](BYTE* image, BYTE* kept, LONG bytes) {
            differed = differed || !std::equal(image, image + bytes, kept);
            std::swap_ranges(image, image + bytes, kept);
        });
    return differed;
}

std::size_t BlockSize(LONG height) { return static_cast<std::size_t>(height) * NotepadStride; }

// The coded rows of the image now, into `patch`.
void EncodeRows(LONG top, LONG height, RowsPatch* patch) {
    patch->top = top;
    patch->height = height;
    patch->runs.clear();
    if (height > 0) EncodeRuns(RowsBlock(top, height), BlockSize(height), &patch->runs);
}

bool DecodeRows(const RowsPatch& patch) {
    return patch.height <= 0 || DecodeRuns(patch.runs, RowsBlock(patch.top, patch.height), BlockSize(patch.height));
}

bool SwapRows(HistoryStep& step, bool* differed) {
    const RowsPatch& kept = step.rows;
    if (kept.top < 0 || kept.top + kept.height > NotepadHeight) return false;
    RowsPatch now;
    try {
        EncodeRows(kept.top, kept.height, &now);
    } catch (const std::bad_alloc&) {
        return false;
    }
    *differed = now.runs != kept.runs;
    DecodeRows(kept);
    step.rows = std::move(now);
    return true;
}

// The image takes the step's other height; the rows that only the taller of the two has travel
// between the image and the step.
bool SwapHeight(HistoryStep& step) {
    const LONG height = NotepadHeight;
    const LONG target = step.otherHeight;
    RowsPatch dropped;
    if (target < height) {
        try {
            EncodeRows(target, height - target, &dropped);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    // The width stays, and with it the layout of every row the history keeps.
    if (!ResizeNotepad(NotepadWidth, target)) return false;
    if (target > height) DecodeRows(step.rows);
    step.rows = std::move(dropped);
    step.otherHeight = height;
    return true;
}

// False when the step cannot be applied; *differed says whether it changed the image.
bool ApplyStep(HistoryStep& step, bool* differed) {
    *differed = true;
    if (step.stride != NotepadStride) return false;
    if (step.otherHeight) return SwapHeight(step);
    if (!step.tiles.empty()) {
        if (!TilesFit(step)) return false;
        *differed = SwapTiles(step);
        return true;
    }
    return SwapRows(step, differed);
}

void Reaccount(HistoryStep& step) {
    TotalBytes -= step.bytes;
    step.bytes = StepBytes(step);
    TotalBytes += step.bytes;
}

RECT ChangedArea(const HistoryStep& step) {
    if (step.otherHeight) return {0, 0, NotepadWidth, std::max(NotepadHeight, step.otherHeight)};
    if (step.tiles.empty()) return {0, step.rows.top, NotepadWidth, step.rows.top + step.rows.height};
    RECT area = {NotepadWidth, NotepadHeight, 0, 0};
    for (const TilePatch& tile : step.tiles) {
        area.left = std::min(area.left, tile.across * TilePixels);
        area.top = std::min(area.top, tile.down * TileRows);
        area.right = std::max(area.right, (tile.across + 1) * TilePixels);
        area.bottom = std::max(area.bottom, (tile.down + 1) * TileRows);
    }
    return area;
}

bool TakeStep(HistoryStep& step, StepPlace* place, bool* differed) {
    if (!ApplyStep(step, differed)) return false;
    Reaccount(step);
    *place = {step.viewRow, ChangedArea(step)};
    return true;
}


}  // namespace

void BeginStrokeStep() {
    if (StrokeRecording) EndStrokeStep();
    DropRedoable();
    const LONG across = (NotepadStride + TileRowBytes - 1) / TileRowBytes;
    const LONG down = (NotepadHeight + TileRows - 1) / TileRows;
    const std::size_t words = (static_cast<std::size_t>(across) * down + 63) / 64;
    StrokeRecording = WithRoom([words] {
        if (KeptTiles.size() != words) KeptTiles.assign(words, 0);
    });
    TilesAcross = across;
    OpenStroke = HistoryStep{};
    KeptStrokeArea = NothingKept;
    OpenStroke.viewRow = ViewOffset;
    OpenStroke.stride = NotepadStride;
    // Room for an ordinary stroke's tiles at once, rather than growing tile by tile as it is drawn.
    if (StrokeRecording) StrokeRecording = WithRoom([] { OpenStroke.tiles.reserve(TypicalStrokeTiles); });
    if (StrokeRecording) return;
    KeptStrokeArea = NothingToKeep;
    MessageBeep(MB_OK);
}

RECT KeptStrokeArea = NothingToKeep;

void KeepStrokeArea(LONG left, LONG top, LONG right, LONG bottom) {
    if (!StrokeRecording) return;
    left = std::max<LONG>(left, 0);
    top = std::max<LONG>(top, 0);
    right = std::min(right, NotepadWidth);
    bottom = std::min(bottom, NotepadHeight);
    if (right <= left || bottom <= top) return;
    const RECT tiles = {left / TilePixels, top / TileRows, (right - 1) / TilePixels, (bottom - 1) / TileRows};
    for (LONG down = tiles.top; down <= tiles.bottom; ++down)
        for (LONG across = tiles.left; across <= tiles.right && StrokeRecording; ++across) KeepTile(across, down);
    if (StrokeRecording)
        KeptStrokeArea = {tiles.left * TilePixels, tiles.top * TileRows, (tiles.right + 1) * TilePixels,
                          (tiles.bottom + 1) * TileRows};
}

void EndStrokeStep() {
    KeptStrokeArea = NothingToKeep;
    if (!StrokeRecording) {
        ForgetKeptTiles(OpenStroke.tiles);
        OpenStroke = HistoryStep{};
        return;
    }
    StrokeRecording = false;
    ForgetKeptTiles(OpenStroke.tiles);
    if (!OpenStroke.tiles.empty()) PushStep(std::move(OpenStroke));
    OpenStroke = HistoryStep{};
}

int CancelStrokeStep(RECT* changed) {
    KeptStrokeArea = NothingToKeep;
    ForgetKeptTiles(OpenStroke.tiles);
    const bool kept = StrokeRecording && !OpenStroke.tiles.empty();
    StrokeRecording = false;
    if (kept) {
        SwapTiles(OpenStroke);  // whether it drew anything or not, the image is as before
        *changed = ChangedArea(OpenStroke);
    }
    OpenStroke = HistoryStep{};
    return kept ? 1 : 0;
}

void RecordRowsStep(LONG top, LONG height) {
    if (StrokeRecording) EndStrokeStep();
    DropRedoable();
    top = std::max<LONG>(top, 0);
    height = std::min<LONG>(height, NotepadHeight - top);
    HistoryStep step;
    step.viewRow = ViewOffset;
    step.stride = NotepadStride;
    if (!WithRoom([&step, top, height] { EncodeRows(top, height, &step.rows); })) {
        MessageBeep(MB_OK);
        return;
    }
    PushStep(std::move(step));
}

int ReshapeNotepad(int width, int height) {
    if (StrokeRecording) EndStrokeStep();
    DropRedoable();
    HistoryStep step;
    step.viewRow = ViewOffset;
    step.stride = NotepadStride;
    step.otherHeight = NotepadHeight;
    const LONG dropFrom = std::min<LONG>(height, NotepadHeight);
    const bool kept = WithRoom([&step, dropFrom] { EncodeRows(dropFrom, NotepadHeight - dropFrom, &step.rows); });
    if (!kept) MessageBeep(MB_OK);
    if (!ResizeNotepad(width, height)) return 0;
    // A wider image no longer matches anything the history keeps.
    if (NotepadStride != step.stride) {
        ClearHistory();
        return 1;
    }
    if (kept && NotepadHeight != step.otherHeight) PushStep(std::move(step));
    return 1;
}

// A step that changed nothing (a page cleared that was blank, an eraser over paper) is passed over:
// undo and redo always show a change when there is one to show.
int UndoStep(StepPlace* place) {
    if (StrokeRecording) EndStrokeStep();
    bool differed = false;
    while (!differed) {
        if (DoneSteps == 0 || !TakeStep(History[DoneSteps - 1], place, &differed)) return 0;
        --DoneSteps;
    }
    return 1;
}

int RedoStep(StepPlace* place) {
    if (StrokeRecording) EndStrokeStep();
    bool differed = false;
    while (!differed) {
        if (DoneSteps == History.size() || !TakeStep(History[DoneSteps], place, &differed)) return 0;
        ++DoneSteps;
    }
    return 1;
}

void ClearHistory() {
    History = {};
    DoneSteps = 0;
    TotalBytes = 0;
    OpenStroke = HistoryStep{};
    StrokeRecording = false;
    KeptStrokeArea = NothingToKeep;
    KeptTiles = {};
}

void FailHistoryMemory(int count) { MemoryFailures = count; }

std::size_t HistoryBytes() { return TotalBytes; }

std::size_t HistorySteps() { return History.size(); }
