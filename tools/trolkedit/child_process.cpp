// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// posix_spawn rather than fork: nothing of the editor's process (a window, its threads) is
// copied, and a program that cannot be started is reported at once. The pipes' read ends are
// closed on exec, so a second child never holds the first one's pipes open.

#include "child_process.h"

#include <cerrno>
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

bool makePipe(int ends[2]) {
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    return true;
}

}  // namespace

ChildProcess::~ChildProcess() { stopChild(*this); }

bool startChild(ChildProcess& child, const std::vector<std::string>& argv, std::string& error) {
    stopChild(child);
    child.outPartial.clear();
    child.errPartial.clear();
    child.exitStatus = -1;
    int out[2] = {-1, -1}, err[2] = {-1, -1};
    if (argv.empty() || !makePipe(out) || !makePipe(err)) {
        for (int fd : {out[0], out[1], err[0], err[1]})
            if (fd >= 0) close(fd);
        error =
            argv.empty() ? "no program to run" : std::string("no pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int failed =
        posix_spawn(&child.pid, argv[0].c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (failed) {
        close(out[0]);
        close(err[0]);
        child.pid = -1;
        error = "cannot run " + argv[0] + ": " + std::strerror(failed);
        return false;
    }
    child.outPipe = out[0];
    child.errPipe = err[0];
    return true;
}

bool readChild(ChildProcess& child, std::vector<std::string>& outLines,
               std::vector<std::string>& errLines) {
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
    if (child.pid > 0) {
        kill(child.pid, SIGKILL);
        int status = 0;
        while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {}
        child.pid = -1;
    }
    closePipe(child.outPipe);
    closePipe(child.errPipe);
}

}  // namespace trolkedit
