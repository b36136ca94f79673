// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>

#include "platform/file_system.h"

// The copy engine: moves the content of one open file into another, by shared blocks, the
// in-kernel copy, or read and write.
namespace rv::platform::posix {

// The error a copy returns when the caller stopped it.
inline constexpr int kStoppedByCaller = ECANCELED;

// Moves the content of one file into another, telling which side failed.
struct ContentCopy {
    int in;
    int out;  // open for reading too, so that a clone can be shown to the watcher
    const KeepCopying& keep_copying;
    const ContentWatcher& watcher;
    bool may_clone = true;  // false where sharing blocks is known to fail
    bool read_failed = false;
    bool clone_refused = false;  // the file systems would not share the blocks
    off_t written = 0;           // started towards the disk
    off_t copied = 0;            // the length of the copy

    bool GoOn() const { return !keep_copying || keep_copying(); }

    // After each chunk: starts writing a full chunk out to the disk, so that the flush before
    // the name appears has little left to do and cannot hold the caller for long (a file smaller
    // than a chunk is left to that one flush); then asks whether to go on.
    bool ChunkDone(std::size_t bytes);

    // Copies the content, `size` bytes as the source had when opened: shared blocks where the
    // file system can share them, else the in-kernel copy, else read and write. A watcher needs
    // the bytes in the program: it gets the shared blocks read back, or a copy by read and write.
    // Returns 0 or the error. A source that grew or shrank meanwhile gives a copy of another
    // length or a source of another size afterwards, which the caller checks.
    int Run(off_t size);

private:
    int Clone(off_t size, bool& unsupported);

    // The bytes to ask for next: at most `most`, and none beyond the size.
    std::size_t NextPiece(off_t size, std::size_t most) const;

    int CopyInKernel(off_t size);

    // For file systems the in-kernel copy cannot span, and for a watcher. `again` when an
    // attempt before may have moved the offsets or written part of the content.
    int CopyByReadWrite(off_t size, bool again);

    // Once the size is copied: a source longer than its size said (one that grew, or one whose
    // size is not kept, as under /proc) still gives a byte, which makes the copy's length wrong.
    int ReadPastTheSize();

    // Reads the shared blocks back from the copy for the watcher.
    int ShowClone();
};

}  // namespace rv::platform::posix
