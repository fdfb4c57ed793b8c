#include "LinkFixture.h"
#include "transfer/ModuleDirectory.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"

using namespace std::chrono;

class CommOpen : public LinkFixture {};

TEST_F(CommOpen, PortZeroMissingPortAndSilentModuleLeaveTheLinkClosed)
{
    StartModule();
    comm.SetComPort(0);
    EXPECT_FALSE(OpenLink());
    EXPECT_EQ(comm.ErrorInfo().Id(), 62060);
    EXPECT_EQ(comm.ErrorInfo().Number(), 0);
    EXPECT_EQ(comm.State(), LinkState::Closed);

    comm.SetComPort(3);
    comm.SetPortFactory([](int) { return std::unique_ptr<IPort>(); });
    EXPECT_FALSE(OpenLink());
    EXPECT_EQ(comm.ErrorInfo().Id(), 62060);
    EXPECT_EQ(comm.ErrorInfo().Number(), 3);
    EXPECT_EQ(comm.ErrorInfo().Format(), "Fehler 60: Auf COM3 kann nicht zugegriffen werden.");
    EXPECT_EQ(comm.State(), LinkState::Closed);
}

TEST_F(CommOpen, NoAnswerToEnqIsError62)
{
    opt.faults.push_back({SimFault::noEnqAnswer, 0});
    StartModule();
    EXPECT_FALSE(OpenLink());
    EXPECT_EQ(comm.ErrorInfo().Id(), 62062);
    EXPECT_EQ(comm.State(), LinkState::Closed);
    EXPECT_FALSE(App().IsLinkOpen());
}

TEST_F(CommOpen, StatesRawBytesAndTheLinkStateSeenByTheNodes)
{
    StartModule();
    EXPECT_EQ(App().LinkState(), &comm);
    ASSERT_TRUE(OpenLink(2));
    EXPECT_TRUE(App().IsLinkOpen());
    EXPECT_TRUE(App().IsLink3964R());
    EXPECT_FALSE(comm.SendRawByte(0x41));  // not in procedure mode
    EXPECT_FALSE(OpenLink(2));             // a second open is an internal error
    EXPECT_EQ(comm.ErrorInfo().Id(), 62001);
    EXPECT_EQ(comm.ErrorInfo().Text(), "Comm");
    comm.ErrorInfo().Clear();
    comm.Close();
    EXPECT_EQ(comm.State(), LinkState::Closed);
    comm.Close();  // harmless
    // The closing telegram went out.
    for (int i = 0; i < 100 && Telegrams() == 0; ++i) std::this_thread::sleep_for(milliseconds(5));
    ASSERT_EQ(Telegrams(), 1u);
    EXPECT_EQ(sim->Received()[0], Bytes {0x00});

    ASSERT_TRUE(OpenLink(1));
    EXPECT_EQ(comm.State(), LinkState::Raw);
    EXPECT_TRUE(App().IsLinkOpen());
    EXPECT_FALSE(App().IsLink3964R());
    EXPECT_TRUE(comm.SendRawByte(0x31));
    EXPECT_TRUE(comm.SendRawByte(0x8A));
    comm.Close();
    for (int i = 0; i < 100 && sim->KeyCodes().size() < 2; ++i) std::this_thread::sleep_for(milliseconds(5));
    EXPECT_EQ(sim->KeyCodes(), (Bytes {0x31, 0x8A}));
    EXPECT_EQ(Telegrams(), 1u);  // no closing telegram from a raw link
}

TEST_F(CommOpen, OpeningRuleReportsBusyLink)
{
    StartModule();
    ASSERT_TRUE(OpenLink());
    CSilentUserInteraction ui;
    EXPECT_FALSE(OpenLinkForUser(comm, 2, ui));
    EXPECT_EQ(ui.m_lastText, "Fehler 61: Eine andere Online-Verbindung ist bereits aktiv");
    EXPECT_EQ(comm.State(), LinkState::Procedure);
}

class CommTransfer : public LinkFixture {};

TEST_F(CommTransfer, LoadThenReadBackGivesTheSameImage)
{
    StartModule();
    Bytes image = LongHeaderList(9, "001", "Meldungen Kessel", 300);
    WriteFile(dir + "T001.920", image);
    ASSERT_TRUE(OpenLink());
    ASSERT_TRUE(comm.StartLoad(dir.path, "t001.920"));
    EXPECT_EQ(comm.DataLength(), image.size());
    auto done = AwaitCompletion();
    EXPECT_EQ(done, (std::pair<unsigned, int> {0x600, 1}));
    EXPECT_FALSE(comm.Busy());
    EXPECT_EQ(comm.ErrorInfo().Id(), 0);
    EXPECT_EQ(sim->ListImage("T001"), image);
    // The request: 02, type, the three identifier characters, the length.
    Bytes request {0x02, 9, '0', '0', '1', static_cast<uint8_t>(image.size() & 0xFF),
                   static_cast<uint8_t>(image.size() >> 8)};
    EXPECT_EQ(sim->Received().at(0), request);
    EXPECT_EQ(comm.Progress(), static_cast<int>(image.size()));

    TempDir other;
    ASSERT_TRUE(comm.StartRead(other.path, "T001.920"));
    done = AwaitCompletion();
    EXPECT_EQ(done, (std::pair<unsigned, int> {0x601, 1}));
    EXPECT_EQ(ReadFile(other + "T001.920"), image);
    EXPECT_EQ(sim->Received().at(2), (Bytes {'P', 'T', '0', '0', '1', 0, 0}));
    EXPECT_EQ(sim->Received().at(3)[0], 'S');
}

TEST_F(CommTransfer, LoadRequestsOfEveryHeaderForm)
{
    StartModule();
    struct Case {
        const char* file;
        Bytes image;
        Bytes header;  // bytes 1..4 of the request
    };
    Bytes sdat = ShortHeaderList(1), xtex = ShortHeaderList(128), asym = ShortHeaderList(129);
    Bytes fsym {132, 0, 0, 1, 2, 3, 4, 5};
    PutU16(&fsym[1], static_cast<uint16_t>(fsym.size()));
    const Case cases[] = {
        {"SDAT.920", sdat, {1, 0, 0, 0}},
        {"XTEX.920", xtex, {128, 0, 0, 0}},
        {"ASYM.920", asym, {129, 0, 0, 0}},
        {"FSYM.SYS", fsym, {132, 0, 0, 0}},
        {"ERST.SYS", OptionList(3), {3, 3, 0, 0}},
        {"CSKA.920", OptionList(4), {3, 4, 0, 0}},
        {"B007.920", LongHeaderList(2, "007", "Bild"), {2, '0', '0', '7'}},
        {"PABC.920", LongHeaderList(11, "ABC", "Protokoll"), {11, 'A', 'B', 'C'}},
        {"GXYZ.920", LongHeaderList(12, "XYZ", "Schritte"), {12, 'X', 'Y', 'Z'}},
    };
    ASSERT_TRUE(OpenLink());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WriteFile(dir + c.file, c.image);
        size_t before = Telegrams();
        ASSERT_TRUE(comm.StartLoad(dir.path, c.file));
        EXPECT_EQ(AwaitCompletion().second, 1);
        Bytes request = sim->Received().at(before);
        Bytes expected {0x02};
        expected.insert(expected.end(), c.header.begin(), c.header.end());
        expected.push_back(static_cast<uint8_t>(c.image.size() & 0xFF));
        expected.push_back(static_cast<uint8_t>(c.image.size() >> 8));
        EXPECT_EQ(request, expected);
        EXPECT_EQ(sim->Received().at(before + 1), c.image);
    }
}

TEST_F(CommTransfer, FileProblemsGiveError42WithoutATelegram)
{
    StartModule();
    Bytes undefined = LongHeaderList(2, "001", "x");
    undefined[0] = 5;
    WriteFile(dir + "B001.920", undefined);
    Bytes shortFile = LongHeaderList(2, "002", "x");
    PutU16(&shortFile[1], static_cast<uint16_t>(shortFile.size() + 10));  // claims more than it has
    WriteFile(dir + "B002.920", shortFile);
    WriteFile(dir + "CSKA.920", Bytes {4, 12, 0});  // an option list without its 12-byte header
    ASSERT_TRUE(OpenLink());
    for (const char* file : {"B001.920", "B002.920", "CSKA.920", "MISSING.920"}) {
        SCOPED_TRACE(file);
        EXPECT_FALSE(comm.StartLoad(dir.path, file));
        EXPECT_EQ(comm.ErrorInfo().Id(), 62042);
        EXPECT_FALSE(comm.Busy());
        comm.ErrorInfo().Clear();
    }
    // A name that is no plain file name is never read into.
    for (const char* file : {"../T001.920", "T0/1.920", "T\x01" "01.920"}) {
        SCOPED_TRACE(file);
        EXPECT_FALSE(comm.StartRead(dir.path, file));
        EXPECT_EQ(comm.ErrorInfo().Id(), 62042);
        comm.ErrorInfo().Clear();
    }
    EXPECT_EQ(Telegrams(), 0u);
}

TEST_F(CommTransfer, ModuleRefusalsAndMissingLists)
{
    opt.eprom = {"B010"};
    opt.memorySize = 200;
    StartModule();
    sim->PutList("B001", LongHeaderList(2, "001", "alt"));
    struct Case {
        const char* file;
        Bytes image;
        int id;
        const char* text;
    };
    const Case cases[] = {
        {"B001.920", LongHeaderList(2, "001", "neu"), 62054, "Fehler 54: Liste B001.920 bereits in der PX920 vorhanden"},
        {"B010.920", LongHeaderList(2, "010", "rom"), 62053, "Fehler 53: Liste B010.920 bereits im EPROM vorhanden."},
        {"B011.920", LongHeaderList(2, "011", "big", 400), 62052,
         "Fehler 52: Kein Speicher in PX920 zum Laden der Liste B011.920."},
        // The simulator refuses an identifier with a blank with a reason the PC does not know.
        {"B 12.920", LongHeaderList(2, " 12", "odd"), 62067, "Fehler 67: PX920 meldet unbekannten Fehler, Fehler Code 252."},
    };
    ASSERT_TRUE(OpenLink());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WriteFile(dir + c.file, c.image);
        ASSERT_TRUE(comm.StartLoad(dir.path, c.file));
        EXPECT_EQ(AwaitCompletion(), (std::pair<unsigned, int> {0x600, 0}));
        EXPECT_EQ(comm.ErrorInfo().Id(), c.id);
        EXPECT_EQ(comm.ErrorInfo().Format(), c.text);
        comm.ErrorInfo().Clear();
    }
    ASSERT_TRUE(comm.StartRead(dir.path, "T999.920"));
    EXPECT_EQ(AwaitCompletion(), (std::pair<unsigned, int> {0x601, 0}));
    EXPECT_EQ(comm.ErrorInfo().Format(), "Fehler 50: Liste T999.920 nicht in PX920 vorhanden");
    EXPECT_FALSE(fsx::Stat(dir + "T999.920"));
}

TEST_F(CommTransfer, PendingErrorBlocksEveryServiceWithoutTouchingTheLine)
{
    StartModule();
    ASSERT_TRUE(OpenLink());
    comm.ErrorInfo().Set(62050, "X", 0);
    CVerzeichnisAbschnitt section(nullptr, "B*", 63349, "920");
    CModulListe entry(nullptr, "SDAT", "920");
    EXPECT_FALSE(comm.DeleteList("B001"));
    EXPECT_FALSE(comm.StartRead(dir.path, "B001.920"));
    EXPECT_FALSE(comm.ReadDirectorySection("B*", section));
    EXPECT_FALSE(comm.QueryEntry("SDAT", entry));
    EXPECT_FALSE(comm.PositionDone());
    EXPECT_EQ(comm.ErrorInfo().Id(), 62050);
    EXPECT_EQ(Telegrams(), 0u);
}

TEST_F(CommTransfer, ServicesInTheWrongStateAreInternalErrors)
{
    StartModule();
    CVerzeichnisAbschnitt section(nullptr, "B*", 63349, "920");
    WriteFile(dir + "B001.920", LongHeaderList(2, "001", "x"));
    EXPECT_FALSE(comm.StartLoad(dir.path, "B001.920"));
    EXPECT_EQ(comm.ErrorInfo().Id(), 62001);
    comm.ErrorInfo().Clear();
    EXPECT_FALSE(comm.ReadDirectorySection("B*", section));
    EXPECT_EQ(comm.ErrorInfo().Id(), 62001);
    comm.ErrorInfo().Clear();
    ASSERT_TRUE(OpenLink());
    EXPECT_FALSE(comm.SwitchDisplay(0));  // no picture online
    EXPECT_EQ(comm.ErrorInfo().Id(), 62001);
}

TEST_F(CommTransfer, CloseEndsARunningTransferQuickly)
{
    lineByteTime = microseconds(1146);  // 60 KB take about a minute at 9600 baud
    StartModule();
    Bytes image = LongHeaderList(9, "BIG", "gross", 60000);
    WriteFile(dir + "TBIG.920", image);
    ASSERT_TRUE(OpenLink());
    ASSERT_TRUE(comm.StartLoad(dir.path, "TBIG.920"));
    for (int i = 0; i < 200 && comm.Progress() == 0; ++i) std::this_thread::sleep_for(milliseconds(10));
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_GT(comm.Progress(), 0);
    EXPECT_LT(comm.Progress(), static_cast<int>(image.size()));
    auto t0 = steady_clock::now();
    std::thread closer([this] { comm.Close(); });
    auto done = AwaitCompletion(false);
    auto took = steady_clock::now() - t0;
    closer.join();
    EXPECT_EQ(done, (std::pair<unsigned, int> {0x600, 0}));
    EXPECT_LT(took, milliseconds(100));
    EXPECT_EQ(comm.State(), LinkState::Closed);
    EXPECT_FALSE(sim->HasList("TBIG"));
}

class CommDelete : public LinkFixture {};

TEST_F(CommDelete, IdentifiersAndTheTextGroupRetry)
{
    StartModule();
    sim->PutList("T001", LongHeaderList(10, "001", "mit Protokoll"));
    sim->PutList("B001", LongHeaderList(2, "001", "Bild"));
    sim->PutList("ERST", OptionList(3));
    sim->PutList("SDAT", ShortHeaderList(1));
    ASSERT_TRUE(OpenLink());

    EXPECT_TRUE(comm.DeleteList("T001"));
    auto r = sim->Received();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], (Bytes {0x03, 9, '0', '0', '1'}));
    EXPECT_EQ(r[1], (Bytes {0x03, 10, '0', '0', '1'}));
    EXPECT_FALSE(sim->HasList("T001"));

    EXPECT_TRUE(comm.DeleteList("b001"));
    EXPECT_EQ(sim->Received().back(), (Bytes {0x03, 2, '0', '0', '1'}));
    EXPECT_TRUE(comm.DeleteList("ERST"));
    EXPECT_EQ(sim->Received().back(), (Bytes {0x03, 3, 3, 0, 0}));
    EXPECT_TRUE(comm.DeleteList("SDAT"));
    EXPECT_EQ(sim->Received().back(), (Bytes {0x03, 1, 0, 0, 0}));

    // A missing text group is asked for under both codes, then reported.
    size_t before = Telegrams();
    EXPECT_FALSE(comm.DeleteList("T002"));
    EXPECT_EQ(Telegrams(), before + 2);
    EXPECT_EQ(comm.ErrorInfo().Format(), "Fehler 50: Liste T002 nicht in PX920 vorhanden");
    comm.ErrorInfo().Clear();
    EXPECT_FALSE(comm.DeleteList("P002"));
    EXPECT_EQ(Telegrams(), before + 3);
    comm.ErrorInfo().Clear();

    // Identifiers without a type code: no telegram at all.
    for (const char* id : {"X001", "CXYZ"}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(comm.DeleteList(id));
        EXPECT_EQ(comm.ErrorInfo().Id(), 62055);
        EXPECT_EQ(Cp1252ToUtf8(comm.ErrorInfo().Format()),
                  std::string("Fehler 55: Liste ") + id + " in PX920 kann nicht gelöscht werden");
        comm.ErrorInfo().Clear();
    }
    EXPECT_EQ(Telegrams(), before + 3);
}

class CommDirectory : public LinkFixture {};

TEST_F(CommDirectory, SectionsAndQueries)
{
    StartModule();
    sim->PutList("B001", LongHeaderList(2, "001", "Uebersicht"));
    sim->PutList("B002", LongHeaderList(2, "002", std::string(40, 'D')));  // designation cut to 31
    sim->PutList("ERST", OptionList(3));
    sim->PutList("SDAT", ShortHeaderList(1, 30));
    ASSERT_TRUE(OpenLink());

    CVerzeichnisAbschnitt pictures(nullptr, "B*", 63349, "920");
    ASSERT_TRUE(comm.ReadDirectorySection("B*", pictures));
    ASSERT_EQ(pictures.GetChildCount(), 2);
    EXPECT_EQ(pictures.GetChild(0)->GetColumnText(0), "Uebersicht");
    EXPECT_EQ(pictures.GetChild(0)->GetColumnText(1), "B001");
    EXPECT_EQ(pictures.GetChild(0)->GetColumnText(2), "920");
    EXPECT_EQ(pictures.GetChild(1)->GetColumnText(0), std::string(31, 'D'));
    EXPECT_EQ(pictures.TotalLength(),
              static_cast<int>(sim->ListImage("B001").size() + sim->ListImage("B002").size()));
    auto r = sim->Received();
    EXPECT_EQ(r.at(0), (Bytes {0x60, 'B', '*', 0, 0, 0, 0}));
    EXPECT_EQ(r.at(1), (Bytes {'b', 'B', '*', 0, 0, 0, 0}));

    CVerzeichnisAbschnitt steps(nullptr, "G*", 63351, "920");
    size_t before = Telegrams();
    ASSERT_TRUE(comm.ReadDirectorySection("G*", steps));
    EXPECT_EQ(steps.GetChildCount(), 0);
    EXPECT_EQ(Telegrams(), before + 2);  // the first 'b' is answered with 'o'

    CVerzeichnisAbschnitt options(nullptr, "C*", 63353, "920");
    ASSERT_TRUE(comm.ReadDirectorySection("C*", options));
    ASSERT_EQ(options.GetChildCount(), 1);
    EXPECT_EQ(options.GetChild(0)->GetColumnText(0), "Erstellbetrieb");

    CModulListe sdat(nullptr, "SDAT", "920");
    ASSERT_TRUE(comm.QueryEntry("SDAT", sdat));
    EXPECT_TRUE(sdat.m_found);
    EXPECT_EQ(sdat.GetColumnText(0), "Systemdaten-Liste");
    EXPECT_EQ(sdat.m_fileLength, static_cast<int>(sim->ListImage("SDAT").size()));
    CModulListe xtex(nullptr, "XTEX", "920");
    ASSERT_TRUE(comm.QueryEntry("XTEX", xtex));
    EXPECT_FALSE(xtex.m_found);
}

TEST_F(CommDirectory, UnsafeIdentifiersNeverBecomeEntries)
{
    StartModule();
    sim->PutList("B001", LongHeaderList(2, "001", "gut"));
    sim->PutList("B/..", LongHeaderList(2, "/..", "boese"));
    ASSERT_TRUE(OpenLink());
    CVerzeichnisAbschnitt pictures(nullptr, "B*", 63349, "920");
    EXPECT_FALSE(comm.ReadDirectorySection("B*", pictures));
    EXPECT_EQ(comm.ErrorInfo().Format(), "Fehler 68: Unerwartetes Telegramm von PX920, Fkt.-Nr. = 62h");
    for (CNode* c : pictures.m_children) EXPECT_NE(static_cast<CFileList*>(c)->GetBaseName(), "B/..");
}

TEST(ModuleEntry, FillChecksTheAnswer)
{
    auto answer = [](const std::string& id, uint16_t length, const std::string& name) {
        Bytes a {'b'};
        a.insert(a.end(), id.begin(), id.end());
        a.push_back(static_cast<uint8_t>(length & 0xFF));
        a.push_back(static_cast<uint8_t>(length >> 8));
        a.push_back(static_cast<uint8_t>(name.size() + 1));
        a.insert(a.end(), name.begin(), name.end());
        return a;
    };
    struct Case {
        const char* what;
        Bytes a;
        bool ok;
    };
    Bytes truncated = answer("B001", 5, "abcdef");
    truncated.resize(truncated.size() - 2);
    Bytes zeroL = answer("B001", 5, "");
    zeroL[7] = 0;
    const Case cases[] = {
        {"40 bytes, 31 characters", answer("B001", 300, std::string(31, 'x')), true},
        {"no designation", answer("T002", 7, ""), true},
        {"slash", answer("B/01", 5, "x"), false},
        {"backslash", answer("B\\01", 5, "x"), false},
        {"full stop", answer("B.01", 5, "x"), false},
        {"control character", answer("B\n01", 5, "x"), false},
        {"designation past the end", truncated, false},
        {"length byte 0", zeroL, false},
        {"too short", Bytes {'b', 'B', '0'}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CModulListe e(nullptr, "", "920");
        EXPECT_EQ(e.Fill(c.a.data(), c.a.size()), c.ok);
        EXPECT_EQ(e.m_found, c.ok);
        if (!c.ok) {
            EXPECT_EQ(e.GetFileName(), "");
        }
    }
    CModulListe e(nullptr, "", "SYS");
    Bytes a = answer("t00a", 0x1234, "Tab\x01le");
    ASSERT_TRUE(e.Fill(a.data(), a.size()));
    EXPECT_EQ(e.GetFileName(), "T00A.SYS");
    EXPECT_EQ(e.m_fileLength, 0x1234);
    EXPECT_EQ(e.m_name, "Tab le");
}

class CommDriverFaults : public LinkFixture {};

TEST_F(CommDriverFaults, EachFaultGivesItsDriverCode)
{
    // Frame 1 is the directory request of the section read below.
    struct Case {
        SimFault fault;
        int code;
    };
    for (Case c : {Case {SimFault::nakStx, 20}, Case {SimFault::noFinalDle, 3}, Case {SimFault::badBcc, 13},
                   Case {SimFault::stall, 5}}) {
        SCOPED_TRACE(c.code);
        CMemoryLine freshLine;
        ModuleSimOptions o;
        o.characterWait = milliseconds(400);
        o.faults.push_back({c.fault, 1});
        CModuleSim module(freshLine.EndB(), o);
        CManualResetEvent stop;
        std::thread t([&] { module.Run(stop); });
        CComm link;
        link.SetComPort(1);
        link.SetTiming(C3964RTiming::Scaled(0.2));
        link.SetPortFactory([&](int) { return std::make_unique<CPortRef>(freshLine.EndA()); });
        ASSERT_TRUE(link.Open(2));
        CVerzeichnisAbschnitt section(nullptr, "B*", 63349, "920");
        EXPECT_FALSE(link.ReadDirectorySection("B*", section));
        EXPECT_EQ(link.ErrorInfo().Id(), 62063);
        EXPECT_EQ(link.ErrorInfo().Number(), c.code);
        link.ErrorInfo().Clear();
        link.Close();
        stop.Set();
        t.join();
    }
    App().SetLinkState(&comm);
}

TEST_F(CommDriverFaults, UnexpectedAnswerCode)
{
    opt.faults.push_back({SimFault::badAnswer, 0});
    StartModule();
    ASSERT_TRUE(OpenLink());
    sim->PutList("T001", LongHeaderList(9, "001", "x"));
    ASSERT_TRUE(comm.StartRead(dir.path, "T001.920"));
    EXPECT_EQ(AwaitCompletion().second, 0);
    EXPECT_EQ(comm.ErrorInfo().Format(), "Fehler 68: Unerwartetes Telegramm von PX920, Fkt.-Nr. = 7Eh");
}
