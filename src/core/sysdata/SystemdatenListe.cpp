#include "sysdata/SystemdatenListe.h"

#include "listfile/ByteStream.h"
#include "listfile/ListFileBuffer.h"
#include "listfile/ListHeader.h"
#include "project/Projekt.h"
#include "util/Charset.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/Format.h"
#include "util/StringTable.h"

namespace {
constexpr int kIdsName = 63258;
constexpr int kIdsTextHalf = 64314;
constexpr int kIdsNumberHalf = 64315;
constexpr int kIdsThreeNumbersHalf = 64316;
constexpr int kIdsPitchCaption = 64514;   // .. 64516
constexpr int kIdsPrinterType = 64517;    // .. 64519

// Lengths of the two firmware V4.0 blocks, their length words included.
constexpr uint16_t kHardcopyBlock = 5;
constexpr uint16_t kCursorBlock = 3;

// Handshake codes of interface byte 2 by index.
constexpr uint8_t kHandshakeBits[4] = {0x10, 0x04, 0x08, 0x0C};

std::string Text(const char* utf8) { return Utf8ToCp1252(utf8); }

std::string Item(const char* const* items, size_t count, unsigned index)
{
    return index < count ? Text(items[index]) : std::string();
}

std::string HalfText(const std::string& caption, const std::string& value)
{
    return FormatString(LoadString(kIdsTextHalf), {caption, value});
}

std::string HalfNumber(const std::string& caption, long value)
{
    return FormatString(LoadString(kIdsNumberHalf), {caption, value});
}

std::string YesNo(int flag) { return flag ? "Ja" : "Nein"; }
std::string OldNew(int isNew) { return isNew ? "Neuer" : "Alter"; }
}  // namespace

CSystemdatenListe::CSystemdatenListe(CNode* parent, const std::string& fileName, NoProbe)
    : CFileList(parent, fileName)
{
    m_name = LoadString(kIdsName);
    m_valid = 0;
    m_colours = ColourPreset(true);
    m_controls = DefaultPrinterControls();
}

CSystemdatenListe::CSystemdatenListe(CNode* parent, const std::string& fileName)
    : CSystemdatenListe(parent, fileName, NoProbe{})
{
    // The probe: accepted when the short header carries this list's type
    // code. Any failure leaves the node invalid and says nothing.
    if (!GetRoot()) return;
    std::string path = GetPath();
    std::vector<uint8_t> head;
    if (!fsx::ReadFileHead(path, 4 + 80, head)) return;
    try {
        CByteReader in(head);
        ListHeader h;
        h.Read(in);
        if (h.type != LTC_SYSDATA) return;
        auto st = fsx::Stat(path);
        if (!st) return;
        m_projectName = h.project;
        m_fileLength = h.length;
        m_fileDate = fsx::FormatFileTime(st->mtime);
        m_valid = 1;
    } catch (const CFileException&) {
        m_valid = 0;
    }
}

uint16_t CSystemdatenListe::MakeColour(int r, int g, int b)
{
    return static_cast<uint16_t>((r & 0xF) | ((g & 0xF) << 4) | ((b & 0xF) << 8));
}

std::array<uint16_t, 8> CSystemdatenListe::ColourPreset(bool colour)
{
    if (colour)
        return {MakeColour(0, 0, 0),   MakeColour(0, 0, 10),  MakeColour(0, 10, 0),  MakeColour(0, 10, 10),
                MakeColour(10, 0, 0),  MakeColour(10, 0, 10), MakeColour(10, 10, 0), MakeColour(10, 10, 10)};
    return {MakeColour(0, 0, 0), MakeColour(0, 4, 0), MakeColour(0, 10, 0), MakeColour(0, 7, 0),
            MakeColour(0, 6, 0), MakeColour(0, 5, 0), MakeColour(0, 10, 0), MakeColour(0, 10, 0)};
}

void CSystemdatenListe::SetDefaults()
{
    CSystemdatenListe fresh(nullptr, std::string(), NoProbe{});
    AssignValues(fresh);
    m_projectName.clear();
    m_loaded = 1;
    m_modified = 1;
}

void CSystemdatenListe::AssignValues(const CSystemdatenListe& o)
{
    m_projectName = o.m_projectName;
    m_pictureFormat = o.m_pictureFormat;
    m_dprLength = o.m_dprLength;
    m_colours = o.m_colours;
    m_blinkColour8 = o.m_blinkColour8;
    m_transferDb = o.m_transferDb;
    m_transferDw = o.m_transferDw;
    m_language = o.m_language;
    m_baudIndex = o.m_baudIndex;
    m_parityIndex = o.m_parityIndex;
    m_stopBitsIndex = o.m_stopBitsIndex;
    m_coupling = o.m_coupling;
    m_dataBitsIndex = o.m_dataBitsIndex;
    m_handshakeIndex = o.m_handshakeIndex;
    m_linesPerPage = o.m_linesPerPage;
    m_charsPerLine = o.m_charsPerLine;
    m_controls = o.m_controls;
    m_firmwareV40 = o.m_firmwareV40;
    m_hardcopyType = o.m_hardcopyType;
    m_hardcopyFormat = o.m_hardcopyFormat;
    m_hardcopyInverse = o.m_hardcopyInverse;
    m_fieldCursorNew = o.m_fieldCursorNew;
    m_fieldCursorBlink = o.m_fieldCursorBlink;
    m_windowCursorNew = o.m_windowCursorNew;
    m_windowCursorBlink = o.m_windowCursorBlink;
}

size_t CSystemdatenListe::PrinterBlockLength() const
{
    size_t len = 6;
    for (const std::string& c : m_controls) len += c.size() + 1;
    return len;
}

size_t CSystemdatenListe::TotalLength() const
{
    return 28 + m_projectName.size() + PrinterBlockLength() + (m_firmwareV40 ? 8 : 0);
}

void CSystemdatenListe::WriteTo(CByteWriter& out) const
{
    size_t total = TotalLength();
    if (total > 0xFFFF) CFileException::ThrowGeneric("system data list longer than 65535 bytes");
    ListHeader h;
    h.type = LTC_SYSDATA;
    h.length = static_cast<uint16_t>(total);
    h.project = m_projectName;
    h.Write(out);

    out.WriteU8(m_pictureFormat);
    out.WriteU16(m_dprLength);
    for (uint16_t c : m_colours) out.WriteU16(c);
    out.WriteU8(m_blinkColour8);
    out.WriteU8(m_transferDb);
    out.WriteU16(m_transferDw);
    out.WriteU8(static_cast<uint8_t>(m_language));

    out.WriteU16(static_cast<uint16_t>(PrinterBlockLength()));
    out.WriteU8(static_cast<uint8_t>((m_baudIndex & 0x07) | ((m_parityIndex & 0x03) << 3) | ((m_stopBitsIndex & 0x03) << 5)));
    uint8_t b2 = 0;
    if (m_coupling) b2 |= 0x01;
    if (m_dataBitsIndex) b2 |= 0x02;
    if (m_handshakeIndex < 4) b2 |= kHandshakeBits[m_handshakeIndex];
    out.WriteU8(b2);
    out.WriteU8(m_linesPerPage);
    out.WriteU8(m_charsPerLine);
    // A zero byte inside a sequence would end it early on reading; the
    // control page never produces one.
    for (const std::string& c : m_controls) {
        if (c.find('\0') != std::string::npos) CFileException::ThrowGeneric("zero byte in a printer control sequence");
        out.WriteZString(c);
    }

    if (m_firmwareV40) {
        out.WriteU16(kHardcopyBlock);
        out.WriteU8(m_hardcopyType);
        out.WriteU8(m_hardcopyFormat);
        out.WriteU8(m_hardcopyInverse);
        out.WriteU16(kCursorBlock);
        uint8_t cursor = 0;
        if (m_fieldCursorNew) cursor |= 0x01;
        if (m_fieldCursorBlink) cursor |= 0x02;
        if (m_windowCursorNew) cursor |= 0x10;
        if (m_windowCursorBlink) cursor |= 0x20;
        out.WriteU8(cursor);
    }
}

uint16_t CSystemdatenListe::ReadFrom(CByteReader& in)
{
    ListHeader h;
    h.Read(in);
    if (h.type != LTC_SYSDATA) CFileException::ThrowGeneric("not a system data list");
    m_projectName = h.project;

    m_pictureFormat = in.ReadU8();
    m_dprLength = in.ReadU16();
    for (uint16_t& c : m_colours) c = in.ReadU16();
    m_blinkColour8 = in.ReadU8();
    m_transferDb = in.ReadU8();
    m_transferDw = in.ReadU16();
    m_language = static_cast<char>(in.ReadU8());

    uint16_t blockLength = in.ReadU16();
    if (blockLength < 6) CFileException::ThrowGeneric("printer block too short");
    CByteReader block = in.Sub(blockLength - 2u);
    uint8_t b1 = block.ReadU8();
    m_baudIndex = b1 & 0x07;
    m_parityIndex = (b1 >> 3) & 0x03;
    m_stopBitsIndex = (b1 >> 5) & 0x03;
    uint8_t b2 = block.ReadU8();
    m_coupling = b2 & 0x01;
    m_dataBitsIndex = (b2 >> 1) & 0x01;
    if (b2 & 0x10) m_handshakeIndex = 0;
    else if (b2 & 0x04) m_handshakeIndex = (b2 & 0x08) ? 3 : 1;
    else if (b2 & 0x08) m_handshakeIndex = 2;
    m_linesPerPage = block.ReadU8();
    m_charsPerLine = block.ReadU8();
    for (std::string& c : m_controls) c = block.ReadZString();
    if (!block.AtEnd()) CFileException::ThrowGeneric("printer block longer than its sequences");

    size_t end = h.length;
    if (end < in.Position() + 8) {
        m_firmwareV40 = 0;
    } else {
        m_firmwareV40 = 1;
        if (in.ReadU16() != kHardcopyBlock) CFileException::ThrowGeneric("bad hardcopy block");
        m_hardcopyType = in.ReadU8();
        m_hardcopyFormat = in.ReadU8();
        m_hardcopyInverse = in.ReadU8();
        if (in.ReadU16() != kCursorBlock) CFileException::ThrowGeneric("bad cursor block");
        uint8_t cursor = in.ReadU8();
        m_fieldCursorNew = (cursor & 0x01) ? 1 : 0;
        m_fieldCursorBlink = (cursor & 0x02) ? 1 : 0;
        m_windowCursorNew = (cursor & 0x10) ? 1 : 0;
        m_windowCursorBlink = (cursor & 0x20) ? 1 : 0;
    }
    return h.length;
}

bool CSystemdatenListe::Load()
{
    // Without a project there is no directory to read from.
    if (!GetRoot()) return false;
    try {
        CListFileBuffer buffer(GetPath(), CListFileBuffer::modeRead);
        // Read into a copy so that a damaged file leaves the values as they
        // were; a handshake without any code keeps its current index.
        CSystemdatenListe parsed(nullptr, std::string(), NoProbe{});
        parsed.AssignValues(*this);
        uint16_t length = parsed.ReadFrom(buffer.Reader());
        buffer.Close();
        AssignValues(parsed);
        m_fileLength = length;
        m_loaded = 1;
        return true;
    } catch (const CFileException&) {
        Unload();
        return false;
    }
}

bool CSystemdatenListe::Save()
{
    if (!GetRoot()) return false;
    try {
        CListFileBuffer buffer(GetPath(), CListFileBuffer::modeWrite);
        WriteTo(buffer.Writer());
        buffer.Close();
    } catch (const CFileException&) {
        return false;
    }
    m_valid = 1;
    AfterSave();
    return true;
}

int CSystemdatenListe::Compare(const CNode& other) const
{
    int t = other.GetType();
    return t == NT_USER_SYMBOLS || t == NT_FIXED_SYMBOLS || t == NT_STANDARD_TEXTS ? -1 : 1;
}

std::string CSystemdatenListe::GetPrintLine(int line) const
{
    static const char* const kLanguages[] = {"Deutsch", "Englisch", "Französisch", "Kyrillisch"};
    static const char* const kBaud[] = {"110", "200", "300", "600", "1200", "2400", "4800", "9600"};
    static const char* const kParity[] = {"keine", "ungerade", "gerade"};
    static const char* const kStopBits[] = {"1", "1.5", "2"};
    static const char* const kDataBits[] = {"8", "7"};
    static const char* const kHandshake[] = {"Hardware", "XON/XOFF", "ETX", "XON/XOFF + ETX"};
    static const char* const kFormats[] = {"einfach", "doppelte Höhe", "Querformat"};
    static const char* const kLeftControls[] = {"Grundzustand", "CR", "LF", "Papierlänge", "Breitschrift ein",
                                                "Breitschrift aus"};

    auto colourHalf = [this](int k) {
        uint16_t c = m_colours[static_cast<size_t>(k)];
        return FormatString(LoadString(kIdsThreeNumbersHalf),
                            {Text("Farbe ") + std::to_string(k + 1), static_cast<long>((c & 0xF) * 10),
                             static_cast<long>(((c >> 4) & 0xF) * 10), static_cast<long>(((c >> 8) & 0xF) * 10)});
    };

    switch (line) {
    case 0:
        return HalfText("Projektname", m_projectName);
    case 1: {
        int lang = m_language == 'E' ? 1 : m_language == 'F' ? 2 : m_language == 'K' ? 3 : 0;
        return HalfNumber(Text("DPR-Länge"), m_dprLength) + HalfText("Sprache", Item(kLanguages, 4, lang));
    }
    case 2:
        return HalfNumber("DB-Nummer", m_transferDb) +
               HalfText("Bildformat", m_pictureFormat == 2 ? "512*512" : "256*512");
    case 3:
        return HalfNumber("DW_Nummer", m_transferDw) + HalfText("Blinken Farbe 8", YesNo(m_blinkColour8));
    case 4: case 10: case 14: case 22:
        return {};
    case 5:
        return HalfText("Farbe", "R    G    B") + HalfText("Farbe", "R    G    B");
    case 6: case 7: case 8: case 9:
        return colourHalf(line - 6) + colourHalf(line - 2);
    case 11:
        return HalfText("Kopplungsart", m_coupling ? "TTY" : "V24") +
               HalfText("Stop Bits", Item(kStopBits, 3, m_stopBitsIndex));
    case 12:
        return HalfText("Baudrate", Item(kBaud, 8, m_baudIndex)) +
               HalfText(Text("Parität"), Item(kParity, 3, m_parityIndex));
    case 13:
        return HalfText("Daten Bits", Item(kDataBits, 2, m_dataBitsIndex)) +
               HalfText("Handshake", Item(kHandshake, 4, m_handshakeIndex));
    case 15:
        return HalfNumber(Text("Papierlänge"), m_linesPerPage) + HalfNumber("Zeichen/Zeile", m_charsPerLine);
    case 16: case 17: case 18: case 19: case 20: case 21: {
        int k = line - 16;
        std::string left = HalfText(Text(kLeftControls[k]), FormatControlHex(m_controls[static_cast<size_t>(k)]));
        if (line == 21) return left;
        std::string caption = k == 0 ? std::string("Unterstreichen ein")
                              : k == 1 ? std::string("Unterstreichen aus")
                                       : LoadString(kIdsPitchCaption + k - 2);
        return left + HalfText(caption, FormatControlHex(m_controls[static_cast<size_t>(k + 6)]));
    }
    case 23: {
        std::string type = m_hardcopyType >= 1 && m_hardcopyType <= 3 ? LoadString(kIdsPrinterType + m_hardcopyType - 1)
                                                                        : std::string();
        return HalfText("Drucker-Typ", type) + HalfText("FeldCursor", OldNew(m_fieldCursorNew));
    }
    case 24:
        return HalfText("Format", Item(kFormats, 3, m_hardcopyFormat - 1u)) +
               HalfText("Blinken", YesNo(m_fieldCursorBlink));
    case 25:
        return HalfText("Invers", YesNo(m_hardcopyInverse)) + HalfText("FensterCursor", OldNew(m_windowCursorNew));
    case 26:
        return HalfText("", "") + HalfText("Blinken", YesNo(m_windowCursorBlink));
    default:
        return {};
    }
}
