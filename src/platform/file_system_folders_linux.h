// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "platform/file_system_temporary_linux.h"
#include "platform/owned_posix.h"

// The destination folders a pass copies into, each opened once while a DestinationFoldersKept
// lives.
namespace rv::platform::posix {

// A destination folder, open for the copies into it.
struct DestinationFolder {
    std::string path;
    Descriptor fd;
    // The file system of sources whose blocks this folder's would not share: not asked again.
    std::optional<dev_t> no_clone_from;
    // How copies take their names here: learnt by the first, kept for the rest of the pass.
    Publishing publishing = Publishing::NoReplaceRename;
};

// The open destination folder of that path: a kept one, else `single`, opened now (and kept when
// folders are). Null when it cannot be opened; errno says why.
DestinationFolder* OpenDestinationFolder(const std::string& path, DestinationFolder& single);

// A folder removed while it was open takes no new files; it is forgotten, so that the next copy
// opens what is at its path now.
bool ForgetIfRemoved(DestinationFolder& folder);

}  // namespace rv::platform::posix
