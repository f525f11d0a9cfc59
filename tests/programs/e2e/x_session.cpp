// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "x_session.h"

#include "png_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

constexpr Milliseconds kPollStep(20);
constexpr Milliseconds kKillGrace(2000);
constexpr Milliseconds kServerStartLimit(15000);
constexpr int kExecFailed = 127;

// In the child, between fork and exec: environment, working directory, output, and a
// signal should the test program die first, so no server or game outlives it.
// Standard error goes with standard output unless `keepErrors` leaves it as it is.
void prepareChild(const fs::path& cwd, const std::map<std::string, std::string>& environment,
                  int outputFd, bool keepErrors = false) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(kExecFailed);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(outputFd >= 0 ? outputFd : null, STDOUT_FILENO);
    if (!keepErrors) dup2(outputFd >= 0 ? outputFd : null, STDERR_FILENO);
}

std::vector<char*> argumentVector(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    return args;
}

// Under the sanitizers, the suppressions of the sanitized suite (named in LSAN_OPTIONS) and
// ours for the X libraries, in one file for the game; the options to give it.
std::string leakOptionsForWindow(const fs::path& workDir) {
    const char* inherited = std::getenv("LSAN_OPTIONS");
    if (!inherited && !std::getenv("ASAN_OPTIONS")) return {};
    std::string options = inherited ? inherited : "";
    std::string suppressions;
    std::string kept;
    std::istringstream fields(options);
    for (std::string field; std::getline(fields, field, ':');) {
        if (field.rfind("suppressions=", 0) == 0) {
            std::ifstream in(field.substr(std::strlen("suppressions=")));
            suppressions.assign(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
            if (!suppressions.empty() && suppressions.back() != '\n') suppressions += '\n';
        } else if (!field.empty()) {
            kept += field + ":";
        }
    }
    std::ifstream ours(TROLK_WINDOW_LEAKS);
    suppressions.append(std::istreambuf_iterator<char>(ours), std::istreambuf_iterator<char>());
    const fs::path merged = workDir / "window-leaks.supp";
    std::ofstream(merged) << suppressions;
    return kept + "suppressions=" + merged.string();
}

int decodeStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

Process::Process(const std::vector<std::string>& argv, const fs::path& cwd,
                 const std::map<std::string, std::string>& environment,
                 const fs::path& outputPath) {
    int outputFd = -1;
    if (!outputPath.empty()) {
        outputFd = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (outputFd < 0) return;
    }
    const pid_t child = fork();
    if (child == 0) {
        prepareChild(cwd, environment, outputFd);
        std::vector<char*> args = argumentVector(argv);
        execv(args[0], args.data());
        _exit(kExecFailed);
    }
    if (outputFd >= 0) close(outputFd);
    pid_ = child;
}

Process::~Process() {
    if (pid_ <= 0 || status_) return;
    kill(pid_, SIGTERM);
    if (!waitForExit(kKillGrace)) {
        kill(pid_, SIGKILL);
        waitForExit(kKillGrace);
    }
}

std::optional<int> Process::waitForExit(Milliseconds timeout) {
    if (status_ || pid_ <= 0) return status_;
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            status_ = decodeStatus(status);
            return status_;
        }
        if (done < 0 && errno != EINTR) return status_;
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(kPollStep);
    }
}

bool Process::running() { return started() && !waitForExit(Milliseconds(0)); }

void Process::sendSignal(int signal) {
    if (running()) kill(pid_, signal);
}

CommandResult runCommand(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& environment,
                         Milliseconds timeout) {
    CommandResult result;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return result;
    const pid_t child = fork();
    if (child == 0) {
        // The tools' complaints stay visible on our own standard error.
        prepareChild({}, environment, ends[1], true);
        std::vector<char*> args = argumentVector(argv);
        execvp(args[0], args.data());
        _exit(kExecFailed);
    }
    close(ends[1]);
    const Clock::time_point deadline = Clock::now() + timeout;
    char chunk[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd watch{ends[0], POLLIN, 0};
        if (poll(&watch, 1, int(left.count())) <= 0) continue;
        const ssize_t n = read(ends[0], chunk, sizeof chunk);
        if (n <= 0) break;
        result.output.append(chunk, size_t(n));
    }
    close(ends[0]);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return result;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    result.status = decodeStatus(status);
    return result;
}

std::unique_ptr<VirtualDisplay> VirtualDisplay::start(int width, int height, std::string& why) {
    // Xvfb picks a free display number itself and writes it to the descriptor we give it.
    int ends[2];
    if (pipe(ends) != 0) return why = "no pipe", nullptr;
    fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::unique_ptr<VirtualDisplay> display(new VirtualDisplay);
    const fs::path xvfb = "/usr/bin/Xvfb";
    if (!fs::exists(xvfb)) {
        close(ends[0]);
        close(ends[1]);
        return why = "Xvfb is not installed", nullptr;
    }
    display->server_ = std::make_unique<Process>(
        std::vector<std::string>{xvfb.string(), "-displayfd", std::to_string(ends[1]), "-screen",
                                 "0", screen, "-nolisten", "tcp", "-noreset"},
        fs::path(), std::map<std::string, std::string>{});
    close(ends[1]);

    std::string number;
    const Clock::time_point deadline = Clock::now() + kServerStartLimit;
    while (number.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd watch{ends[0], POLLIN, 0};
        if (poll(&watch, 1, int(kPollStep.count())) <= 0) {
            if (!display->server_->running()) break;
            continue;
        }
        char chunk[32];
        const ssize_t n = read(ends[0], chunk, sizeof chunk);
        if (n <= 0) break;
        number.append(chunk, size_t(n));
    }
    close(ends[0]);
    if (number.find('\n') == std::string::npos)
        return why = "Xvfb did not report a display number", nullptr;
    display->name_ = ":" + number.substr(0, number.find('\n'));
    return display;
}

VirtualDisplay::~VirtualDisplay() = default;

Picture readPpm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    if (!in || magic != "P6" || maxValue != 255 || width <= 0 || height <= 0) return {};
    in.get();
    Picture picture{width, height, std::vector<uint8_t>(size_t(3 * width * height))};
    in.read(reinterpret_cast<char*>(picture.rgb.data()), std::streamsize(picture.rgb.size()));
    if (in.gcount() != std::streamsize(picture.rgb.size())) return {};
    return picture;
}

bool writePng(const fs::path& path, const Picture& picture) {
    return png_file::writeRgb(path.string(), picture.width, picture.height, picture.rgb.data());
}

GameWindow::GameWindow(const VirtualDisplay& display, const fs::path& program,
                       const fs::path& workDir, const std::vector<std::string>& options,
                       const std::map<std::string, std::string>& extraEnvironment)
    : environment_(display.environment()), outputPath_(workDir / "game-output.txt"),
      shotPath_(workDir / "game-screenshot.ppm"),
      process_(
          [&] {
              std::vector<std::string> argv{program.string()};
              argv.insert(argv.end(), options.begin(), options.end());
              return argv;
          }(),
          workDir,
          [&] {
              std::map<std::string, std::string> environment = display.environment();
              environment["SDL_VIDEODRIVER"] = "x11";
              environment["SDL_AUDIODRIVER"] = "dummy";
              if (std::string leaks = leakOptionsForWindow(workDir); !leaks.empty())
                  environment["LSAN_OPTIONS"] = leaks;
              for (const auto& [name, value] : extraEnvironment) environment[name] = value;
              return environment;
          }(),
          workDir / "game-output.txt") {}

bool GameWindow::find(Milliseconds timeout, const std::string& name) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Clock::now() < deadline && process_.running()) {
        const CommandResult found = runCommand({"xdotool", "search", "--name", name}, environment_);
        std::istringstream ids(found.output);
        std::string id;
        if (found.status == 0 && (ids >> id)) {
            const CommandResult focus =
                runCommand({"xdotool", "windowfocus", "--sync", id}, environment_);
            if (focus.status == 0) {
                windowId_ = id;
                return true;
            }
        }
        std::this_thread::sleep_for(Milliseconds(100));
    }
    return false;
}

void GameWindow::tap(const std::string& key) { runCommand({"xdotool", "key", key}, environment_); }

void GameWindow::type(const std::string& text) {
    runCommand({"xdotool", "type", text}, environment_);
}

void GameWindow::moveMouse(int x, int y) {
    runCommand(
        {"xdotool", "mousemove", "--window", windowId_, std::to_string(x), std::to_string(y)},
        environment_);
}

void GameWindow::click(int x, int y, int button) {
    moveMouse(x, y);
    runCommand({"xdotool", "click", std::to_string(button)}, environment_);
}

void GameWindow::hold(const std::string& key, Milliseconds duration) {
    runCommand({"xdotool", "keydown", key}, environment_);
    std::this_thread::sleep_for(duration);
    runCommand({"xdotool", "keyup", key}, environment_);
}

Picture GameWindow::screenshot() {
    if (windowId_.empty()) return {};
    std::error_code ignored;
    fs::remove(shotPath_, ignored);
    const CommandResult shot = runCommand({"import", "-window", wholeScreen_ ? "root" : windowId_,
                                           "-depth", "8", "ppm:" + shotPath_.string()},
                                          environment_);
    if (shot.status != 0) return {};
    return readPpm(shotPath_);
}

fs::path GameWindow::loadedLibrary(const std::string& name) const {
    std::ifstream maps("/proc/" + std::to_string(process_.id()) + "/maps");
    // address, permissions, offset, device, inode, then the file's path
    for (std::string line; std::getline(maps, line);) {
        const size_t slash = line.find('/');
        if (slash == std::string::npos) continue;
        const fs::path file = line.substr(slash);
        if (file.filename().string().rfind(name, 0) == 0) return file;
    }
    return {};
}

std::string GameWindow::output() const {
    std::ifstream in(outputPath_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace e2e
