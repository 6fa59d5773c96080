// Fuzzes the game core. The front of the input is a run of events (ticks, key
// presses with any key code and shift state, New Games, stretches of steering
// along the path that fills the board); the back of the input feeds the random
// draws of the food search. Every invariant is checked after every event. A
// setup byte can start MoveCount near 32767 or let the worm grow long at once,
// so that the renumbering of stamps and the full board are a few bytes away.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "rules/game.h"
#include "tests/cycle_path.h"
#include "tests/invariants.h"

namespace korvel::testing {
namespace {

// Ticks per input at most, so that every run stays short.
constexpr int TickBudget = 2000;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "game_fuzz: %s\n", what.c_str());
    std::abort();
}

// Events come from the front, draws from the back, until the two meet.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), back_(size) {}

    [[nodiscard]] bool empty() const { return front_ >= back_; }
    std::uint8_t byte() { return front_ < back_ ? data_[front_++] : 0; }
    std::int16_t word() {
        const std::uint8_t low = byte();
        const std::uint8_t high = byte();
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
    }
    bool takeDraw(std::uint16_t& value) {
        if (back_ - front_ < 2) {
            return false;
        }
        back_ -= 2;
        value = static_cast<std::uint16_t>(data_[back_ + 1] << 8 | data_[back_]);
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t front_ = 0;
    std::size_t back_;
};

class FuzzPlatform : public Platform {
public:
    explicit FuzzPlatform(Input& input) : input_(input) {}

    void messageBox(std::string_view text, int buttons,
                    std::optional<std::string_view> /*title*/) override {
        if (buttons != OkOnly) {
            fail("a message box with buttons " + std::to_string(buttons));
        }
        ++boxes;
        lastText = text;
    }
    void setTimerInterval(std::int16_t milliseconds) override {
        if (milliseconds != 0 && milliseconds != Game::TickInterval) {
            fail("timer interval " + std::to_string(milliseconds));
        }
        interval = milliseconds;
    }
    void reseedRandom() override {}
    double drawRandom() override {
        std::uint16_t value = 0;
        if (input_.takeDraw(value)) {
            return value / 65536.0;
        }
        // The input is used up: SplitMix64 from a fixed start, so that the food
        // search still ends and a failing input replays the same way.
        std::uint64_t z = (fallback_ += 0x9e3779b97f4a7c15U);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9U;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebU;
        return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
    }
    void takeFocus() override {}
    void endProgram() override { fail("the game ended the program"); }

    std::int16_t interval = Game::TickInterval;  // the window's timer starts running
    int boxes = 0;
    std::string lastText;

private:
    Input& input_;
    std::uint64_t fallback_ = 0;
};

class Run {
public:
    Run(const std::uint8_t* data, std::size_t size) : input_(data, size) {}

    void play() {
        game_.Form_Load();
        check();
        setUp(input_.byte());
        while (!input_.empty() && ticks_ < TickBudget) {
            event(input_.byte());
        }
    }

private:
    void setUp(std::uint8_t flags) {
        if (flags & 1) {
            // As after 32767 - n moves of earlier games.
            game_.vars().MoveCount = static_cast<std::int16_t>(32767 - input_.byte());
            game_.mnuNewGame_Click();
            check();
        }
        if (flags & 2) {
            // The worm grows to 3..239 cells over the next moves, as if it had
            // eaten that many times minus three: the tail erase is held back.
            GameVars& v = game_.vars();
            v.Score = static_cast<std::int16_t>(input_.byte() % 237);
            v.TailStamp = static_cast<std::int16_t>(v.MoveCount - v.Score - 2);
            check();
        }
    }

    void event(std::uint8_t op) {
        switch (op % 8) {
            case 0:
            case 1:
                tick();
                break;
            case 2: {
                const std::uint8_t arg = input_.byte();
                press(static_cast<std::int16_t>(Game::KeyLeft + (arg & 3)),
                      static_cast<std::int16_t>(arg >> 2));
                break;
            }
            case 3: {
                const std::int16_t key = input_.word();
                press(key, input_.word());
                break;
            }
            case 4:
                game_.mnuNewGame_Click();
                check();
                break;
            case 5:
                // Steer along the path through every cell: long games, full boards.
                for (int n = input_.byte() + 1; n > 0 && ticks_ < TickBudget; --n) {
                    press(cycleKey(game_.vars().HeadRow, game_.vars().HeadCol), 0);
                    tick();
                }
                break;
            case 6:
                for (int n = input_.byte() % 64 + 1; n > 0 && ticks_ < TickBudget; --n) {
                    tick();
                }
                break;
            default:
                game_.Form_Deactivate();
                check();
                break;
        }
    }

    void press(std::int16_t key, std::int16_t shift) {
        game_.Form_KeyDown(key, shift);
        check();
    }

    // A stopped timer delivers no ticks.
    void tick() {
        if (platform_.interval == 0) {
            return;
        }
        ++ticks_;
        const int boxes = platform_.boxes;
        game_.Timer1_Timer();
        if (platform_.boxes != boxes) {
            checkNotice();
        }
        check();
    }

    void checkNotice() const {
        if (platform_.interval != 0) {
            fail("the game-over notice left the timer running");
        }
        const std::string points = "\n\rYou have " + std::to_string(game_.vars().Score) + " Points";
        if (platform_.lastText != "Тупик" + points &&
            platform_.lastText != "Врезались в себя" + points) {
            fail("game-over notice \"" + platform_.lastText + "\"");
        }
    }

    void check() const {
        if (const std::string broken = checkInvariants(game_); !broken.empty()) {
            fail(broken);
        }
    }

    Input input_;
    FuzzPlatform platform_{input_};
    Game game_{platform_};
    int ticks_ = 0;
};

}  // namespace
}  // namespace korvel::testing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        korvel::testing::Run(data, size).play();
    } catch (const std::exception& e) {
        korvel::testing::fail(std::string("exception: ") + e.what());
    }
    return 0;
}
