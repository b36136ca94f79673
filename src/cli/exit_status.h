// SPDX-License-Identifier: MIT
#pragma once

// The exit status of every command-line action, as --help lists it.
namespace rv::exit_status {

inline constexpr int kSuccess = 0;
// A file failed, a removal was declined, stopped or kept files it could not check, or the
// output could not be written.
inline constexpr int kFailed = 1;
inline constexpr int kBadArguments = 2;
// The game or add-on folder was not found: not registered, or not a folder.
inline constexpr int kNotFound = 3;

// After a signal that ends the program, as a shell reports it: 130 for Ctrl+C, 143 for SIGTERM.
constexpr int Interrupted(int signal) {
    return 128 + signal;
}

}  // namespace rv::exit_status
