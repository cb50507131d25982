#include "rules/perfect.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "rules/computer.h"
#include "rules/perfect_table.h"
#include "rules/perfect_table_data.h"
#include "rules/rules.h"
#include "rules/squares.h"

namespace rules {

namespace {

using Cells = std::uint64_t; // one bit per board cell, bit (i-1)*6 + (j-1)

constexpr int kCellCount = 36;
constexpr Cells kAllCells = (Cells{1} << kCellCount) - 1;

// One bit per square of the list a search works on.
struct SquareSet {
    std::uint64_t lo = 0;
    std::uint64_t hi = 0;

    bool Any() const { return (lo | hi) != 0; }
    void Set(int n) { (n < 64 ? lo : hi) |= std::uint64_t{1} << (n % 64); }
    SquareSet operator~() const { return {~lo, ~hi}; }
    friend SquareSet operator&(SquareSet a, SquareSet b) { return {a.lo & b.lo, a.hi & b.hi}; }
    friend SquareSet operator|(SquareSet a, SquareSet b) { return {a.lo | b.lo, a.hi | b.hi}; }
    friend SquareSet operator^(SquareSet a, SquareSet b) { return {a.lo ^ b.lo, a.hi ^ b.hi}; }
};

template <typename Fn> void ForEachSquare(SquareSet set, Fn fn) {
    for (std::uint64_t w = set.lo; w != 0; w &= w - 1)
        fn(std::countr_zero(w));
    for (std::uint64_t w = set.hi; w != 0; w &= w - 1)
        fn(64 + std::countr_zero(w));
}

bool SeveralCells(Cells cells) {
    return (cells & (cells - 1)) != 0;
}

// A side's pieces on every square at once, as three bit planes of a count 0..4.
struct Counts {
    SquareSet bit0, bit1, bit2;

    void Add(SquareSet squares) {
        const SquareSet carry = bit0 & squares;
        bit0 = bit0 ^ squares;
        bit2 = bit2 | (bit1 & carry);
        bit1 = bit1 ^ carry;
    }
    SquareSet Touched() const { return bit0 | bit1 | bit2; }
    // The squares holding k (0..4) or more of the side's pieces.
    SquareSet AtLeast(int k) const {
        switch (k) {
        case 1:
            return Touched();
        case 2:
            return bit1 | bit2;
        case 3:
            return (bit0 & bit1) | bit2;
        case 4:
            return bit2;
        default:
            return ~SquareSet{};
        }
    }
    // The squares holding exactly k (0..3) of the side's pieces.
    SquareSet Exactly(int k) const {
        return ((k & 1) != 0 ? bit0 : ~bit0) & ((k & 2) != 0 ? bit1 : ~bit1) & ~bit2;
    }
};

// The eight turns and mirror images of the board, as cell maps and as maps of whole rows.
struct Transforms {
    std::array<std::array<std::uint8_t, kCellCount>, 8> image{};
    std::array<int, 8> inverse{};
    std::array<std::array<std::array<Cells, 64>, 6>, 8> rows{};
};

constexpr Transforms MakeTransforms() {
    Transforms t;
    for (int s = 0; s < 8; ++s) {
        for (int cell = 0; cell < kCellCount; ++cell) {
            int i = cell / 6;
            int j = cell % 6;
            if ((s & 1) != 0) i = 5 - i;
            if ((s & 2) != 0) j = 5 - j;
            if ((s & 4) != 0) std::swap(i, j);
            t.image[static_cast<std::size_t>(s)][static_cast<std::size_t>(cell)] =
                static_cast<std::uint8_t>(i * 6 + j);
        }
        for (int row = 0; row < 6; ++row)
            for (int bits = 0; bits < 64; ++bits)
                for (int j = 0; j < 6; ++j)
                    if ((bits >> j & 1) != 0)
                        t.rows[static_cast<std::size_t>(s)][static_cast<std::size_t>(row)]
                              [static_cast<std::size_t>(bits)] |=
                            Cells{1} << t.image[static_cast<std::size_t>(s)]
                                               [static_cast<std::size_t>(row * 6 + j)];
    }
    for (int s = 0; s < 8; ++s)
        for (int r = 0; r < 8; ++r) {
            bool back = true;
            for (int cell = 0; cell < kCellCount; ++cell)
                back =
                    back &&
                    t.image[static_cast<std::size_t>(r)]
                           [t.image[static_cast<std::size_t>(s)][static_cast<std::size_t>(cell)]] ==
                        cell;
            if (back) t.inverse[static_cast<std::size_t>(s)] = r;
        }
    return t;
}

constexpr Transforms kTransforms = MakeTransforms();

Cells Transform(Cells cells, int s) {
    const auto& rows = kTransforms.rows[static_cast<std::size_t>(s)];
    Cells image = 0;
    for (std::size_t row = 0; row < 6; ++row)
        image |= rows[row][(cells >> (6 * row)) & 63];
    return image;
}

// The squares of SquareTable that can be completed: four different cells on the board.
struct Squares {
    std::array<Cells, kSquareCount> cells{};
    int count = 0;
    SquareSet all;
    std::array<SquareSet, kCellCount> through{}; // the squares each cell is a corner of
    std::array<int, kCellCount> prior{};         // how many squares each cell is a corner of
    std::array<int, 8> symmetries{};             // the transforms that map the squares onto
    int symmetryCount = 0;                       // themselves, the identity first
};

Squares UsableSquares() {
    Squares squares;
    for (const Square& square : state.SquareTable) {
        Cells cells = 0;
        for (const SquareCorner& corner : square) {
            const int cell = CellIndex(corner.i, corner.j);
            if (cell < 0) {
                cells = 0;
                break;
            }
            cells |= Cells{1} << cell;
        }
        if (std::popcount(cells) != 4) continue;
        const int n = squares.count++;
        squares.cells[static_cast<std::size_t>(n)] = cells;
        squares.all.Set(n);
        for (Cells rest = cells; rest != 0; rest &= rest - 1) {
            const auto cell = static_cast<std::size_t>(std::countr_zero(rest));
            squares.through[cell].Set(n);
            ++squares.prior[cell];
        }
    }
    std::array<Cells, kSquareCount> sorted = squares.cells;
    const auto end = sorted.begin() + squares.count;
    std::sort(sorted.begin(), end);
    for (int s = 0; s < 8; ++s) {
        const bool maps = std::all_of(sorted.begin(), end, [&](Cells cells) {
            return std::binary_search(sorted.begin(), end, Transform(cells, s));
        });
        if (maps) squares.symmetries[static_cast<std::size_t>(squares.symmetryCount++)] = s;
    }
    return squares;
}

// Sides are 0 for player 1 and 1 for player 2.
struct Position {
    std::array<Cells, 2> pieces{};
    std::array<Counts, 2> counts{};
    int empty = kCellCount;
};

Position Play(const Squares& squares, Position p, int side, int cell) {
    p.pieces[static_cast<std::size_t>(side)] |= Cells{1} << cell;
    p.counts[static_cast<std::size_t>(side)].Add(squares.through[static_cast<std::size_t>(cell)]);
    --p.empty;
    return p;
}

Cells EmptyCells(const Position& p) {
    return kAllCells & ~(p.pieces[0] | p.pieces[1]);
}

// The cells that complete one of these squares, each already holding three pieces of `own`.
Cells CompletingCells(const Squares& squares, SquareSet threes, Cells own) {
    Cells cells = 0;
    ForEachSquare(threes, [&](int n) { cells |= squares.cells[static_cast<std::size_t>(n)]; });
    return cells & ~own;
}

// A side's forks: moves that make two cells complete its squares at once, each on a square
// holding two of its pieces and none of the other side's.
struct Forks {
    Cells cells = 0;
    Cells spoilers = kAllCells; // the cells that spoil every fork: each fork's cell or partners
};

Forks FindForks(const Squares& squares, SquareSet twos, Cells own) {
    // Each square's two free cells; a fork is a cell two of them share, with different partners.
    std::array<Cells, kSquareCount> pairs; // only the first n are read
    int n = 0;
    ForEachSquare(twos, [&](int k) {
        pairs[static_cast<std::size_t>(n++)] = squares.cells[static_cast<std::size_t>(k)] & ~own;
    });
    Forks forks;
    for (int a = 0; a < n; ++a) {
        for (int b = a + 1; b < n; ++b) {
            const Cells pa = pairs[static_cast<std::size_t>(a)];
            const Cells pb = pairs[static_cast<std::size_t>(b)];
            const Cells shared = pa & pb;
            if (shared == 0 || shared == pa) continue;
            forks.cells |= shared;
            forks.spoilers &= pa | pb;
        }
    }
    return forks;
}

// The cells among `cells` that may leave the side a fork: with three moves left and no fork
// now, its next move must make one for the move after, since no move of the other side does.
// A fork needs two free pairs (the empty cells of squares holding two of its pieces) that
// share a cell, one of them made by this move.
Cells ForkMakers(const Squares& squares, const Counts& counts, SquareSet open, Cells own,
                 Cells cells) {
    Cells paired = 0;
    ForEachSquare(counts.Exactly(2) & open,
                  [&](int n) { paired |= squares.cells[static_cast<std::size_t>(n)]; });
    paired &= ~own;
    const SquareSet ones = counts.Exactly(1) & open;
    Cells makers = 0;
    for (; cells != 0; cells &= cells - 1) {
        const int cell = std::countr_zero(cells);
        const Cells bit = Cells{1} << cell;
        Cells seen = 0;
        Cells twice = 0;
        ForEachSquare(squares.through[static_cast<std::size_t>(cell)] & ones, [&](int n) {
            const Cells pair = squares.cells[static_cast<std::size_t>(n)] & ~own & ~bit;
            twice |= seen & pair;
            seen |= pair;
        });
        if (twice != 0 || (seen & paired) != 0) makers |= bit;
    }
    return makers;
}

// What one search has learnt of a position: within how many plies the attacker can or cannot
// complete a square. Only a cache: an answer never depends on what it holds.
struct Entry {
    Cells first = 0;              // player 1's pieces
    Cells second = 0;             // player 2's pieces
    std::uint32_t generation = 0; // the call that wrote it; 0 for none
    std::uint8_t sides = 0;       // the side to move in bit 0, the attacker in bit 1
    std::uint8_t forcedFrom = 0;  // fewest plies known to be enough; 0 for none known
    std::uint8_t failsUpTo = 0;   // most plies known to be too few; kAnyPlies for any number
    std::uint8_t move = 0;        // the cell that decided the last search here, plus 1
};

constexpr std::uint8_t kAnyPlies = 255;
constexpr int kTableBits = 16;
std::array<Entry, std::size_t{1} << kTableBits> Table; // zero: no entry of any call
std::uint32_t Generation = 0;                          // the current call's entries

// Positions with this many pieces or fewer are looked up as the least of their images, so
// that a turned or mirrored board is found too; later on such repeats are rare.
constexpr int kImagedPieces = 4;

// Positions with fewer plies left are searched again rather than looked up.
constexpr int kCachedPlies = 5;

// A position as the table knows it, and the transform that took it there.
struct Key {
    Cells first = 0;
    Cells second = 0;
    int transform = 0;
};

Entry& Slot(const Key& key, std::uint8_t sides) {
    std::uint64_t h =
        key.first * 0x9e3779b97f4a7c15ULL + key.second * 0xc2b2ae3d27d4eb4fULL + sides;
    h = (h ^ (h >> 31)) * 0xbf58476d1ce4e5b9ULL;
    return Table[static_cast<std::size_t>(h >> (64 - kTableBits))];
}

bool Holds(const Entry& e, const Key& key, std::uint8_t sides) {
    return e.generation == Generation && e.sides == sides && e.first == key.first &&
           e.second == key.second;
}

// Whether the attacker can complete a square within a number of plies, whatever the other
// side does; the other side completing one first ends it too.
struct Search {
    const Squares& squares;
    int attacker;
    std::int64_t positions = 0;
    bool limited = false; // the last false answer holds only for as few plies as were asked

    bool Forces(const Position& p, int mover, int plies);
    Key KeyOf(const Position& p) const;
    int RankMoves(const Position& p, int mover, Cells allowed,
                  std::array<std::uint32_t, kCellCount>& moves) const;
};

Key Search::KeyOf(const Position& p) const {
    Key key{p.pieces[0], p.pieces[1], 0};
    if (kCellCount - p.empty > kImagedPieces) return key;
    for (int k = 1; k < squares.symmetryCount; ++k) {
        const int s = squares.symmetries[static_cast<std::size_t>(k)];
        const Cells first = Transform(p.pieces[0], s);
        const Cells second = Transform(p.pieces[1], s);
        if (first < key.first || (first == key.first && second < key.second))
            key = Key{first, second, s};
    }
    return key;
}

// The moves to try, each as its promise above its cell: making a square's third piece, then
// its second, then taking the other side's third, then cells on many squares. Building comes
// before blocking for both sides: the defender's best answer is most often a threat of its own.
int Search::RankMoves(const Position& p, int mover, Cells allowed,
                      std::array<std::uint32_t, kCellCount>& moves) const {
    const Counts& own = p.counts[static_cast<std::size_t>(mover)];
    const Counts& their = p.counts[static_cast<std::size_t>(1 - mover)];
    const SquareSet ownOpen = squares.all & ~their.Touched();
    const SquareSet theirOpen = squares.all & ~own.Touched();

    std::array<std::uint32_t, kCellCount> promise{};
    const auto weigh = [&](SquareSet set, std::uint32_t weight) {
        ForEachSquare(set, [&](int n) {
            for (Cells rest = squares.cells[static_cast<std::size_t>(n)] & allowed; rest != 0;
                 rest &= rest - 1)
                promise[static_cast<std::size_t>(std::countr_zero(rest))] += weight;
        });
    };
    weigh(own.Exactly(2) & ownOpen, 4096);
    weigh(their.Exactly(2) & theirOpen, 256);
    weigh(own.Exactly(1) & ownOpen, 768);

    int n = 0;
    for (Cells rest = allowed; rest != 0; rest &= rest - 1) {
        const auto cell = static_cast<std::size_t>(std::countr_zero(rest));
        const std::uint32_t key = promise[cell] + static_cast<std::uint32_t>(squares.prior[cell]);
        // The earlier cell first among equals.
        moves[static_cast<std::size_t>(n++)] = key << 6 | static_cast<std::uint32_t>(63 - cell);
    }
    return n;
}

bool Search::Forces(const Position& p, int mover, int plies) {
    ++positions;
    limited = false;
    const int other = 1 - mover;
    plies = std::min(plies, p.empty);
    if (plies <= 0) {
        limited = p.empty > 0;
        return false;
    }

    const Counts& moverCounts = p.counts[static_cast<std::size_t>(mover)];
    const Counts& otherCounts = p.counts[static_cast<std::size_t>(other)];
    const SquareSet moverOpen = squares.all & ~otherCounts.Touched();
    const SquareSet otherOpen = squares.all & ~moverCounts.Touched();
    if ((moverCounts.Exactly(3) & moverOpen).Any()) return mover == attacker;
    // The other side's threats: two cannot both be blocked, one must be.
    const Cells threats = CompletingCells(squares, otherCounts.Exactly(3) & otherOpen,
                                          p.pieces[static_cast<std::size_t>(other)]);
    if (SeveralCells(threats)) {
        limited = other == attacker && plies < 2;
        return other == attacker && plies >= 2;
    }

    // The attacker's moves still needed on its most advanced square against the moves left.
    const Counts& attackerCounts = attacker == mover ? moverCounts : otherCounts;
    const Counts& defenderCounts = attacker == mover ? otherCounts : moverCounts;
    const SquareSet attackerOpen = attacker == mover ? moverOpen : otherOpen;
    const SquareSet defenderOpen = attacker == mover ? otherOpen : moverOpen;
    const Cells attackerPieces = p.pieces[static_cast<std::size_t>(attacker)];
    int need = 0;
    for (int k = 3; k >= 0 && need == 0; --k)
        if ((attackerCounts.Exactly(k) & attackerOpen).Any()) need = 4 - k;
    if (need == 0) return false;
    const int attackerMoves = mover == attacker ? (plies + 1) / 2 : plies / 2;
    const int defenderMoves = plies - attackerMoves;
    limited = true; // until the search below says otherwise
    if (need > attackerMoves) return false;

    // Positions near the end of the plies are cheaper to search again than to look up; the
    // table's slot is fetched while the moves are worked out.
    const auto sides = static_cast<std::uint8_t>(mover | attacker << 1);
    const bool cached = plies >= kCachedPlies;
    const Key key = cached ? KeyOf(p) : Key{};
    Entry* const slot = cached ? &Slot(key, sides) : nullptr;
    if (cached) __builtin_prefetch(slot);

    // The cells a useful move must take, narrowed below when the plies left are few.
    Cells focus = EmptyCells(p);
    bool narrowed = attackerMoves < 4 || defenderMoves < 4;
    if (need == attackerMoves && threats == 0) {
        // No move to spare: every attacker move must go to a square it can finish in time,
        // and one defender move on all of them ends the attack.
        Cells onAll = kAllCells;
        Cells onAny = 0;
        ForEachSquare(attackerCounts.Exactly(4 - need) & attackerOpen, [&](int n) {
            const Cells free = squares.cells[static_cast<std::size_t>(n)] & ~attackerPieces;
            onAll &= free;
            onAny |= free;
        });
        if (mover != attacker && onAll != 0) return false;
        if (mover == attacker) {
            focus &= onAny;
            narrowed = true;
        }
    }
    if (threats == 0 && need == 2) {
        const Forks forks =
            FindForks(squares, attackerCounts.Exactly(2) & attackerOpen, attackerPieces);
        // Unanswered, a fork wins on the attacker's next move.
        if (mover == attacker && forks.cells != 0) return true;
        // With two moves left the attacker's next must be a fork, and no defender move makes one.
        if (attackerMoves == 2 && (mover == attacker || forks.cells == 0)) return false;
        if (mover != attacker && forks.cells != 0) {
            // The defender spoils every fork, or makes a threat of its own that must be met.
            Cells threatening = 0;
            ForEachSquare(moverCounts.Exactly(2) & moverOpen, [&](int n) {
                threatening |= squares.cells[static_cast<std::size_t>(n)];
            });
            focus &= forks.spoilers | threatening;
            if (focus == 0) return true;
        }
    }

    int first = -1;
    if (cached) {
        const Entry& known = *slot;
        if (Holds(known, key, sides)) {
            if (known.forcedFrom != 0 && plies >= known.forcedFrom) return true;
            if (plies <= known.failsUpTo) {
                limited = known.failsUpTo != kAnyPlies;
                return false;
            }
            if (known.move != 0)
                first = kTransforms.image[static_cast<std::size_t>(
                    kTransforms.inverse[static_cast<std::size_t>(key.transform)])][known.move - 1u];
        }
        // Where the other side is known to force a square, the attacker never can.
        const auto otherSides = static_cast<std::uint8_t>(sides ^ 2);
        const Entry& rival = Slot(key, otherSides);
        if (Holds(rival, key, otherSides) && rival.forcedFrom != 0) {
            limited = false;
            return false;
        }
    }

    bool forced = mover != attacker;
    int decisive = -1;
    bool leans = false; // a false answer leans on the plies left
    if (threats != 0) {
        decisive = std::countr_zero(threats);
        forced = Forces(Play(squares, p, mover, decisive), other, plies - 1);
        leans = limited;
    } else {
        leans = mover == attacker && narrowed;
        // Only squares a side can still complete within the plies left make a cell worth
        // taking: any other is worth no more than passing, which never helps in this game.
        Cells allowed = 0;
        if (narrowed) {
            ForEachSquare((attackerCounts.AtLeast(4 - attackerMoves) & attackerOpen) |
                              (defenderCounts.AtLeast(4 - defenderMoves) & defenderOpen),
                          [&](int n) { allowed |= squares.cells[static_cast<std::size_t>(n)]; });
        } else {
            const SquareSet open = attackerOpen | defenderOpen;
            for (Cells rest = focus; rest != 0; rest &= rest - 1) {
                const int cell = std::countr_zero(rest);
                if ((squares.through[static_cast<std::size_t>(cell)] & open).Any())
                    allowed |= Cells{1} << cell;
            }
        }
        allowed &= focus;
        if (mover == attacker && attackerMoves == 3)
            allowed &= ForkMakers(squares, attackerCounts, attackerOpen, attackerPieces, allowed);
        // The attacker needs one move that forces, the defender one that does not.
        const auto decides = [&](int cell) {
            const bool result = Forces(Play(squares, p, mover, cell), other, plies - 1);
            if (mover == attacker) leans = leans || limited;
            if (result != (mover == attacker)) return false;
            forced = result;
            decisive = cell;
            if (mover != attacker) leans = limited;
            return true;
        };
        // The move that decided this position before goes first, before the rest are ranked.
        bool decided = false;
        if (first >= 0 && (allowed >> first & 1) != 0) {
            decided = decides(first);
            allowed &= ~(Cells{1} << first);
        }
        std::array<std::uint32_t, kCellCount> moves{};
        const int n = decided ? 0 : RankMoves(p, mover, allowed, moves);
        for (int k = 0; k < n; ++k) {
            // The best of the rest: most searches end at their first move.
            const auto best = std::max_element(moves.begin() + k, moves.begin() + n);
            std::swap(*best, moves[static_cast<std::size_t>(k)]);
            if (decides(63 - static_cast<int>(moves[static_cast<std::size_t>(k)] & 63))) break;
        }
    }
    limited = !forced && leans;

    if (!cached) return forced;
    Entry& entry = Slot(key, sides);
    if (!Holds(entry, key, sides)) entry = Entry{key.first, key.second, Generation, sides, 0, 0, 0};
    if (forced && (entry.forcedFrom == 0 || plies < entry.forcedFrom))
        entry.forcedFrom = static_cast<std::uint8_t>(plies);
    if (!forced)
        entry.failsUpTo =
            limited ? std::max(entry.failsUpTo, static_cast<std::uint8_t>(plies)) : kAnyPlies;
    if (decisive >= 0)
        entry.move =
            static_cast<std::uint8_t>(kTransforms.image[static_cast<std::size_t>(key.transform)]
                                                       [static_cast<std::size_t>(decisive)] +
                                      1);
    return forced;
}

// Whether these are the game's own squares, those the table was worked out for.
bool OwnSquares(const Squares& squares) {
    if (squares.count != kSquareCount) return false;
    std::array<Cells, kSquareCount> own{};
    const std::array<Square, kSquareCount> derived = DeriveSquares();
    for (std::size_t n = 0; n < own.size(); ++n)
        for (const SquareCorner& corner : derived[n])
            own[n] |= Cells{1} << CellIndex(corner.i, corner.j);
    std::array<Cells, kSquareCount> used = squares.cells;
    std::sort(own.begin(), own.end());
    std::sort(used.begin(), used.end());
    return own == used;
}

Cell CellOf(int cell) {
    return Cell{cell / 6 + 1, cell % 6 + 1};
}

// The position to answer; none when the game is over or the input is bad.
std::optional<Position> RootOf(const Squares& squares, const std::array<std::uint8_t, 36>& board,
                               std::int32_t player) {
    if (player != 1 && player != 2) return std::nullopt;
    if (std::any_of(board.begin(), board.end(), [](std::uint8_t v) { return v > 2; }))
        return std::nullopt;
    Position root;
    for (int cell = 0; cell < kCellCount; ++cell)
        if (board[static_cast<std::size_t>(cell)] != kEmpty)
            root = Play(squares, root, board[static_cast<std::size_t>(cell)] - 1, cell);
    for (int n = 0; n < squares.count; ++n) {
        const Cells cells = squares.cells[static_cast<std::size_t>(n)];
        if ((root.pieces[0] & cells) == cells || (root.pieces[1] & cells) == cells)
            return std::nullopt;
    }
    return root;
}

// A position's key in the table (see TableEntry), and the transform that takes it there.
struct TableKey {
    std::uint64_t key = ~std::uint64_t{0};
    int transform = 0;
};

TableKey TableKeyOf(const Position& p, int me) {
    TableKey least;
    for (int s = 0; s < 8; ++s) {
        const Cells theirs = Transform(p.pieces[static_cast<std::size_t>(1 - me)], s);
        const Cells occupied = Transform(p.pieces[static_cast<std::size_t>(me)], s) | theirs;
        std::uint64_t key = occupied;
        int bit = kCellCount;
        for (Cells rest = occupied; rest != 0; rest &= rest - 1, ++bit)
            if ((theirs >> std::countr_zero(rest) & 1) != 0) key |= std::uint64_t{1} << bit;
        if (key < least.key) least = TableKey{key, s};
    }
    return least;
}

// The empty cells in the order that breaks ties: the computer's noiseless score, then board
// order.
struct MoveOrder {
    std::array<int, kCellCount> cells{};
    int count = 0;
};

MoveOrder TieOrder(const std::array<std::uint8_t, 36>& board, std::int32_t player, Cells empty) {
    const ScoreGrid scores = ScoreBoard(board, player, SquareDiscounts{});
    MoveOrder order;
    for (Cells rest = empty; rest != 0; rest &= rest - 1)
        order.cells[static_cast<std::size_t>(order.count++)] = std::countr_zero(rest);
    std::stable_sort(order.cells.begin(), order.cells.begin() + order.count, [&](int a, int b) {
        return scores[static_cast<std::size_t>(a)] > scores[static_cast<std::size_t>(b)];
    });
    return order;
}

// The first of these cells in tie order; -1 for none.
int FirstOf(const MoveOrder& order, Cells cells) {
    for (int k = 0; k < order.count; ++k) {
        const int cell = order.cells[static_cast<std::size_t>(k)];
        if ((cells >> cell & 1) != 0) return cell;
    }
    return -1;
}

// What the search finds: the value of a position, and its best moves, every one of them or
// only the first in tie order.
struct Solution {
    Outcome outcome = Outcome::Open;
    int moves = 0;
    Cells best = 0;
    std::int64_t positions = 0;
};

Solution Solve(const Squares& squares, const Position& root, int me, const MoveOrder& order,
               bool every) {
    if (++Generation == 0) {
        Table.fill(Entry{});
        Generation = 1;
    }
    const int other = 1 - me;
    Search mine{squares, me};
    Search theirs{squares, other};
    // Two deepenings, the mover's k-th move on ply 2k - 1 and the other side's on ply 2k; at
    // most one side can force a square, so the one that has cost less goes on first.
    std::array<int, 2> depth{1, 2};
    std::array<bool, 2> done{false, false};
    int plies = 0;
    while (plies == 0 && !(done[0] && done[1])) {
        const int side = done[0] || (!done[1] && theirs.positions < mine.positions) ? 1 : 0;
        Search& search = side == 0 ? mine : theirs;
        int& d = depth[static_cast<std::size_t>(side)];
        if (search.Forces(root, me, d)) {
            plies = d;
        } else if (d >= root.empty || !search.limited) {
            done[static_cast<std::size_t>(side)] = true;
        } else {
            d += 2;
        }
    }
    Solution solution;
    if (plies != 0) {
        solution.outcome = plies % 2 == 1 ? Outcome::Win : Outcome::Loss;
        solution.moves = (plies + 1) / 2;
    }

    const Counts& own = root.counts[static_cast<std::size_t>(me)];
    const Cells completing = CompletingCells(
        squares,
        own.Exactly(3) & squares.all & ~root.counts[static_cast<std::size_t>(other)].Touched(),
        root.pieces[static_cast<std::size_t>(me)]);
    for (int k = 0; k < order.count; ++k) {
        const int cell = order.cells[static_cast<std::size_t>(k)];
        const Position next = Play(squares, root, me, cell);
        bool best = false;
        if (solution.outcome == Outcome::Win) {
            // A move that keeps the square as close.
            best = plies == 1 ? (completing >> cell & 1) != 0 : mine.Forces(next, other, plies - 1);
        } else if (solution.outcome == Outcome::Loss) {
            // A move after which the other side cannot be any quicker.
            best = !theirs.Forces(next, other, plies - 3);
        } else {
            best = !theirs.Forces(next, other, next.empty);
        }
        if (best) {
            solution.best |= Cells{1} << cell;
            if (!every) break;
        }
    }
    solution.positions = mine.positions + theirs.positions;
    return solution;
}

// The search's answer with the board turned and mirrored to the least of its images under
// the squares' symmetries, the side to move as player 1: every image of a position, in either
// colour, is searched alike and at one cost, the cost the table's tool measures. The best
// moves are given on the board as asked, ties broken in its order.
Solution SolveLeastImage(const Squares& squares, const Position& root, int me,
                         const MoveOrder& order, bool every) {
    Cells mine = root.pieces[static_cast<std::size_t>(me)];
    Cells theirs = root.pieces[static_cast<std::size_t>(1 - me)];
    int least = 0;
    for (int k = 1; k < squares.symmetryCount; ++k) {
        const int s = squares.symmetries[static_cast<std::size_t>(k)];
        const Cells m = Transform(root.pieces[static_cast<std::size_t>(me)], s);
        const Cells t = Transform(root.pieces[static_cast<std::size_t>(1 - me)], s);
        if (m < mine || (m == mine && t < theirs)) {
            mine = m;
            theirs = t;
            least = s;
        }
    }
    Position image;
    for (Cells rest = mine; rest != 0; rest &= rest - 1)
        image = Play(squares, image, 0, std::countr_zero(rest));
    for (Cells rest = theirs; rest != 0; rest &= rest - 1)
        image = Play(squares, image, 1, std::countr_zero(rest));
    MoveOrder turned = order;
    for (int& cell : turned.cells)
        cell = kTransforms.image[static_cast<std::size_t>(least)][static_cast<std::size_t>(cell)];
    Solution solution = Solve(squares, image, 0, turned, every);
    solution.best = Transform(solution.best, kTransforms.inverse[static_cast<std::size_t>(least)]);
    return solution;
}

// The table's answer to a position; none when it does not hold the position.
std::optional<Hint> Lookup(const Squares& squares, const Position& root, int me,
                           const MoveOrder& order) {
    if (kCellCount - root.empty > kTablePieces || !OwnSquares(squares)) return std::nullopt;
    const TableKey key = TableKeyOf(root, me);
    const auto known =
        std::lower_bound(kPerfectTable.begin(), kPerfectTable.end(), key.key,
                         [](const TableEntry& entry, std::uint64_t k) { return entry.key < k; });
    if (known == kPerfectTable.end() || known->key != key.key) return std::nullopt;
    // The best moves are stored on the key's board: turned back onto this one.
    const int cell =
        FirstOf(order, Transform(known->answer & kAllCells,
                                 kTransforms.inverse[static_cast<std::size_t>(key.transform)]));
    if (cell < 0) return std::nullopt;
    Hint hint;
    hint.cell = CellOf(cell);
    hint.outcome = static_cast<Outcome>(known->answer >> 36 & 3);
    hint.moves = static_cast<std::int32_t>(known->answer >> 40 & 255);
    return hint;
}

Hint Answer(const std::array<std::uint8_t, 36>& board, std::int32_t player, bool tabled) {
    Hint hint;
    const Squares squares = UsableSquares();
    const std::optional<Position> root = RootOf(squares, board, player);
    if (!root) return hint;
    const Cells empty = EmptyCells(*root);
    if (empty == 0) return hint;
    const MoveOrder order = TieOrder(board, player, empty);
    const int me = player - 1;
    if (tabled) {
        if (const std::optional<Hint> known = Lookup(squares, *root, me, order)) return *known;
    }
    const Solution solution = SolveLeastImage(squares, *root, me, order, false);
    if (solution.best != 0) hint.cell = CellOf(std::countr_zero(solution.best));
    hint.outcome = solution.outcome;
    hint.moves = solution.moves;
    hint.positions = solution.positions;
    return hint;
}

} // namespace

Hint PerfectHint(const std::array<std::uint8_t, 36>& board, std::int32_t player) {
    return Answer(board, player, true);
}

Hint SearchPerfectHint(const std::array<std::uint8_t, 36>& board, std::int32_t player) {
    return Answer(board, player, false);
}

std::optional<std::uint64_t> PerfectTableKey(const std::array<std::uint8_t, 36>& board,
                                             std::int32_t player) {
    const Squares squares = UsableSquares();
    const std::optional<Position> root = RootOf(squares, board, player);
    if (!root || kCellCount - root->empty > kTablePieces) return std::nullopt;
    return TableKeyOf(*root, player - 1).key;
}

std::optional<SearchedEntry> SearchPerfectTableEntry(const std::array<std::uint8_t, 36>& board,
                                                     std::int32_t player) {
    const Squares squares = UsableSquares();
    const std::optional<Position> root = RootOf(squares, board, player);
    if (!root || kCellCount - root->empty > kTablePieces) return std::nullopt;
    const int me = player - 1;
    const Solution solution =
        SolveLeastImage(squares, *root, me, TieOrder(board, player, EmptyCells(*root)), true);
    const TableKey key = TableKeyOf(*root, me);
    const TableEntry entry{key.key, Transform(solution.best, key.transform) |
                                        static_cast<std::uint64_t>(solution.outcome) << 36 |
                                        static_cast<std::uint64_t>(solution.moves) << 40};
    return SearchedEntry{entry, solution.positions};
}

} // namespace rules
