// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/pass_record.h"

namespace rv {

// Where a write pass keeps the record of what it did to the game folder, so that its add-on can
// be taken out again. The passes know only this interface; the receipts layer, above them,
// implements it, so that how records are stored never reaches the passes.
//
// A pass calls Begin, then for each row IntendAhead, Intend before each copy and Wrote after it,
// Found for each file it finds already there and identical, then Record. Between Begin and Record
// no other pass or removal touches the same game folder, in any process.
class PassJournal {
public:
    virtual ~PassJournal() = default;

    // Asked every few milliseconds while the pass waits for the game folder, with what it waits
    // for in words; false gives up.
    using Waiting = std::function<bool(const std::string& what)>;

    // The pass of `pass.game_folder` and `pass.addon_folder` begins. Empty when the pass may
    // write; else why not ("another copy of the program ..."), and the pass writes nothing.
    virtual std::string Begin(const PassRecord& pass, const std::string& edition,
                              const Waiting& waiting) = 0;
    // Names the file's target before the copy can make it appear under that name, so that after
    // a crash at any moment every file the pass made is known. Empty, or why not: then the file
    // must not be copied.
    virtual std::string Intend(const PassFile& file) = 0;
    // Names the targets of files about to be copied, each missing when the pass looked, before
    // any of their copies begins, flushed to the disk once for them all: a power cut at any moment
    // then leaves each file the pass made named, and Intend has nothing left to do for them.
    // `keep_answering` is called often enough to keep a window answering.
    virtual void IntendAhead(const std::vector<PassFile>& files,
                             const std::function<void()>& keep_answering) = 0;
    // The file is whole under its name, with these facts.
    virtual void Wrote(const PassFile& file) = 0;
    // The file was there already when the pass came to copy it: one named ahead is then not the
    // pass's own, whatever a crash leaves.
    virtual void AlreadyThere(const PassFile& file) = 0;
    // The file already there is found to be the add-on's own, which the add-on now relies on:
    // named at once, so that a pass that ends any way still claims it.
    virtual void Found(const PassFile& file) = 0;

    // Keeps the record of the write pass that just ended, or was stopped, and ends it. Returns
    // empty on success and sets `name` to what the user knows the record by; else returns the
    // reason in words. `keep_answering` is called often enough to keep a window answering.
    virtual std::string Record(const PassRecord& pass, const std::string& edition,
                               std::string& name, const std::function<void()>& keep_answering) = 0;
};

}  // namespace rv
