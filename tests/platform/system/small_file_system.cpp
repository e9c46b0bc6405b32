#include "small_file_system.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

SmallFileSystem::SmallFileSystem()
    : mounted_(mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, "size=64k,mode=0700") == 0) {}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_) umount2(folder_.path().c_str(), MNT_DETACH);
}

void SmallFileSystem::fill() const {
    const int fd = open(at("filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const char block[1024] = {};
    while (write(fd, block, sizeof block) > 0) {
    }
    // Whatever a partial block could not take: fill it byte by byte.
    while (write(fd, block, 1) > 0) {
    }
    close(fd);
}
