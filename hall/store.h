// The hall's games in a database: SQLite in one file by default, PostgreSQL when several
// halls share one board. The schema is made and brought up to date by the hall itself; a
// game is kept whole, replay and all, in one transaction, or not at all.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace soci {
class session;
}  // namespace soci

// A game on the board.
struct GameEntry {
    int64_t id = 0;
    std::string name;
    int32_t score = 0;
    int level = 0;
    uint64_t gameMs = 0;
    uint64_t passes = 0;
    int gameVersion = 0;
    std::string submitted;  // when it was kept, UTC, as 2026-12-08T05:30:00Z
};

// A game to keep: its entry (without an id) and its replay.
struct NewGame {
    GameEntry entry;
    std::string replay;
};

struct KeptGame {
    GameEntry entry;
    bool already = false;  // the same replay was kept before, and this is that game
    int64_t place = 0;     // 1 for the best game on the board
    int64_t games = 0;     // how many games the board holds
};

// The database cannot be reached just now (PostgreSQL restarting, the file locked past
// its wait): the caller says "try again".
class StoreUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The schema's version this hall makes; a database made by a newer hall is refused.
constexpr int HallSchemaVersion = 2;

class Store {
public:
    // `where`: a file name for SQLite, or a postgresql:// address. Up to `sessions`
    // connections are opened as they are needed, one for each thread that uses the database
    // at once. Throws (with a line saying why) when the database cannot be opened or its
    // schema brought up to date.
    Store(const std::string& where, int sessions);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    KeptGame Keep(const NewGame& game);
    std::vector<GameEntry> Board(int limit, int offset);
    std::optional<std::string> Replay(int64_t id);
    int SchemaVersion();
    bool Postgres() const { return postgres_; }

private:
    template <class F>
    auto Use(F&& f);
    std::unique_ptr<soci::session> Open();
    void Upgrade(soci::session& sql);

    std::string where_;
    bool postgres_ = false;
    int sessions_ = 0;
    std::mutex mutex_;
    std::condition_variable freed_;
    int opened_ = 0;  // connections leased or idle
    // Idle connections; a null one was lost and is opened again before its next use.
    std::vector<std::unique_ptr<soci::session>> idle_;
};

// The digest a replay is known by: the same bytes are kept once.
std::string ReplayDigest(const std::string& replay);
