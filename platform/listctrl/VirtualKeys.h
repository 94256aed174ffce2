#pragma once
// Virtual-key codes of the keys the list and its editors react to, and the
// translation of a Qt key event into one of them.
#include "platform/WinTypes.h"

class QKeyEvent;

constexpr WORD VK_BACK = 0x08;
constexpr WORD VK_TAB = 0x09;
constexpr WORD VK_RETURN = 0x0D;
constexpr WORD VK_ESCAPE = 0x1B;
constexpr WORD VK_SPACE = 0x20;
constexpr WORD VK_PRIOR = 0x21;
constexpr WORD VK_NEXT = 0x22;
constexpr WORD VK_END = 0x23;
constexpr WORD VK_HOME = 0x24;
constexpr WORD VK_LEFT = 0x25;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_RIGHT = 0x27;
constexpr WORD VK_DOWN = 0x28;
constexpr WORD VK_DELETE = 0x2E;
constexpr WORD VK_MULTIPLY = 0x6A;  // numeric keypad "*"
constexpr WORD VK_ADD = 0x6B;       // numeric keypad "+"
constexpr WORD VK_SUBTRACT = 0x6D;  // numeric keypad "-"
constexpr WORD VK_F10 = 0x79;
constexpr WORD VK_F11 = 0x7A;

// The virtual key of a key press, 0 for keys without one here. "*", "+" and
// "-" map to the keypad codes only when they come from the numeric keypad.
WORD VirtualKeyOf(const QKeyEvent& event);
