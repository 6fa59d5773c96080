// Qt keys reach the game as Windows virtual-key codes with a VB shift mask.
#include <gtest/gtest.h>

#include "ui/key_codes.h"

namespace korvel {
namespace {

TEST(KeyCodes, ArrowsAreCodes37To40WhateverModifiersAreHeld) {
    for (Qt::KeyboardModifiers held :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::ControlModifier | Qt::AltModifier, Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
        EXPECT_EQ(virtualKeyCode(Qt::Key_Left, held), 37);
        EXPECT_EQ(virtualKeyCode(Qt::Key_Up, held), 38);
        EXPECT_EQ(virtualKeyCode(Qt::Key_Right, held), 39);
        EXPECT_EQ(virtualKeyCode(Qt::Key_Down, held), 40);
    }
}

TEST(KeyCodes, OtherKeysGetTheirWindowsCodes) {
    const Qt::KeyboardModifiers none;
    EXPECT_EQ(virtualKeyCode(Qt::Key_A, none), 65);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Z, none), 90);
    EXPECT_EQ(virtualKeyCode(Qt::Key_0, none), 48);
    EXPECT_EQ(virtualKeyCode(Qt::Key_9, none), 57);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F1, none), 112);
    EXPECT_EQ(virtualKeyCode(Qt::Key_F12, none), 123);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Return, none), 13);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Escape, none), 27);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Space, none), 32);
    EXPECT_EQ(virtualKeyCode(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Exclam, Qt::ShiftModifier), '1');  // Shift+1
    EXPECT_EQ(virtualKeyCode(Qt::Key_unknown, none), std::nullopt);
}

TEST(KeyCodes, ShiftMaskAddsShift1Ctrl2Alt4) {
    EXPECT_EQ(shiftMask({}), 0);
    EXPECT_EQ(shiftMask(Qt::ShiftModifier), 1);
    EXPECT_EQ(shiftMask(Qt::ControlModifier), 2);
    EXPECT_EQ(shiftMask(Qt::AltModifier), 4);
    EXPECT_EQ(
        shiftMask(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier),
        7);
}

}  // namespace
}  // namespace korvel
