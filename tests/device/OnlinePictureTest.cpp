#include <map>

#include "LinkFixture.h"
#include "util/Charset.h"

namespace {

struct FakeElement : IOnlineElement {
    OnlineElementDesc d;
    explicit FakeElement(OnlineElementDesc desc) : d(std::move(desc)) {}
    OnlineElementDesc Describe() const override { return d; }
};

struct FakePicture : IOnlinePicture {
    bool loaded = true;
    uint8_t background = 5;
    std::map<char, std::vector<const IOnlineElement*>> elements;
    std::map<int, std::array<uint8_t, 6>> userSymbols;
    std::map<int, std::string> standardTexts;
    OnlineSystemBlock block;
    bool IsLoaded() const override { return loaded; }
    uint8_t BackgroundColour() const override { return background; }
    std::vector<const IOnlineElement*> Elements(char kind) const override
    {
        auto it = elements.find(kind);
        return it == elements.end() ? std::vector<const IOnlineElement*>() : it->second;
    }
    OnlineSystemBlock SystemBlock() const override { return block; }
    bool UserSymbolPattern(int index, std::array<uint8_t, 6>& pattern) const override
    {
        auto it = userSymbols.find(index);
        if (it == userSymbols.end()) return false;
        pattern = it->second;
        return true;
    }
    bool StandardText(int number, std::string& text) const override
    {
        auto it = standardTexts.find(number);
        if (it == standardTexts.end()) return false;
        text = it->second;
        return true;
    }
};

OnlineElementDesc Kind(OnlineElementKind k, int x = 0, int y = 0)
{
    OnlineElementDesc d;
    d.kind = k;
    d.x = x;
    d.y = y;
    d.foreground = 2;
    d.background = 1;
    return d;
}

}  // namespace

TEST(ElementTelegrams, Bytes)
{
    FakePicture pic;
    pic.userSymbols[2] = {1, 2, 3, 4, 5, 6};
    pic.standardTexts[7] = "Pumpe";

    OnlineElementDesc bar = Kind(OnlineElementKind::bar);
    bar.direction = 2;
    bar.barWidth = 9;
    bar.positive = {300, {{40, 3}, {60, 4}}};
    bar.negative = {100, {{100, 6}}};
    OnlineElementDesc barBad = bar;
    barBad.direction = 6;
    OnlineElementDesc window = Kind(OnlineElementKind::window);
    window.widthPixels = 60;
    window.heightPixels = 40;
    window.widthFactor = 2;
    window.heightFactor = 1;
    OnlineElementDesc vnum = Kind(OnlineElementKind::vfield);
    vnum.fieldType = 1;
    vnum.dataType = 4;
    vnum.digits = 5;
    vnum.widthFactor = 1;
    vnum.heightFactor = 2;
    vnum.italic = true;
    OnlineElementDesc vcomment = Kind(OnlineElementKind::vfield);
    vcomment.fieldType = 5;
    vcomment.comment = "Ein @007 aus@999!";
    OnlineElementDesc vlong = vcomment;
    vlong.comment = std::string(100, 'k');
    OnlineElementDesc vbits = Kind(OnlineElementKind::vfield);
    vbits.fieldType = 7;
    OnlineElementDesc vbad = Kind(OnlineElementKind::vfield);
    vbad.fieldType = 13;
    OnlineElementDesc sym = Kind(OnlineElementKind::symbol);
    sym.symbolNumber = 17;
    OnlineElementDesc symMode2 = sym;
    symMode2.recordFlags = 0x20;
    OnlineElementDesc symUser = sym;
    symUser.symbolNumber = 130;
    OnlineElementDesc symMissing = sym;
    symMissing.symbolNumber = 131;
    OnlineElementDesc symCross = sym;
    symCross.symbolNumber = 250;
    symCross.recordFlags = 0x02;
    OnlineElementDesc chr = Kind(OnlineElementKind::singleSymbol);
    chr.isCharacter = true;
    chr.characterCode = 'A';
    chr.colourBit6 = true;
    OnlineElementDesc single = Kind(OnlineElementKind::singleSymbol);
    single.symbolNumber = 12;
    OnlineElementDesc singleUser = single;
    singleUser.symbolNumber = 129;

    std::vector<uint8_t> longComment {0x86, 0x50, 0x11, 0x11, 80};
    longComment.insert(longComment.end(), 80, 'k');

    struct Case {
        const char* what;
        OnlineElementDesc d;
        int mode;
        bool built;
        Bytes bytes;
    };
    const Case cases[] = {
        {"bar with negative zones", bar, 0, true,
         {0x89, 2, 9, 0x2C, 0x01, 2, 4, 40, 3, 100, 0, 1, 6}},
        {"bar erased", bar, 1, true, {0x89, 2, 9, 0x2C, 0x01, 2, 5, 40, 5, 100, 0, 1, 5}},
        {"bar direction 6", barBad, 0, false, {}},
        {"window", window, 0, true, {0x85, 20, 5, 0x11}},
        {"window erased", window, 1, true, {0x85, 20, 5, 0x2D}},
        {"numeric V-field, data type 4", vnum, 0, true, {0x86, 0x14, 0x12, 0x51, 7}},
        {"comment with a standard text", vcomment, 0, true,
         {0x86, 0x50, 0x11, 0x11, 18, 'E', 'i', 'n', ' ', 'P', 'u', 'm', 'p', 'e', ' ', 'a', 'u', 's', '@', '9', '9', '9', '!'}},
        {"comment cut to 80", vlong, 0, true, longComment},
        {"bit field", vbits, 0, true, {0x86, 0x70, 0x11, 0x11}},
        {"unknown field type", vbad, 0, false, {}},
        {"symbol", sym, 0, true, {0x83, 17, 0x11, 0x11}},
        {"symbol colour mode 2", symMode2, 0, true, {0x83, 17, 0x18, 0x11}},
        {"symbol erased", symMode2, 1, true, {0x83, 17, 0x2D, 0x11}},
        {"user symbol", symUser, 0, true, {0x83, 130, 0x11, 0x11, 1, 2, 3, 4, 5, 6}},
        {"missing user symbol", symMissing, 0, true, {0x83, 131, 0x11, 0x11, 0xFF, 0xA5, 0x99, 0x99, 0xA5, 0xFF}},
        {"cross above 240", symCross, 0, true, {0x83, 250, 0x11, 0x11, 0x10, 0x10, 0xFE, 0x10, 0x10, 0x00}},
        {"single character", chr, 0, true, {0x82, 0, 0x11, 0x51, 10, 'A'}},
        {"single symbol", single, 0, true, {0x82, 0, 0x11, 0x11, 12, 12}},
        {"single user symbol", singleUser, 0, true, {0x82, 0, 0x11, 0x11, 11, 0xFF, 0xA5, 0x99, 0x99, 0xA5, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes out;
        bool unknown = true;
        EXPECT_EQ(BuildElementTelegram(c.d, c.mode, pic, out, unknown), c.built);
        EXPECT_FALSE(unknown);
        EXPECT_EQ(out, c.bytes);
    }
    Bytes out;
    bool unknown = false;
    EXPECT_FALSE(BuildElementTelegram(Kind(OnlineElementKind::other), 0, pic, out, unknown));
    EXPECT_TRUE(unknown);
    EXPECT_EQ(BuildPositionTelegram(0x123, 7), (Bytes {0x03, 0x20, 0x23, 0x01, 7, 0}));
}

class OnlinePicture : public LinkFixture {
protected:
    void SetUp() override
    {
        oldExeDir = App().ExeDir();
        App().SetExecutableDir(install.path + "bin/");
        fsx::MakeDirectories(install + "920");
    }
    void TearDown() override
    {
        LinkFixture::TearDown();
        App().SetExecutableDir(oldExeDir);
    }
    std::vector<uint8_t> Codes(size_t from)
    {
        std::vector<uint8_t> codes;
        auto r = sim->Received();
        for (size_t i = from; i < r.size(); ++i) codes.push_back(r[i].empty() ? 0xFF : r[i][0]);
        return codes;
    }
    std::string oldExeDir;
    TempDir install;
};

TEST_F(OnlinePicture, NamedListsComeFromTheProjectThenTheProgramDirectory)
{
    StartModule();
    Bytes erst = OptionList(3);
    WriteFile(dir + "ERST.920", erst);
    Bytes fsym {132, 8, 0, 1, 2, 3, 4, 5};
    WriteFile(install + "920/FSYM.SYS", fsym);
    ASSERT_TRUE(OpenLink());
    EXPECT_TRUE(comm.LoadNamedList(dir.path, "920", "ERST"));
    EXPECT_TRUE(comm.LoadNamedList(dir.path, "920", "FSYM"));
    EXPECT_EQ(sim->ListImage("ERST"), erst);
    EXPECT_EQ(sim->ListImage("FSYM"), fsym);
    // Already in the module: that is what was wanted.
    EXPECT_TRUE(comm.LoadNamedList(dir.path, "920", "FSYM"));
    EXPECT_EQ(comm.ErrorInfo().Id(), 0);
    EXPECT_FALSE(comm.LoadNamedList(dir.path, "920", "CPRO"));
    EXPECT_EQ(Cp1252ToUtf8(comm.ErrorInfo().Format()), "Fehler 43: Datei \"CPRO.920\" nicht gefunden.");
}

TEST_F(OnlinePicture, StartWithEachConfigurationState)
{
    struct Case {
        int state;
        bool erst, fsym;
        const char* error;
    };
    const Case cases[] = {{0, true, true, ""},
                          {1, false, true, ""},
                          {2, true, false, ""},
                          {3, false, false, "Fehler 68: Unerwartetes Telegramm von PX920, Fkt.-Nr. = 03h"},
                          {4, false, false, ""}};
    Bytes erst = OptionList(3);
    Bytes fsym {132, 4, 0, 9};
    WriteFile(dir + "ERST.920", erst);
    WriteFile(install + "920/FSYM.920", fsym);  // only in the program directory
    FakePicture pic;
    for (int i = 0; i < 16; ++i) pic.block.colourTable[i] = static_cast<uint8_t>(0xA0 + i);
    pic.block.pictureFormat = 1;
    pic.block.userSymbols = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    Bytes block {0x81};
    for (int i = 0; i < 16; ++i) block.push_back(static_cast<uint8_t>(0xA0 + i));
    block.insert(block.end(), {1, 2, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        opt.configState = c.state;
        StartModule();
        ASSERT_TRUE(OpenLink());
        bool ok = comm.StartOnlinePicture(pic, dir.path, "920");
        EXPECT_EQ(ok, *c.error == 0);
        EXPECT_EQ(comm.ErrorInfo().Format(), ok ? "Meldung 2: Kein Fehler." : c.error);
        EXPECT_EQ(sim->HasList("ERST"), c.erst);
        EXPECT_EQ(sim->HasList("FSYM"), c.fsym);
        if (ok) {
            EXPECT_EQ(sim->Received().back(), block);
        }
        comm.ErrorInfo().Clear();
        LinkFixture::TearDown();
        simStop.Reset();
    }
}

TEST_F(OnlinePicture, RefusedStart)
{
    opt.refuseOnline = true;
    StartModule();
    FakePicture pic;
    ASSERT_TRUE(OpenLink());
    EXPECT_FALSE(comm.StartOnlinePicture(pic, dir.path, "920"));
    EXPECT_EQ(Cp1252ToUtf8(comm.ErrorInfo().Format()), "Fehler 64: Online-Bildprojektierung nicht möglich");
}

TEST_F(OnlinePicture, PictureUploadFollowsTheEditSequenceAndElementModes)
{
    StartModule();
    FakePicture pic;
    FakeElement w(Kind(OnlineElementKind::window, 10, 20));
    OnlineElementDesc vd = Kind(OnlineElementKind::vfield, 30, 40);
    vd.fieldType = 8;
    FakeElement v(vd);
    FakeElement s(Kind(OnlineElementKind::symbol, 1, 2));
    FakeElement c(Kind(OnlineElementKind::singleSymbol, 3, 4));
    OnlineElementDesc bd = Kind(OnlineElementKind::bar, 5, 6);
    bd.positive = {10, {{100, 1}}};
    FakeElement b(bd);
    pic.elements['W'] = {&w};
    pic.elements['V'] = {&v};
    pic.elements['S'] = {&s};
    pic.elements['C'] = {&c};
    pic.elements['B'] = {&b};
    App().Settings().editSequence = "VBWSC";
    ASSERT_TRUE(OpenLink());
    EXPECT_FALSE(comm.SwitchDisplay(1));  // no picture yet
    comm.ErrorInfo().Clear();
    size_t from = Telegrams();
    ASSERT_TRUE(comm.SendPicture(pic));
    App().Settings().editSequence = "WSCBV";
    EXPECT_EQ(Codes(from), (Bytes {0x02, 0x02, 0x03, 0x86, 0x0C, 0x03, 0x89, 0x0C, 0x03, 0x85, 0x0C, 0x03, 0x83,
                                   0x0C, 0x03, 0x82, 0x0C}));
    auto r = sim->Received();
    EXPECT_EQ(r[from], (Bytes {0x02, 0x00}));
    EXPECT_EQ(r[from + 1], (Bytes {0x02, 0x11, 5}));
    EXPECT_EQ(r[from + 2], (Bytes {0x03, 0x20, 30, 0, 40, 0}));

    // Begin editing, update, end editing.
    from = Telegrams();
    ASSERT_TRUE(comm.SendElement(w, kElementBeginEdit));
    EXPECT_TRUE(comm.EditMode());
    ASSERT_TRUE(comm.SendElement(w, kElementUpdate));
    EXPECT_TRUE(comm.EditMode());
    ASSERT_TRUE(comm.SendElement(w, kElementEndEdit));
    EXPECT_FALSE(comm.EditMode());
    EXPECT_EQ(Codes(from), (Bytes {0x03, 0x85, 0x0B, 0x85, 0x0B, 0x03, 0x85, 0x0C}));

    // Erase: every colour becomes the background colour.
    from = Telegrams();
    ASSERT_TRUE(comm.SendElement(w, kElementErase));
    EXPECT_EQ(sim->Received()[from + 1], (Bytes {0x85, 0, 0, 0x2D}));

    from = Telegrams();
    EXPECT_TRUE(comm.SwitchDisplay(1));
    EXPECT_TRUE(comm.SendPosition("12", "34"));
    EXPECT_TRUE(comm.PositionDone());
    EXPECT_TRUE(comm.EndEditing());
    r = sim->Received();
    EXPECT_EQ(r[from], (Bytes {0x04, 1}));
    EXPECT_EQ(r[from + 1], (Bytes {0x03, 0x20, 12, 0, 34, 0}));
    EXPECT_EQ(r[from + 2], (Bytes {0x03, 0x0A}));
    EXPECT_EQ(r[from + 3], (Bytes {0x0B}));

    FakeElement other(Kind(OnlineElementKind::other));
    EXPECT_FALSE(comm.SendElement(other, kElementNew));
    EXPECT_EQ(comm.ErrorInfo().Id(), 62001);
}

TEST_F(OnlinePicture, ModuleErrorInPictureConfigurationIsReportedByTheDialogWrappers)
{
    opt.elementError = 9;
    StartModule();
    FakePicture pic;
    FakeElement w(Kind(OnlineElementKind::window, 1, 1));
    ASSERT_TRUE(OpenLink());
    ASSERT_TRUE(comm.SendPicture(pic));  // no elements: nothing the module refuses
    CSilentUserInteraction ui;
    EXPECT_FALSE(comm.DlgSendElement(w, kElementNew, ui));
    EXPECT_EQ(ui.m_lastText, "Fehler 69: PX920 meldet Fehler 9 bei Bildprojektierung");
    EXPECT_EQ(comm.ErrorInfo().Id(), 0);
    EXPECT_TRUE(comm.DlgSendPosition("1", "2", ui));
}
