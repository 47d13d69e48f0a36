// Fuzz target of the replay reader: any text is either a replay this program can play,
// which written out again reads back the same, or a refusal naming one of its lines.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include "game/game_version.h"
#include "run/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Replay replay;
    ReplayProblem problem;
    if (!ParseReplay(text, replay, problem)) {
        const size_t lines = size_t(std::count(text.begin(), text.end(), '\n')) + 1;
        if (problem.line < 1 || size_t(problem.line) > lines || problem.what.empty()) std::abort();
        return 0;
    }
    // Every pass's line lies inside the game, in order.
    for (size_t i = 0; i < replay.journal.size(); ++i) {
        const JournalEntry& e = replay.journal[i];
        if (e.pass < 1 || e.pass > replay.passes || e.call < 1 || e.line < 1 || e.line >= replay.endLine) std::abort();
        if (i && (replay.journal[i - 1].pass > e.pass ||
                  (replay.journal[i - 1].pass == e.pass && replay.journal[i - 1].call >= e.call)))
            std::abort();
    }
    if (replay.world.size() > WorldSize() || replay.gameVersion != GameVersion) std::abort();
    // Read to be played, the same text gives the same passes' lines, one by one.
    Replay played;
    if (!ReadReplay(text, played, problem) || played.passes != replay.passes) std::abort();
    std::unique_ptr<JournalFeed> feed = OpenJournal(played);
    JournalEntry entry;
    for (const JournalEntry& e : replay.journal)
        if (!feed->Next(entry) || !(entry == e) || entry.line != e.line) std::abort();
    if (feed->Next(entry)) std::abort();
    const std::string written = FormatReplay(replay);
    Replay again;
    if (!ParseReplay(written, again, problem)) std::abort();
    if (FormatReplay(again) != written) std::abort();
    return 0;
}
