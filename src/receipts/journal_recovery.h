// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace rv {

// Makes a receipt of each journal in the folder that no running pass holds any more: a write
// pass whose process ended before it could store its receipt (killed, or the machine went down).
// A file named ahead of its copy but never confirmed is taken in only when it is there now with
// its add-on file's content. Receipt temporaries left by such a process are removed too.
void RecoverJournals(const std::string& folder);

}  // namespace rv
