// The hall of fame under load, each figure beside its floor, in one run: verified
// submissions of five-minute games a second, on SQLite and on a PostgreSQL of the bench's
// own (against the 50 a second a two-core machine is asked for); the board page's 99th
// percentile with 200 readers at once on loopback (against 20 ms); and the check inside
// the hall against the same check on the command line, each as a multiple of real time.
// Usage: hall_bench [SUBMISSIONS [SECONDS_OF_READING]]
#include <httplib.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include "bench/child_run.h"

namespace {
using Clock = std::chrono::steady_clock;
const char* const PgBin = "/usr/lib/postgresql/15/bin";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// A glimmo-hall on a free port; its address once it listens.
struct HallProcess {
    pid_t pid = -1;
    int port = 0;

    HallProcess(const std::string& db) {
        int out[2];
        if (pipe(out) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            execl(GLIMMO_HALL_EXE, GLIMMO_HALL_EXE, "--db", db.c_str(), "--port", "0", "--per-minute", "0",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
        close(out[0]);
        const size_t at = line.find("127.0.0.1:");
        if (at != std::string::npos) port = std::atoi(line.c_str() + at + 10);
    }
    ~HallProcess() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

struct SubmitRun {
    double perSecond = 0;
    int kept = 0, sent = 0;
    std::vector<double> checkMs, gameMs;
};

// `count` different replays (a comment line of their own after each game) from eight
// senders at once.
SubmitRun Submit(int port, const std::vector<std::string>& games, int count) {
    SubmitRun run;
    std::mutex mutex;
    std::atomic<int> next{0};
    const auto start = Clock::now();
    std::vector<std::thread> senders;
    for (int t = 0; t < 8; ++t)
        senders.emplace_back([&] {
            httplib::Client client("127.0.0.1", port);
            client.set_read_timeout(60, 0);
            for (int i; (i = next++) < count;) {
                const std::string body = games[size_t(i) % games.size()] + "# copy " + std::to_string(i) + "\n";
                auto res = client.Post("/api/submit?name=bench", body, "text/plain");
                std::lock_guard lock(mutex);
                ++run.sent;
                if (!res || res->status != 201) continue;
                auto answer = nlohmann::json::parse(res->body);
                ++run.kept;
                run.checkMs.push_back(answer["check_ms"].get<double>());
                run.gameMs.push_back(double(answer["game_ms"].get<uint64_t>()));
            }
        });
    for (std::thread& t : senders) t.join();
    run.perSecond = run.kept / std::chrono::duration<double>(Clock::now() - start).count();
    return run;
}

// `readers` readers, each asking for the board page again and again for `seconds`, after
// a pause of `pauseMs` on average each time (from half to one and a half times it, so that
// the readers do not all ask at the same moment).
std::vector<double> ReadBoard(int port, int readers, double seconds, int pauseMs) {
    std::vector<double> ms;
    std::mutex mutex;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    std::vector<std::thread> threads;
    for (int t = 0; t < readers; ++t)
        threads.emplace_back([&] {
            httplib::Client client("127.0.0.1", port);
            client.set_read_timeout(30, 0);
            client.set_tcp_nodelay(true);
            std::vector<double> mine;
            std::minstd_rand random(unsigned(std::hash<std::thread::id>()(std::this_thread::get_id())));
            std::uniform_int_distribution<int> pause(pauseMs / 2, pauseMs * 3 / 2);
            while (Clock::now() < end) {
                const auto start = Clock::now();
                auto res = client.Get("/");
                if (!res || res->status != 200) continue;
                mine.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                if (pauseMs) std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
            }
            std::lock_guard lock(mutex);
            ms.insert(ms.end(), mine.begin(), mine.end());
        });
    for (std::thread& t : threads) t.join();
    return ms;
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

// A PostgreSQL of the bench's own in `folder`, as the postgres user when run as root; its
// address, or "" when there is none to be had.
std::string StartPostgres(const std::string& folder) {
    if (access((std::string(PgBin) + "/initdb").c_str(), X_OK) != 0) return "";
    std::string as;
    if (getuid() == 0) {
        const passwd* pg = getpwnam("postgres");
        if (!pg || chown(folder.c_str(), pg->pw_uid, pg->pw_gid) != 0) return "";
        as = "runuser -u postgres -- ";
    }
    const std::string bin = std::string(PgBin);
    if (Shell(as + bin + "/initdb -D " + folder + "/data -A trust -U hall -E UTF8 --no-sync >/dev/null") != 0 ||
        Shell(as + bin + "/pg_ctl -D " + folder + "/data -l " + folder + "/log -o '-k " + folder +
              " -c listen_addresses= -p 5432' -w start >/dev/null") != 0 ||
        Shell(as + bin + "/createdb -h " + folder + " -p 5432 -U hall hall") != 0)
        return "";
    return "postgresql://hall@/hall?host=" + folder + "&port=5432";
}

void StopPostgres(const std::string& folder) {
    const std::string as = getuid() == 0 ? "runuser -u postgres -- " : "";
    Shell(as + PgBin + "/pg_ctl -D " + folder + "/data -m fast -w stop >/dev/null");
}
}  // namespace

int main(int argc, char** argv) {
    const int submissions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    const double readSeconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 5;
    char folderName[] = "/tmp/glimmo-hall-bench-XXXXXX";
    if (!mkdtemp(folderName)) return 1;
    const std::string folder = folderName;
    chmod(folder.c_str(), 0755);

    // Five-minute games of the built-in player; a demo's line (if this build writes one)
    // is left out, so the hall takes them as players' games: the check plays the same
    // passes either way.
    std::vector<std::string> games, files;
    for (int seed = 1; seed <= 4; ++seed) {
        const std::string file = folder + "/game" + std::to_string(seed) + ".replay";
        const std::string s = std::to_string(seed);
        RunChild(
            {GLIMMO_EXE, "--headless", "--autopilot", s.c_str(), "--record", file.c_str(), "--until-tick", "300000"});
        std::istringstream in(ReadFile(file));
        std::string game;
        for (std::string line; std::getline(in, line);)
            if (line != "demo") game += line + "\n";
        std::ofstream(file, std::ios::binary) << game;
        games.push_back(game);
        files.push_back(file);
    }

    std::printf("hall_bench: %d submissions of five-minute games from 8 senders; %d readers for %.0f s\n", submissions,
                200, readSeconds);
    SubmitRun sqlite, postgres;
    std::vector<double> board, pausing;
    {
        HallProcess hall(folder + "/hall.db");
        if (!hall.port) return std::fprintf(stderr, "hall_bench: the hall did not start\n"), 1;
        sqlite = Submit(hall.port, games, submissions);
        board = ReadBoard(hall.port, 200, readSeconds, 0);
        pausing = ReadBoard(hall.port, 200, readSeconds, 100);
    }
    const std::string pgFolder = folder + "/pg";
    mkdir(pgFolder.c_str(), 0755);
    const std::string pgUrl = StartPostgres(pgFolder);
    if (!pgUrl.empty()) {
        HallProcess hall(pgUrl);
        if (hall.port) postgres = Submit(hall.port, games, submissions);
        StopPostgres(pgFolder);
    }

    // The same check on the command line, started fresh for each game.
    const bool verifyThere = Shell(std::string(GLIMMO_EXE) + " --help | grep -q -- --verify") == 0;
    std::vector<double> lineTimes;
    for (int round = 0; round < 5; ++round)
        for (const std::string& file : files) {
            ChildRun run = verifyThere ? RunChild({GLIMMO_EXE, "--verify", file.c_str()})
                                       : RunChild({GLIMMO_EXE, "--headless", "--replay", file.c_str()});
            lineTimes.push_back(run.seconds * 1e3);
        }
    Shell("rm -rf " + folder);

    const double gameMs = sqlite.gameMs.empty() ? 300000 : Percentile(sqlite.gameMs, 0.5);
    const double inHall = gameMs / Percentile(sqlite.checkMs, 0.5);
    const double onLine = gameMs / Percentile(lineTimes, 0.5);
    std::printf("SQLite:     %6.1f verified submissions a second (%d kept of %d), check median %.2f ms\n",
                sqlite.perSecond, sqlite.kept, sqlite.sent, Percentile(sqlite.checkMs, 0.5));
    if (!pgUrl.empty())
        std::printf("PostgreSQL: %6.1f verified submissions a second (%d kept of %d), check median %.2f ms\n",
                    postgres.perSecond, postgres.kept, postgres.sent, Percentile(postgres.checkMs, 0.5));
    else std::printf("PostgreSQL: not measured (no postgresql here)\n");
    std::printf("board page, 200 readers asking again at once: %zu answers, median %.2f ms, 99th percentile %.2f ms\n",
                board.size(), Percentile(board, 0.5), Percentile(board, 0.99));
    std::printf("board page, 200 readers pausing ~100 ms:    %zu answers, median %.2f ms, 99th percentile %.2f ms\n",
                pausing.size(), Percentile(pausing, 0.5), Percentile(pausing, 0.99));
    std::printf("check (%s): %.0f x real time in the hall, %.0f x on the command line (median %.2f ms a process)\n",
                verifyThere ? "glimmo --verify" : "the headless replay run", inHall, onLine,
                Percentile(lineTimes, 0.5));
    std::printf(
        "ratios: submissions %.2f x (SQLite) and %.2f x (PostgreSQL) the 50 a second asked; board p99 %.2f x "
        "(at once) and %.2f x (pausing) the 20 ms allowed; check in the hall %.2f x the command line's\n",
        sqlite.perSecond / 50, postgres.perSecond / 50, Percentile(board, 0.99) / 20, Percentile(pausing, 0.99) / 20,
        inHall / onLine);
    return 0;
}
