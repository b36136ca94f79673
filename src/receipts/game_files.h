// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "receipts/receipt.h"

namespace rv {

// What became of a file a receipt wrote, looked at where it is now.
enum class Look {
    AsWritten,    // a regular file with the size, time and content written
    Changed,      // another file, a link or a folder is there now
    Gone,         // its own name is missing in its folder, which is there
    Outside,      // the target does not lead below the game folder without crossing a link
    CannotCheck,  // anything else: the reason says why
    Deleted,
    CannotDelete,  // as written, but the system refused; the reason says why
};

struct Looked {
    Look look = Look::CannotCheck;
    std::string reason;  // of CannotCheck and CannotDelete, in plain words
};

// How far a look at a written file goes.
enum class Scrutiny {
    SizeAndTime,      // what the system says of it, its content unread: enough for a count only
    Whole,            // and its content's hash
    WholeThenDelete,  // and, when it is as written, it is deleted
};

// The parts of a target below the game folder: a game sub-folder and a name. Nothing when the
// target could lead elsewhere (an absolute path, "..", a drive, any other depth).
std::optional<std::vector<std::string>> PartsBelowGame(const ReceiptFile& file);

// The game folder of one receipt, opened once by its real path. Every target is resolved below
// it without following a link or crossing a mount's reparse point, looked at through the opened
// file and deleted through its opened folder, so that nothing swapped in between the look and
// the deletion is deleted in its place.
class GameFiles {
public:
    explicit GameFiles(const GameIdentity& game);
    ~GameFiles();
    GameFiles(const GameFiles&) = delete;
    GameFiles& operator=(const GameFiles&) = delete;

    // Looks at the written file as far as asked.
    Looked Check(const ReceiptFile& file, Scrutiny scrutiny = Scrutiny::Whole) const;
    // Has each folder opened so far checked once more, before the next deletion in it, to be
    // still the folder of that name below the game folder: one moved away or swapped for a link
    // meanwhile is opened afresh. Called before each batch of deletions: checking before every
    // one cost a call per file.
    void RecheckFolders();

private:
    // The file `name` in the game's sub-folder, looked at as Check says (one file per system).
    Looked LookBelow(const std::string& sub_folder, const std::string& name,
                     const ReceiptFile& file, Scrutiny scrutiny) const;

    struct Root;
    std::unique_ptr<Root> root_;
    std::string problem_;  // why the game folder cannot be looked at
};

// One GameFiles for each of `threads` threads that look at files side by side: each keeps the
// folders it opened for itself.
std::vector<std::unique_ptr<GameFiles>> GameFilesFor(const GameIdentity& game, std::size_t threads);

// The content hash as receipts store it: XXH3 64-bit, 16 hex digits.
std::string HashHex(std::uint64_t hash);

}  // namespace rv
