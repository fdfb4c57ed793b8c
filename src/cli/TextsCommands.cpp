#include "TextsCommands.h"

#include <cstdio>
#include <vector>

#include "project/Projekt.h"
#include "texts/Textgruppe.h"
#include "texts/TextsCsv.h"
#include "util/Charset.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"

namespace {
int TextsUsage()
{
    std::fprintf(stderr,
                 "Aufruf: px920 texts export PROJEKT TGRUPPE\n"
                 "        px920 texts import PROJEKT TGRUPPE DATEI [--name NAME]\n");
    return kExitUsage;
}

}  // namespace

int RunTextsCommand(const CliOptions& opt, const std::vector<std::string>& args)
{
    if (args.empty()) return TextsUsage();
    if (args[0] == "export") {
        if (args.size() != 3) return TextsUsage();
        auto root = OpenProjectForCli(args[1]);
        if (!root) return kExitFailure;
        CTextgruppe* group = FindTextGroup(*root, args[2]);
        if (!group) {
            PrintError("Keine Textgruppe " + Utf8ToCp1252(args[2]) + " im Projekt.");
            return kExitFailure;
        }
        if (!group->m_loaded && !group->Load()) {
            PrintError(LoadString(IDS_FILE_ACCESS));
            return kExitFailure;
        }
        std::string csv = ExportTextGroupCsv(*group, opt.cyrillic);
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
    }
    if (args[0] == "import") {
        if (args.size() != 4) return TextsUsage();
        std::vector<uint8_t> data;
        std::string error;
        if (!fsx::ReadWholeFile(args[3], data, &error)) {
            PrintError(Utf8ToCp1252(args[3] + ": " + error));
            return kExitFailure;
        }
        auto root = OpenProjectForCli(args[1]);
        if (!root) return kExitFailure;
        std::string message;
        if (!ImportTextGroupCsv(*root, args[2], std::string(data.begin(), data.end()), opt.name, opt.cyrillic, message)) {
            PrintError(message);
            return kExitFailure;
        }
        return kExitOk;
    }
    return TextsUsage();
}
