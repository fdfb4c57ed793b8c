#include "Demo.h"

#include <vector>

#include "CliCommon.h"
#include "eprom/VerbundListe.h"
#include "listfile/ByteStream.h"
#include "project/Category.h"
#include "project/NewProject.h"
#include "project/Projekt.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/FileSystem.h"
#include "util/Strings.h"
#include "texts/TextsDemo.h"

namespace {
// An option list as the installation ships it: the 12-byte header and a
// body that the program never interprets. The demo's bodies are filler.
bool WriteOptionList(const std::string& dir, const std::string& base, uint8_t code, uint8_t version,
                     const char* versionText, size_t bodySize)
{
    CByteWriter w;
    w.WriteU8(code);
    w.WriteU16(static_cast<uint16_t>(12 + bodySize));
    w.WriteU8(version);
    w.WriteU8(0);
    w.WriteU8(0);
    w.WriteU8(0);
    w.WriteU8(0);
    for (int i = 0; i < 4; ++i) w.WriteU8(static_cast<uint8_t>(versionText[i]));
    for (size_t i = 0; i < bodySize; ++i) w.WriteU8(static_cast<uint8_t>((i * 37 + code) & 0xFF));
    return fsx::WriteFileAtomic(fsx::JoinPath(dir, base + ".920"), w.Data().data(), w.Size());
}
}  // namespace

bool WriteDemoProject(const std::string& dirIn)
{
    std::string dir = fsx::WithSlash(CorrectProjectDirectory(dirIn));
    std::string existing;
    if (TestProject(dir, existing)) {
        CErrorInfo err;
        err.Set(63229, existing);
        PrintError(err.Format());
        return false;
    }
    fsx::MakeDirectories(dir);
    CErrorInfo err;
    std::string name = PadRight(Utf8ToCp1252("Kläranlage Nord"), 32);
    if (!CreateNewSystemDataList(dir, "920", name, err)) {
        PrintError(err.Format());
        return false;
    }
    WriteOptionList(dir, "ERST", 3, 0x36, "3.60", 2400);
    WriteOptionList(dir, "CSKA", 4, 0x40, "4.00", 1800);
    WriteOptionList(dir, "CPRO", 5, 0x31, "3.10", 1200);

    CProjekt root(dir, "920");
    if (!root.m_valid) return false;
    root.Load();
    AddDemoTexts(root);
    root.Load();
    // Load composite 1 carries everything the module needs for the plant
    // pictures; the EPROM composite the same plus the options.
    std::vector<std::string> load = {"SDAT"};
    for (int cat = NT_CAT_BILDER; cat <= NT_CAT_PROTOKOLLE; ++cat)
        for (CNode* c : root.GetCategory(cat)->m_children) load.push_back(static_cast<CFileList*>(c)->GetBaseName());
    if (root.FindFixedList(NT_STANDARD_TEXTS)) load.push_back("XTEX");
    root.AddAllToComposite(0, load);
    std::vector<std::string> card = load;
    card.insert(card.end(), {"ERST", "CSKA", "CPRO"});
    root.AddAllToComposite(3, card);
    return true;
}
