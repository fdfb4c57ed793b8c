#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What the online picture configuration needs to know of a picture and its
// elements. The picture classes implement these; the link builds the
// telegrams from them and knows nothing else about pictures.

enum class OnlineElementKind { bar, window, vfield, symbol, singleSymbol, other };

struct OnlineBarZones {
    uint16_t length = 0;
    // (percent, colour) of every zone in order; the percent of the last zone is not sent.
    std::vector<std::pair<uint8_t, uint8_t>> zones;
};

struct OnlineElementDesc {
    OnlineElementKind kind = OnlineElementKind::other;
    int x = 0, y = 0;                       // position sent before the element
    uint8_t foreground = 0, background = 0; // colours 0..7
    uint8_t widthFactor = 1, heightFactor = 1;

    // bar
    int direction = 0;                      // 0..5; 2 and 5 carry negative zones
    uint8_t barWidth = 0;
    OnlineBarZones positive, negative;

    // window
    int widthPixels = 0, heightPixels = 0;

    // V-field
    int fieldType = 0, dataType = 0;
    bool italic = false;
    int digits = 0;
    std::string comment;  // device bytes; "@nnn" (editing form) names standard text nnn

    // symbol and single symbol
    int symbolNumber = 0;
    uint8_t recordFlags = 0;  // symbol: colour mode in bits 4-5, bits 0 and 1 for numbers above 240
    bool isCharacter = false; // single symbol: a character rather than a symbol
    uint8_t characterCode = 0;
    bool colourBit6 = false;  // single-symbol character: bit 6 of its stored colour byte
};

class IOnlineElement {
public:
    virtual ~IOnlineElement() = default;
    virtual OnlineElementDesc Describe() const = 0;
};

struct OnlineSystemBlock {
    std::array<uint8_t, 16> colourTable {};  // from the system data list
    uint8_t pictureFormat = 0;
    std::vector<std::array<uint8_t, 6>> userSymbols;  // patterns in table order
};

class IOnlinePicture {
public:
    virtual ~IOnlinePicture() = default;
    virtual bool IsLoaded() const = 0;
    virtual uint8_t BackgroundColour() const = 0;
    // Elements of one kind in list order: 'V' V-fields, 'S' symbols, 'C' the
    // single symbols of every G-symbol, 'W' windows, 'B' bars.
    virtual std::vector<const IOnlineElement*> Elements(char kind) const = 0;
    virtual OnlineSystemBlock SystemBlock() const = 0;
    // Pattern of user symbol index (symbol number - 128); false when the table has none.
    virtual bool UserSymbolPattern(int index, std::array<uint8_t, 6>& pattern) const = 0;
    // Standard text number; false when there is none.
    virtual bool StandardText(int number, std::string& text) const = 0;
};

// Element modes of sendElement.
enum OnlineElementMode { kElementNew = 0, kElementErase = 1, kElementBeginEdit = 2, kElementUpdate = 3, kElementEndEdit = 4 };

// The element telegram (without the position) for mode; false when nothing
// is sent for this element (an unknown bar direction or field type).
// unknownKind is set for an element kind the link does not know.
bool BuildElementTelegram(const OnlineElementDesc& e, int mode, const IOnlinePicture& picture,
                          std::vector<uint8_t>& out, bool& unknownKind);
std::vector<uint8_t> BuildPositionTelegram(int x, int y);
std::vector<uint8_t> BuildSystemBlock(const OnlineSystemBlock& block);
