// The games kept through SOCI, on SQLite or PostgreSQL: the schema's steps, the keeping of
// a game in one transaction, the board in its order, and a lost connection taken up again.
#include "hall/store.h"
#include <openssl/evp.h>
#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>
#include <chrono>
#include <ctime>

namespace {
// The schema's steps, in order: step N brings a database from version N - 1 to N. A step
// is never changed once a hall has shipped it; a change of the schema is a new step.
struct Step {
    const char* sqlite;
    const char* postgres;
};
const Step steps[] = {
    // 1: the games, each with its replay, known by the replay's digest.
    {"CREATE TABLE games (id INTEGER PRIMARY KEY AUTOINCREMENT, digest TEXT NOT NULL UNIQUE, "
     "name TEXT NOT NULL, score INTEGER NOT NULL, level INTEGER NOT NULL, game_ms BIGINT NOT NULL, "
     "passes BIGINT NOT NULL, game_version INTEGER NOT NULL, submitted TEXT NOT NULL, replay TEXT NOT NULL)",
     "CREATE TABLE games (id BIGSERIAL PRIMARY KEY, digest TEXT NOT NULL UNIQUE, "
     "name TEXT NOT NULL, score INTEGER NOT NULL, level INTEGER NOT NULL, game_ms BIGINT NOT NULL, "
     "passes BIGINT NOT NULL, game_version INTEGER NOT NULL, submitted TEXT NOT NULL, replay TEXT NOT NULL)"},
    // 2: the board's order kept in an index, so a page of it costs a page of rows.
    {"CREATE INDEX games_board ON games (score DESC, game_ms, id)",
     "CREATE INDEX games_board ON games (score DESC, game_ms, id)"},
};
static_assert(std::size(steps) == HallSchemaVersion);

// The board's order: the higher score first, then the shorter game, then the earlier one.
constexpr const char* BoardOrder = " ORDER BY score DESC, game_ms, id";
constexpr const char* EntryColumns = "id, name, score, level, game_ms, passes, game_version, submitted";

bool IsPostgres(const std::string& where) {
    return where.rfind("postgresql://", 0) == 0 || where.rfind("postgres://", 0) == 0;
}

std::string Now() {
    std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

// The entries a query of EntryColumns gives, in its order. Each column goes into a value of
// its own type, whatever the back end calls the column's type.
template <class... Uses>
std::vector<GameEntry> Entries(soci::session& sql, const std::string& query, Uses&&... uses) {
    std::vector<GameEntry> entries;
    long long id = 0, gameMs = 0, passes = 0;
    int score = 0, level = 0, version = 0;
    std::string name, submitted;
    soci::details::prepare_temp_type prepared = (sql.prepare << query);
    (prepared, ..., std::forward<Uses>(uses));
    prepared, soci::into(id), soci::into(name), soci::into(score), soci::into(level), soci::into(gameMs),
        soci::into(passes), soci::into(version), soci::into(submitted);
    soci::statement st(prepared);
    st.execute();
    while (st.fetch())
        entries.push_back({id, name, score, level, uint64_t(gameMs), uint64_t(passes), version, submitted});
    return entries;
}

}  // namespace

std::string ReplayDigest(const std::string& replay) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(replay.data(), replay.size(), digest, &size, EVP_sha256(), nullptr);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < size; ++i) {
        text += hex[digest[i] >> 4];
        text += hex[digest[i] & 15];
    }
    return text;
}

Store::Store(const std::string& where, int sessions)
    : where_(where), postgres_(IsPostgres(where)), sessions_(sessions) {
    std::unique_ptr<soci::session> sql = Open();
    Upgrade(*sql);
    idle_.push_back(std::move(sql));
    opened_ = 1;
}

std::unique_ptr<soci::session> Store::Open() {
    auto sql = std::make_unique<soci::session>();
    if (postgres_) {
        sql->open(soci::postgresql, where_);
        // The schema's "already there" notices are not news.
        *sql << "SET client_min_messages TO WARNING";
    } else {
        // A writer waits for another one's transaction for up to five seconds; the
        // write-ahead log lets readers read meanwhile, and a transaction is on the disk
        // before its answer goes.
        sql->open(soci::sqlite3, "db=\"" + where_ + "\" timeout=5");
        *sql << "PRAGMA journal_mode=WAL";
        *sql << "PRAGMA synchronous=FULL";
    }
    return sql;
}

Store::~Store() = default;

void Store::Upgrade(soci::session& sql) {
    soci::transaction tx(sql);
    // Two halls starting at once on one PostgreSQL: one brings the schema up, the other waits.
    if (postgres_) sql << "SELECT pg_advisory_xact_lock(30303030)";
    sql << "CREATE TABLE IF NOT EXISTS hall_schema (version INTEGER NOT NULL)";
    int version = 0;
    soci::indicator ind = soci::i_null;
    sql << "SELECT MAX(version) FROM hall_schema", soci::into(version, ind);
    if (ind != soci::i_ok) version = 0;
    if (version > HallSchemaVersion)
        throw std::runtime_error("the database was made by a newer hall (schema " + std::to_string(version) +
                                 "; this hall knows up to " + std::to_string(HallSchemaVersion) + ")");
    for (; version < HallSchemaVersion; ++version) {
        const Step& step = steps[version];
        sql << (postgres_ ? step.postgres : step.sqlite);
    }
    sql << "DELETE FROM hall_schema";
    sql << "INSERT INTO hall_schema (version) VALUES (:v)", soci::use(version);
    tx.commit();
}

// Runs `f` on a connection of the pool, opening one when none is idle and fewer than
// `sessions_` are open. When `f` fails on the database's side the connection is opened
// anew and `f` tried once more (each use is safe to repeat: a game is known by its
// digest); when the database cannot be opened, StoreUnavailable.
template <class F>
auto Store::Use(F&& f) {
    std::unique_ptr<soci::session> sql;
    {
        std::unique_lock lock(mutex_);
        freed_.wait(lock, [&] { return !idle_.empty() || opened_ < sessions_; });
        if (idle_.empty()) ++opened_;
        else {
            sql = std::move(idle_.back());
            idle_.pop_back();
        }
    }
    struct GiveBack {
        Store& store;
        std::unique_ptr<soci::session>& sql;
        ~GiveBack() {
            {
                std::lock_guard lock(store.mutex_);
                store.idle_.push_back(std::move(sql));
            }
            store.freed_.notify_one();
        }
    } giveBack{*this, sql};
    auto reopen = [&] {
        sql.reset();
        try {
            sql = Open();
        } catch (const std::exception& e) {
            throw StoreUnavailable(e.what());
        }
    };
    if (!sql) reopen();
    try {
        return f(*sql);
    } catch (const soci::soci_error&) {
        // Lost, or a fault of the statement: a fresh connection tells which.
    }
    reopen();
    try {
        return f(*sql);
    } catch (const soci::soci_error& e) {
        const std::string what = e.what();
        if (e.get_error_category() == soci::soci_error::connection_error ||
            what.find("database is locked") != std::string::npos)
            throw StoreUnavailable(what);
        throw;
    }
}

KeptGame Store::Keep(const NewGame& game) {
    const std::string digest = ReplayDigest(game.replay);
    return Use([&](soci::session& sql) {
        KeptGame kept;
        kept.entry = game.entry;
        // One statement, so one transaction on either database: the game goes in whole, or
        // its digest is there already (the same replay, from this hall or another) and
        // nothing does.
        const GameEntry& e = game.entry;
        const std::string submitted = Now();
        const long long gameMs = (long long)e.gameMs, passes = (long long)e.passes;
        long long id = 0;
        sql << "INSERT INTO games (digest, name, score, level, game_ms, passes, game_version, submitted, replay) "
               "VALUES (:digest, :name, :score, :level, :game_ms, :passes, :version, :submitted, :replay) "
               "ON CONFLICT (digest) DO NOTHING RETURNING id",
            soci::use(digest), soci::use(e.name), soci::use(e.score), soci::use(e.level), soci::use(gameMs),
            soci::use(passes), soci::use(e.gameVersion), soci::use(submitted), soci::use(game.replay), soci::into(id);
        if (sql.got_data()) {
            kept.entry.id = id;
            kept.entry.submitted = submitted;
        } else {
            kept.entry =
                Entries(sql, std::string("SELECT ") + EntryColumns + " FROM games WHERE digest = :d", soci::use(digest))
                    .at(0);
            kept.already = true;
        }
        const GameEntry& k = kept.entry;
        const long long keptMs = (long long)k.gameMs, keptId = k.id;
        long long better = 0, games = 0;
        sql << "SELECT COUNT(*) FROM games WHERE score > :s OR (score = :s2 AND (game_ms < :g OR "
               "(game_ms = :g2 AND id < :id)))",
            soci::use(k.score), soci::use(k.score), soci::use(keptMs), soci::use(keptMs), soci::use(keptId),
            soci::into(better);
        sql << "SELECT COUNT(*) FROM games", soci::into(games);
        kept.place = better + 1;
        kept.games = games;
        return kept;
    });
}

std::vector<GameEntry> Store::Board(int limit, int offset) {
    return Use([&](soci::session& sql) {
        return Entries(
            sql, std::string("SELECT ") + EntryColumns + " FROM games" + BoardOrder + " LIMIT :limit OFFSET :offset",
            soci::use(limit), soci::use(offset));
    });
}

std::optional<std::string> Store::Replay(int64_t id) {
    return Use([&](soci::session& sql) -> std::optional<std::string> {
        std::string text;
        soci::indicator ind = soci::i_null;
        long long key = id;
        sql << "SELECT replay FROM games WHERE id = :id", soci::use(key), soci::into(text, ind);
        if (!sql.got_data() || ind != soci::i_ok) return std::nullopt;
        return text;
    });
}

int Store::SchemaVersion() {
    return Use([&](soci::session& sql) {
        int version = 0;
        sql << "SELECT MAX(version) FROM hall_schema", soci::into(version);
        return version;
    });
}
