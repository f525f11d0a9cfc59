// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The beam search of the level bot. A step is one combination of controls held for a few
// frames; the states of one beam all stand at the same frame of the life, so the search
// walks through the life frame by frame and gives up when the time runs out or every state
// is lost.

#include "search.h"

#include "nav.h"
#include "probe.h"
#include "world/lifetimes.h"
#include "world_copy.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace levelbot {

namespace {

// The combinations a step may hold. Left and right are never held together; down alone does
// nothing, with a direction it walks one pixel a frame.
constexpr std::array<world::Controls, 8> kCombinations = {{
    {false, true, false, false},   // right
    {false, true, true, false},    // right and jump
    {false, false, false, false},  // nothing: wait
    {false, false, true, false},   // jump
    {true, false, false, false},   // left
    {true, false, true, false},    // left and jump
    {false, true, false, true},    // right, slowly
    {true, false, false, true},    // left, slowly
}};

constexpr int32_t kFarCost = 20000;  // a target the coarse map knows no way to
constexpr int32_t kCellWeight = 4;   // map frames against the pixel tie-break
constexpr int32_t kFrontBand = 64;   // deaths this close to the furthest x are "at the front"
constexpr auto kProgressEvery = std::chrono::milliseconds(500);
constexpr auto kProgressLogEvery = std::chrono::seconds(5);

// A counted item or the door: a cell the hero's centre must reach.
struct Target {
    int32_t column = 0;
    int32_t row = 0;
    DistanceField field;
};

// The sense of direction of one search: the coarse map, the counted items from left to right,
// the door, and the frames from each item to each later target.
struct Guide {
    NavMap map;
    std::vector<Target> items;
    Target door;
    bool haveDoor = false;
    std::vector<std::vector<int32_t>>
        legs;  // legs[i][j]: item i to item j, j = items.size() the door
};

// Made right after the level was set up for the life, so the counted items are the ones the
// item count counts: the last that many items of the level, going by columns.
Guide makeGuide() {
    Guide guide;
    guide.map = buildNavMap();
    const int32_t width = world::levelMap.width;
    for (int32_t column = 0; column < width; ++column)
        for (int32_t row = 0; row < world::kMapRows; ++row)
            if (world::cellOfGrid(column, row) == world::TILE_ITEM)
                guide.items.push_back({column, row, {}});
    const size_t counted = size_t(std::max(world::life.itemsLeft, 0));
    if (guide.items.size() > counted)
        guide.items.erase(guide.items.begin(), guide.items.end() - std::ptrdiff_t(counted));
    for (Target& item : guide.items) item.field = distancesTo(guide.map, item.column, item.row);

    const int32_t doorColumn = world::life.doorCell / world::kMapRows;
    const int32_t doorRow = world::life.doorCell % world::kMapRows;
    const world::TileCode doorCode = world::cellOfGrid(doorColumn, doorRow);
    guide.haveDoor =
        doorCode == world::TILE_DOOR_TOP_LEFT || doorCode == world::TILE_CLOSED_DOOR_TOP_LEFT;
    // The hero finishes with its top-left corner in the door's bottom-right cell.
    guide.door = {doorColumn + 1, doorRow + 1, {}};
    if (guide.haveDoor)
        guide.door.field = distancesTo(guide.map, guide.door.column, guide.door.row);

    const size_t count = guide.items.size();
    guide.legs.assign(count, std::vector<int32_t>(count + 1, kFar));
    for (size_t i = 0; i < count; ++i) {
        const int32_t from = guide.map.node(guide.items[i].column, guide.items[i].row, kRiseBudget);
        for (size_t j = i + 1; j < count; ++j)
            guide.legs[i][j] = guide.items[j].field[size_t(from)];
        if (guide.haveDoor) guide.legs[i][count] = guide.door.field[size_t(from)];
    }
    return guide;
}

// The grid read directly: the search asks for the same few cells millions of times.
world::TileCode codeOf(int32_t column, int32_t row) {
    return world::levelMap.cells[size_t(column) * world::kMapRows + size_t(row)];
}

bool itemRemains(const Target& item) {
    return codeOf(item.column, item.row) == world::TILE_ITEM &&
           !world::tileEffectAt(item.column * world::kTileSize, item.row * world::kTileSize);
}

int32_t legCost(int32_t frames) { return frames >= kFar ? kFarCost + (frames - kFar) : frames; }

// Frames still needed, roughly: to the first remaining target, then from target to target.
int32_t costToGo(const Guide& guide, const world::PlayerState& player) {
    const int32_t node = playerNode(guide.map, player);
    const int32_t centreX = player.x + world::kTileSize / 2;
    const int32_t centreY = player.y + world::kTileSize / 2;
    auto fromPlayer = [&](const Target& target) {
        const int32_t dx = std::abs(centreX - (target.column * world::kTileSize + 8));
        const int32_t dy = std::abs(centreY - (target.row * world::kTileSize + 8));
        const int32_t frames = node < 0 ? kFar : target.field[size_t(node)];
        return kCellWeight * legCost(frames) + (dx + dy) / 4;
    };

    int32_t cost = 0;
    int32_t previous = -1;
    if (world::life.itemsLeft > 0)
        for (size_t i = 0; i < guide.items.size(); ++i) {
            if (!itemRemains(guide.items[i])) continue;
            cost += previous < 0 ? fromPlayer(guide.items[i])
                                 : kCellWeight * legCost(guide.legs[size_t(previous)][i]);
            previous = int32_t(i);
        }
    if (guide.haveDoor)
        cost += previous < 0
                    ? fromPlayer(guide.door)
                    : kCellWeight * legCost(guide.legs[size_t(previous)][guide.items.size()]);
    return cost;
}

// What the state must reach next: the leftmost item still there, or the door.
const Target& firstTargetLeft(const Guide& guide) {
    if (world::life.itemsLeft > 0)
        for (const Target& item : guide.items)
            if (itemRemains(item)) return item;
    return guide.door;
}

std::string targetName(const Guide& guide, const Target& target) {
    const char* what = &target == &guide.door ? "the door's bottom-right cell" : "the item";
    return std::string(what) + " at column " + std::to_string(target.column) + ", row " +
           std::to_string(target.row);
}

// Why a state can no longer finish although it lives: a counted item or the door has fallen
// behind the view, which never scrolls back. Empty while it can.
std::string leftBehind(const Guide& guide) {
    // The hero's box can get one pixel left of the view, its centre 7 pixels into the view.
    const int32_t reach = world::life.cameraX + world::kTileSize / 2 - 1;
    if (world::life.itemsLeft > 0)
        for (const Target& item : guide.items)
            if ((item.column + 1) * world::kTileSize <= reach && itemRemains(item))
                return "left the item at column " + std::to_string(item.column) + ", row " +
                       std::to_string(item.row) + " behind";
    if (guide.haveDoor && (guide.door.column + 1) * world::kTileSize <= world::life.cameraX - 1)
        return "left the door behind";
    return {};
}

uint64_t stateKey(const world::PlayerState& p) {
    KeyHasher h;
    h.add(p.x);
    h.add(p.y);
    h.add(p.vy);
    h.add(p.jumpLatched);
    h.add(p.bounce);
    h.add(p.onTrapDoor ? (int64_t(p.trapDoorX) << 16 | p.trapDoorY) : -1);
    h.add(world::life.cameraX);
    h.add(world::life.itemsLeft);
    h.add(world::life.airLeft / 8);
    for (const world::EnemySlot& e : world::life.enemies) {
        if (!e.active) continue;
        h.add(e.type);
        h.add(e.x >> 2);
        h.add(e.y >> 2);
        h.add(e.dx);
        if (e.dx == 0) h.add(e.counter >> 3);  // a stunned or squashed one wakes or goes
    }
    for (const world::TileEffect& effect : world::life.tileEffects)
        if (effect.active)
            h.add(int64_t(effect.x) << 32 | int64_t(effect.y) << 8 | effect.type << 5 | effect.t);
    // The cells around the view, where broken bricks, crumbled blocks, closed trap doors and
    // taken items make states differ.
    h.add(int64_t(viewCellsHash()));
    return h.value();
}

uint64_t bucketOf(const world::PlayerState& p) {
    return uint64_t(uint32_t(p.x >> 4)) << 40 | uint64_t(uint32_t(p.y >> 4) & 0xffff) << 16 |
           uint64_t(uint32_t(world::life.itemsLeft) & 0xffff);
}

// A state of the beam: where it is in the tree of steps, the player and the world.
struct BeamState {
    int32_t node = 0;
    world::PlayerState player;
    int32_t itemsLeft = 0;
    world::WorldSnapshot world;
};

// One step of the tree: the step before it and the combination held.
struct StepNode {
    int32_t parent = -1;
    uint8_t combination = 0;
};

struct Candidate {
    int32_t parent = 0;  // index in the beam
    uint8_t combination = 0;
    int32_t cost = 0;
    uint64_t bucket = 0;
};

enum class StepEnd { Alive, Done, Lost };

// Plays `frames` frames of one combination from the state; stops early when the level is
// done (how many frames that took is in `played`) or the life is lost.
StepEnd playStep(world::PlayerState& player, const world::Controls& controls, int32_t frames,
                 int32_t& played) {
    for (played = 0; played < frames;) {
        world::stepPlayFrame(player, controls);
        ++played;
        if (replay::levelDone(player)) return StepEnd::Done;
        if (replay::lifeOver(player)) return StepEnd::Lost;
    }
    return StepEnd::Alive;
}

std::vector<DeathCount> sortedCounts(const std::map<std::string, int64_t>& counts) {
    std::vector<DeathCount> sorted;
    for (const auto& [cause, count] : counts) sorted.push_back({cause, count});
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const DeathCount& a, const DeathCount& b) { return a.count > b.count; });
    return sorted;
}

// The progress line on standard error: over itself on a terminal, a line now and then in a log,
// or as often as asked for.
class ProgressLine {
  public:
    ProgressLine(bool on, int32_t everyMs)
        : on_(on), terminal_(on && isatty(STDERR_FILENO)),
          every_(everyMs > 0
                     ? std::chrono::steady_clock::duration(std::chrono::milliseconds(everyMs))
                 : terminal_ ? std::chrono::steady_clock::duration(kProgressEvery)
                             : std::chrono::steady_clock::duration(kProgressLogEvery)) {}
    ~ProgressLine() {
        if (terminal_ && shown_) std::fprintf(stderr, "\r\033[K");
    }
    bool due() {
        if (!on_) return false;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < every_) return false;
        last_ = now;
        return true;
    }
    void show(const std::string& text) {
        std::fprintf(stderr, terminal_ ? "\r\033[K%s" : "%s\n", text.c_str());
        shown_ = true;
    }

  private:
    bool on_;
    bool terminal_;
    std::chrono::steady_clock::duration every_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

std::string thousands(int64_t n) {
    char text[32];
    if (n >= 10'000'000) std::snprintf(text, sizeof text, "%.1fM", double(n) / 1e6);
    else if (n >= 10'000)
        std::snprintf(text, sizeof text, "%lldk", static_cast<long long>(n / 1000));
    else std::snprintf(text, sizeof text, "%lld", static_cast<long long>(n));
    return text;
}

}  // namespace

std::vector<std::string> SearchResult::failureReport() const {
    std::vector<std::string> lines;
    lines.push_back("no way found: " + stop);
    lines.push_back("furthest x " + std::to_string(furthestX) + " (column " +
                    std::to_string(furthestX / world::kTileSize) + ") with " +
                    std::to_string(itemsLeftThere) + " items left; fewest items left anywhere " +
                    std::to_string(fewestItemsLeft));
    auto list = [](const std::vector<DeathCount>& counts) {
        std::string text;
        for (size_t i = 0; i < counts.size() && i < 3; ++i)
            text +=
                (i ? ", " : "") + counts[i].cause + " (" + std::to_string(counts[i].count) + ")";
        return text.empty() ? std::string("none") : text;
    };
    if (!stuckBefore.empty())
        lines.push_back("the closest state still had to reach " + stuckBefore);
    if (stuckReach == Reach::No)
        lines.push_back("nothing the hero can do from there reaches it, even with no enemy about: "
                        "it looks out of reach");
    if (stuckReach == Reach::Yes)
        lines.push_back("with no enemy about the hero could reach it from there: enemies or "
                        "timing stand in the way");
    for (const std::string& target : noMapWay)
        lines.push_back("the coarse map knows no way from the start to " + target);
    lines.push_back("deaths near there: " + list(frontDeaths));
    lines.push_back("deaths in all: " + list(deaths));
    return lines;
}

namespace {

// One search under way: the tree of steps, the beam of states standing at the same frame,
// what has been seen, and what the report will say.
struct Search {
    const SearchSettings& settings;
    SearchResult& result;
    Guide guide{};
    int32_t stepFrames = 1;
    size_t beamWidth = 1;
    int32_t perCell = 1;
    std::vector<StepNode> tree{StepNode{}};
    std::vector<BeamState> beam{};
    std::vector<BeamState> next{};  // the beam of the next step; its snapshots are reused
    std::vector<Candidate> candidates{};
    std::unordered_set<uint64_t> seen{};
    std::unordered_set<uint64_t> stepSeen{};
    std::unordered_map<uint64_t, int32_t> perBucket{};
    std::map<std::string, int64_t> deaths{};
    std::map<int32_t, std::map<std::string, int64_t>> deathsByBand{};  // by x / kFrontBand
    int32_t bestCost = 0;
    int32_t lastBetter = 0;  // the frame at which a state last came closer than any before
    int32_t bestNode = 0;    // and that state
    const Target* bestTarget = nullptr;  // what it had to reach next
};

void countDeath(Search& search, const std::string& cause, int32_t x) {
    ++search.deaths[cause];
    ++search.deathsByBand[x / kFrontBand][cause];
}

// The frames of the way that ends with `played` frames of a combination after a state.
std::vector<world::Controls> wayTo(const Search& search, int32_t node, const world::Controls& last,
                                   int32_t played) {
    std::vector<uint8_t> steps;
    for (int32_t at = node; search.tree[size_t(at)].parent >= 0;
         at = search.tree[size_t(at)].parent)
        steps.push_back(search.tree[size_t(at)].combination);
    std::vector<world::Controls> frames;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        frames.insert(frames.end(), size_t(search.stepFrames), kCombinations[*it]);
    frames.insert(frames.end(), size_t(played), last);
    return frames;
}

// The start of the life, the guide and the first beam; false, with the reason in the
// result, when there is nothing to search.
bool beginSearch(Search& search, const std::vector<uint8_t>& levelBytes,
                 const replay::StartPoint& start) {
    SearchResult& result = search.result;
    world::PlayerState player;
    std::string error;
    if (!replay::startLife(levelBytes, start.x, start.y, player, error)) {
        result.stop = "the life cannot start: " + error;
        return false;
    }
    search.guide = makeGuide();
    const Guide& guide = search.guide;
    if (!guide.haveDoor) {
        result.stop = "the level has no exit door";
        return false;
    }
    const int32_t startNode = playerNode(guide.map, player);
    for (const Target& item : guide.items)
        if (startNode < 0 || item.field[size_t(startNode)] >= kFar)
            result.noMapWay.push_back(targetName(guide, item));
    if (startNode < 0 || guide.door.field[size_t(startNode)] >= kFar)
        result.noMapWay.push_back(targetName(guide, guide.door));

    const SearchSettings& settings = search.settings;
    search.stepFrames = std::max(settings.stepFrames, 1);
    search.beamWidth = size_t(std::max(settings.beamWidth, 1));
    search.perCell = std::max(settings.perCell, 1);
    search.beam.push_back({0, player, world::life.itemsLeft, world::saveWorld()});
    search.seen.insert(stateKey(player));
    result.furthestX = player.x;
    result.itemsLeftThere = result.fewestItemsLeft = world::life.itemsLeft;
    search.bestCost = costToGo(guide, player);
    search.bestTarget = &firstTargetLeft(guide);
    result.closestWorld = world::saveWorld();
    result.closestPlayer = player;
    return true;
}

// Why the search stops before the step at `frame`, or nothing.
std::string stopBefore(const Search& search, int32_t frame) {
    if (search.beam.empty())
        return "no state left to follow: each one died, left something behind or came back "
               "to where another had been";
    if (frame + search.stepFrames > search.settings.frameLimit)
        return "the time ran out after " + std::to_string(frame) + " frames";
    if (frame - search.lastBetter > search.settings.patience)
        return "no state came closer to the goal in " + std::to_string(frame - search.lastBetter) +
               " frames";
    return {};
}

// Every combination from every state of the beam: the new states that are worth a look
// become candidates; true when one of them finished the level (its way is in the result).
bool tryEveryStep(Search& search) {
    SearchResult& result = search.result;
    search.candidates.clear();
    search.stepSeen.clear();
    for (size_t i = 0; i < search.beam.size(); ++i) {
        const BeamState& state = search.beam[i];
        world::restoreWorld(state.world);
        const GridWindow window = stepWindow(search.stepFrames);
        for (size_t c = 0; c < kCombinations.size(); ++c) {
            if (c > 0) undoStep(state.world, window);
            world::PlayerState p = state.player;
            int32_t played = 0;
            const StepEnd end = playStep(p, kCombinations[c], search.stepFrames, played);
            result.framesPlayed += played;
            if (end == StepEnd::Done) {
                result.found = true;
                result.frames = wayTo(search, state.node, kCombinations[c], played);
                return true;
            }
            if (end == StepEnd::Lost) {
                countDeath(search,
                           std::string(world::life.deathMessage.empty() ? std::string_view("DIED")
                                                                        : world::life.deathMessage),
                           p.x);
                continue;
            }
            const std::string behind = leftBehind(search.guide);
            if (!behind.empty()) {
                countDeath(search, behind, p.x);
                continue;
            }
            const uint64_t key = stateKey(p);
            if (search.seen.count(key) || !search.stepSeen.insert(key).second) continue;
            search.candidates.push_back(
                {int32_t(i), uint8_t(c), costToGo(search.guide, p), bucketOf(p)});
        }
    }
    return false;
}

// The best candidates, a few per cell, are played again to keep their worlds, and become
// the beam of the next step.
void keepTheBest(Search& search, int32_t frame) {
    SearchResult& result = search.result;
    std::stable_sort(search.candidates.begin(), search.candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
    search.perBucket.clear();
    size_t kept = 0;
    for (const Candidate& candidate : search.candidates) {
        if (kept >= search.beamWidth) break;
        if (++search.perBucket[candidate.bucket] > search.perCell) continue;
        const BeamState& parent = search.beam[size_t(candidate.parent)];
        world::restoreWorld(parent.world);
        world::PlayerState p = parent.player;
        int32_t played = 0;
        playStep(p, kCombinations[candidate.combination], search.stepFrames, played);
        search.seen.insert(stateKey(p));
        search.tree.push_back({parent.node, candidate.combination});
        if (kept == search.next.size()) search.next.emplace_back();
        BeamState& child = search.next[kept++];
        child.node = int32_t(search.tree.size() - 1);
        child.player = p;
        child.itemsLeft = world::life.itemsLeft;
        saveWorldInto(child.world);
        if (p.x > result.furthestX) {
            result.furthestX = p.x;
            result.itemsLeftThere = world::life.itemsLeft;
        }
        result.fewestItemsLeft = std::min(result.fewestItemsLeft, world::life.itemsLeft);
    }
    const bool better = kept > 0 && search.candidates.front().cost < search.bestCost;
    if (better) {
        search.bestCost = search.candidates.front().cost;
        search.lastBetter = frame + search.stepFrames;
    }
    result.statesKept += int64_t(kept);
    // The old beam's snapshots are refilled by the next step.
    std::swap(search.beam, search.next);
    search.beam.resize(kept);
    if (better) {  // the best candidate was kept first
        search.bestNode = search.beam[0].node;
        result.closestPlayer = search.beam[0].player;
        world::restoreWorld(search.beam[0].world);
        saveWorldInto(result.closestWorld);
        search.bestTarget = &firstTargetLeft(search.guide);
    }
}

void showProgress(const Search& search, ProgressLine& progress, int32_t frame) {
    if (!progress.due()) return;
    int32_t bestX = 0, fewest = 1 << 30;
    for (const BeamState& s : search.beam) {
        bestX = std::max(bestX, s.player.x);
        fewest = std::min(fewest, s.itemsLeft);
    }
    char line[256];
    std::snprintf(line, sizeof line,
                  "levelbot: %s: frame %d, best x %d, %d items left, beam %zu, "
                  "%s frames searched, %s states",
                  search.settings.label.c_str(), frame + search.stepFrames, bestX,
                  search.beam.empty() ? 0 : fewest, search.beam.size(),
                  thousands(search.result.framesPlayed).c_str(),
                  thousands(search.result.statesKept).c_str());
    progress.show(line);
}

// What a search that found no way says: the closest state, what it still had to reach, and
// what killed the others, near the front and in all.
void reportNoWay(Search& search) {
    SearchResult& result = search.result;
    result.closestWay = wayTo(search, search.bestNode, {}, 0);
    result.stuckBefore = targetName(search.guide, *search.bestTarget);
    result.stuckColumn = search.bestTarget->column;
    result.stuckRow = search.bestTarget->row;
    result.stuckAtDoor = search.bestTarget == &search.guide.door;
    result.deaths = sortedCounts(search.deaths);
    std::map<std::string, int64_t> front;
    for (const auto& [band, counts] : search.deathsByBand)
        if ((band + 1) * kFrontBand >= result.furthestX - kFrontBand)
            for (const auto& [cause, count] : counts) front[cause] += count;
    result.frontDeaths = sortedCounts(front);
}

}  // namespace

SearchResult searchLife(const std::vector<uint8_t>& levelBytes, const replay::StartPoint& start,
                        const SearchSettings& settings) {
    const auto began = std::chrono::steady_clock::now();
    SearchResult result;
    Search search{.settings = settings, .result = result};
    if (beginSearch(search, levelBytes, start)) {
        ProgressLine progress(settings.progress, settings.progressEveryMs);
        for (int32_t frame = 0;; frame += search.stepFrames) {
            result.stop = stopBefore(search, frame);
            if (!result.stop.empty()) {
                reportNoWay(search);
                break;
            }
            if (tryEveryStep(search)) break;
            keepTheBest(search, frame);
            showProgress(search, progress, frame);
        }
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return result;
}

void probeStuck(SearchResult& result, int64_t maxStates) {
    if (maxStates <= 0 || result.found || !result.closestWorld.cells) return;
    const auto began = std::chrono::steady_clock::now();
    result.stuckReach =
        reachWithoutEnemies(result.closestWorld, result.closestPlayer, result.stuckColumn,
                            result.stuckRow, result.stuckAtDoor, maxStates);
    result.seconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

SearchResult solveLife(const std::vector<uint8_t>& levelBytes, const replay::StartPoint& start,
                       SearchSettings settings, int32_t maxBeam) {
    // A wider beam; then steps of 2 frames, for jumps that need a finer timing; then the
    // widest beam.
    std::vector<SearchSettings> tries{settings};
    auto add = [&](int32_t beam, int32_t step) {
        if (beam > std::max(maxBeam, settings.beamWidth) || step > settings.stepFrames) return;
        SearchSettings next = settings;
        next.beamWidth = beam;
        next.stepFrames = step;
        tries.push_back(next);
    };
    add(settings.beamWidth * 4, settings.stepFrames);
    add(settings.beamWidth * 4, std::max(settings.stepFrames / 2, 1));
    add(settings.beamWidth * 16, settings.stepFrames);

    SearchResult total;
    for (size_t i = 0; i < tries.size(); ++i) {
        if (settings.progress && i > 0)
            std::fprintf(stderr,
                         "levelbot: %s: trying again with a beam of %d, steps of %d frames\n",
                         settings.label.c_str(), tries[i].beamWidth, tries[i].stepFrames);
        SearchResult result = searchLife(levelBytes, start, tries[i]);
        result.framesPlayed += total.framesPlayed;
        result.statesKept += total.statesKept;
        result.seconds += total.seconds;
        total = std::move(result);
        if (total.found) break;
        // A target neither the map nor a look at the spot finds a way to: wider beams would
        // only take longer to say so.
        const bool noMapWay = std::find(total.noMapWay.begin(), total.noMapWay.end(),
                                        total.stuckBefore) != total.noMapWay.end();
        if (noMapWay || i + 1 == tries.size()) {
            probeStuck(total, settings.probeStates);
            if (total.stuckReach == Reach::No) break;
        }
    }
    return total;
}

}  // namespace levelbot
