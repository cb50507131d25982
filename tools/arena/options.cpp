#include "tools/arena/options.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace arena {

const char* const kUsage =
    R"(Usage: koravex-arena [options] A B[,B...]       side A against each side B
       koravex-arena [options] --matrix S,S,...    every pairing of these sides, as a table
       koravex-arena [options] --analyse [ROW...]  scores of one position and the chosen cell

A side is the computer at a strength slider position, 0 (weakest) to 100 (strongest), as
on the game's panel, or 'perfect': the perfect player, who forces a square whenever that
can be done, as soon as it can be done. The two sides take turns to begin. A game that
fills the board without a square is counted as unfinished.

A position is six rows of six cells, '.' empty, '1' and '2' the players' pieces; row k
holds the cells (k, 1) .. (k, 6). Give the rows as arguments, in one argument split by
'/', or on standard input.

Options:
  --games N     games per pairing (default 1000)
  --seed S      seed of the random generator, for a run that can be repeated
                (default: from the clock; the seed used is printed)
  --quiet       no progress line on standard error
  --player P    analysis: the player to move, 1 or 2 (default: the one with fewer pieces,
                player 1 when both have as many)
  --slider S    analysis: the strength slider, 0..100 (default 50)
  --noise N     analysis: NoiseRange itself, 0 or more, instead of --slider
  --repeat N    analysis: choose N times and show how often each cell is taken
  --hint        analysis: add the perfect player's move and what it forces, as
                'hint I,J win N' (its square with its N-th piece from here, this one
                included), 'hint I,J loss N' (the other side's square with that side's
                N-th piece at best) or 'hint I,J open' (neither side can force a square);
                'hint none open' for a full board
  -h, --help    this text
)";

namespace {

constexpr int kMaxSides = 20;

template <typename T> std::optional<T> ParseNumber(const std::string& text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

long long ParseCount(const std::string& option, const std::string& text, long long low,
                     long long high) {
    const auto value = ParseNumber<long long>(text);
    if (!value || *value < low || *value > high)
        throw UsageError(option + " needs a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    return *value;
}

double ParseSlider(const std::string& text) {
    const auto value = ParseNumber<double>(text);
    if (!value || !std::isfinite(*value) || *value < 0.0 || *value > 100.0)
        throw UsageError("'" + text + "' is not a slider position from 0 to 100");
    return *value;
}

Side ParseSide(const std::string& text) {
    if (text == "perfect") return Side{true, 0};
    const auto value = ParseNumber<double>(text);
    if (!value || !std::isfinite(*value) || *value < 0.0 || *value > 100.0)
        throw UsageError("'" + text + "' is not a slider position from 0 to 100, nor 'perfect'");
    return Side{false, *value};
}

std::vector<Side> ParseSideList(const std::string& text) {
    std::vector<Side> sides;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        sides.push_back(ParseSide(text.substr(start, comma - start)));
        if (sides.size() > kMaxSides)
            throw UsageError("at most " + std::to_string(kMaxSides) + " sides in one list");
        if (comma == std::string::npos) return sides;
        start = comma + 1;
    }
}

} // namespace

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> positional;
    std::optional<std::string> matrix;
    bool analyse = false;
    bool analysisOption = false;

    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        const auto value = [&]() -> const std::string& {
            if (k + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++k];
        };
        if (arg == "-h" || arg == "--help") {
            options.mode = Mode::Help;
            return options;
        } else if (arg == "--games") {
            options.games = static_cast<int>(ParseCount(arg, value(), 1, 100'000'000));
        } else if (arg == "--seed") {
            const std::string& text = value();
            options.seed = ParseNumber<std::uint64_t>(text);
            if (!options.seed)
                throw UsageError("--seed needs a whole number 0 or more, not '" + text + "'");
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--matrix") {
            matrix = value();
        } else if (arg == "--analyse" || arg == "--analyze") {
            analyse = true;
        } else if (arg == "--player") {
            options.player = static_cast<int>(ParseCount(arg, value(), 1, 2));
            analysisOption = true;
        } else if (arg == "--slider") {
            options.slider = ParseSlider(value());
            analysisOption = true;
        } else if (arg == "--noise") {
            options.noise = static_cast<std::int32_t>(
                ParseCount(arg, value(), 0, std::numeric_limits<std::int32_t>::max()));
            analysisOption = true;
        } else if (arg == "--hint") {
            options.hint = true;
            analysisOption = true;
        } else if (arg == "--repeat") {
            options.repeat = static_cast<int>(ParseCount(arg, value(), 1, 10'000'000));
            analysisOption = true;
        } else if (arg.size() > 1 && arg[0] == '-' &&
                   !std::isdigit(static_cast<unsigned char>(arg[1]))) {
            throw UsageError("unknown option '" + arg + "'");
        } else {
            positional.push_back(arg);
        }
    }

    if (analyse && matrix) throw UsageError("--analyse and --matrix cannot be combined");
    if (!analyse && analysisOption)
        throw UsageError("--player, --slider, --noise, --repeat and --hint belong to --analyse");
    if (analyse) {
        if (options.slider && options.noise) throw UsageError("give --slider or --noise, not both");
        options.mode = Mode::Analysis;
        if (!(positional.size() == 1 && positional[0] == "-")) options.rows = positional;
    } else if (matrix) {
        if (!positional.empty()) throw UsageError("--matrix takes no other sliders");
        options.mode = Mode::Matrix;
        options.sides = ParseSideList(*matrix);
    } else {
        if (positional.size() != 2)
            throw UsageError("a pairing needs two sliders (or 'perfect'), A and B (or B,B,...)");
        options.mode = Mode::Pairing;
        options.sideA = ParseSide(positional[0]);
        options.sides = ParseSideList(positional[1]);
    }
    return options;
}

} // namespace arena
