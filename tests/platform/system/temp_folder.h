// A fresh folder for one test, removed with all it holds when the test ends; and small helpers for
// the files in it.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path()/name
    std::string at(const std::string& name) const { return path_ + "/" + name; }
    // at(name) as the program would spell it.
    std::wstring wide(const std::string& name) const;

private:
    std::string path_;
};

std::wstring widen(const std::string& text);
std::string read_text(const std::string& path);
void write_text(const std::string& path, const std::string& text);
bool exists(const std::string& path);
