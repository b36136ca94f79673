// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

// The program's own folder in the user's data area, and a crash-safe way to write a file there.
namespace rv::platform {

// $XDG_DATA_HOME/rv-addon-installer (else ~/.local/share/rv-addon-installer) on Linux,
// %LOCALAPPDATA%\rv-addon-installer on Windows. Empty when neither place is known. The folder
// may not exist yet.
std::string UserDataFolder();

// What becomes of a file already at the name a write gives.
enum class Existing {
    Keep,     // it stays, and the write fails ("already exists")
    Replace,  // the new content takes its place
};

// Writes the content to folder/name, creating the folder and its parents when missing. The file
// is written under a temporary name in the folder, flushed to the disk, given the name (never
// over an existing file when asked to keep it), and the folder flushed so that the name lasts:
// the name holds either its old content or the new one, never a part, also after a crash.
// Every step's failure is reported. Empty on success, else the reason in plain words ("the disk
// is full").
// The content is handed over piece by piece: each call gives the next piece, an empty one once
// there is no more, so that a large text need never be whole in memory.
using ContentPieces = std::function<std::string_view()>;
std::string WriteFileSafely(const std::string& folder, const std::string& name,
                            const ContentPieces& content, Existing existing = Existing::Replace);
inline std::string WriteFileSafely(const std::string& folder, const std::string& name,
                                   const std::string& content,
                                   Existing existing = Existing::Replace) {
    return WriteFileSafely(
        folder, name,
        [&content, given = false]() mutable {
            return std::exchange(given, true) ? std::string_view() : std::string_view(content);
        },
        existing);
}

}  // namespace rv::platform
