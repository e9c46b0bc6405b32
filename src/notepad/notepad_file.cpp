#include "notepad/notepad_file.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "app/app.h"
#include "notepad/notepad.h"

DWORD LastSaveError = ERROR_SUCCESS;
int NotepadFileRefused = 0;
WCHAR NotepadFilePath[MAX_PATH] = {};

namespace {

constexpr WORD BitmapFileType = 0x4D42;  // "BM"
constexpr DWORD FileHeaderSize = sizeof(BITMAPFILEHEADER);
constexpr DWORD HeaderBlockSize = FileHeaderSize + sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD);
// The information headers a 1-bit file may carry: the classic one and the two later, longer ones
// that other image tools write; the fields read here sit at the same offsets in all three.
constexpr DWORD InfoHeaderSizes[] = {40, 108, 124};
constexpr DWORD MaxInfoBlock = 4096;
// The largest notepad accepted: 100 pages of a 7680 × 4320 screen fit with room to spare, and a
// hostile header cannot make the program reserve gigabytes.
constexpr std::int64_t MaxNotepadBytes = std::int64_t{512} << 20;
constexpr DWORD SavePause = 200;
constexpr LPCWSTR TemporaryPrefix = L"Scrivo.bmp.~";
constexpr LPCWSTR DamagedSuffix = L".damaged";
// The notepad's own folder inside the user's data folder.
constexpr LPCWSTR DataFolderName = L"/scrivo/";

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
    HBITMAP image = CreateMonoImage(context, width, height);
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

bool WriteBlock(HANDLE file, const void* data, DWORD size) {
    Sleep(SavePause);
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// The directory part of a path, with its trailing separator, into a MAX_PATH buffer.
void DirectoryOf(LPCWSTR path, LPWSTR directory) {
    std::wcscpy(directory, path);
    WCHAR* separator = std::wcsrchr(directory, L'/');
    if (separator)
        separator[1] = 0;
    else
        directory[0] = 0;
}

bool JoinPath(LPCWSTR first, LPCWSTR second, LPWSTR out) {
    if (std::wcslen(first) + std::wcslen(second) >= static_cast<std::size_t>(MAX_PATH)) return false;
    std::wcscpy(out, first);
    std::wcscat(out, second);
    return true;
}

// A file that could not be loaded may still be a notepad that another program reads: it goes
// aside, under a name no earlier damaged file holds, before a new notepad replaces it.
bool KeepRefusedFileAside(LPCWSTR path) {
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return true;
    WCHAR aside[MAX_PATH];
    for (int attempt = 0; attempt < 100; ++attempt) {
        WCHAR suffix[32];
        if (attempt == 0)
            wsprintfW(suffix, L"%s", DamagedSuffix);
        else
            wsprintfW(suffix, L"%s.%d", DamagedSuffix, attempt);
        if (!JoinPath(path, suffix, aside)) return false;
        if (GetFileAttributesW(aside) != INVALID_FILE_ATTRIBUTES) continue;
        return MoveFileExW(path, aside, MOVEFILE_WRITE_THROUGH);
    }
    return false;
}

int FailSave(HANDLE file, LPCWSTR temporary) {
    LastSaveError = GetLastError();
    if (LastSaveError == ERROR_SUCCESS) LastSaveError = ERROR_WRITE_FAULT;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (temporary[0]) DeleteFileW(temporary);
    return 0;
}

// Whether a new file can be made in the folder: the only sure answer is to make one. The name is
// a save's temporary name, so a crash between the two calls leaves nothing the next start keeps.
bool FolderTakesFiles(LPCWSTR directory) {
    WCHAR probe[MAX_PATH];
    if (!GetTempFileNameW(directory, TemporaryPrefix, 0, probe)) return false;
    DeleteFileW(probe);
    return true;
}

// The notepad's folder, made when missing: the first save into the user's data folder makes
// "scrivo" there, and the data folder itself when that is missing too.
bool MakeNotepadFolder(LPCWSTR path) {
    WCHAR data[MAX_PATH];
    WCHAR directory[MAX_PATH];
    DirectoryOf(path, directory);
    if (GetFileAttributesW(directory) != INVALID_FILE_ATTRIBUTES) return true;
    if (!SHGetSpecialFolderPathW(nullptr, data, CSIDL_APPDATA, TRUE)) return false;
    return CreateDirectoryW(directory, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

int GetModuleDirectory(LPWSTR buffer) {
    const DWORD length = GetModuleFileNameW(AppInstance, buffer, MAX_PATH);
    // A path that filled the whole buffer was cut short: it names some other folder.
    if (length == 0 || length >= static_cast<DWORD>(MAX_PATH)) {
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
    if (GetModuleDirectory(directory) && JoinPath(directory, NotepadFileName, NotepadFilePath) &&
        (GetFileAttributesW(NotepadFilePath) != INVALID_FILE_ATTRIBUTES || FolderTakesFiles(directory)))
        return 1;
    WCHAR data[MAX_PATH];
    if (SHGetSpecialFolderPathW(nullptr, data, CSIDL_APPDATA, FALSE) && JoinPath(data, DataFolderName, directory) &&
        JoinPath(directory, NotepadFileName, NotepadFilePath))
        return 1;
    NotepadFilePath[0] = 0;
    return 0;
}

void RemoveLeftoverSaves(LPCWSTR path) {
    WCHAR directory[MAX_PATH];
    WCHAR pattern[MAX_PATH];
    DirectoryOf(path, directory);
    if (!JoinPath(directory, TemporaryPrefix, pattern) || std::wcslen(pattern) + 1 >= MAX_PATH) return;
    std::wcscat(pattern, L"*");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        WCHAR leftover[MAX_PATH];
        if (JoinPath(directory, found.cFileName, leftover)) DeleteFileW(leftover);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

HBITMAP LoadNotepadFile(HDC context, LPCWSTR path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        NotepadFileRefused = GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
        return nullptr;
    }
    FileReader reader{file};
    HBITMAP image = ReadNotepad(context, reader);
    CloseHandle(file);
    NotepadFileRefused = image == nullptr;
    return image;
}

int SaveNotepadFile(HBITMAP bitmap, LPCWSTR path) {
    WCHAR temporary[MAX_PATH] = {};
    Sleep(SavePause);
    DIBSECTION section{};
    if (GetObjectW(bitmap, sizeof section, &section) != sizeof section) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FailSave(INVALID_HANDLE_VALUE, temporary);
    }
    const DWORD pixelBytes = static_cast<DWORD>(section.dsBm.bmWidthBytes) * static_cast<DWORD>(section.dsBm.bmHeight);
    BITMAPFILEHEADER fileHeader = {BitmapFileType, HeaderBlockSize + pixelBytes, 0, 0, HeaderBlockSize};
    BITMAPINFOHEADER infoHeader = section.dsBmih;
    infoHeader.biClrUsed = 2;
    const RGBQUAD colours[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

    // The new notepad goes into a file of its own beside the old one and replaces it in one rename,
    // so a crash or a full disk at any moment leaves the old notepad or the new one, never neither.
    WCHAR directory[MAX_PATH];
    DirectoryOf(path, directory);
    if (!GetTempFileNameW(directory, TemporaryPrefix, 0, temporary)) {
        temporary[0] = 0;
        return FailSave(INVALID_HANDLE_VALUE, temporary);
    }
    HANDLE file = CreateFileW(temporary, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailSave(file, temporary);
    if (!WriteBlock(file, &fileHeader, sizeof fileHeader) || !WriteBlock(file, &infoHeader, sizeof infoHeader) ||
        !WriteBlock(file, colours, sizeof colours) || !WriteBlock(file, section.dsBm.bmBits, pixelBytes) ||
        !FlushFileBuffers(file))
        return FailSave(file, temporary);
    if (!CloseHandle(file)) return FailSave(INVALID_HANDLE_VALUE, temporary);
    if (NotepadFileRefused) {
        if (!KeepRefusedFileAside(path)) return FailSave(INVALID_HANDLE_VALUE, temporary);
        NotepadFileRefused = 0;
    }
    if (!MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FailSave(INVALID_HANDLE_VALUE, temporary);
    LastSaveError = ERROR_SUCCESS;
    return 1;
}

void FormatSaveFailure(LPWSTR message) {
    LPCWSTR reason;
    switch (LastSaveError) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        reason = L"the disk is full";
        break;
    case ERROR_ACCESS_DENIED:
        reason = L"the notepad's folder cannot be written to";
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        reason = L"the path of the notepad's folder is too long";
        break;
    default:
        wsprintfW(message, L"The notepad could not be saved (error %u). Your last changes are lost.",
                  static_cast<unsigned>(LastSaveError));
        return;
    }
    wsprintfW(message, L"The notepad could not be saved: %s. Your last changes are lost.", reason);
}

int SaveNotepad() {
    if (!NotepadFilePath[0]) {
        LastSaveError = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    if (!MakeNotepadFolder(NotepadFilePath)) {
        LastSaveError = GetLastError();
        return 0;
    }
    return SaveNotepadFile(NotepadImage.Bitmap, NotepadFilePath);
}
