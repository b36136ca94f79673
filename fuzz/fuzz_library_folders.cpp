// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the reader of libraryfolders.vdf: it must never crash, hang or read
// out of bounds, and every folder it names is a piece of the input's text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "wine/library_folders_vdf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string& folder : rv::wine::LibraryFolders(text)) {
        if (folder.size() > text.size()) {
            std::abort();
        }
    }
    return 0;
}
