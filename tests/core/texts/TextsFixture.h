#pragma once
// A temporary project with the real text list kinds, a recording message
// box and an in-process clipboard.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "listfile/ByteStream.h"
#include "util/Strings.h"
#include "app/Application.h"
#include "model/Clipboard.h"
#include "project/Category.h"
#include "project/ListKinds.h"
#include "project/Projekt.h"
#include "texts/StandardTextListe.h"
#include "texts/Textgruppe.h"
#include "texts/TextsRegistration.h"
#include "util/UserInteraction.h"

class CRecordingUi : public IUserInteraction {
public:
    int MessageBox(const std::string& text, unsigned style) override
    {
        texts.push_back(text);
        styles.push_back(style);
        return answer;
    }
    std::vector<std::string> texts;
    std::vector<unsigned> styles;
    int answer = IDOK;
};

// Bytes of a system data list header: enough for a directory to be a project.
inline std::vector<uint8_t> TextsSdatBytes(const std::string& project)
{
    std::vector<uint8_t> v = {1};
    AppendU16(v, static_cast<unsigned>(4 + project.size()));
    v.push_back(static_cast<uint8_t>(project.size() + 1));
    AppendText(v, project);
    return v;
}

class TextsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterBuiltInListKinds();
        // Other suites may have put stand-ins in place; these tests want the real classes.
        RegisterTextListKinds();
        App().SetUi(&ui);
        App().SetClipboard(&clipboard);
        App().Settings().cyrillic = false;
        dir.Write("SDAT.920", TextsSdatBytes("Demo"));
    }
    void TearDown() override
    {
        App().SetUi(nullptr);
        App().SetClipboard(nullptr);
        App().Settings().cyrillic = false;
    }
    std::unique_ptr<CProjekt> OpenRoot()
    {
        auto root = std::make_unique<CProjekt>(dir.path());
        EXPECT_TRUE(root->m_valid);
        root->Load();
        return root;
    }
    CCategory* Groups(CProjekt& root) { return root.GetCategory(NT_CAT_TEXTGRUPPEN); }
    CTextgruppe* Group(CProjekt& root, const std::string& baseName)
    {
        return static_cast<CTextgruppe*>(Groups(root)->FindByBaseName(baseName));
    }

    // A group in memory (with the file name T + id) under the category, loaded.
    CTextgruppe* NewGroup(CProjekt& root, const std::string& id, const std::string& name = "Gruppe")
    {
        CTextgruppe* g = CTextgruppe::CreateNew(Groups(root), root.GetExtension());
        g->m_identifier = id;
        g->m_name = name;
        g->m_fileName = "T" + ToUpperAscii(id) + "." + root.GetExtension();
        Groups(root)->AddChild(g);
        return g;
    }
    static CTextliste* AddList(CTextgruppe& g, const std::string& id, int db = 1, const std::string& name = "Liste")
    {
        auto* l = new CTextliste(&g);
        l->m_identifier = id;
        l->m_db = static_cast<uint8_t>(db);
        l->m_name = name;
        g.AddChild(l);
        return l;
    }
    static CMeldetext* AddText(CTextliste& l, int dw, int bit, const std::string& text = "", int protNo = 0, int protMode = 0)
    {
        auto* t = new CMeldetext(&l);
        t->m_dw = static_cast<uint16_t>(dw);
        t->m_bit = static_cast<uint8_t>(bit);
        t->m_text = text;
        t->m_protocolNumber = static_cast<uint8_t>(protNo);
        t->m_protocolMode = static_cast<uint8_t>(protMode);
        l.AddChild(t);
        return t;
    }
    static std::string ToUpperAscii(std::string s)
    {
        for (char& c : s)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        return s;
    }

    CRecordingUi ui;
    CMemoryClipboard clipboard;
    TempDir dir;
};
