// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// posix_spawn rather than fork: nothing of the editor's process (a window, its threads) is
// copied. A program that does not exist or may not be run is reported at once; anything else
// that keeps it from starting comes with the start's result. Every pipe end is closed on exec,
// so a second child never holds the first one's pipes open.

#include "child_process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace trolkedit {

namespace {

constexpr size_t kReadChunk = 4096;

void closePipe(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

// Moves every whole line of `partial` to `lines`.
void takeLines(std::string& partial, std::vector<std::string>& lines) {
    size_t start = 0;
    for (size_t at = partial.find_first_of("\r\n"); at != std::string::npos;
         at = partial.find_first_of("\r\n", start)) {
        if (at > start) lines.push_back(partial.substr(start, at - start));
        start = at + 1;
    }
    partial.erase(0, start);
}

// Reads what the pipe holds now; closes it at its end.
void drain(int& fd, std::string& partial, std::vector<std::string>& lines) {
    char buffer[kReadChunk];
    while (fd >= 0) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            partial.append(buffer, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        closePipe(fd);  // the end, or an error that ends it all the same
        if (!partial.empty()) partial += '\n';
    }
    takeLines(partial, lines);
}

// Reaps the killed children that have ended by now; with `wait`, all of them.
void reapKilled(ChildProcess& child, bool wait) {
    std::erase_if(child.killed, [wait](pid_t pid) {
        int status = 0;
        pid_t ended;
        while ((ended = waitpid(pid, &status, wait ? 0 : WNOHANG)) < 0 && errno == EINTR) {}
        return ended != 0;
    });
}

bool makePipe(int ends[2]) {
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    return true;
}

// Runs on the start's own thread: the program with the write ends of the pipes as its output,
// which are closed here once it runs.
Spawned spawn(std::vector<std::string> argv, int outWrite, int errWrite) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outWrite, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errWrite, STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    Spawned spawned;
    spawned.error =
        posix_spawn(&spawned.pid, argv[0].c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outWrite);
    close(errWrite);
    if (spawned.error) spawned.pid = -1;
    return spawned;
}

// Takes the result of the start under way, waiting for it or only when it has come; false
// while it has not.
bool settle(ChildProcess& child, bool wait) {
    if (!child.starting.valid()) return true;
    if (!wait && child.starting.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    const Spawned spawned = child.starting.get();
    child.pid = spawned.pid;
    if (spawned.error) {
        child.startError = "cannot run " + child.program + ": " + std::strerror(spawned.error);
        closePipe(child.outPipe);
        closePipe(child.errPipe);
    }
    return true;
}

}  // namespace

ChildProcess::~ChildProcess() {
    stopChild(*this);
    reapKilled(*this, true);
}

bool startChild(ChildProcess& child, const std::vector<std::string>& argv, std::string& error) {
    stopChild(child);
    child.outPartial.clear();
    child.errPartial.clear();
    child.exitStatus = -1;
    child.startError.clear();
    if (argv.empty()) {
        error = "no program to run";
        return false;
    }
    if (access(argv[0].c_str(), X_OK) != 0) {
        error = "cannot run " + argv[0] + ": " + std::strerror(errno);
        return false;
    }
    int out[2] = {-1, -1}, err[2] = {-1, -1};
    if (!makePipe(out) || !makePipe(err)) {
        error = std::string("no pipe: ") + std::strerror(errno);
        for (int fd : {out[0], out[1], err[0], err[1]})
            if (fd >= 0) close(fd);
        return false;
    }
    child.outPipe = out[0];
    child.errPipe = err[0];
    child.program = argv[0];
    child.starting = std::async(std::launch::async, spawn, argv, out[1], err[1]);
    return true;
}

pid_t waitForStart(ChildProcess& child) {
    settle(child, true);
    return child.pid;
}

bool readChild(ChildProcess& child, std::vector<std::string>& outLines,
               std::vector<std::string>& errLines) {
    reapKilled(child, false);
    if (!settle(child, false)) return true;
    if (!child.startError.empty()) return false;
    drain(child.outPipe, child.outPartial, outLines);
    drain(child.errPipe, child.errPartial, errLines);
    if (child.pid < 0) return false;
    if (child.outPipe >= 0 || child.errPipe >= 0) return true;
    int status = 0;
    const pid_t ended = waitpid(child.pid, &status, WNOHANG);
    if (ended == 0) return true;
    child.exitStatus = ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    child.pid = -1;
    return false;
}

void stopChild(ChildProcess& child) {
    settle(child, true);
    if (child.pid > 0) {
        kill(child.pid, SIGKILL);
        child.killed.push_back(child.pid);
        child.pid = -1;
    }
    closePipe(child.outPipe);
    closePipe(child.errPipe);
    reapKilled(child, false);
}

}  // namespace trolkedit
