// Device contexts, bitmaps, block copies, brushes, fonts and text.
#pragma once

#include "platform/types.h"

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
HGDIOBJ GetStockObject(int which);
int GetDeviceCaps(HDC dc, int index);

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE source, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF transparent);
// The source is a bitmap or a DC; these take either without a cast, as the untyped handle did.
BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HBITMAP source, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF transparent);
BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF transparent);

COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
COLORREF GetPixel(HDC dc, int x, int y);

HBRUSH CreateSolidBrush(COLORREF colour);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

HFONT CreateFontIndirectW(const LOGFONTW* font);
int DrawTextW(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format);

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
