#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "rules/platform.h"

namespace korvel::testing {

// Records what the game asks of the platform and scripts the random draws:
// from the script first, then from a seeded generator.
class FakePlatform : public Platform {
public:
    struct Box {
        std::string text;
        std::optional<std::string> title;
        std::int16_t interval;  // the timer's interval while the box was open
    };

    void messageBox(std::string_view text, int /*buttons*/,
                    std::optional<std::string_view> title) override {
        boxes.push_back({std::string(text), std::optional<std::string>(title), interval});
    }
    void setTimerInterval(std::int16_t milliseconds) override { interval = milliseconds; }
    void reseedRandom() override {
        drawsSinceReseed = 0;
        onReseed();
    }
    double drawRandom() override {
        // Each food attempt draws a row and a column after a re-seed of its own.
        // A search that runs past the budget would never end: fail, don't hang.
        if (++drawsSinceReseed > 2 || --drawBudget < 0) {
            throw std::logic_error("a food attempt without its own re-seed, or an endless search");
        }
        if (script.empty()) {
            return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
        }
        const double r = script.front();
        script.pop_front();
        return r;
    }
    void takeFocus() override {}
    void endProgram() override {}

    // Scripts the next food attempt to pick cell (row, col) of rows 1..9, columns 1..23.
    void queueCell(int row, int col) {
        script.insert(script.end(), {(row - 0.5) / 9.0, (col - 0.5) / 23.0});
    }

    std::vector<Box> boxes;
    std::int16_t interval = 90;  // the window's timer starts at 90 ms
    std::deque<double> script;
    std::function<void()> onReseed = [] {};
    int drawsSinceReseed = 0;
    long drawBudget = 1'000'000;
    std::mt19937_64 engine{12345};
};

}  // namespace korvel::testing
