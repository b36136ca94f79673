// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "receipts/receipt_book.h"

namespace rv {

// The receipts in force that the new receipt of the same add-on folder in the same game folder
// takes the place of. The files they wrote and still name pass into the new receipt: one it
// found identical is one they wrote, and one it did not meet at all is still theirs. Once the
// new receipt is stored they are to be marked removed, so that two receipts of one add-on never
// keep each other's files.
std::vector<StoredReceipt> Supersede(Receipt& receipt, const std::vector<StoredReceipt>& all);

}  // namespace rv
