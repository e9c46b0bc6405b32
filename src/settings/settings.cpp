#include "settings/settings.h"

#include "notepad/autosave.h"
#include "notepad/notepad.h"

namespace {

constexpr LPCWSTR SettingsKey = L"Software\\Corvane\\Scrivo";
// A day: a longer rest would only overflow the timer.
constexpr LONG MaxAutosaveSeconds = 24 * 60 * 60;

// A stored 32-bit value, or the default when it is absent, unreadable or longer than 4 bytes.
LONG ReadSetting(LPCWSTR name, LONG fallback) {
    DWORD type = REG_DWORD;
    DWORD size = sizeof(LONG);
    LONG value = 0;
    if (!RegistryValue(REGISTRY_READ, name, &type, &value, &size)) return fallback;
    return value;
}

}  // namespace

SettingsRecord Settings = {1, 1, 2, 10, 10, 0x00FFFFFF, 0x00FF0000};
LONG TouchWrites = 1;

int RegistryValue(int mode, LPCWSTR name, DWORD* type, LPVOID data, DWORD* size) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    WCHAR keyClass[] = L"";
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, keyClass, 0, 0, nullptr, &key, &disposition) !=
        ERROR_SUCCESS)
        return 0;
    LONG result;
    if (mode == REGISTRY_STORE)
        result = RegSetValueExW(key, name, 0, *type, static_cast<const BYTE*>(data), *size);
    else
        result = RegQueryValueExW(key, name, nullptr, type, static_cast<BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 1 : 0;
}

LONG LoadSettings() {
    Settings.PenWidth = ReadSetting(L"PenWidth", 1);
    Settings.PenHeight = ReadSetting(L"PenHeight", 1);
    Settings.PenEnd = ReadSetting(L"PenEnd", 2);
    Settings.EraserWidth = Settings.EraserHeight = ReadSetting(L"EraserSize", 10);
    Settings.PenColour = static_cast<COLORREF>(ReadSetting(L"PenColour", 0x00FFFFFF));
    SetTextColor(ScreenContext, Settings.PenColour);
    Settings.BakColour = static_cast<COLORREF>(ReadSetting(L"BakColour", 0x00FF0000));
    SetBkColor(ScreenContext, Settings.BakColour);
    const LONG position = ReadSetting(L"PositionY", 0);
    LONG seconds = ReadSetting(L"AutosaveSeconds", DefaultAutosaveSeconds);
    if (seconds < 0) seconds = 0;
    if (seconds > MaxAutosaveSeconds) seconds = MaxAutosaveSeconds;
    AutosaveRest = static_cast<DWORD>(seconds) * 1000;
    TouchWrites = ReadSetting(L"TouchWrites", 1) != 0 ? 1 : 0;
    return position;
}

void SavePositionY() {
    DWORD type = REG_DWORD;
    DWORD size = sizeof(LONG);
    LONG value = ViewOffset;
    RegistryValue(REGISTRY_STORE, L"PositionY", &type, &value, &size);
}
