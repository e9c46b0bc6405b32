// The registry calls the way the program makes them: open the key, set or query one value, close.
#pragma once

#include <cstdlib>
#include <string>

#include "platform/system.h"
#include "temp_folder.h"

constexpr const wchar_t* kProgramKey = L"Software\\Maker\\Program";

inline LONG store_dword(const wchar_t* name, DWORD value) {
    HKEY key = nullptr;
    const LONG opened = RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    if (opened != ERROR_SUCCESS) return opened;
    const LONG result = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return result;
}

inline LONG load_dword(const wchar_t* name, DWORD* value) {
    HKEY key = nullptr;
    const LONG opened = RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    if (opened != ERROR_SUCCESS) return opened;
    DWORD type = REG_DWORD;
    DWORD size = sizeof *value;
    const LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result;
}

// Points the registry at a fresh folder for the test.
class RegistryFolder {
public:
    RegistryFolder() { setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1); }
    // The registry file: named after this test program.
    std::string file() const { return config_.at("platform_system_tests/registry.reg"); }
    std::string folder() const { return config_.at("platform_system_tests"); }
    const TempFolder& config() const { return config_; }

private:
    TempFolder config_;
};
