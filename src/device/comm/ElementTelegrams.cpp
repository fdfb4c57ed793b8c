#include <cctype>

#include "comm/OnlineElement.h"

namespace {

void PutU16(std::vector<uint8_t>& out, int v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

uint8_t Colours(uint8_t fg, uint8_t bg) { return static_cast<uint8_t>(((fg & 7) << 3) | (bg & 7)); }
uint8_t Factors(uint8_t w, uint8_t h) { return static_cast<uint8_t>(((w & 0x0F) << 4) | (h & 0x0F)); }

void ZoneBlock(std::vector<uint8_t>& out, const OnlineBarZones& z, bool erase, uint8_t bg)
{
    PutU16(out, z.length);
    size_t n = z.zones.size() > 255 ? 255 : z.zones.size();
    out.push_back(static_cast<uint8_t>(n));
    uint8_t last = n ? z.zones[n - 1].second : bg;
    out.push_back(erase ? bg : last);
    for (size_t i = 0; i + 1 < n; ++i) {
        out.push_back(z.zones[i].first);
        out.push_back(erase ? bg : z.zones[i].second);
    }
}

// The comment of a V-field with every "@nnn" replaced by standard text nnn,
// cut to the 80 characters the module takes.
std::string ExpandComment(const std::string& text, const IOnlinePicture& picture)
{
    std::string out;
    for (size_t i = 0; i < text.size() && out.size() < 80; ++i) {
        if (text[i] == '@' && i + 3 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(text[i + 2])) && std::isdigit(static_cast<unsigned char>(text[i + 3]))) {
            int number = (text[i + 1] - '0') * 100 + (text[i + 2] - '0') * 10 + (text[i + 3] - '0');
            std::string standard;
            if (picture.StandardText(number, standard)) {
                out += standard;
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    if (out.size() > 80) out.resize(80);
    return out;
}

const std::array<uint8_t, 6> kMissingSymbol {0xFF, 0xA5, 0x99, 0x99, 0xA5, 0xFF};
const std::array<uint8_t, 6> kCrossSymbol {0x10, 0x10, 0xFE, 0x10, 0x10, 0x00};

}  // namespace

std::vector<uint8_t> BuildPositionTelegram(int x, int y)
{
    std::vector<uint8_t> out {0x03, 0x20};
    PutU16(out, x);
    PutU16(out, y);
    return out;
}

std::vector<uint8_t> BuildSystemBlock(const OnlineSystemBlock& block)
{
    std::vector<uint8_t> out {0x81};
    out.insert(out.end(), block.colourTable.begin(), block.colourTable.end());
    out.push_back(block.pictureFormat);
    size_t n = block.userSymbols.size() > 255 ? 255 : block.userSymbols.size();
    out.push_back(static_cast<uint8_t>(n));
    for (size_t i = 0; i < n; ++i) out.insert(out.end(), block.userSymbols[i].begin(), block.userSymbols[i].end());
    return out;
}

bool BuildElementTelegram(const OnlineElementDesc& e, int mode, const IOnlinePicture& picture,
                          std::vector<uint8_t>& out, bool& unknownKind)
{
    out.clear();
    unknownKind = false;
    const bool erase = mode == kElementErase;
    const uint8_t bg = picture.BackgroundColour();
    const uint8_t fgc = erase ? bg : e.foreground;
    const uint8_t bgc = erase ? bg : e.background;

    switch (e.kind) {
    case OnlineElementKind::bar:
        if (e.direction < 0 || e.direction > 5) return false;
        out = {0x89, static_cast<uint8_t>(e.direction), e.barWidth};
        ZoneBlock(out, e.positive, erase, bg);
        if (e.direction == 2 || e.direction == 5) ZoneBlock(out, e.negative, erase, bg);
        return true;
    case OnlineElementKind::window:
        out = {0x85, static_cast<uint8_t>(e.widthPixels / 6 * e.widthFactor),
               static_cast<uint8_t>(e.heightPixels / 8 * e.heightFactor), Colours(fgc, bgc)};
        return true;
    case OnlineElementKind::vfield: {
        out = {0x86, static_cast<uint8_t>(((e.fieldType & 0x0F) << 4) | (e.dataType & 0x0F)),
               Factors(e.widthFactor, e.heightFactor),
               static_cast<uint8_t>(((e.italic ? 1 : 0) << 6) | Colours(fgc, bgc))};
        int ft = e.fieldType;
        if ((ft >= 1 && ft <= 4) || ft == 6) {
            int digits = e.digits + (e.dataType == 3 ? 1 : 0) + (e.dataType == 4 ? 2 : 0);
            out.push_back(static_cast<uint8_t>(digits));
        } else if (ft == 5) {
            std::string text = ExpandComment(e.comment, picture);
            out.push_back(static_cast<uint8_t>(text.size()));
            out.insert(out.end(), text.begin(), text.end());
        } else if (ft < 7 || ft > 12) {
            out.clear();
            return false;
        }
        return true;
    }
    case OnlineElementKind::symbol: {
        uint8_t colour;
        if (erase)
            colour = Colours(bg, bg);
        else if (((e.recordFlags >> 4) & 3) == 2)
            colour = 0x18;
        else
            colour = Colours(e.foreground, e.background);
        uint8_t size = Factors(e.widthFactor, e.heightFactor);
        out = {0x83, static_cast<uint8_t>(e.symbolNumber), colour, size};
        if (e.symbolNumber >= 128) {
            std::array<uint8_t, 6> pattern {};
            if (!picture.UserSymbolPattern(e.symbolNumber - 128, pattern)) {
                if (e.symbolNumber > 240 && !(e.recordFlags & 1) && (e.recordFlags & 2)) {
                    pattern = kCrossSymbol;
                    out[3] = 0x11;
                } else {
                    pattern = kMissingSymbol;
                }
            }
            out.insert(out.end(), pattern.begin(), pattern.end());
        }
        return true;
    }
    case OnlineElementKind::singleSymbol: {
        uint8_t colour = Colours(fgc, bgc);
        if (e.isCharacter && e.colourBit6) colour |= 0x40;
        out = {0x82, 0x00, Factors(e.widthFactor, e.heightFactor), colour};
        if (e.isCharacter) {
            out.push_back(10);
            out.push_back(e.characterCode);
        } else if (e.symbolNumber < 128) {
            out.push_back(12);
            out.push_back(static_cast<uint8_t>(e.symbolNumber));
        } else {
            out.push_back(11);
            std::array<uint8_t, 6> pattern {};
            if (!picture.UserSymbolPattern(e.symbolNumber - 128, pattern)) pattern = kMissingSymbol;
            out.insert(out.end(), pattern.begin(), pattern.end());
        }
        return true;
    }
    case OnlineElementKind::other:
        break;
    }
    unknownKind = true;
    return false;
}
