// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program run beside the editor: started with its standard output and error on pipes,
// read a line at a time whenever the editor looks, never waited for. The editor's frame goes
// on while the child works on the other core; stopping it kills it at once.
//
// Neither starting nor stopping waits for the system within the editor's frame: a busy
// machine can take many milliseconds to let a new program begin (the caller of posix_spawn
// waits until the child has started it) and to let a killed one end (a bot lets go of a lot of
// memory). A start runs on a thread of its own and is looked at later; a killed child is reaped
// once it has ended, at a later look, and waited for only when the record itself goes.

#include <future>
#include <string>
#include <sys/types.h>
#include <vector>

namespace trolkedit {

// What a start on its own thread gives: the child, or the error that kept it from starting.
struct Spawned {
    pid_t pid = -1;
    int error = 0;
};

struct ChildProcess {
    pid_t pid = -1;    // -1 when none runs, or while it is being started
    int outPipe = -1;  // read ends, non-blocking; -1 once read to the end
    int errPipe = -1;
    std::string outPartial;  // the start of a line not yet ended
    std::string errPartial;
    int exitStatus = -1;            // once ended: its exit status, or -1 when a signal ended it
    std::future<Spawned> starting;  // the start under way, when there is one
    std::string program;            // the program being started
    std::string startError;         // why the last start failed; empty when it did not
    std::vector<pid_t> killed;      // children stopped here that have not been reaped yet

    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();
};

// Starts the program (argv[0], a path) with standard input from /dev/null; false with why
// when it is no program that can be run. A start that fails later is found by readChild.
[[nodiscard]] bool startChild(ChildProcess& child, const std::vector<std::string>& argv,
                              std::string& error);
// Reads what the child has written since, without waiting: each whole line (ended by "\n" or
// "\r") goes to the list of its stream. Once both streams are at their end and the child has
// exited, notes its exit status; returns whether it still runs (or is still being started).
// A start that failed ends it at once, with `startError` saying why.
bool readChild(ChildProcess& child, std::vector<std::string>& outLines,
               std::vector<std::string>& errLines);
// Kills the child when it runs and closes the pipes; it is reaped once it has ended.
void stopChild(ChildProcess& child);
// Waits until a start under way has settled; the child's pid, or -1 when none runs.
pid_t waitForStart(ChildProcess& child);

}  // namespace trolkedit
