#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "rules/platform.h"

namespace korvel::testing {

// Records what the game asks of the platform and scripts the random draws.
// Draws come from the script first, then from a seeded generator.
class FakePlatform : public Platform {
public:
    struct Box {
        std::string text;
        int buttons;
        std::optional<std::string> title;
    };

    void messageBox(std::string_view text, int buttons,
                    std::optional<std::string_view> title) override {
        boxes.push_back({std::string(text), buttons,
                         title ? std::optional<std::string>(*title) : std::nullopt});
        log.push_back("box");
        if (onMessageBox) {
            onMessageBox();
        }
    }
    void setTimerInterval(std::int16_t milliseconds) override {
        intervals.push_back(milliseconds);
        interval = milliseconds;
        log.push_back("interval " + std::to_string(milliseconds));
    }
    void reseedRandom() override {
        ++reseeds;
        log.push_back("reseed");
        if (onReseed) {
            onReseed();
        }
    }
    double drawRandom() override {
        ++draws;
        if (!script.empty()) {
            const double r = script.front();
            script.pop_front();
            return r;
        }
        return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
    }
    void takeFocus() override { ++focusTaken; }
    void endProgram() override { ++ended; }

    // Scripts the next food attempt to pick cell (row, col) of rows 1..9, columns 1..23.
    void queueCell(int row, int col) {
        script.push_back((row - 0.5) / 9.0);
        script.push_back((col - 0.5) / 23.0);
    }

    std::vector<Box> boxes;
    std::vector<std::int16_t> intervals;
    std::int16_t interval = 90;  // the window's timer starts at 90 ms
    std::vector<std::string> log;
    int reseeds = 0;
    int draws = 0;
    int focusTaken = 0;
    int ended = 0;
    std::deque<double> script;
    std::mt19937_64 engine{12345};
    std::function<void()> onMessageBox;
    std::function<void()> onReseed;
};

}  // namespace korvel::testing
