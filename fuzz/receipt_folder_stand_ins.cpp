// SPDX-License-Identifier: MIT
// The receipt reader resolves a version 1 receipt's game folder on the file system; under the
// fuzzer no folder resolves, as for a game folder that was unplugged, and no file can be read:
// the fuzzer hands the readers text.
#include <optional>
#include <string>

#include "platform/file_facts.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace rv::platform {

std::optional<std::string> RealPath(const std::string&) {
    return std::nullopt;
}

std::optional<FolderListing> ListFolder(const std::string&, std::string*) {
    return std::nullopt;
}

std::string ResolveNativePath(const std::string& path) {
    return path;
}

FileFacts LookAt(const std::string&) {
    return {};
}

struct PieceReader::File {};
PieceReader::PieceReader(const std::string&) {}
PieceReader::~PieceReader() = default;
bool PieceReader::Next(std::span<const char>&) {
    return false;
}

bool ReadPieces(const std::string&, const std::function<void(std::span<const char>)>&) {
    return false;
}

}  // namespace rv::platform
