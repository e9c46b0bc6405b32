#include "temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/utf8.h"

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "scrivo-system-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::wstring TempFolder::wide(const std::string& name) const { return widen(at(name)); }

std::wstring widen(const std::string& text) { return platform::utf8_to_wide(text); }

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_text(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }
