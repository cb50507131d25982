// koravex-arena: the game's computer player against itself, with no display.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <sstream>

#include "rules/computer.h"
#include "rules/random.h"
#include "rules/squares.h"
#include "rules/state.h"
#include "tools/arena/analysis.h"
#include "tools/arena/match.h"
#include "tools/arena/options.h"

namespace {

using Clock = std::chrono::steady_clock;

// A progress line on standard error for runs that take longer than a second: rewritten
// in place on a terminal, a fresh line every few seconds otherwise.
class Progress {
  public:
    Progress(long long total, bool enabled)
        : total_(total), enabled_(enabled), terminal_(isatty(STDERR_FILENO) != 0) {}
    ~Progress() { Clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Takes a terminal's progress line away before other output.
    void Clear() {
        if (shown_ && terminal_) std::fprintf(stderr, "\r\033[K");
        shown_ = false;
    }

    void Update(long long done) {
        if (!enabled_) return;
        const auto now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) ||
            now - last_ < (terminal_ ? kTerminalStep : kLogStep))
            return;
        last_ = now;
        shown_ = true;
        std::fprintf(stderr, "%s%lld of %lld games (%.0f%%)%s", terminal_ ? "\r\033[K" : "", done,
                     total_, 100.0 * static_cast<double>(done) / static_cast<double>(total_),
                     terminal_ ? "" : "\n");
        std::fflush(stderr);
    }

  private:
    static constexpr auto kTerminalStep = std::chrono::milliseconds(200);
    static constexpr auto kLogStep = std::chrono::seconds(5);
    long long total_;
    bool enabled_;
    bool terminal_;
    bool shown_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_{};
};

std::string SideName(const arena::Side& side) {
    if (side.perfect) return "the perfect player";
    std::ostringstream text;
    text << "slider " << side.slider << " (NoiseRange " << rules::NoiseRangeForSlider(side.slider)
         << ")";
    return text.str();
}

// A matrix heading: the slider, or "perfect".
std::string SideLabel(const arena::Side& side) {
    if (side.perfect) return "perfect";
    char text[32];
    std::snprintf(text, sizeof text, "%g", side.slider);
    return text;
}

arena::Player PlayerOf(const arena::Side& side) {
    return arena::Player{side.perfect, side.perfect ? 0 : rules::NoiseRangeForSlider(side.slider)};
}

std::string Percent(int part, int whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%5.1f%%", whole > 0 ? 100.0 * part / whole : 0.0);
    return text;
}

void RunPairings(const arena::Options& options) {
    Progress progress(static_cast<long long>(options.games) *
                          static_cast<long long>(options.sides.size()),
                      !options.quiet);
    long long done = 0;
    for (const arena::Side& sideB : options.sides) {
        const arena::PairingResult r =
            arena::PlayPairing(PlayerOf(options.sideA), PlayerOf(sideB), options.games,
                               [&](int played) { progress.Update(done + played); });
        done += r.games;
        progress.Clear();
        const int gamesBBegins = r.games - r.gamesABegins;
        const int winsAWhenBBegins = r.winsA - r.winsAWhenABegins;
        std::printf("A = %s against B = %s, %d games\n", SideName(options.sideA).c_str(),
                    SideName(sideB).c_str(), r.games);
        std::printf("  A wins      %8d  %s   (%s when A begins, %s when B begins)\n", r.winsA,
                    Percent(r.winsA, r.games).c_str(),
                    Percent(r.winsAWhenABegins, r.gamesABegins).c_str(),
                    Percent(winsAWhenBBegins, gamesBBegins).c_str());
        std::printf("  B wins      %8d  %s\n", r.winsB, Percent(r.winsB, r.games).c_str());
        std::printf("  unfinished  %8d  %s   (full board, no square)\n", r.unfinished,
                    Percent(r.unfinished, r.games).c_str());
        std::printf("  average length %.2f moves, %.0f games per second\n\n",
                    static_cast<double>(r.moves) / r.games,
                    r.seconds > 0 ? r.games / r.seconds : 0.0);
        std::fflush(stdout);
    }
}

void RunMatrix(const arena::Options& options) {
    const std::size_t n = options.sides.size();
    Progress progress(static_cast<long long>(options.games) * static_cast<long long>(n * n),
                      !options.quiet);
    std::vector<std::vector<arena::PairingResult>> results(n);
    long long done = 0;
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = 0; b < n; ++b) {
            results[a].push_back(arena::PlayPairing(
                PlayerOf(options.sides[a]), PlayerOf(options.sides[b]), options.games,
                [&](int played) { progress.Update(done + played); }));
            done += options.games;
        }
    }
    progress.Clear();
    std::printf("Wins of the row's slider against the column's, in percent of %d games each\n"
                "(the two take turns to begin; unfinished games count for neither)\n\n        ",
                options.games);
    for (const arena::Side& side : options.sides)
        std::printf("%8s", SideLabel(side).c_str());
    std::printf("\n");
    int unfinished = 0;
    long long moves = 0;
    double seconds = 0;
    for (std::size_t a = 0; a < n; ++a) {
        std::printf("%8s", SideLabel(options.sides[a]).c_str());
        for (const arena::PairingResult& r : results[a]) {
            std::printf("%8.1f", 100.0 * r.winsA / r.games);
            unfinished += r.unfinished;
            moves += r.moves;
            seconds += r.seconds;
        }
        std::printf("\n");
    }
    const double games = static_cast<double>(options.games) * static_cast<double>(n * n);
    std::printf("\nunfinished %d of %.0f games; average length %.2f moves, %.0f games per second\n",
                unfinished, games, static_cast<double>(moves) / games,
                seconds > 0 ? games / seconds : 0.0);
}

// Standard input for a position, within a bound that no real position comes near.
std::string ReadPosition() {
    constexpr std::size_t kLimit = 4096;
    std::string text;
    char buffer[512];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
        text.append(buffer, got);
        if (text.size() > kLimit)
            throw arena::UsageError("the position on standard input is too long");
    }
    if (std::ferror(stdin))
        throw std::runtime_error("cannot read the position from standard input");
    return text;
}

} // namespace

int main(int argc, char** argv) {
    try {
        arena::Options options =
            arena::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.mode == arena::Mode::Help) {
            std::fputs(arena::kUsage, stdout);
            return 0;
        }
        std::array<std::uint8_t, 36> position{};
        if (options.mode == arena::Mode::Analysis) {
            if (options.rows.empty()) options.rows = {ReadPosition()};
            position = arena::ParsePosition(options.rows);
        }

        const std::uint64_t seed = options.seed.value_or(static_cast<std::uint64_t>(
            std::chrono::system_clock::now().time_since_epoch().count()));
        rules::SeedRandom(seed);
        rules::ResetRulesState();
        rules::state.SquareTable = rules::DeriveSquares();
        if (options.mode == arena::Mode::Analysis && options.hint)
            arena::CheckHintPosition(position);

        switch (options.mode) {
        case arena::Mode::Pairing:
            std::printf("seed %llu\n\n", static_cast<unsigned long long>(seed));
            RunPairings(options);
            break;
        case arena::Mode::Matrix:
            std::printf("seed %llu\n\n", static_cast<unsigned long long>(seed));
            RunMatrix(options);
            break;
        case arena::Mode::Analysis:
            std::cout << "seed " << seed << "\n";
            arena::RunAnalysis(options, position, std::cout);
            if (options.hint) arena::PrintHint(options, position, std::cout);
            break;
        case arena::Mode::Help:
            break;
        }
        return 0;
    } catch (const arena::UsageError& error) {
        std::fprintf(stderr, "koravex-arena: %s\nTry 'koravex-arena --help'.\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "koravex-arena: %s\n", error.what());
        return 1;
    }
}
