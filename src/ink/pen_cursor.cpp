#include "ink/pen_cursor.h"

#include <vector>

#include "settings/settings.h"
#include "shared/globals.h"

namespace {

HCURSOR PenCursor = nullptr;

void SetPlaneBit(std::vector<BYTE>& plane, int rowBytes, int x, int y, bool on) {
    BYTE& byte = plane[static_cast<std::size_t>(y * rowBytes + x / 8)];
    const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
    byte = on ? static_cast<BYTE>(byte | bit) : static_cast<BYTE>(byte & ~bit);
}

}  // namespace

void UpdatePenCursor() {
    LONG size = Settings.PenWidth > Settings.PenHeight ? Settings.PenWidth : Settings.PenHeight;
    if (size < SmallestPenCursor) size = SmallestPenCursor;
    // An odd size has a middle pixel for the hot spot, where the pen's stamp is centred.
    if (size % 2 == 0) ++size;
    const int side = static_cast<int>(size);
    const int middle = side / 2;
    const int rowBytes = (side + 15) / 16 * 2;
    // Everything transparent but the cross: black lines with a white edge, seen on any page colour.
    std::vector<BYTE> andPlane(static_cast<std::size_t>(rowBytes * side), 0xFF);
    std::vector<BYTE> xorPlane(andPlane.size(), 0x00);
    const auto paint = [&](int x, int y, bool white) {
        SetPlaneBit(andPlane, rowBytes, x, y, false);
        SetPlaneBit(xorPlane, rowBytes, x, y, white);
    };
    for (int i = 0; i < side; ++i) {
        for (const int edge : {middle - 1, middle + 1}) {
            paint(i, edge, true);
            paint(edge, i, true);
        }
    }
    for (int i = 0; i < side; ++i) {
        paint(i, middle, false);
        paint(middle, i, false);
    }
    HCURSOR made = CreateCursor(AppInstance, middle, middle, side, side, andPlane.data(), xorPlane.data());
    if (!made) return;
    SetClassLongPtrW(MainWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(made));
    ReleasePenCursor();
    PenCursor = made;
}

void ReleasePenCursor() {
    if (PenCursor) DestroyCursor(PenCursor);
    PenCursor = nullptr;
}
