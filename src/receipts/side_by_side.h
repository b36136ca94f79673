// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>

namespace rv {

// How many slices a job of looking at `count` files is cut into: one per thread the machine runs
// at once, and none so small that starting its thread costs more than it saves.
std::size_t SlicesFor(std::size_t count);

// Runs job(slice) for every slice, side by side: each but the first on a thread of its own, the
// first here; returns once all have ended. Looking at a million files is mostly waiting on the
// system, which several threads do at once. Without a thread to be had, a slice runs here too.
void SideBySide(std::size_t slices, const std::function<void(std::size_t slice)>& job);

}  // namespace rv
