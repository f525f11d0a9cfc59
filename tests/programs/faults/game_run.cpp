// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game_run.h"

#include "app/startup.h"
#include "archive/archive.h"
#include "level_text.h"
#include "platform/event_script.h"
#include "platform/ticks.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faults {

namespace {

constexpr const char* kArchives[] = {"gfx", "music", "maps", "sound"};
constexpr uid_t kNobody = 65534;
constexpr auto kPollInterval = std::chrono::milliseconds(5);

// Puts a regular file in place of whatever `path` is (a link to the built one, mostly).
void replaceFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::remove(path);
    test_support::writeFile(path, bytes);
}

// Waits for the child, sending the planned signal when it is ready, and kills it when the
// time is up. Collects what it wrote to standard output.
GameResult superviseChild(pid_t child, int outputEnd, const SignalPlan& plan, int timeoutSeconds) {
    GameResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    fcntl(outputEnd, F_SETFL, fcntl(outputEnd, F_GETFL) | O_NONBLOCK);
    bool signalled = plan.signal == 0;
    int status = 0;
    char chunk[4096];
    for (;;) {
        ssize_t n;
        while ((n = read(outputEnd, chunk, sizeof chunk)) > 0)
            result.output.append(chunk, size_t(n));
        if (waitpid(child, &status, WNOHANG) == child) break;
        if (!signalled && plan.ready(child)) {
            kill(child, plan.signal);
            signalled = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    fcntl(outputEnd, F_SETFL, fcntl(outputEnd, F_GETFL) & ~O_NONBLOCK);
    ssize_t n;
    while ((n = read(outputEnd, chunk, sizeof chunk)) > 0) result.output.append(chunk, size_t(n));
    close(outputEnd);
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.termSignal = WTERMSIG(status);
    return result;
}

// Forks with the child's standard output going into a pipe; returns the child's id and the
// reading end, or -1 in the child.
pid_t forkWithOutput(int& outputEnd) {
    std::fflush(stdout);
    int ends[2];
    if (pipe(ends) != 0) return -2;
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        dup2(ends[1], STDOUT_FILENO);
        close(ends[1]);
        return 0;
    }
    close(ends[1]);
    outputEnd = ends[0];
    return child;
}

}  // namespace

GameDirectory::GameDirectory() {
    const fs::path built = test_support::buildDirectory();
    fs::create_directory(path() / "data");
    fs::create_directory(path() / "maps");
    for (const char* name : kArchives) {
        const std::string file = std::string(name) + ".zda";
        fs::create_symlink(built / "data" / file, path() / "data" / file);
    }
    fs::create_symlink(built / "maps" / "test.bin", path() / "maps" / "test.bin");
}

void GameDirectory::replaceArchive(const std::string& name,
                                   const std::vector<uint8_t>& bytes) const {
    replaceFile(path() / "data" / (name + ".zda"), bytes);
}

void GameDirectory::replaceTestMap(const std::vector<uint8_t>& bytes) const {
    replaceFile(path() / "maps" / "test.bin", bytes);
}

fs::path GameDirectory::copyGame() const {
    for (const fs::path& link :
         {path() / "data" / "gfx.zda", path() / "data" / "music.zda", path() / "data" / "maps.zda",
          path() / "data" / "sound.zda", path() / "maps" / "test.bin"}) {
        if (!fs::is_symlink(link)) continue;
        const fs::path target = fs::read_symlink(link);
        fs::remove(link);
        fs::copy_file(target, link);
    }
    const fs::path program = path() / "trolk";
    fs::copy_file(test_support::buildDirectory() / "trolk", program);
    for (const fs::path& dir : {path(), path() / "data", path() / "maps"})
        for (const fs::directory_entry& entry : fs::directory_iterator(dir))
            fs::permissions(entry.path(), fs::perms::group_read | fs::perms::others_read,
                            fs::perm_options::add);
    fs::permissions(path() / "data", fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
    fs::permissions(path() / "maps", fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
    fs::permissions(program, fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
    return program;
}

std::vector<std::string> GameDirectory::files() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(path())) {
        const std::string name = entry.path().filename();
        if (name != "data" && name != "maps") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> builtArchive(const std::string& name) {
    return test_support::readFile(test_support::buildDirectory() / "data" / (name + ".zda"));
}

std::vector<zda::PackEntry> builtEntries(const std::string& name) {
    const std::vector<uint8_t> file = builtArchive(name);
    std::vector<zda::ListedEntry> listed;
    std::string error;
    std::vector<zda::PackEntry> entries;
    if (!zda::readDirectory(file, listed, error)) return entries;
    for (const zda::ListedEntry& entry : listed) {
        archive::ResourceBuffer content = archive::inflateEntry(
            file.data() + entry.fileOffset, entry.packedSize, entry.unpackedSize);
        if (!content) return {};
        entries.push_back({entry.name, std::vector<uint8_t>(content.bytes.get(),
                                                            content.bytes.get() + content.size)});
    }
    return entries;
}

std::vector<uint8_t> selfFinishingTestMap() {
    // The player is placed at x 16 on the ground; the cell of its top-left corner is the
    // bottom right of the open door.
    const std::string text = "map\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             "[]...................\n"
                             "()...................\n"
                             "#####################\n";
    level_text::Diagnostics errors;
    return level_text::compileWithSharedLegend(text, errors, false);
}

GameResult runTrolk(const fs::path& directory, const TrolkRun& run) {
    const std::string program =
        (run.program.empty() ? test_support::buildDirectory() / "trolk" : run.program).string();
    int outputEnd = -1;
    const pid_t child = forkWithOutput(outputEnd);
    if (child == 0) {
        for (const auto& [name, value] : run.environment) setenv(name.c_str(), value.c_str(), 1);
        if (run.unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(126);
        if (chdir(directory.c_str()) != 0) _exit(127);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : run.arguments) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (child < 0) return {};
    return superviseChild(child, outputEnd, run.signal, run.timeoutSeconds);
}

GameResult runGameInChild(const fs::path& directory, const ChildGame& game) {
    int outputEnd = -1;
    const pid_t child = forkWithOutput(outputEnd);
    if (child == 0) {
        if (chdir(directory.c_str()) != 0) _exit(127);
        platform::setVirtualClock(true);
        if (game.prepare) game.prepare();
        std::vector<std::string> arguments{"trolk"};
        arguments.insert(arguments.end(), game.arguments.begin(), game.arguments.end());
        std::vector<char*> argv;
        for (std::string& arg : arguments) argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::exit(app::runProgram(int(arguments.size()), argv.data()));
    }
    if (child < 0) return {};
    return superviseChild(child, outputEnd, game.signal, game.timeoutSeconds);
}

void scheduleWayToTitle() {
    platform::scheduleKey(200, SDLK_UP, true);  // warning screen
    platform::scheduleKey(250, SDLK_UP, false);
    platform::scheduleKey(500, SDLK_UP, true);  // credits screen
    platform::scheduleKey(550, SDLK_UP, false);
    platform::scheduleKey(800, SDLK_RIGHT, true);  // style choice: deluxe
    platform::scheduleKey(1000, SDLK_RIGHT, false);
}

bool hasOpen(pid_t pid, const std::string& name) {
    std::error_code error;
    for (const fs::directory_entry& fd :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        const std::string target = fs::read_symlink(fd.path(), error).string();
        if (target.size() >= name.size() &&
            target.compare(target.size() - name.size(), name.size(), name) == 0)
            return true;
    }
    return false;
}

}  // namespace faults
