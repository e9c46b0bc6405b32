// Folders of a test's own, a small file system to fill up, and the registry calls the way the
// program makes them: open the key, set or query one value, close.
#pragma once

#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/utf8.h"
#include "platform/system.h"

// A fresh folder, removed with all it holds when the test ends.
class TempFolder {
public:
    TempFolder() : path_((std::filesystem::temp_directory_path() / "scrivo-system-XXXXXX").string()) {
        if (!mkdtemp(path_.data())) throw std::runtime_error("cannot make a temporary folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string at(const std::string& name) const { return path_ + "/" + name; }
    std::wstring wide(const std::string& name) const { return platform::utf8_to_wide(at(name)); }

private:
    std::string path_;
};

// A 64 KiB file system of its own. Mounting needs the right to mount; without it, mounted() is false
// and the test skips.
class SmallFileSystem : public TempFolder {
public:
    SmallFileSystem() : mounted_(mount("tmpfs", path().c_str(), "tmpfs", 0, "size=64k,mode=0700") == 0) {}
    ~SmallFileSystem() {
        if (mounted_) umount2(path().c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

private:
    bool mounted_;
};

inline std::string read_text(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

inline void write_text(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

constexpr const wchar_t* kProgramKey = L"Software\\Maker\\Program";

inline HKEY program_key() {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    return key;
}

inline LONG store(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = program_key();
    const LONG result = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result;
}

// On entry *size is the room in `data`; on return, the size of the value.
inline LONG load(const wchar_t* name, void* data, DWORD* size, DWORD* type = nullptr) {
    HKEY key = program_key();
    const LONG result = RegQueryValueExW(key, name, nullptr, type, static_cast<BYTE*>(data), size);
    RegCloseKey(key);
    return result;
}

// The value's type and bytes, as read into a buffer of `room` bytes; type 0 and no bytes when it
// cannot be read.
inline std::pair<DWORD, std::vector<BYTE>> load_bytes(const wchar_t* name, DWORD room = 1 << 20) {
    std::vector<BYTE> data(room);
    DWORD type = 0;
    if (load(name, data.data(), &room, &type) != ERROR_SUCCESS) return {};
    data.resize(room);
    return {type, data};
}

inline LONG store_dword(const wchar_t* name, DWORD value) { return store(name, REG_DWORD, &value, sizeof value); }

inline LONG load_dword(const wchar_t* name, DWORD* value) {
    DWORD size = sizeof *value;
    return load(name, value, &size);
}

// The stored number, or `missing` when none can be read.
inline DWORD dword_or(const wchar_t* name, DWORD missing = 0xDEADu) {
    DWORD value = 0;
    return load_dword(name, &value) == ERROR_SUCCESS ? value : missing;
}

// Points the registry at a fresh folder for the test.
class RegistryFolder : public TempFolder {
public:
    RegistryFolder() { setenv("XDG_CONFIG_HOME", path().c_str(), 1); }
    // The registry file: named after this test program.
    std::string file() const { return at("platform_system_tests/registry.reg"); }
};

// What a failed or killed registry write left in `folder` beside the file and its lock.
inline std::vector<std::string> leftovers(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != "registry.reg" && entry.path().filename() != "registry.reg.lock")
            names.push_back(entry.path().filename().string());
    return names;
}
