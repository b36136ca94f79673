// SPDX-License-Identifier: MIT
#include "platform/file_facts.h"

namespace rv::platform {

bool ReadPieces(const std::string& path, const std::function<void(std::span<const char>)>& take) {
    PieceReader reader(path);
    std::span<const char> piece;
    while (reader.Next(piece)) {
        if (piece.empty()) {
            return true;
        }
        take(piece);
    }
    return false;
}

}  // namespace rv::platform
