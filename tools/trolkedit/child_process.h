// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program run beside the editor: started with its standard output and error on pipes,
// read a line at a time whenever the editor looks, never waited for. The editor's frame goes
// on while the child works on the other core; stopping it kills it at once.

#include <string>
#include <sys/types.h>
#include <vector>

namespace trolkedit {

struct ChildProcess {
    pid_t pid = -1;    // -1 when none runs
    int outPipe = -1;  // read ends, non-blocking; -1 once read to the end
    int errPipe = -1;
    std::string outPartial;  // the start of a line not yet ended
    std::string errPartial;
    int exitStatus = -1;  // once ended: its exit status, or -1 when a signal ended it

    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();
};

// Starts the program (argv[0], a path) with standard input from /dev/null; false with why.
[[nodiscard]] bool startChild(ChildProcess& child, const std::vector<std::string>& argv,
                              std::string& error);
// Reads what the child has written since, without waiting: each whole line (ended by "\n" or
// "\r") goes to the list of its stream. Once both streams are at their end and the child has
// exited, notes its exit status; returns whether it still runs.
bool readChild(ChildProcess& child, std::vector<std::string>& outLines,
               std::vector<std::string>& errLines);
// Kills the child when it runs, waits for it and closes the pipes.
void stopChild(ChildProcess& child);

}  // namespace trolkedit
