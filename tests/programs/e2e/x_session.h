// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real game in a real window: a private Xvfb server per test, the game binary started
// in it with SDL's X11 driver, synthetic keys through xdotool and screenshots through
// ImageMagick's import. Every wait has a deadline, so a test that goes wrong fails within
// its bounds instead of hanging.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace e2e {

using Milliseconds = std::chrono::milliseconds;

// A child process with its own environment additions; killed and reaped when dropped.
class Process {
  public:
    // Starts argv[0] (a path) in `cwd`; standard output (and error) go to `outputPath`, or
    // to /dev/null when it is empty. An empty value in `environment` removes that variable.
    Process(const std::vector<std::string>& argv, const std::filesystem::path& cwd,
            const std::map<std::string, std::string>& environment,
            const std::filesystem::path& outputPath = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t id() const { return pid_; }
    // The exit status (128 + signal when it was killed), or nothing when it is still
    // running after `timeout`.
    std::optional<int> waitForExit(Milliseconds timeout);
    bool running();
    void sendSignal(int signal);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

struct CommandResult {
    int status = -1;     // exit status, -1 when it did not end in time or did not start
    std::string output;  // standard output
};

// Runs a program found on PATH and waits at most `timeout` for it.
CommandResult runCommand(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& environment,
                         Milliseconds timeout = Milliseconds(15000));

// A private X server (Xvfb) on a display number of its own choosing.
class VirtualDisplay {
  public:
    // Null, with the reason in `why`, when Xvfb cannot be started.
    static std::unique_ptr<VirtualDisplay> start(int width, int height, std::string& why);
    ~VirtualDisplay();

    const std::string& name() const { return name_; }  // ":N"
    // DISPLAY set for programs that talk to this server.
    std::map<std::string, std::string> environment() const { return {{"DISPLAY", name_}}; }

  private:
    VirtualDisplay() = default;
    std::unique_ptr<Process> server_;
    std::string name_;
};

// 8-bit R, G, B pixels, row after row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    const uint8_t* at(int x, int y) const { return &rgb[size_t(3 * (y * width + x))]; }
};

// Reads a binary PPM (P6, maxval 255); an empty picture when it cannot.
Picture readPpm(const std::filesystem::path& path);
bool writePng(const std::filesystem::path& path, const Picture& picture);

// The game (or its launcher) started in a virtual display, with the working directory
// `workDir`, SDL's X11 video and dummy audio drivers and the extra environment given.
class GameWindow {
  public:
    GameWindow(const VirtualDisplay& display, const std::filesystem::path& program,
               const std::filesystem::path& workDir, const std::vector<std::string>& options,
               const std::map<std::string, std::string>& extraEnvironment = {});

    // Waits for the window whose name matches `name` (a regular expression; the game's is
    // TROLK) and gives it the keyboard focus.
    bool find(Milliseconds timeout = Milliseconds(15000), const std::string& name = "^TROLK$");
    // xdotool key names: "Up", "Return", "space", "Escape", "ctrl+s", ...
    void tap(const std::string& key);
    // Types the characters as a keyboard would.
    void type(const std::string& text);
    // Moves the mouse to (x, y) of the window; clicks a button there (1 left, 2 middle, 3 right).
    void moveMouse(int x, int y);
    void click(int x, int y, int button = 1);
    // Holds a key for a while, so that the game sees it held during some frames.
    void hold(const std::string& key, Milliseconds duration = Milliseconds(300));
    // The window's picture (the whole screen's after shootWholeScreen()), or an empty one
    // when the screenshot failed.
    Picture screenshot();
    // In full screen the picture may lie in a window of SDL's own over the named one.
    void shootWholeScreen() { wholeScreen_ = true; }
    // The file of the shared library whose name starts with `name` that the running game has
    // loaded, from /proc/<pid>/maps; empty when it has none (or has ended).
    std::filesystem::path loadedLibrary(const std::string& name) const;

    std::optional<int> waitForExit(Milliseconds timeout) { return process_.waitForExit(timeout); }
    bool running() { return process_.running(); }
    void sendSignal(int signal) { process_.sendSignal(signal); }
    // What the game printed so far.
    std::string output() const;

  private:
    std::map<std::string, std::string> environment_;
    std::filesystem::path outputPath_;
    std::filesystem::path shotPath_;
    Process process_;
    std::string windowId_;
    bool wholeScreen_ = false;
};

}  // namespace e2e
