#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/window_operations.h"

namespace rv {

// The entries one search collects: four spaces and a file's full path each, always followed by
// one empty slot. A caller starts a search with a list of exactly one empty slot.
using FoundList = std::vector<std::string>;

inline constexpr std::string_view kEntryIndent = "    ";

// True when the upper-cased name ends with the pattern, or the pattern is "*" or empty. Only the
// letters a-z are upper-cased; other bytes, those of multi-byte characters included, are
// compared as they are.
bool NameMatches(std::string_view name, std::string_view pattern);

// Walks the folder and everything below it, depth first and in listing order, and appends an
// entry for every matching file. Yields to the window on entry to every folder. A linked folder
// is walked like a folder unless it leads back to a folder on the current path. Returns false
// when the window reported that it is closing; the walk has stopped then.
bool FindFiles(std::string folder, std::string_view pattern, FoundList& list,
               WindowOperations& window);

}  // namespace rv
