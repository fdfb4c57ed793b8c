#include "transfer/OperatorKeys.h"

#include <QKeyEvent>

#include "util/Format.h"
#include "util/StringTable.h"

namespace {
constexpr int IDS_KEY_HEX = 63047;          // "<%02X>"
constexpr int IDS_CONTROL_KEY_BASE = 63048; // + code below 0x20
constexpr int IDS_HIGH_KEY_BASE = 62952;    // + code from 0x7F
}  // namespace

const std::vector<OperatorKey>& OperatorKeys()
{
    static const std::vector<OperatorKey> keys = [] {
        std::vector<OperatorKey> k = {
            {2101, "Inh.Proz.Bild.", 0x01},   {2102, "Funkt.-Anw.", 0x14},
            {2103, "F-Quitt", 0x04},          {2104, "SW-Reset", 0x11},
            {2105, "Hardcopy", 0x12},         {2106, "Hardcopy-Ende", 0x13},
            {2107, "Feld -->", 0x84},         {2108, "<-- Feld ", 0x85},
            {2109, "Feld <-> Fenster", 0x86}, {2110, "Feldeing. Abbr.", 0x02},
            {2111, "E-Feld Aktual.", 0xE9},   {2112, "Hex EE", 0xEE},
            {2113, "Bildschirm hell", 0xDF},  {2114, "Bildsch.dunkel", 0xE0},
            {2115, "Uhr lesen", 0xE2},        {2116, "Uhr setzen", 0xE3},
            {2117, "Protok.Start", 0xE4},     {2118, "Protok.Stop", 0xE5},
            {2119, "CurPos-->DW7", 0xE6},     {2120, "CurPos<--DW7", 0xE7},
            {2121, "Ausführung DW9", 0xE8},   {2122, "", -1},
            {2123, "", -1},                   {2124, "", -1},
        };
        static const char* const errors[16] = {"Fehler 100", "Fehler 101", "Fehler 102", "Fehler 103",
                                               "Fehler 104", "Fehler 105", "Fehler 106", "Fehler 107",
                                               "Fehler 108", "Fehler 109", "Fehler 110", "Fehler 111",
                                               "Fehler 112", "Fehler 113", "Fehler 114", "Fehler 115"};
        for (int i = 0; i < 16; ++i) k.push_back({2125 + i, errors[i], 0xF0 + i});
        return k;
    }();
    return keys;
}

std::string KeyLogText(uint8_t code)
{
    if (code >= 0x20 && code <= 0x7E) return std::string(1, static_cast<char>(code));
    int id = code < 0x20 ? IDS_CONTROL_KEY_BASE + code : IDS_HIGH_KEY_BASE + code;
    if (HasString(id)) return LoadString(id);
    return FormatString(LoadString(IDS_KEY_HEX), {static_cast<long>(code)});
}

int NavigationKeyCode(int qtKey, bool ctrl)
{
    switch (qtKey) {
    case Qt::Key_PageUp: return 0x8C;
    case Qt::Key_PageDown: return 0x8D;
    case Qt::Key_Up: return 0x8F;
    case Qt::Key_Down: return 0x90;
    case Qt::Key_Left: return ctrl ? 0x92 : 0xAF;
    case Qt::Key_Right: return ctrl ? 0x91 : 0xB0;
    default: return -1;
    }
}

int TypedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return 0x0A;
    const QString text = event.text();
    if (text.size() != 1) return -1;
    return text.at(0).unicode();
}

