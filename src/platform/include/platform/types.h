// The scalar types, handles, points, rectangles and messages every part of the platform API uses,
// and the small macros that go with them. Each family's own structures and constants live in its
// header beside its calls.
//
// Integer types have the widths the program and its files rely on: LONG is 32 bits here as on
// the device, so file headers and registry values keep their sizes. Pointer-carrying structures
// (BITMAP, DIBSECTION) follow their natural layout, so on a 64-bit build they are as large as
// pointer size makes them; callers pass sizeof, never a literal.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using BOOL = std::int32_t;
using WCHAR = wchar_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;
using UINT_PTR = std::uintptr_t;
using ULONG_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = DWORD;
using ATOM = WORD;
using SIZE_T = std::size_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Handles are opaque: each carries a kind, a table slot and a generation, and is never a pointer to
// anything the program could reach. The struct types exist only to make the kinds distinct.
struct HGDIOBJ__ {};
struct HBITMAP__ : HGDIOBJ__ {};
struct HBRUSH__ : HGDIOBJ__ {};
struct HFONT__ : HGDIOBJ__ {};
struct HWND__ {};
struct HDC__ {};
struct HMENU__ {};
struct HKEY__ {};
struct HINSTANCE__ {};
struct HICON__ {};
struct HCURSOR__ {};
struct HRSRC__ {};
struct HGLOBAL__ {};
struct HANDLE__ {};

using HGDIOBJ = HGDIOBJ__*;
using HBITMAP = HBITMAP__*;
using HBRUSH = HBRUSH__*;
using HFONT = HFONT__*;
using HWND = HWND__*;
using HDC = HDC__*;
using HMENU = HMENU__*;
using HKEY = HKEY__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HICON = HICON__*;
using HCURSOR = HCURSOR__*;
using HRSRC = HRSRC__*;
using HGLOBAL = HGLOBAL__*;
using HANDLE = HANDLE__*;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>((DWORD{hi} << 16) | lo); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>((DWORD{hi} << 16) | lo); }
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) { return COLORREF{r} | (COLORREF{g} << 8) | (COLORREF{b} << 16); }
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

// Resource names are either strings or small integer ids carried in the pointer.
inline LPCWSTR MAKEINTRESOURCEW(WORD id) { return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(id)); }
inline bool IS_INTRESOURCE(LPCWSTR p) { return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0; }

// The number of elements of an array, as the count that calls filling a buffer take.
template <typename T, std::size_t N>
constexpr int ARRAYSIZE(const T (&)[N]) {
    return static_cast<int>(N);
}
