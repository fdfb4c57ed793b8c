#pragma once
#include <cstdint>
#include <string>
#include <vector>

class QKeyEvent;

// One function key of the module's operator keyboard.
struct OperatorKey {
    int id;               // button id 2101 .. 2140
    const char* caption;  // UTF-8; empty for the three unused buttons
    int code;             // code sent, -1 for none
};
// The 40 key buttons in id order.
const std::vector<OperatorKey>& OperatorKeys();

// The text the log shows for a code sent: the character for 0x20 to 0x7E,
// the key's name where the string table has one, else "<%02X>". Display bytes.
std::string KeyLogText(uint8_t code);

// The code a key of the PC keyboard sends (Page Up/Down and the cursor
// keys; cursor left and right with Ctrl move between fields), -1 for others.
int NavigationKeyCode(int qtKey, bool ctrl);

// Whether a PC key is one of the navigation keys the module knows.
inline bool IsNavigationKey(int qtKey) { return NavigationKeyCode(qtKey, false) >= 0; }

// The character a key press types: Enter gives 0x0A, otherwise the single
// character of its text; -1 when the press types nothing.
int TypedCharacter(const QKeyEvent& event);
