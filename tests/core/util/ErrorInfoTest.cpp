#include <gtest/gtest.h>

#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/UserInteraction.h"

namespace {
class RecordingUi : public IUserInteraction {
public:
    int MessageBox(const std::string& text, unsigned style) override
    {
        texts.push_back(Cp1252ToUtf8(text));
        styles.push_back(style);
        return IDNO;
    }
    std::vector<std::string> texts;
    std::vector<unsigned> styles;
};
}  // namespace

TEST(ErrorInfo, ReportFormatsTheMessageOfItsId)
{
    struct Case {
        int id;
        std::string text;
        int number;
        std::string extra;
        const char* shown;
    } cases[] = {
        {0, "", 0, "", "Meldung 2: Kein Fehler."},
        {62042, "", 0, "", "Fehler 42: Fehler bei Dateizugriff"},
        {62042, "", 0, "SDAT.920", "Fehler 42: Fehler bei Dateizugriff\nSDAT.920"},
        {62001, "WinPX920", 123, "", "Fehler 1: Interner Fehler, Datei WinPX920, Zeile 123."},
        {62006, "", 65535, "", "Fehler 6: In die Zwischenablage können nicht mehr als 65535 Byte kopiert werden."},
        {62060, "ignored", 3, "", "Fehler 60: Auf COM3 kann nicht zugegriffen werden."},  // no %s: number only
        // Arguments are printed as they are, never used as patterns.
        {62012, "a%sb%d", 0, "", "Fehler 12: Ungültige Daten in Datei  \"a%sb%d\"."},
        {62001, "%s%d%n", 5, "", "Fehler 1: Interner Fehler, Datei %s%d%n, Zeile 5."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CErrorInfo err;
        if (c.text.empty()) err.Set(c.id, c.number);
        else err.Set(c.id, c.text, c.number);
        RecordingUi ui;
        EXPECT_EQ(err.Report(ui, 0, c.extra), IDNO);
        ASSERT_EQ(ui.texts.size(), 1u);
        EXPECT_EQ(ui.texts[0], c.shown);
        EXPECT_EQ(ui.styles[0], mb::ICONERROR);  // style 0 shows the error icon
    }
}

TEST(ErrorInfo, StyleIsPassedThroughAndClearResets)
{
    CErrorInfo err;
    err.Set(62061, "x", 4);
    EXPECT_EQ(err.Id(), 62061);
    EXPECT_EQ(err.Text(), "x");
    EXPECT_EQ(err.Number(), 4);
    RecordingUi ui;
    err.Report(ui, mb::YESNO | mb::ICONQUESTION);
    EXPECT_EQ(ui.styles[0], mb::YESNO | mb::ICONQUESTION);

    err.Set(62042);  // setting only an id drops an earlier text
    EXPECT_EQ(err.Text(), "");
    err.Clear();
    EXPECT_EQ(err.Id(), 0);
    EXPECT_EQ(err.Number(), 0);
    EXPECT_EQ(Cp1252ToUtf8(err.Format()), "Meldung 2: Kein Fehler.");
}

TEST(FormatMessageText, TextThenNumberOnlyWhenThePatternHasPercentS)
{
    EXPECT_EQ(FormatMessageText("Datei %s, Zeile %d.", "X", 7), "Datei X, Zeile 7.");
    EXPECT_EQ(FormatMessageText("Zeile %d.", "X", 7), "Zeile 7.");
    EXPECT_EQ(FormatMessageText("Code 0x%x", 255), "Code 0xff");
    EXPECT_EQ(FormatMessageText("Liste %s fehlt", "ABC"), "Liste ABC fehlt");
}
