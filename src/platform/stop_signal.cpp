// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/stop_signal.h"

#include <csignal>

namespace platform {

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

extern "C" void noteStopSignal(int) { stopSignalled = 1; }

}  // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool stopRequested() { return stopSignalled != 0; }

void clearStopRequest() { stopSignalled = 0; }

}  // namespace platform
