// Play without a mouse: keys come in as the window procedure's key messages, the pointer
// stands still on the platform double, and the frame update acts on them.
#include "game/draw.h"
#include "game/keys.h"
#include "platform/keymap.h"
#include "render/view.h"
#include "tests/support/game/cell_point.h"
#include "tests/support/game/frame_fixture.h"

namespace {

namespace vk = platform::vk;
using rules::Cell;

class Keys : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
        PointAt(5, 400); // on no cell and off the panel
        Update();
    }
    void TearDown() override {
        platform::state.KeyPresses.clear();
        FrameTest::TearDown();
    }
    // A tap of the key, seen by the next update.
    static void Tap(std::uint32_t key, bool repeat = false) {
        platform::Message down{platform::MessageKind::KeyDown, key};
        down.repeat = repeat;
        platform::SendMessage(down);
        Update();
        platform::SendMessage({platform::MessageKind::KeyUp, key});
    }
    static Cell Cursor() { return game::state.KeyCursor; }
    // Window position of a cell's centre, on the board's face, as the board is turned now.
    static kxtest::WindowPoint At(Cell c) {
        return kxtest::ProjectCellPoint(c.i, c.j, engine::TVector3{});
    }
};

// A cell as a pair, to compare in one expectation.
std::pair<int, int> Ij(Cell c) {
    return {c.i, c.j};
}

// Turned each way by the arrow keys, up is the neighbour farthest from the eye, right the one
// farthest right on the screen, and so on round clockwise, whatever the turn.
TEST_F(Keys, CursorDirectionsFollowTheTurnedView) {
    const std::uint32_t keys[] = {'W',          vk::kNumpad6, 'S',          vk::kNumpad4,
                                  vk::kNumpad8, 'D',          vk::kNumpad2, 'A'};
    for (const auto& [arrow, updates] :
         {std::pair{vk::kLeft, 20}, {vk::kRight, 60}, {vk::kRight, 90}, {vk::kLeft, 250}}) {
        platform::state.Keys[arrow] = -1;
        for (int n = 0; n < updates; ++n)
            Update();
        platform::state.Keys[arrow] = 0;
        SCOPED_TRACE(game::state.CameraTurn);
        game::state.KeyboardInUse = true;
        game::state.KeyCursor = {3, 4};
        for (int k = 0; k < 8; ++k) {
            // How far a cell lies in the key's direction: up, right, down, left.
            const auto toward = [k](Cell c) {
                const kxtest::WindowPoint w = At(c);
                return std::array{w.z * 1e4, w.x, -w.z * 1e4, -w.x}[k % 4];
            };
            const Cell from = Cursor();
            Tap(keys[k]);
            double best = -1e9;
            for (const Cell n : {Cell{from.i + 1, from.j}, Cell{from.i - 1, from.j},
                                 Cell{from.i, from.j + 1}, Cell{from.i, from.j - 1}})
                best = std::max(best, toward(n));
            EXPECT_EQ(toward(Cursor()), best) << keys[k];
        }
        EXPECT_EQ(Ij(Cursor()), Ij({3, 4})); // twice round a square, back at the start
    }
    // At the board's edge the cursor stays.
    EXPECT_EQ(Ij(game::StepCell({6, 1}, game::Direction::Up, 90.0f)), Ij({6, 1}));
}

// Enter places as a click does: on an empty cell on a person's turn, and nowhere else.
TEST_F(Keys, EnterPlacesOnAnEmptyCellOnAPersonsTurnOnly) {
    Tap('W'); // the first key starts from the centre
    const Cell cell = Cursor();
    EXPECT_EQ(Ij(cell), Ij(game::StepCell({3, 3}, game::Direction::Up, game::state.CameraTurn)));
    Tap(vk::kReturn);
    EXPECT_EQ(Ij(rules::state.PendingCell), Ij(cell));
    EXPECT_EQ(rules::state.MoveDelay, 1000);
    Update(999);
    EXPECT_EQ(rules::BoardAt(cell.i, cell.j), 0);
    Update(1);
    EXPECT_EQ(rules::BoardAt(cell.i, cell.j), 1);
    EXPECT_EQ(rules::state.CurrentPlayer, 2);

    // The computer's turn: its own move is pending; Enter elsewhere changes nothing.
    const Cell reply = rules::state.PendingCell;
    game::state.KeyCursor = {cell.i == 1 ? 2 : 1, 1};
    Tap(vk::kSpace);
    EXPECT_EQ(Ij(rules::state.PendingCell), Ij(reply));
    Update(1000);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);

    // An occupied cell: nothing pending.
    game::state.KeyCursor = cell;
    Tap(vk::kReturn);
    EXPECT_EQ(rules::state.MoveDelay, 0);

    // After the end: nothing, on an empty cell either.
    rules::state.GameOver = true;
    game::state.KeyCursor = {6, 6};
    Tap(vk::kReturn);
    EXPECT_EQ(rules::state.MoveDelay, 0);
    EXPECT_EQ(rules::BoardAt(6, 6), 0);
}

// The cursor shows the pointer's preview where a piece can go, and an outline alone where it
// cannot; a pointer that moves takes the preview back, and the next key starts from its cell.
TEST_F(Keys, CursorAndPointerShareThePreview) {
    Tap('D');
    render::FrameView view = game::DescribeFrame();
    EXPECT_EQ(Ij(view.hover), Ij(Cursor()));
    EXPECT_EQ(Ij(view.focus), Ij(Cursor()));
    rules::BoardAt(Cursor().i, Cursor().j) = 2;
    view = game::DescribeFrame();
    EXPECT_EQ(view.hover.i, -1);
    EXPECT_EQ(Ij(view.focus), Ij(Cursor()));

    const kxtest::WindowPoint w = At({5, 2});
    pt::Double().cursorX = static_cast<int>(w.x);
    pt::Double().cursorY = 768 - static_cast<int>(w.y);
    Update();
    view = game::DescribeFrame();
    EXPECT_EQ(Ij(view.hover), Ij({5, 2}));
    EXPECT_EQ(view.focus.i, -1);
    Tap('A');
    EXPECT_EQ(Ij(Cursor()),
              Ij(game::StepCell({5, 2}, game::Direction::Left, game::state.CameraTurn)));
}

TEST_F(Keys, PanelKeysActAsTheButtons) {
    Tap('H');
    Tap('N'); // closes the help page, and does nothing else
    EXPECT_FALSE(game::state.HelpShown);
    Tap(vk::kF1);
    Tap(vk::kEscape); // closes the page, as its footer says a key does, and does not quit
    EXPECT_FALSE(game::state.HelpShown || QuitPosted());
    Tap(vk::kF1);
    Tap(vk::kSpace);
    EXPECT_FALSE(game::state.HelpShown);

    Tap(vk::kF2);
    Tap(vk::kF3);
    Tap(vk::kF3, true); // held: toggles once
    Tap('B');
    EXPECT_TRUE(rules::state.SeatIsComputer[1] && !rules::state.SeatIsComputer[2]);
    EXPECT_EQ(rules::state.FirstPlayer, 2);

    Tap(vk::kMinus);
    Tap(vk::kSubtract, true);           // held: the knob goes on
    EXPECT_EQ(rules::state.NoiseRange, 6000); // the slider at 40
    game::state.StrengthSlider = 98.0;
    Tap(vk::kPlus);
    EXPECT_EQ(game::state.StrengthSlider, 100.0);

    rules::BoardAt(1, 1) = 1;
    Tap('N');
    EXPECT_EQ(rules::BoardAt(1, 1), 0);
    EXPECT_EQ(rules::state.CurrentPlayer, 2);

    Tap(vk::kTab);
    Update(500);
    EXPECT_EQ(game::state.MenuOffset, 200);
    Tap(vk::kTab);
    Update(500);
    EXPECT_EQ(game::state.MenuOffset, 5);
}

} // namespace
