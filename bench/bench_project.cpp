// Opening a large project and loading/saving one big list, each against the
// bare file operations that it cannot avoid. Prints both ratios at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "listfile/ListFileBuffer.h"
#include "project/Category.h"
#include "project/ListKinds.h"
#include "project/NewProject.h"
#include "project/Projekt.h"
#include "texts/Textgruppe.h"
#include "util/ErrorInfo.h"
#include "util/FileSystem.h"
#include "util/Strings.h"

namespace {
std::string g_dir;
std::string g_bigList;

std::string Identifier(int i)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string id(3, '0');
    for (int k = 2; k >= 0; --k) {
        id[k] = digits[i % 36];
        i /= 36;
    }
    return id;
}

// A text group with `lists` lists of `texts` message texts each.
void WriteGroup(CProjekt& root, const std::string& id, int lists, int texts)
{
    CCategory* groups = root.GetCategory(NT_CAT_TEXTGRUPPEN);
    CTextgruppe* g = CTextgruppe::CreateNew(groups, root.GetExtension());
    groups->AddChild(g);
    g->m_identifier = id;
    g->m_fileName = "T" + id + "." + root.GetExtension();
    g->m_name = PadRight("Meldungen " + id, 32);
    for (int l = 0; l < lists; ++l) {
        auto* list = new CTextliste(g);
        list->m_identifier = Identifier(l);
        list->m_db = static_cast<uint8_t>(10 + l);
        list->m_name = PadRight("Liste " + std::to_string(l), 32);
        for (int t = 0; t < texts; ++t) {
            auto* m = new CMeldetext(list);
            m->m_dw = static_cast<uint16_t>(t / 16 + 1);
            m->m_bit = static_cast<uint8_t>(t % 16);
            m->m_text = "Pumpe " + std::to_string(t) + " St\xF6rung Motorschutz ausgel\xF6st @005";
            list->AddChild(m);
        }
        list->Renumber();
        list->UpdateRecordLength();
        g->AddChild(list);
    }
    if (!g->Save()) std::fprintf(stderr, "cannot write group %s\n", id.c_str());
    delete groups->DetachChild(g);  // DeleteChild would remove the file
}

void Setup()
{
    char tmpl[] = "/tmp/px920bench-XXXXXX";
    g_dir = fsx::WithSlash(::mkdtemp(tmpl));
    RegisterBuiltInListKinds();
    CErrorInfo err;
    CreateNewSystemDataList(g_dir, "920", PadRight("Benchmark", 32), err);
    CProjekt root(g_dir, "920");
    root.Load();
    for (int i = 0; i < 2000; ++i) WriteGroup(root, Identifier(i), 1, 4);
    // The big list: about 60 KB.
    fsx::MakeDirectories(g_dir + "big");
    CreateNewSystemDataList(g_dir + "big/", "920", PadRight("Benchmark", 32), err);
    CProjekt bigRoot(g_dir + "big/", "920");
    bigRoot.Load();
    WriteGroup(bigRoot, "BIG", 20, 66);
    g_bigList = g_dir + "big/TBIG.920";
}

void BM_OpenProject(benchmark::State& state)
{
    for (auto _ : state) {
        CProjekt root(g_dir);
        root.Load();
        benchmark::DoNotOptimize(root.GetCategory(NT_CAT_TEXTGRUPPEN)->GetChildCount());
    }
}

void BM_ReadHeadersBare(benchmark::State& state)
{
    for (auto _ : state) {
        size_t total = 0;
        for (const fsx::DirEntry& e : fsx::FindFiles(g_dir, "*.920")) {
            std::vector<uint8_t> head;
            fsx::ReadFileHead(g_dir + e.name, 128, head);
            total += head.size();
        }
        benchmark::DoNotOptimize(total);
    }
}

void BM_LoadSaveList(benchmark::State& state)
{
    CProjekt root(g_dir + "big/");
    root.Load();
    CCategory* groups = root.GetCategory(NT_CAT_TEXTGRUPPEN);
    auto* g = static_cast<CFileList*>(groups->GetChild(0));
    for (auto _ : state) {
        if (!g->Load()) state.SkipWithError("load failed");
        g->m_modified = 1;
        if (!g->Save()) state.SkipWithError("save failed");
        g->Unload();
    }
    state.counters["bytes"] = static_cast<double>(g->m_fileLength);
}

void BM_ReadWriteBare(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<uint8_t> data;
        fsx::ReadWholeFile(g_bigList, data);
        fsx::WriteFileAtomic(g_bigList, data.data(), data.size());
    }
}

BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHeadersBare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSaveList)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadWriteBare)->Unit(benchmark::kMicrosecond);

// Keeps the real time per iteration of each benchmark for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};
}  // namespace

int main(int argc, char** argv)
{
    Setup();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    // Both pairs use the same time unit within the pair.
    if (t.count("BM_OpenProject") && t.count("BM_ReadHeadersBare"))
        std::printf("open project / bare header reads: %.2f\n", t["BM_OpenProject"] / t["BM_ReadHeadersBare"]);
    if (t.count("BM_LoadSaveList") && t.count("BM_ReadWriteBare"))
        std::printf("load+save 60 KB list / raw read+write: %.2f\n", t["BM_LoadSaveList"] / t["BM_ReadWriteBare"]);
    std::string cmd = "rm -rf '" + g_dir + "'";
    (void)std::system(cmd.c_str());
    return 0;
}
