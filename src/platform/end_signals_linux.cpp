// SPDX-License-Identifier: MIT
#include <signal.h>

#include <csignal>
#include <iterator>

#include "platform/end_signals.h"
#include "platform/end_signals_system.h"

namespace rv::platform {
namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t received_signal = 0;
struct sigaction previous_actions[std::size(kEndSignals)];

// A signal handler may do little safely: it only notes the signal for the pass to see.
extern "C" void NoteSignal(int signal) {
    received_signal = signal;
}

}  // namespace

void DeferEndSignals() {
    received_signal = 0;
    struct sigaction deferred {};
    deferred.sa_handler = NoteSignal;
    sigemptyset(&deferred.sa_mask);
    deferred.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
        sigaction(kEndSignals[i], nullptr, &previous_actions[i]);
        if (previous_actions[i].sa_handler != SIG_IGN) {
            sigaction(kEndSignals[i], &deferred, nullptr);
        }
    }
}

void RestoreEndSignals(bool end_now) {
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
        sigaction(kEndSignals[i], &previous_actions[i], nullptr);
    }
    if (const int signal = received_signal; end_now && signal != 0) {
        received_signal = 0;
        ::raise(signal);
    }
}

int EndSignal() {
    return received_signal;
}

void WritesToClosedPipesFail() {
    ::signal(SIGPIPE, SIG_IGN);
}

}  // namespace rv::platform
