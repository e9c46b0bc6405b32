// A 64 KiB file system of its own (tmpfs), to see what happens when a disk is full. Mounting needs
// the right to mount; where that is missing, mounted() is false and the test skips.
#pragma once

#include <string>

#include "temp_folder.h"

class SmallFileSystem {
public:
    SmallFileSystem();
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& path() const { return folder_.path(); }
    std::string at(const std::string& name) const { return folder_.at(name); }
    // Takes up all the space that is left.
    void fill() const;

private:
    TempFolder folder_;
    bool mounted_;
};
