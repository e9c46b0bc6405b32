#include "notepad/notepad_file.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "notepad/notepad.h"
#include "shared/globals.h"

DWORD LastSaveError = ERROR_SUCCESS;
NotepadRefusal NotepadFileRefused = REFUSED_NONE;
WCHAR RefusedFileAside[MAX_PATH] = {};
WCHAR NotepadFilePath[MAX_PATH] = {};
NotepadFileVersion NotepadOnDisk = {};

namespace {

constexpr WORD BitmapFileType = 0x4D42;  // "BM"
constexpr DWORD FileHeaderSize = sizeof(BITMAPFILEHEADER);
constexpr DWORD HeaderBlockSize = FileHeaderSize + sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD);
static_assert(HeaderBlockSize == NotepadHeaderBytes);
// The information headers a 1-bit file may carry: the classic one and the two later, longer ones
// that other image tools write; the fields read here sit at the same offsets in all three.
constexpr DWORD InfoHeaderSizes[] = {40, 108, 124};
constexpr DWORD MaxInfoBlock = 4096;
// The largest notepad accepted: 100 pages of a 7680 × 4320 screen fit with room to spare, and a
// hostile header cannot make the program reserve gigabytes.
constexpr std::int64_t MaxNotepadBytes = std::int64_t{512} << 20;
constexpr DWORD SavePause = 200;
void PauseForWaitCursor() { Sleep(SavePause); }
// The notepad's own folder inside the user's data folder.
constexpr LPCWSTR DataFolderName = L"/scrivo/";

// The notice the main window shows next, and whether the failure of a run of failed saves has
// been told since the last save that succeeded.
WCHAR SaveNotice[SaveNoticeLength] = {};
UINT SaveNoticeStyle = MB_OK;
bool SaveFailureTold = false;

struct FileReader {
    HANDLE file;
    bool Read(void* buffer, DWORD size) {
        DWORD read = 0;
        return ReadFile(file, buffer, size, &read, nullptr) && read == size;
    }
};

// How the file's rows map onto the notepad's.
struct FileLayout {
    LONG width;
    LONG height;     // rows in the file
    bool topDown;    // rows stored from the top
    bool inkIsOne;   // the file's 1 bits are the darker colour
    std::int64_t stride;
    std::int64_t sizeImage;  // the pixel bytes the header claims, 0 when it leaves that open
    LONG xPelsPerMeter;      // the densities, written back as they were read
    LONG yPelsPerMeter;
};

// No scanner or screen comes near 25,400 dots per inch; a density beyond that is a damaged header.
constexpr LONG MaxPixelsPerMeter = 1000000;

int Luminance(const RGBQUAD& colour) {
    return 299 * colour.rgbRed + 587 * colour.rgbGreen + 114 * colour.rgbBlue;
}

bool IsKnownInfoSize(DWORD size) {
    for (DWORD known : InfoHeaderSizes)
        if (size == known) return true;
    return false;
}

// Checks the information block against everything the notepad relies on; false refuses the file.
bool ReadLayout(const BYTE* block, DWORD blockSize, FileLayout* layout) {
    if (blockSize < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, block, sizeof header);
    if (!IsKnownInfoSize(header.biSize) || header.biSize > blockSize) return false;
    if (header.biPlanes != 1 || header.biBitCount != 1 || header.biCompression != BI_RGB) return false;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT_MIN) return false;
    if (header.biXPelsPerMeter < 0 || header.biXPelsPerMeter > MaxPixelsPerMeter || header.biYPelsPerMeter < 0 ||
        header.biYPelsPerMeter > MaxPixelsPerMeter)
        return false;
    const DWORD colours = header.biClrUsed == 0 ? 2 : header.biClrUsed;
    if (colours != 2) return false;
    if (std::int64_t{header.biSize} + 2 * std::int64_t{sizeof(RGBQUAD)} > blockSize) return false;

    RGBQUAD table[2];
    std::memcpy(table, block + header.biSize, sizeof table);
    layout->width = header.biWidth;
    layout->height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    layout->topDown = header.biHeight < 0;
    layout->inkIsOne = Luminance(table[1]) < Luminance(table[0]);
    layout->stride = (std::int64_t{layout->width} + 31) / 32 * 4;
    layout->sizeImage = header.biSizeImage;
    layout->xPelsPerMeter = header.biXPelsPerMeter;
    layout->yPelsPerMeter = header.biYPelsPerMeter;
    return layout->stride * layout->height <= MaxNotepadBytes;
}

// Copies one file row into a notepad row that may be wider: ink stays ink whatever the file's
// colour table says, and everything right of the file's width is paper.
void ConvertRow(const BYTE* source, std::int64_t sourceBytes, LONG sourceWidth, bool invert, BYTE* target,
                LONG targetStride) {
    const std::int64_t fullBytes = sourceWidth / 8;
    for (std::int64_t i = 0; i < fullBytes; ++i) target[i] = invert ? static_cast<BYTE>(~source[i]) : source[i];
    std::int64_t next = fullBytes;
    if (const int tailBits = sourceWidth % 8; tailBits != 0 && next < sourceBytes) {
        const BYTE keep = static_cast<BYTE>(0xFF00 >> tailBits);
        const BYTE bits = invert ? static_cast<BYTE>(~source[next]) : source[next];
        target[next] = static_cast<BYTE>((bits & keep) | ~keep);
        ++next;
    }
    for (std::int64_t i = next; i < targetStride; ++i) target[i] = 0xFF;
}

HBITMAP ReadNotepadPixels(HDC context, FileReader& reader, const FileLayout& layout) {
    const LONG width = layout.width < PageWidth ? PageWidth : layout.width;
    const LONG height = layout.height < PageHeight ? PageHeight : layout.height;
    // Selected only once it holds the whole notepad: a failed read can then delete it at once.
    HBITMAP image = CreateMonoBitmap(context, width, height, layout.xPelsPerMeter, layout.yPelsPerMeter);
    if (!image) return nullptr;
    DIBSECTION section{};
    GetObjectW(image, sizeof section, &section);
    BYTE* bits = static_cast<BYTE*>(section.dsBm.bmBits);
    const LONG stride = section.dsBm.bmWidthBytes;
    const DWORD fileBytes = static_cast<DWORD>(layout.stride * layout.height);

    const bool sameShape = width == layout.width && height == layout.height && !layout.topDown && !layout.inkIsOne;
    if (sameShape) {
        if (reader.Read(bits, fileBytes)) return image;
        DeleteObject(image);
        return nullptr;
    }

    BYTE* rows = static_cast<BYTE*>(VirtualAlloc(nullptr, fileBytes, MEM_COMMIT, PAGE_READWRITE));
    if (!rows || !reader.Read(rows, fileBytes)) {
        if (rows) VirtualFree(rows, 0, MEM_RELEASE);
        DeleteObject(image);
        return nullptr;
    }
    // The file's rows are the top rows of the notepad; added rows below them are paper.
    for (LONG y = 0; y < height; ++y) {
        BYTE* target = bits + static_cast<std::int64_t>(height - 1 - y) * stride;
        if (y >= layout.height) {
            std::memset(target, 0xFF, static_cast<std::size_t>(stride));
            continue;
        }
        const LONG stored = layout.topDown ? y : layout.height - 1 - y;
        ConvertRow(rows + stored * layout.stride, layout.stride, layout.width, layout.inkIsOne, target, stride);
    }
    VirtualFree(rows, 0, MEM_RELEASE);
    return image;
}

HBITMAP ReadNotepad(HDC context, FileReader& reader) {
    BITMAPFILEHEADER fileHeader;
    if (!reader.Read(&fileHeader, sizeof fileHeader) || fileHeader.bfType != BitmapFileType) return nullptr;
    if (fileHeader.bfOffBits < HeaderBlockSize) return nullptr;
    const DWORD infoSize = fileHeader.bfOffBits - FileHeaderSize;
    if (infoSize > MaxInfoBlock) return nullptr;

    BYTE* info = static_cast<BYTE*>(VirtualAlloc(nullptr, infoSize, MEM_COMMIT, PAGE_READWRITE));
    if (!info) return nullptr;
    FileLayout layout{};
    const bool valid = reader.Read(info, infoSize) && ReadLayout(info, infoSize, &layout);
    VirtualFree(info, 0, MEM_RELEASE);
    if (!valid) return nullptr;

    // The pixels are what the header says lies between bfOffBits and bfSize; that must hold the
    // whole image and must be in the file.
    DWORD sizeHigh = 0;
    const DWORD sizeLow = GetFileSize(reader.file, &sizeHigh);
    const std::int64_t fileSize = (std::int64_t{sizeHigh} << 32) | sizeLow;
    const std::int64_t pixelBytes = std::int64_t{fileHeader.bfSize} - fileHeader.bfOffBits;
    if (sizeLow == INVALID_FILE_SIZE || fileHeader.bfSize > fileSize || pixelBytes < layout.stride * layout.height ||
        layout.sizeImage > pixelBytes)
        return nullptr;
    return ReadNotepadPixels(context, reader, layout);
}

bool JoinPath(LPCWSTR first, LPCWSTR second, LPWSTR out, int count) {
    if (std::wcslen(first) + std::wcslen(second) >= static_cast<std::size_t>(count)) return false;
    wnsprintfW(out, count, L"%s%s", first, second);
    return true;
}

LPCWSTR FileNameOf(LPCWSTR path) {
    const WCHAR* separator = std::wcsrchr(path, L'/');
    return separator ? separator + 1 : path;
}

// Makes sure `RefusedFileAside` names a free place beside the refused file: the name told to the
// user at start-up while it stays free, else the next free one.
bool ChooseRefusedFileAside(LPCWSTR path) {
    if (RefusedFileAside[0] && GetFileAttributesW(RefusedFileAside) == INVALID_FILE_ATTRIBUTES) return true;
    WCHAR target[MAX_PATH];
    RefusedFileAside[0] = 0;
    if (!GetFinalPathNameW(path, target, ARRAYSIZE(target))) return false;
    WCHAR aside[MAX_PATH];
    if (!FreeSiblingName(target, L"bad", L'b', aside, ARRAYSIZE(aside))) return false;
    lstrcpynW(RefusedFileAside, aside, ARRAYSIZE(RefusedFileAside));
    return true;
}

void RefuseNotepadFile(LPCWSTR path, NotepadRefusal refusal) {
    NotepadFileRefused = refusal;
    if (refusal == REFUSED_DAMAGED) ChooseRefusedFileAside(path);
}

// Whether a new notepad file can be made in the folder: the only sure answer is to make one. It is
// made under a save's temporary name, so a crash before it is deleted leaves only what the next
// start removes.
bool FolderTakesNotepad(LPCWSTR path) {
    WCHAR probe[MAX_PATH];
    HPLAINFILE file = CreateTemporaryFile(path, nullptr, probe, ARRAYSIZE(probe));
    if (!file) return false;
    ClosePlainFile(file);
    DeleteFileW(probe);
    return true;
}

// The notepad's folder, made when missing: the first save into the user's data folder makes
// "scrivo" there, and the data folder itself when that is missing too.
bool MakeNotepadFolder(LPCWSTR path) {
    WCHAR directory[MAX_PATH];
    lstrcpynW(directory, path, ARRAYSIZE(directory));
    WCHAR* separator = std::wcsrchr(directory, L'/');
    if (!separator) return true;
    *separator = 0;
    if (GetFileAttributesW(directory) != INVALID_FILE_ATTRIBUTES) return true;
    WCHAR data[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, data, CSIDL_APPDATA, TRUE)) return false;
    return CreateDirectoryW(directory, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

int GetModuleDirectory(LPWSTR buffer, int count) {
    const DWORD length = GetModuleFileNameW(AppInstance, buffer, static_cast<DWORD>(count));
    // A path that filled the whole buffer was cut short: it names some other folder.
    if (length == 0 || length >= static_cast<DWORD>(count)) {
        buffer[0] = 0;
        return 0;
    }
    for (DWORD i = length; i > 0; --i) {
        if (buffer[i - 1] == L'/') {
            buffer[i] = 0;
            return 1;
        }
    }
    buffer[0] = 0;
    return 1;
}

int ChooseNotepadFilePath() {
    WCHAR directory[MAX_PATH];
    if (GetModuleDirectory(directory, ARRAYSIZE(directory)) &&
        JoinPath(directory, NotepadFileName, NotepadFilePath, ARRAYSIZE(NotepadFilePath)) &&
        (GetFileAttributesW(NotepadFilePath) != INVALID_FILE_ATTRIBUTES || FolderTakesNotepad(NotepadFilePath)))
        return 1;
    WCHAR data[MAX_PATH];
    if (SHGetSpecialFolderPathW(nullptr, data, CSIDL_APPDATA, FALSE) &&
        JoinPath(data, DataFolderName, directory, ARRAYSIZE(directory)) &&
        JoinPath(directory, NotepadFileName, NotepadFilePath, ARRAYSIZE(NotepadFilePath)))
        return 1;
    NotepadFilePath[0] = 0;
    return 0;
}

void RemoveLeftoverSaves(LPCWSTR path) {
    WCHAR target[MAX_PATH];
    WCHAR pattern[MAX_PATH];
    if (!GetFinalPathNameW(path, target, ARRAYSIZE(target)) || !SiblingName(target, L"~??", pattern, ARRAYSIZE(pattern))) return;
    WCHAR directory[MAX_PATH];
    lstrcpynW(directory, target, ARRAYSIZE(directory));
    WCHAR* separator = std::wcsrchr(directory, L'/');
    if (separator)
        separator[1] = 0;
    else
        directory[0] = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        WCHAR leftover[MAX_PATH];
        // A notepad whose own name looks like a temporary one is not a leftover.
        if (JoinPath(directory, found.cFileName, leftover, ARRAYSIZE(leftover)) && std::wcscmp(leftover, target) != 0)
            DeleteFileW(leftover);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

HBITMAP LoadNotepadFile(HDC context, LPCWSTR path) {
    NotepadFileRefused = REFUSED_NONE;
    RefusedFileAside[0] = 0;
    NotepadOnDisk.Exists = FALSE;
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) RefuseNotepadFile(path, REFUSED_DAMAGED);
        return nullptr;
    }
    FileReader reader{file};
    NotepadOnDisk.Exists = GetFileInformationByHandle(file, &NotepadOnDisk.Information);
    SetLastError(ERROR_SUCCESS);
    HBITMAP image = ReadNotepad(context, reader);
    const bool outOfMemory = !image && GetLastError() == ERROR_NOT_ENOUGH_MEMORY;
    CloseHandle(file);
    if (image && !SelectObject(context, image)) {
        DeleteObject(image);
        image = nullptr;
    }
    if (!image) RefuseNotepadFile(path, outOfMemory ? REFUSED_NO_MEMORY : REFUSED_DAMAGED);
    return image;
}

int PrepareNotepadSave(HBITMAP bitmap, LPCWSTR path, NotepadSave* save) {
    DIBSECTION section{};
    if (NotepadFileRefused == REFUSED_NO_MEMORY) {
        LastSaveError = ERROR_NOT_ENOUGH_MEMORY;
        return 0;
    }
    if (GetObjectW(bitmap, sizeof section, &section) != sizeof section) {
        LastSaveError = ERROR_INVALID_HANDLE;
        return 0;
    }
    if (std::wcslen(path) >= static_cast<std::size_t>(ARRAYSIZE(save->Path))) {
        LastSaveError = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    if (!MakeNotepadFolder(path)) {
        LastSaveError = GetLastError();
        return 0;
    }
    if (NotepadFileRefused == REFUSED_DAMAGED && !ChooseRefusedFileAside(path)) {
        LastSaveError = ERROR_ALREADY_EXISTS;
        return 0;
    }
    const DWORD pixelBytes = static_cast<DWORD>(section.dsBm.bmWidthBytes) * static_cast<DWORD>(section.dsBm.bmHeight);
    const BITMAPFILEHEADER fileHeader = {BitmapFileType, HeaderBlockSize + pixelBytes, 0, 0, HeaderBlockSize};
    BITMAPINFOHEADER infoHeader = section.dsBmih;
    infoHeader.biClrUsed = 2;
    const RGBQUAD colours[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    std::memcpy(save->Header, &fileHeader, FileHeaderSize);
    std::memcpy(save->Header + FileHeaderSize, &infoHeader, sizeof infoHeader);
    std::memcpy(save->Header + FileHeaderSize + sizeof infoHeader, colours, sizeof colours);
    save->Pixels = static_cast<const BYTE*>(section.dsBm.bmBits);
    save->PixelBytes = pixelBytes;
    lstrcpynW(save->Path, path, ARRAYSIZE(save->Path));
    if (NotepadFileRefused == REFUSED_DAMAGED)
        lstrcpynW(save->Aside, RefusedFileAside, ARRAYSIZE(save->Aside));
    else
        save->Aside[0] = 0;
    save->Expected = NotepadOnDisk;
    return 1;
}

namespace {

// Why the last save failed, in words that fit into the sentence of a notice.
void FormatSaveFailureReason(LPWSTR reason, int count) {
    switch (LastSaveError) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        lstrcpynW(reason, L"the disk is full", count);
        break;
    case ERROR_ACCESS_DENIED:
        lstrcpynW(reason, L"the notepad file or its folder is write-protected", count);
        break;
    case ERROR_PATH_NOT_FOUND:
        lstrcpynW(reason, L"the notepad's folder is missing", count);
        break;
    case ERROR_GEN_FAILURE:
    case ERROR_WRITE_FAULT:
        lstrcpynW(reason, L"the disk did not take what was written", count);
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        lstrcpynW(reason, L"the path of the notepad's folder is too long", count);
        break;
    case ERROR_NOT_ENOUGH_MEMORY:
        lstrcpynW(reason, L"the notepad on disk was too large to open and is kept as it was", count);
        break;
    default:
        wnsprintfW(reason, count, L"error %u", static_cast<unsigned>(LastSaveError));
        break;
    }
}

void LeaveSaveNotice(UINT style, LPCWSTR format, LPCWSTR first, LPCWSTR second) {
    wnsprintfW(SaveNotice, ARRAYSIZE(SaveNotice), format, first, second);
    SaveNoticeStyle = style;
    if (MainWindow) PostMessageW(MainWindow, WM_SAVE_NOTICE, 0, 0);
}

// A name for a copy of the notepad in the user's data folder that tells when it was made, and is
// not yet taken.
bool ChooseRescuePath(LPWSTR path, int count) {
    WCHAR data[MAX_PATH];
    WCHAR folder[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, data, CSIDL_APPDATA, FALSE) || !JoinPath(data, DataFolderName, folder, ARRAYSIZE(folder)))
        return false;
    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR stamp[32];
    wnsprintfW(stamp, ARRAYSIZE(stamp), L"Scrivo-%04u-%02u-%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
               now.wMinute, now.wSecond);
    for (int attempt = 1; attempt < MaxSetAsideNames; ++attempt) {
        WCHAR name[48];
        if (attempt == 1)
            wnsprintfW(name, ARRAYSIZE(name), L"%s.bmp", stamp);
        else
            wnsprintfW(name, ARRAYSIZE(name), L"%s-%d.bmp", stamp, attempt);
        if (!JoinPath(folder, name, path, count)) return false;
        if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return true;
    }
    return false;
}

}  // namespace

int NotepadSaveFinished(const NotepadSave& save, DWORD error) {
    LastSaveError = error;
    if (error != ERROR_SUCCESS) {
        // Told at once, while there is still time to free the disk or the file; once for a run of
        // failures, as every later autosave fails the same way.
        if (!SaveFailureTold) {
            SaveFailureTold = true;
            WCHAR reason[96];
            FormatSaveFailureReason(reason, ARRAYSIZE(reason));
            LeaveSaveNotice(MB_OK | MB_ICONHAND,
                            L"The notepad could not be saved to %s: %s. What you wrote stays here, and Scrivo "
                            L"keeps trying to save it.",
                            save.Path, reason);
        }
        return 0;
    }
    SaveFailureTold = false;
    NotepadOnDisk = save.Written;
    if (save.Aside[0]) NotepadFileRefused = REFUSED_NONE;
    if (save.Conflict[0])
        LeaveSaveNotice(MB_OK,
                        L"Another program changed the notepad file while you wrote. Its version is kept beside "
                        L"it as %s; yours is saved as %s.",
                        FileNameOf(save.Conflict), FileNameOf(save.Path));
    return 1;
}

int SaveNotepadFile(HBITMAP bitmap, LPCWSTR path) {
    PauseForWaitCursor();
    NotepadSave save;
    if (!PrepareNotepadSave(bitmap, path, &save)) return 0;
    return NotepadSaveFinished(save, WriteNotepadSave(save, PauseForWaitCursor));
}

int SaveRescueCopy() {
    WCHAR reason[96];
    FormatSaveFailureReason(reason, ARRAYSIZE(reason));
    WCHAR rescue[MAX_PATH];
    NotepadSave save;
    bool kept = NotepadImage.Bitmap && ChooseRescuePath(rescue, ARRAYSIZE(rescue));
    if (kept) {
        // Written as any save is, but to a name that was free, and with nothing set aside: a notepad
        // that may not replace the file on disk may still be kept here.
        const NotepadRefusal refusal = NotepadFileRefused;
        NotepadFileRefused = REFUSED_NONE;
        kept = PrepareNotepadSave(NotepadImage.Bitmap, rescue, &save);
        NotepadFileRefused = refusal;
        save.Expected.Exists = FALSE;
        kept = kept && WriteNotepadSave(save, nullptr) == ERROR_SUCCESS;
    }
    SaveNotice[0] = 0;
    if (kept)
        LeaveSaveNotice(MB_OK | MB_ICONHAND, L"The notepad could not be saved: %s. What you wrote is kept in %s.",
                        reason, rescue);
    else
        LeaveSaveNotice(MB_OK | MB_ICONHAND,
                        L"The notepad could not be saved: %s, and no copy of it could be kept elsewhere. Your last "
                        L"changes are lost.",
                        reason, nullptr);
    return kept ? 1 : 0;
}

void TellSaveNotice(HWND owner) {
    if (!SaveNotice[0]) return;
    // Taken off first: the box's own loop may meet the next notice's message.
    WCHAR notice[SaveNoticeLength];
    lstrcpynW(notice, SaveNotice, ARRAYSIZE(notice));
    SaveNotice[0] = 0;
    MessageBoxW(owner, notice, L"Scrivo", SaveNoticeStyle);
}

HBITMAP LoadChangedNotepadFile() {
    WCHAR target[MAX_PATH];
    NotepadFileVersion now;
    if (!GetFinalPathNameW(NotepadFilePath, target, ARRAYSIZE(target)) || !ReadFileVersion(target, &now) || !now.Exists ||
        SameVersion(now, NotepadOnDisk))
        return nullptr;
    // A version that cannot be read (another program may still be writing it) leaves everything as
    // it was, to be tried again next time.
    const NotepadFileVersion known = NotepadOnDisk;
    const NotepadRefusal refusal = NotepadFileRefused;
    WCHAR aside[MAX_PATH];
    lstrcpynW(aside, RefusedFileAside, ARRAYSIZE(aside));
    HBITMAP loaded = LoadNotepadFile(NotepadImage.Context, NotepadFilePath);
    if (!loaded) {
        NotepadOnDisk = known;
        NotepadFileRefused = refusal;
        lstrcpynW(RefusedFileAside, aside, ARRAYSIZE(RefusedFileAside));
    }
    return loaded;
}

void FormatRefusalNote(LPWSTR message, int count) {
    message[0] = 0;
    if (NotepadFileRefused == REFUSED_NO_MEMORY) {
        lstrcpynW(message,
                  L"The old notepad is too large for the free memory. It is kept as it is; this one will not be "
                  L"saved.",
                  count);
    } else if (NotepadFileRefused == REFUSED_DAMAGED) {
        if (RefusedFileAside[0])
            wnsprintfW(message, count, L"The old notepad could not be read. It will be kept as %s.",
                       FileNameOf(RefusedFileAside));
        else
            lstrcpynW(message, L"The old notepad could not be read. It is kept as it is.", count);
    }
}
