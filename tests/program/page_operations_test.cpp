// Operations on whole pages: the blank test, the searches, compress, clear, resize.
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

#include "app/app.h"
#include "core/clock.h"
#include "notepad/notepad.h"
#include "notepad/page_operations.h"
#include "program_test.h"

class PageOperationsTest : public ProgramTest {
protected:
    // A notepad file of that many 240 × 320 pages; a written page carries a mark that names it.
    void WriteNotepad(int pages, const std::vector<int>& written, int width = 240) {
        WriteBmp(NotepadPath(), width, pages * 320, [written](int x, int y) {
            const int page = y / 320 + 1;
            for (int w : written)
                if (w == page) return IsMark(page, x, y % 320);
            return false;
        });
    }
    static bool IsMark(int page, int x, int row) { return row == 100 + page && x < 20 * page; }

    // The page (from 1) whose mark the page at `number` carries; 0 for a blank page, -1 for anything
    // else.
    int MarkOn(int number) const {
        const int top = (number - 1) * PageHeight;
        int found = 0;
        for (int y = 0; y < PageHeight; ++y)
            for (int x = 0; x < NotepadWidth; ++x) {
                if (ImageBit(x, top + y)) continue;
                const int page = y - 100;
                if (page < 1 || !IsMark(page, x, y) || (found && found != page)) return -1;
                found = page;
            }
        return found;
    }
    std::vector<int> Marks() const {
        std::vector<int> marks;
        for (int p = 1; p <= NotepadHeight / PageHeight; ++p) marks.push_back(MarkOn(p));
        return marks;
    }
    // The page top a search from `from` stops at, or -1 when it finds none.
    static LONG Search(bool (*find)(LONG*), LONG from) {
        LONG y = from;
        if (find(&y)) return y;
        EXPECT_EQ(y, from) << "a search that found nothing moved";
        return -1;
    }
    void Run(std::function<void()> step) {
        Idle(std::move(step));
        Finish();
    }
};

using PageMarks = std::vector<int>;

TEST_F(PageOperationsTest, OnePixelOfInkInTheFirstOrLastColumnMakesAPageWritten) {
    WriteBmp(NotepadPath(), 240, 4 * 320, [](int x, int y) {
        return (y == 320 + 5 && x == 0) || (y == 3 * 320 - 1 && x == 239);
    });
    Run([] {
        EXPECT_EQ(std::tuple(IsPageBlank(0), IsPageBlank(320), IsPageBlank(640)), std::tuple(true, false, false));
        EXPECT_EQ(Search(FindBlankPage, 320), 960);
        EXPECT_EQ(Search(FindWrittenPage, 320), 320);
        EXPECT_EQ(CompressNotepad(), 2);
        EXPECT_EQ(std::tuple(IsPageBlank(0), IsPageBlank(320), IsPageBlank(640)), std::tuple(false, false, true));
    });
}

TEST_F(PageOperationsTest, CompressMovesWrittenPagesToTheFrontInTheirOrderWithItsPauses) {
    WriteNotepad(5, {1, 3, 5});
    Run([this] {
        const std::uint64_t start = platform::clock_now();
        EXPECT_EQ(CompressNotepad(), 3);
        EXPECT_EQ(Marks(), (PageMarks{1, 3, 5, 0, 0}));
        // Two passes of two pauses each, and one more for the search that ends it.
        EXPECT_EQ(platform::clock_now() - start, 5 * CompressPause);
        EXPECT_EQ(std::tuple(ViewOffset, DirtyFlag), std::tuple(0, 0));
    });
}

TEST_F(PageOperationsTest, CompressMovesAnOverlappingRunUpAndLeavesAFullOrAnEmptyNotepadAsItIs) {
    WriteNotepad(3, {1, 2, 3});
    Run([this] {
        EXPECT_EQ(CompressNotepad(), 3);
        EXPECT_EQ(Marks(), (PageMarks{1, 2, 3}));
        EXPECT_EQ(Search(FindBlankPage, 0), -1);
        ViewOffset = 0;
        EXPECT_EQ(ClearPage(), 1);
        EXPECT_EQ(CompressNotepad(), 2);
        EXPECT_EQ(Marks(), (PageMarks{2, 3, 0}));
        ClearNotepad();
        EXPECT_EQ(CompressNotepad(), 0);
        EXPECT_EQ(Search(FindWrittenPage, 0), -1);
    });
}

TEST_F(PageOperationsTest, ResizeDropsOrAddsPagesAtTheEndSavesFirstAndMarksTheChange) {
    WriteNotepad(5, {1, 4, 5});
    Run([this] {
        ViewOffset = 640;
        std::remove(NotepadPath().c_str());
        EXPECT_EQ(ResizeNotepad(240, 3 * 320), 1);
        EXPECT_EQ(Marks(), (PageMarks{1, 0, 0}));
        EXPECT_EQ(std::tuple(PageCount, ViewOffset, DirtyFlag), std::tuple(3, 0, 1));
        // The notepad as it was before the resize was saved: five pages high.
        const auto saved = ReadWholeFile(NotepadPath());
        ASSERT_GE(saved.size(), 26u);
        EXPECT_EQ(Read32(saved, 22), 5u * 320u);

        EXPECT_EQ(ResizeNotepad(240, 5 * 320), 1);
        EXPECT_EQ(Marks(), (PageMarks{1, 0, 0, 0, 0}));
        EXPECT_EQ(std::tuple(PageCount, NotepadHeight), std::tuple(5, 5 * 320));
    });
}

TEST_F(PageOperationsTest, InkBeyondThePageWidthOfAWiderNotepadIsNeverLost) {
    // A notepad from a 300-pixel-wide screen whose page 2 holds ink only beyond 240 columns.
    WriteBmp(NotepadPath(), 300, 3 * 320, [](int x, int y) { return y == 320 + 7 && x == 290; });
    Run([this] {
        EXPECT_FALSE(IsPageBlank(320));
        EXPECT_EQ(Search(FindBlankPage, 320), 640);
        EXPECT_EQ(CompressNotepad(), 1);
        EXPECT_FALSE(ImageBit(290, 7));
        EXPECT_EQ(ResizeNotepad(240, 2 * 320), 1);
        EXPECT_EQ(NotepadWidth, 300);
        EXPECT_FALSE(ImageBit(290, 7));
        EXPECT_TRUE(ImageBit(291, 7));
    });
}

TEST_F(PageOperationsTest, ANotepadNarrowerAndLowerThanAPageIsReadOnlyWhereItIsStored) {
    // 33 columns (one bit into a fifth byte) and 100 rows on a 240 × 320 screen.
    WriteBmp(NotepadPath(), 33, 100, [](int x, int y) { return x == 32 && y == 99; });
    Run([] {
        EXPECT_FALSE(IsPageBlank(0));
        PatBlt(NotepadImage.Context, 32, 99, 1, 1, WHITENESS);
        EXPECT_TRUE(IsPageBlank(0));
        EXPECT_EQ(Search(FindWrittenPage, 0), -1);
        EXPECT_EQ(CompressNotepad(), 0);
        // The page grows to the screen's width; the stored rows stay.
        EXPECT_EQ(ResizeNotepad(PageWidth, PageHeight), 1);
        EXPECT_EQ(NotepadWidth, 240);
        EXPECT_TRUE(IsPageBlank(0));
    });
}

// The blank test reads only the stored rows and columns of a notepad narrower and lower than a
// page: everything around them, padding included, is ink that a wider read would find.
TEST(IsPageBlank, ReadsNothingBeyondTheStoredRowsAndColumns) {
    constexpr LONG Width = 33, Height = 100, Stride = 8, Guard = 4096;
    std::vector<BYTE> memory(Guard + Height * Stride + Guard, 0x00);
    for (LONG row = 0; row < Height; ++row) {
        BYTE* stored = memory.data() + Guard + row * Stride;
        std::fill(stored, stored + 4, BYTE{0xFF});
        stored[4] = 0x80;  // column 32, then padding
    }
    PageWidth = 240;
    PageHeight = 320;
    NotepadImage.Bits = memory.data() + Guard;
    NotepadWidth = Width;
    NotepadHeight = Height;
    NotepadStride = Stride;
    EXPECT_TRUE(IsPageBlank(0));
    memory[Guard + 5 * Stride + 4] = 0x00;  // ink in the last column of image row 94
    EXPECT_FALSE(IsPageBlank(0));
    NotepadImage.Bits = nullptr;
}
