// The status line through the frame update: what it says as a game goes on, the score over
// several games, and the Esc prompt; and where its glyphs go on screens of every shape.
#include <string>

#include "game/status_font.h"
#include "game/status_line.h"
#include "rules/rules.h"
#include "tests/support/game/frame_fixture.h"

namespace {

std::string Said() {
    const game::StatusText text = game::ChooseStatusText();
    std::string said;
    for (std::size_t k = 0; k < text.count; ++k)
        said += (k ? " | " : "") + std::string(text.parts[k].data());
    return said;
}

class StatusLine : public FrameTest {
  protected:
    // A move of the player to move, landed as a click and a finished fall would land it.
    static void Play(int i, int j) {
        rules::HumanChoice(true, {i, j});
        // Twice: the first update after a new game counts 1 ms.
        Update(rules::kMoveDelayMs + 10);
        Update(rules::kMoveDelayMs + 10);
    }
    static void Key(std::uint32_t key) {
        platform::SendMessage({platform::MessageKind::KeyDown, key});
        Update();
        platform::SendMessage({platform::MessageKind::KeyUp, key});
    }
    // Player 1 takes the square (1,1) (1,2) (2,1) (2,2); player 2 answers far away.
    static void WinForPlayer1() {
        for (const auto& [i, j] : {std::pair{1, 1}, {6, 6}, {1, 2}, {6, 5}, {2, 1}, {5, 6}, {2, 2}})
            Play(i, j);
    }
};

TEST_F(StatusLine, SaysWhoMovesWhoWonAndKeepsTheScoreAcrossGames) {
    rules::state.SeatIsComputer = {false, false, false};
    Update();
    EXPECT_EQ(Said(), "Player 1 to move | Score 0 : 0");
    EXPECT_EQ(game::ChooseStatusText().discPlayer, 1);
    Play(3, 3);
    EXPECT_EQ(Said(), "Player 2 to move | Score 0 : 0");
    EXPECT_EQ(game::ChooseStatusText().discPlayer, 2);

    Key('N');
    WinForPlayer1();
    ASSERT_TRUE(rules::state.GameOver);
    EXPECT_EQ(Said(), "Player 1 wins | Score 1 : 0 | N: new game");
    EXPECT_EQ(game::ChooseStatusText().discPlayer, 1);

    Key('N');
    EXPECT_EQ(Said(), "Player 1 to move | Score 1 : 0");
    WinForPlayer1();
    EXPECT_EQ(Said(), "Player 1 wins | Score 2 : 0 | N: new game");
}

TEST_F(StatusLine, AgainstTheComputerTheNamesSayWhoIsWho) {
    rules::state.SeatIsComputer = {false, false, true};
    Update();
    EXPECT_EQ(Said(), "Player 1 (you) to move | Score 0 : 0");
    rules::state.CurrentPlayer = 2;
    EXPECT_EQ(Said(), "Player 2 (computer) to move | Score 0 : 0");
    rules::state.SeatIsComputer = {false, true, true};
    EXPECT_EQ(Said(), "Player 2 to move | Score 0 : 0");
}

TEST_F(StatusLine, FirstEscDuringAGameAsksForASecondWithinThreeSeconds) {
    rules::state.SeatIsComputer = {false, false, false};
    Update();
    Key(27); // an empty board: quits at once
    EXPECT_TRUE(QuitPosted());

    Play(3, 3);
    Key(27);
    EXPECT_FALSE(QuitPosted());
    EXPECT_EQ(Said(), "Press Esc again to quit");
    Update(2900);
    Key(27);
    EXPECT_TRUE(QuitPosted());

    // Let go: the prompt stands 3 s, the loop drawing until it goes, then one Esc only asks.
    game::state.QuitPromptShown = false;
    Key(27);
    EXPECT_TRUE(game::state.QuitPromptShown);
    Update(2990);
    EXPECT_TRUE(game::state.QuitPromptShown);
    Update(20);
    EXPECT_FALSE(game::state.QuitPromptShown);
    EXPECT_EQ(Said(), "Player 2 to move | Score 0 : 0");
    Key(27);
    EXPECT_FALSE(QuitPosted());

    // A held Esc repeats: no second press.
    game::state.QuitPromptShown = false;
    platform::Message repeat{platform::MessageKind::KeyDown, 27};
    Key(27);
    repeat.repeat = true;
    platform::SendMessage(repeat);
    Update();
    EXPECT_FALSE(QuitPosted());
}

// From 800 x 600 to 3840 x 2160, portrait too, the longest line fits left of the opened panel,
// inside the window, with its line box at least 2.5 % of the height and every quad kept.
TEST_F(StatusLine, FitsLeftOfThePanelOnEveryScreen) {
    rules::state.SeatIsComputer = {false, false, true};
    rules::state.Wins = {0, 123, 456};
    rules::state.GameOver = true;
    rules::state.CurrentPlayer = 2;
    const game::StatusText text = game::ChooseStatusText();
    const render::GlyphAtlas& atlas = game::StatusFont();
    for (const auto& [w, h] : {std::pair{800, 600},
                               {1024, 768},
                               {1920, 1080},
                               {2560, 1080},
                               {3840, 2160},
                               {600, 800},
                               {1080, 1920},
                               {2160, 3840}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        render::TextRun run;
        game::LayOutStatusLine(text, atlas, w, h, run);
        ASSERT_GT(run.count, 20u);
        ASSERT_LT(run.count, run.quads.size());
        const double panelLeft = w - 200 * std::min(w / 1024.0, h / 768.0);
        float top = 0, bottom = float(h);
        for (std::size_t k = 0; k < run.count; ++k) {
            const render::TextQuad& q = run.quads[k];
            EXPECT_GE(q.x1, 0);
            EXPECT_LE(q.x2, panelLeft);
            EXPECT_LE(q.y2, h);
            top = std::max(top, q.y2);
            bottom = std::min(bottom, q.y1);
            EXPECT_TRUE(q.s1 >= 0 && q.s2 <= 1 && q.t1 >= 0 && q.t2 <= 1);
        }
        EXPECT_GT(top - bottom, 0.025 * h);
        EXPECT_LT(bottom, top);
    }
}

// Every character the line can say has a glyph with ink in the atlas.
TEST(StatusFont, HoldsEveryCharacterOfTheMessages) {
    const render::GlyphAtlas& atlas = game::StatusFont();
    EXPECT_EQ(atlas.texels.size(), std::size_t(atlas.width) * atlas.height * 2);
    for (const char c : std::string("Player 0123456789 to move wins Score : N new game (you) "
                                    "(computer) Press Esc again quit")) {
        const render::AtlasGlyph* glyph = render::FindGlyph(atlas, c);
        ASSERT_NE(glyph, nullptr) << c;
        EXPECT_GT(glyph->advance, 0) << c;
        if (c != ' ') {
            EXPECT_GT(glyph->width, 0) << c;
        }
    }
    EXPECT_EQ(render::FindGlyph(atlas, '\x7f'), nullptr);
    EXPECT_EQ(render::FindGlyph(atlas, '\x01'), nullptr);
}

} // namespace
