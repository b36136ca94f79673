// SPDX-License-Identifier: MIT
#include <signal.h>

#include <csignal>
#include <iterator>

#include "platform/end_signals.h"

namespace rv::platform {
namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t received_signal = 0;
struct sigaction previous_actions[std::size(kEndSignals)];
bool answered = false;  // an EndSignalsAnswered lives

// A signal handler may do little safely: it only notes the signal for the pass to see.
extern "C" void NoteSignal(int signal) {
    received_signal = signal;
}

void Defer() {
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

void Restore() {
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
        sigaction(kEndSignals[i], &previous_actions[i], nullptr);
    }
}

}  // namespace

EndSignalsDeferred::EndSignalsDeferred() {
    if (!answered) {
        Defer();
    }
}

EndSignalsDeferred::~EndSignalsDeferred() {
    if (answered) {
        return;
    }
    Restore();
    if (const int signal = received_signal; signal != 0) {
        received_signal = 0;
        ::raise(signal);
    }
}

EndSignalsAnswered::EndSignalsAnswered() {
    Defer();
    answered = true;
}

EndSignalsAnswered::~EndSignalsAnswered() {
    answered = false;
    Restore();
}

bool EndRequested() {
    return received_signal != 0;
}

int EndSignal() {
    return received_signal;
}

void WritesToClosedPipesFail() {
    ::signal(SIGPIPE, SIG_IGN);
}

}  // namespace rv::platform
