// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/pass_record.h"
#include "receipts/game_identity.h"

namespace rv {

// Raised whenever the stored shape changes; a receipt of a newer version is never acted on.
// Version 1 receipts are still read: their game folder's identity is taken from the folder they
// name, when it can still be found, and their targets made relative to it.
inline constexpr int kReceiptVersion = 2;

enum class Outcome {
    Written,
    Identical,  // already there with the add-on's content: the add-on relies on it
    Different,  // already there, another version
    Failed,
};

struct ReceiptFile {
    std::string source;
    // Below the game folder, its parts separated by '/' ("Maps/DM-Arena.rv2"). A version 1 target
    // that is not below its game folder keeps its whole path and `outside` is set.
    std::string target;
    bool outside = false;
    std::string category;  // the game sub-folder's name
    Outcome outcome = Outcome::Written;
    // Of what was written, right after writing.
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0;
    std::string hash;
    std::string reason;    // why the copy failed
    bool deleted = false;  // a removal of this receipt deleted it

    bool operator==(const ReceiptFile&) const = default;
};

// What one write pass did to the game folder.
struct Receipt {
    std::string time;         // UTC, as 2026-12-06T17:30:05.123Z
    std::string game_folder;  // as the pass was given it, to be shown
    GameIdentity game;        // what the game folder is: receipts are compared by it
    std::string edition;
    std::string addon_folder;
    bool removed = false;  // every file it could take back is taken back: no longer in force
    std::vector<ReceiptFile> files;
};

// Called once for every file while a receipt is made or turned into text (and every few
// milliseconds while it is saved), so that a window can be kept answering through the receipt
// of a very large add-on.
using EachFile = std::function<void()>;

// The receipt of a write pass, from the facts the pass noted of every file; `game` is the game
// folder the pass used.
Receipt ReceiptOf(const PassRecord& pass, const std::string& edition, const GameIdentity& game,
                  const EachFile& each = {});

// The target's path as the system names it, below the game folder's real path.
std::string TargetPath(const Receipt& receipt, const ReceiptFile& file);

std::string ToJson(const Receipt& receipt, const EachFile& each = {});
// The same text a piece of about a megabyte at a time, each call the next piece, an empty one at
// the end: written out as it is made, the text of a million files is never whole in memory,
// where it took a quarter of a gigabyte, each page touched anew. It reads the receipt as it goes.
std::function<std::string_view()> JsonPieces(const Receipt& receipt);

// The outcome a receipt names so, if it is one.
std::optional<Outcome> OutcomeNamed(std::string_view name);

// The receipt in the text, or why the text is not one this program can act on.
struct ParsedReceipt {
    std::optional<Receipt> receipt;
    bool unknown_version = false;
    std::string problem;
    int version = 0;              // of a receipt that could be read
    std::uint64_t text_hash = 0;  // of the file's text as it was read
};
// Takes each file of a receipt as it is read, in place of keeping it in the receipt: what is
// needed of a very large receipt can be kept in far less than its files would take.
using FileSink = std::function<void(const ReceiptFile&)>;
ParsedReceipt ParseReceipt(const std::string& text, const FileSink& sink = {});
// The receipt in the file, read piece by piece: neither its whole text nor a tree of it is ever
// held. `readable` is set to whether the file could be opened and read to its end.
// `early`, when given, is told the game folder's identity as soon as the head names it before
// the files, so that the files can be looked at while the rest of the receipt is read.
using GameSink = std::function<void(const GameIdentity&)>;
ParsedReceipt ReadReceipt(const std::string& path, bool& readable, const FileSink& sink = {},
                          const GameSink& early = {});
// The hash of the file's text as ReadReceipt hashes it; nothing when it cannot be read.
std::optional<std::uint64_t> TextHash(const std::string& path);

// A write pass's journal, kept while it runs: the receipt's head on the first line, then one
// line per file named before its copy (its hash still empty) and one once it is whole.
std::string JournalHead(const Receipt& receipt);
std::string JournalLine(const ReceiptFile& file);
// The receipt the journal names: per target the last line given. Nothing when the head is not
// whole; a last line cut short by a crash is left out.
std::optional<Receipt> ParseJournal(const std::string& text);

}  // namespace rv
