#include <gtest/gtest.h>

#include <memory>

#include "listfile/ByteStream.h"
#include "project/ListKinds.h"
#include "project/Projekt.h"
#include "sysdata/SystemdatenListe.h"
#include "util/Charset.h"
#include "util/Strings.h"
#include "../util/TempDir.h"

namespace {
// A new list of the project "TEST" as the module receives it.
const std::vector<uint8_t> kDefaultList = {
    // ListHeader: type 1, total length 123, project name blank-filled to 32
    0x01, 0x7B, 0x00, 0x21,
    'T', 'E', 'S', 'T', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
    ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
    0x01,                    // picture format 256 * 512
    0x00, 0x01,              // DPR length 256
    0x00, 0x00, 0x00, 0x0A, 0xA0, 0x00, 0xA0, 0x0A,  // colours 1-4 of the "Farbe" preset
    0x0A, 0x00, 0x0A, 0x0A, 0xAA, 0x00, 0xAA, 0x0A,  // colours 5-8
    0x00,                    // blink colour 8
    0x14,                    // transfer DB 20
    0x14, 0x00,              // transfer DW 20
    'D',                     // language
    0x37, 0x00,              // printer block length 55
    0x07,                    // 9600 baud, no parity, 1 stop bit
    0x10,                    // V24, 8 data bits, hardware handshake
    0x48, 0x50,              // 72 lines per page, 80 characters per line
    0x1B, 0x45, 0x00,                    // reset
    0x0D, 0x00,                          // carriage return
    0x0A, 0x00,                          // line feed
    0x0D, 0x00,                          // paper length
    0x1B, 0x28, 0x73, 0x31, 0x42, 0x00,  // wide print on
    0x1B, 0x28, 0x73, 0x30, 0x42, 0x00,  // wide print off
    0x1B, 0x26, 0x64, 0x44, 0x00,        // underline on
    0x1B, 0x26, 0x64, 0x40, 0x00,        // underline off
    0x1B, 0x26, 0x6B, 0x30, 0x53, 0x00,  // pitch 0
    0x1B, 0x26, 0x6B, 0x34, 0x53, 0x00,  // pitch 1
    0x1B, 0x26, 0x6B, 0x32, 0x53, 0x00,  // pitch 2
    0x05, 0x00, 0x02, 0x01, 0x00,        // hardcopy: RQ66, single height, not inverse
    0x03, 0x00, 0x33,                    // cursors: both new and blinking
};
constexpr size_t kPrinterBlockAt = 60;
constexpr size_t kInterface2At = kPrinterBlockAt + 3;
constexpr size_t kHardcopyAt = 115;
constexpr size_t kCursorAt = 120;

// The same list as an older firmware writes it: no hardcopy and cursor blocks.
std::vector<uint8_t> PreV40List()
{
    std::vector<uint8_t> v(kDefaultList.begin(), kDefaultList.begin() + kHardcopyAt);
    v[1] = static_cast<uint8_t>(v.size());
    return v;
}

class SysdataTest : public ::testing::Test {
protected:
    void SetUp() override { root = std::make_unique<CProjekt>(dir.Path(), "920"); }

    // A node on the file SDAT.920 holding the given bytes.
    std::unique_ptr<CSystemdatenListe> Node(const std::vector<uint8_t>& bytes)
    {
        dir.Write("SDAT.920", bytes);
        return std::make_unique<CSystemdatenListe>(root.get(), "SDAT.920");
    }
    std::unique_ptr<CSystemdatenListe> NewList(const std::string& name)
    {
        auto s = std::make_unique<CSystemdatenListe>(root.get(), root->MakeFileName("SDAT"));
        s->SetDefaults();
        s->m_projectName = PadRight(name, 32);
        return s;
    }

    TempDir dir;
    std::unique_ptr<CProjekt> root;
};

class OtherNode : public CNode {
public:
    explicit OtherNode(int type) : CNode(nullptr, 0, "x"), m_type(type) {}
    int GetType() const override { return m_type; }
    std::string GetColumnText(int) const override { return {}; }
    int m_type;
};
}  // namespace

TEST_F(SysdataTest, NewListForAProject)
{
    auto s = std::make_unique<CSystemdatenListe>(root.get(), root->MakeFileName("SDAT"));
    EXPECT_EQ(s->m_valid, 0);  // no file yet
    EXPECT_EQ(Cp1252ToUtf8(s->m_name), "Systemdaten-Liste");
    s->SetDefaults();
    EXPECT_EQ(s->m_loaded, 1);
    EXPECT_EQ(s->m_modified, 1);
    s->m_projectName = PadRight("TEST", 32);
    EXPECT_EQ(s->TotalLength(), 123u);
    ASSERT_TRUE(s->Save());
    EXPECT_EQ(dir.Read("SDAT.920"), kDefaultList);
    EXPECT_EQ(s->m_valid, 1);
    EXPECT_EQ(s->m_modified, 0);
    EXPECT_EQ(s->m_fileLength, 123);
    EXPECT_FALSE(s->m_fileDate.empty());
    EXPECT_EQ(s->GetType(), NT_SYSDATA);
    EXPECT_EQ(s->GetColumnCount(), 0);
    EXPECT_EQ(s->GetColumnHeaders(), "");
}

TEST_F(SysdataTest, ProbeTakesTheHeader)
{
    auto s = Node(kDefaultList);
    EXPECT_EQ(s->m_valid, 1);
    EXPECT_EQ(s->m_loaded, 0);
    EXPECT_EQ(s->m_projectName, PadRight("TEST", 32));
    EXPECT_EQ(s->m_fileLength, 123);
    EXPECT_FALSE(s->m_fileDate.empty());
    EXPECT_EQ(s->GetColumnText(1), "SDAT");
    EXPECT_EQ(s->GetColumnText(2), "920");

    std::vector<uint8_t> picture = kDefaultList;
    picture[0] = 2;
    EXPECT_EQ(Node(picture)->m_valid, 0);
    EXPECT_EQ(Node({1, 0x7B})->m_valid, 0);
    std::vector<uint8_t> badName = kDefaultList;
    badName[3] = 0;  // length byte 0
    EXPECT_EQ(Node(badName)->m_valid, 0);
    EXPECT_EQ(CSystemdatenListe(root.get(), "MISSING.920").m_valid, 0);
}

TEST_F(SysdataTest, LoadReadsEveryField)
{
    auto s = Node(kDefaultList);
    s->m_firmwareV40 = 0;
    ASSERT_TRUE(s->Load());
    EXPECT_EQ(s->m_loaded, 1);
    EXPECT_EQ(s->m_pictureFormat, 1);
    EXPECT_EQ(s->m_dprLength, 256);
    EXPECT_EQ(s->m_colours, CSystemdatenListe::ColourPreset(true));
    EXPECT_EQ(s->m_transferDb, 20);
    EXPECT_EQ(s->m_transferDw, 20);
    EXPECT_EQ(s->m_language, 'D');
    EXPECT_EQ(s->m_baudIndex, 7);
    EXPECT_EQ(s->m_handshakeIndex, 0);
    EXPECT_EQ(s->m_linesPerPage, 72);
    EXPECT_EQ(s->m_charsPerLine, 80);
    EXPECT_EQ(s->m_controls, DefaultPrinterControls());
    EXPECT_EQ(s->m_firmwareV40, 1);
    EXPECT_EQ(s->m_hardcopyType, 2);
    EXPECT_EQ(s->m_hardcopyFormat, 1);
    EXPECT_EQ(s->m_fieldCursorNew, 1);
    EXPECT_EQ(s->m_windowCursorBlink, 1);
}

TEST_F(SysdataTest, RoundTripOfChangedValues)
{
    auto s = NewList("Anlage Süd");
    s->m_pictureFormat = 2;
    s->m_dprLength = 64;
    s->m_colours = CSystemdatenListe::ColourPreset(false);
    s->m_blinkColour8 = 1;
    s->m_transferDb = 0;
    s->m_transferDw = 0;
    s->m_language = 'K';
    s->m_baudIndex = 3;
    s->m_parityIndex = 2;
    s->m_stopBitsIndex = 1;
    s->m_coupling = 1;
    s->m_dataBitsIndex = 1;
    s->m_handshakeIndex = 3;
    s->m_linesPerPage = 99;
    s->m_charsPerLine = 132;
    s->m_controls[0] = "";
    s->m_controls[10] = "\x01\xFF";
    s->m_hardcopyType = 3;
    s->m_hardcopyFormat = 2;
    s->m_hardcopyInverse = 1;
    s->m_fieldCursorNew = 0;
    s->m_windowCursorBlink = 0;
    ASSERT_TRUE(s->Save());
    std::vector<uint8_t> written = dir.Read("SDAT.920");
    EXPECT_EQ(written.size(), s->TotalLength());
    EXPECT_EQ(written[1] | (written[2] << 8), static_cast<int>(written.size()));

    auto back = std::make_unique<CSystemdatenListe>(root.get(), "SDAT.920");
    ASSERT_TRUE(back->Load());
    EXPECT_EQ(back->m_projectName, s->m_projectName);
    EXPECT_EQ(back->m_pictureFormat, 2);
    EXPECT_EQ(back->m_dprLength, 64);
    EXPECT_EQ(back->m_colours, CSystemdatenListe::ColourPreset(false));
    EXPECT_EQ(back->m_blinkColour8, 1);
    EXPECT_EQ(back->m_transferDb, 0);
    EXPECT_EQ(back->m_transferDw, 0);
    EXPECT_EQ(back->m_language, 'K');
    EXPECT_EQ(back->m_baudIndex, 3);
    EXPECT_EQ(back->m_parityIndex, 2);
    EXPECT_EQ(back->m_stopBitsIndex, 1);
    EXPECT_EQ(back->m_coupling, 1);
    EXPECT_EQ(back->m_dataBitsIndex, 1);
    EXPECT_EQ(back->m_handshakeIndex, 3);
    EXPECT_EQ(back->m_linesPerPage, 99);
    EXPECT_EQ(back->m_charsPerLine, 132);
    EXPECT_EQ(back->m_controls, s->m_controls);
    EXPECT_EQ(back->m_hardcopyType, 3);
    EXPECT_EQ(back->m_hardcopyFormat, 2);
    EXPECT_EQ(back->m_hardcopyInverse, 1);
    EXPECT_EQ(back->m_fieldCursorNew, 0);
    EXPECT_EQ(back->m_fieldCursorBlink, 1);
    EXPECT_EQ(back->m_windowCursorNew, 1);
    EXPECT_EQ(back->m_windowCursorBlink, 0);

    ASSERT_TRUE(back->Save());
    EXPECT_EQ(dir.Read("SDAT.920"), written);
}

TEST_F(SysdataTest, OlderFirmwareFormWithoutTheV40Blocks)
{
    auto s = Node(PreV40List());
    ASSERT_EQ(s->m_valid, 1);
    ASSERT_TRUE(s->Load());
    EXPECT_EQ(s->m_firmwareV40, 0);
    EXPECT_EQ(s->m_fileLength, 115);
    EXPECT_EQ(s->TotalLength(), 115u);
    ASSERT_TRUE(s->Save());
    EXPECT_EQ(dir.Read("SDAT.920"), PreV40List());

    // Fewer than 8 bytes after the printer block count as absent, too.
    std::vector<uint8_t> seven = PreV40List();
    for (int i = 0; i < 7; ++i) seven.push_back(0xEE);
    seven[1] = static_cast<uint8_t>(seven.size());
    auto t = Node(seven);
    ASSERT_TRUE(t->Load());
    EXPECT_EQ(t->m_firmwareV40, 0);
}

TEST_F(SysdataTest, HandshakeAndCursorDecoding)
{
    struct Case {
        uint8_t interface2;
        int handshake;  // expected index; the list held 2 before loading
        int tty;
        int sevenBits;
    } cases[] = {
        {0x10, 0, 0, 0}, {0x14, 0, 0, 0}, {0x1C, 0, 0, 0}, {0x04, 1, 0, 0},
        {0x0C, 3, 0, 0}, {0x08, 2, 0, 0}, {0x00, 2, 0, 0}, {0x03, 2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.interface2));
        std::vector<uint8_t> bytes = kDefaultList;
        bytes[kInterface2At] = c.interface2;
        auto s = Node(bytes);
        s->m_handshakeIndex = 1;
        s->m_handshakeIndex = 2;
        ASSERT_TRUE(s->Load());
        EXPECT_EQ(s->m_handshakeIndex, c.handshake);
        EXPECT_EQ(s->m_coupling, c.tty);
        EXPECT_EQ(s->m_dataBitsIndex, c.sevenBits);
    }

    std::vector<uint8_t> bytes = kDefaultList;
    bytes[kCursorAt + 2] = 0x11;
    auto s = Node(bytes);
    ASSERT_TRUE(s->Load());
    EXPECT_EQ(s->m_fieldCursorNew, 1);
    EXPECT_EQ(s->m_fieldCursorBlink, 0);
    EXPECT_EQ(s->m_windowCursorNew, 1);
    EXPECT_EQ(s->m_windowCursorBlink, 0);
}

TEST_F(SysdataTest, DamagedFilesAreRefused)
{
    struct Case {
        const char* what;
        size_t at;
        uint8_t value;
    } cases[] = {
        {"type code 2", 0, 2},
        {"type code 0", 0, 0},
        {"printer block one longer", kPrinterBlockAt, 56},
        {"printer block one shorter", kPrinterBlockAt, 54},
        {"printer block below its fixed part", kPrinterBlockAt, 5},
        {"hardcopy length word 4", kHardcopyAt, 4},
        {"hardcopy length word 6", kHardcopyAt, 6},
        {"cursor length word 2", kCursorAt, 2},
        {"cursor length word 5", kCursorAt, 5},
        {"name length byte 82", 3, 82},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = kDefaultList;
        bytes[c.at] = c.value;
        dir.Write("SDAT.920", bytes);
        CSystemdatenListe s(root.get(), "SDAT.920");
        s.m_transferDb = 99;  // what the list held before
        EXPECT_FALSE(s.Load());
        EXPECT_EQ(s.m_loaded, 0);
        EXPECT_EQ(s.m_transferDb, 99);  // a refused file changes nothing
    }
    // A total length that promises the V4.0 blocks of a file that has none.
    std::vector<uint8_t> promised = PreV40List();
    promised[1] = 123;
    EXPECT_FALSE(Node(promised)->Load());
}

TEST_F(SysdataTest, EveryCutIsRefused)
{
    for (const std::vector<uint8_t>& full : {kDefaultList, PreV40List()}) {
        for (size_t cut = 0; cut < full.size(); ++cut) {
            SCOPED_TRACE(cut);
            dir.Write("SDAT.920", std::vector<uint8_t>(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
            CSystemdatenListe s(root.get(), "SDAT.920");
            EXPECT_FALSE(s.Load());
        }
    }
}

TEST_F(SysdataTest, FailedSaveLeavesTheOldFile)
{
    dir.Write("SDAT.920", kDefaultList);
    {
        auto s = NewList("TEST");
        s->m_projectName = std::string(81, 'N');
        EXPECT_FALSE(s->Save());
        EXPECT_EQ(s->m_modified, 1);
    }
    {
        auto s = NewList("TEST");
        for (std::string& c : s->m_controls) c = std::string(6000, '\x1B');
        EXPECT_GT(s->TotalLength(), 65535u);
        EXPECT_FALSE(s->Save());
    }
    {
        auto s = NewList("TEST");
        s->m_controls[3] = std::string("\x1B\0\x1B", 3);  // would end the sequence early on reading
        EXPECT_FALSE(s->Save());
    }
    EXPECT_EQ(dir.Read("SDAT.920"), kDefaultList);

    auto s = NewList("TEST");
    s->m_projectName = std::string(80, 'N');
    EXPECT_TRUE(s->Save());
    EXPECT_EQ(dir.Read("SDAT.920").size(), 28u + 80 + 55 + 8);
}

TEST_F(SysdataTest, OrderAmongTheRootsFixedLists)
{
    CSystemdatenListe s(root.get(), "SDAT.920");
    for (int t : {NT_USER_SYMBOLS, NT_FIXED_SYMBOLS, NT_STANDARD_TEXTS}) EXPECT_EQ(s.Compare(OtherNode(t)), -1) << t;
    for (int t : {NT_CAT_BILDER, NT_COMPOSITE_LIST, NT_SYSDATA, NT_BILD}) EXPECT_EQ(s.Compare(OtherNode(t)), 1) << t;
    EXPECT_TRUE(s.HasOwnPrintLayout());
}

TEST_F(SysdataTest, PrintedForm)
{
    auto s = NewList("TEST");
    s->m_hardcopyType = 2;
    ASSERT_EQ(s->GetPrintLineCount(), 27);
    auto line = [&](int k) { return Cp1252ToUtf8(s->GetPrintLine(k)); };
    auto half = [](const std::string& caption, const std::string& value) {
        // " %-20.20s %-25.25s" by hand (captions and values here are plain ASCII or counted in code units)
        std::string c = caption.substr(0, 20), v = value.substr(0, 25);
        return " " + c + std::string(20 - c.size(), ' ') + " " + v + std::string(25 - v.size(), ' ');
    };
    EXPECT_EQ(line(0), half("Projektname", "TEST" + std::string(21, ' ')));
    EXPECT_EQ(Cp1252ToUtf8(s->GetPrintLine(1)).size(), 47u * 2 + 1);  // "ä" takes two UTF-8 bytes
    EXPECT_EQ(s->GetPrintLine(1), Utf8ToCp1252(" DPR-Länge            256                      ") +
                                       half("Sprache", "Deutsch"));
    EXPECT_EQ(line(2), half("DB-Nummer", "20") + half("Bildformat", "256*512"));
    EXPECT_EQ(line(3), half("DW_Nummer", "20") + half("Blinken Farbe 8", "Nein"));
    for (int k : {4, 10, 14, 22, -1, 27}) EXPECT_EQ(line(k), "") << k;
    EXPECT_EQ(line(5), half("Farbe", "R    G    B") + half("Farbe", "R    G    B"));
    auto rgb = [](const std::string& caption, const std::string& r, const std::string& g, const std::string& b) {
        return " " + caption + std::string(20 - caption.size(), ' ') + " " + r + std::string(5 - r.size(), ' ') + g +
               std::string(5 - g.size(), ' ') + b + std::string(15 - b.size(), ' ');
    };
    EXPECT_EQ(line(6), rgb("Farbe 1", "0", "0", "0") + rgb("Farbe 5", "100", "0", "0"));
    EXPECT_EQ(line(9), rgb("Farbe 4", "0", "100", "100") + rgb("Farbe 8", "100", "100", "100"));
    EXPECT_EQ(line(11), half("Kopplungsart", "V24") + half("Stop Bits", "1"));
    EXPECT_EQ(line(12), half("Baudrate", "9600") + Cp1252ToUtf8(Utf8ToCp1252(" Parität              keine                    ")));
    EXPECT_EQ(line(13), half("Daten Bits", "8") + half("Handshake", "Hardware"));
    EXPECT_EQ(line(16), half("Grundzustand", "1B 45 ") + half("Unterstreichen ein", "1B 26 64 44 "));
    EXPECT_EQ(line(17), half("CR", "0D ") + half("Unterstreichen aus", "1B 26 64 40 "));
    EXPECT_EQ(line(21), half("Breitschrift aus", "1B 28 73 30 42 "));
    EXPECT_EQ(line(23), half("Drucker-Typ", "02 RQ66") + half("FeldCursor", "Neuer"));
    EXPECT_EQ(line(24), half("Format", "einfach") + half("Blinken", "Ja"));
    EXPECT_EQ(line(25), half("Invers", "Nein") + half("FensterCursor", "Neuer"));
    EXPECT_EQ(line(26), half("", "") + half("Blinken", "Ja"));
}

TEST_F(SysdataTest, RegisteredAsTheRootsSystemDataList)
{
    RegisterBuiltInListKinds();
    const ListFactory* factory = FixedListFactory(NT_SYSDATA);
    ASSERT_NE(factory, nullptr);
    dir.Write("sdat.920", kDefaultList);  // found ignoring case
    std::unique_ptr<CFileList> node((*factory)(root.get(), "SDAT.920"));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetType(), NT_SYSDATA);
    EXPECT_EQ(node->m_valid, 1);
    EXPECT_TRUE(node->Load());
}

TEST(PrinterControl, HexEntryOfTheControlPage)
{
    struct Case {
        const char* text;
        bool ok;
        std::string bytes;
    } cases[] = {
        {"1B 45", true, "\x1B\x45"},
        {"1b 45", true, "\x1B\x45"},
        {"1B 45  ", true, "\x1B\x45"},
        {"  0d\t0A", true, "\x0D\x0A"},
        {"", true, ""},
        {"FF", true, "\xFF"},
        {"1B 00", false, ""},
        {"1B 100", false, ""},
        {"1B,45", false, ""},
        {"1G", false, ""},
        {"0", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string out = "unchanged";
        EXPECT_EQ(ParseControlHex(c.text, out), c.ok);
        if (c.ok) EXPECT_EQ(out, c.bytes);
        else EXPECT_EQ(out, "unchanged");
    }
    EXPECT_EQ(FormatControlHex("\x1B\x26\x6B"), "1B 26 6B ");
    EXPECT_EQ(FormatControlHex(""), "");
}
