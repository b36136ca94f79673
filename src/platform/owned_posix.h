// SPDX-License-Identifier: MIT
#pragma once

#include <dirent.h>
#include <unistd.h>

#include "platform/owned.h"

// Owned file descriptors and folder streams.
namespace rv::platform {

struct DescriptorTraits {
    using Handle = int;
    static constexpr int Invalid() { return -1; }
    static constexpr bool Valid(int fd) { return fd >= 0; }
    static void Close(int fd) { ::close(fd); }
};
using Descriptor = Owned<DescriptorTraits>;

struct FolderStreamTraits {
    using Handle = DIR*;
    static constexpr DIR* Invalid() { return nullptr; }
    static constexpr bool Valid(DIR* dir) { return dir != nullptr; }
    static void Close(DIR* dir) { ::closedir(dir); }
};
using FolderStream = Owned<FolderStreamTraits>;

}  // namespace rv::platform
