// Feeds arbitrary bytes to the notepad file reader as a file, the way start-up reads "Scrivo.bmp".
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/app.h"
#include "backend/headless/headless.h"
#include "notepad/notepad_file.h"

namespace {

int OpenScratchFile() {
    platform::use_headless_backend(240, 320);
    PageWidth = 240;
    PageHeight = 320;
    return memfd_create("notepad", 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int file = OpenScratchFile();
    static const std::wstring path = L"/proc/self/fd/" + std::to_wstring(file);
    if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != static_cast<ssize_t>(size)) return 0;
    HDC context = CreateCompatibleDC(nullptr);
    HBITMAP image = LoadNotepadFile(context, path.c_str());
    DeleteDC(context);
    DeleteObject(image);
    return 0;
}
