// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>

namespace rv {

// How many threads look at `count` files: one per thread the machine runs at once, and none for
// so few files that starting it costs more than it saves.
std::size_t ThreadsFor(std::size_t count);

// Calls job(thread, item) for every item below `count`, on `threads` threads side by side (the
// first of them this one), each taking the next few items not yet taken, so that none waits
// while another still has work; a thread stops taking items once its job returns false. Returns
// once all have ended. Looking at a million files is mostly waiting on the system, which several
// threads do at once. Without a thread to be had, its share runs here.
void SideBySide(std::size_t count, std::size_t threads,
                const std::function<bool(std::size_t thread, std::size_t item)>& job);

}  // namespace rv
