// Every list file and clipboard record is untrusted input. These tests take
// real files of each kind, damage them in many ways and make sure the
// readers refuse or accept them without ever reading outside the data
// (the sanitizers watch) and without writing anything.
#include <gtest/gtest.h>

#include <random>

#include "TempDir.h"
#include "model/Clipboard.h"
#include "project/Category.h"
#include "project/ListKinds.h"
#include "project/NewProject.h"
#include "project/Projekt.h"
#include "texts/TextsDemo.h"
#include "util/ErrorInfo.h"
#include "util/Strings.h"

namespace {
class DamagedFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterBuiltInListKinds();
        CErrorInfo err;
        ASSERT_TRUE(CreateNewSystemDataList(dir.path(), "920", PadRight("Robust", 32), err));
        CProjekt root(dir.path(), "920");
        root.Load();
        AddDemoTexts(root);
        const char composite[] = "SDATXTEXTZUL";
        dir.Write("LDAT1.920", std::vector<uint8_t>(composite, composite + 12));
        for (const fsx::DirEntry& e : fsx::FindFiles(dir.path(), "*.920")) originals[e.name] = dir.Read(e.name);
        ASSERT_GE(originals.size(), 5u);
    }

    // Opens the project and loads every list in it, as opening their windows would.
    void OpenAndLoadEverything()
    {
        CProjekt root(dir.path());
        if (!root.m_valid) return;
        root.Load();
        for (CNode* c : root.m_children) {
            auto* list = static_cast<CListNode*>(c);
            if (!list->m_loaded) list->Load();
            for (CNode* gc : list->m_children)
                if (gc->IsList() && !static_cast<CListNode*>(gc)->m_loaded) static_cast<CListNode*>(gc)->Load();
        }
    }

    TempDir dir;
    std::map<std::string, std::vector<uint8_t>> originals;
};
}  // namespace

TEST_F(DamagedFiles, CutAtEveryByte)
{
    for (const auto& [name, bytes] : originals) {
        for (size_t cut = 0; cut < bytes.size(); cut += (bytes.size() > 600 ? 7 : 1)) {
            dir.Write(name, std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut));
            OpenAndLoadEverything();
        }
        dir.Write(name, bytes);
    }
    // Loading never rewrites a damaged file (only composites drop members).
    for (const auto& [name, bytes] : originals) {
        if (!IStartsWith(name, "LDAT")) {
            EXPECT_EQ(dir.Read(name), bytes) << name;
        }
    }
}

TEST_F(DamagedFiles, RandomByteDamage)
{
    std::mt19937 rng(920);
    for (const auto& [name, bytes] : originals) {
        for (int round = 0; round < 60; ++round) {
            std::vector<uint8_t> damaged = bytes;
            int changes = 1 + static_cast<int>(rng() % 4);
            for (int k = 0; k < changes && !damaged.empty(); ++k) {
                size_t pos = rng() % damaged.size();
                switch (rng() % 3) {
                case 0: damaged[pos] = static_cast<uint8_t>(rng()); break;
                case 1: damaged[pos] = 0xFF; break;
                default: damaged[pos] = 0; break;
                }
            }
            dir.Write(name, damaged);
            OpenAndLoadEverything();
        }
        dir.Write(name, bytes);
    }
}

TEST_F(DamagedFiles, RandomClipboardRecords)
{
    CProjekt root(dir.path());
    root.Load();
    std::vector<CListNode*> targets;
    for (CNode* c : root.m_children) {
        auto* list = static_cast<CListNode*>(c);
        if (!list->m_loaded) list->Load();
        if (!list->GetClipboardFormatName().empty()) targets.push_back(list);
        for (CNode* gc : list->m_children)
            if (gc->IsList()) {
                auto* sub = static_cast<CListNode*>(gc);
                if (!sub->m_loaded) sub->Load();
                if (!sub->GetClipboardFormatName().empty()) targets.push_back(sub);
                for (CNode* ggc : sub->m_children)
                    if (ggc->IsList() && !static_cast<CListNode*>(ggc)->GetClipboardFormatName().empty())
                        targets.push_back(static_cast<CListNode*>(ggc));
            }
    }
    ASSERT_GE(targets.size(), 3u);
    std::mt19937 rng(64);
    CMemoryClipboard clip;
    CErrorInfo err;
    for (CListNode* target : targets) {
        // Start from a real block of this format, then damage it.
        std::vector<uint8_t> block;
        if (target->GetChildCount() > 0 && target->CopyToClipboard(clip, {0}, err))
            clip.GetData(target->GetClipboardFormatName(), block);
        for (int round = 0; round < 40; ++round) {
            std::vector<uint8_t> damaged = block;
            if (damaged.empty() || rng() % 4 == 0) {
                damaged.resize(rng() % 64);
                for (auto& b : damaged) b = static_cast<uint8_t>(rng());
            } else {
                for (int k = 0; k < 3; ++k) damaged[rng() % damaged.size()] = static_cast<uint8_t>(rng());
                if (rng() % 2) damaged.resize(rng() % damaged.size());
            }
            clip.SetData(target->GetClipboardFormatName(), damaged);
            target->PasteFromClipboard(clip, -1);
        }
    }
}
