#pragma once
// Small list classes for exercising the project tree without the real list kinds.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "listfile/ByteStream.h"
#include "listfile/ListFileBuffer.h"
#include "listfile/ListHeader.h"
#include "project/Category.h"
#include "project/ListKinds.h"
#include "project/Projekt.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/Strings.h"

// An entry with a clipboard record of a chosen size.
class CTestEntry : public CNode {
public:
    CTestEntry(CNode* parent, int key, uint16_t recordSize = 6) : CNode(parent, 3, "E"), m_key(key), m_recordSize(recordSize) {}
    int GetType() const override { return NT_MELDETEXT; }
    std::string GetColumnText(int c) const override { return c == 0 ? std::to_string(m_key) : std::string(); }
    int Compare(const CNode& o) const override { return m_key - static_cast<const CTestEntry&>(o).m_key; }
    uint16_t GetRecordSize() const override { return m_recordSize; }
    bool WriteRecord(std::vector<uint8_t>& out) const override
    {
        AppendU16(out, m_recordSize);
        AppendU16(out, static_cast<unsigned>(m_key));
        out.resize(out.size() + m_recordSize - 4, 0xAA);
        return true;
    }
    int m_key;
    uint16_t m_recordSize;
};

// A list file with the long header; its body is a u8 count of entry keys.
class CTestList : public CFileList {
public:
    CTestList(CListNode* parent, const std::string& fileName, int type = NT_BILD, uint8_t code = LTC_PICTURE)
        : CFileList(parent, fileName), m_type(type), m_code(code)
    {
        m_valid = 0;
        std::vector<uint8_t> head;
        if (!fsx::ReadFileHead(GetPath(), 200, head)) return;
        try {
            CByteReader in(head);
            ListHeaderEx h;
            h.Read(in);
            if (h.type != m_code || !IEquals(h.identifier, GetBaseName().substr(1))) return;
            m_name = h.name;
            m_fileLength = h.length;
            m_valid = 1;
        } catch (const CFileException&) {
        }
    }
    int GetType() const override { return m_type; }
    bool Load() override
    {
        try {
            CListFileBuffer buf(GetPath(), CListFileBuffer::modeRead);
            ListHeaderEx h;
            h.Read(buf.Reader());
            if (h.type != m_code) CFileException::ThrowGeneric();
            int n = buf.Reader().ReadU8();
            for (int i = 0; i < n; ++i) AddChild(new CTestEntry(this, buf.Reader().ReadU8()));
            m_loaded = 1;
        } catch (const CFileException&) {
            Unload();
            return false;
        }
        return true;
    }
    bool Save() override
    {
        try {
            CListFileBuffer buf(GetPath(), CListFileBuffer::modeWrite);
            ListHeaderEx h;
            h.type = m_code;
            h.project = GetRoot()->m_name;
            h.identifier = GetBaseName().substr(1);
            h.name = m_name;
            h.length = static_cast<uint16_t>(h.Size() + 1 + m_children.size());
            h.Write(buf.Writer());
            buf.Writer().WriteU8(static_cast<uint8_t>(m_children.size()));
            for (CNode* c : m_children) buf.Writer().WriteU8(static_cast<uint8_t>(static_cast<CTestEntry*>(c)->m_key));
            buf.Close();
        } catch (const CFileException&) {
            return false;
        }
        AfterSave();
        return true;
    }
    void Sort() override
    {
        InsertionSort();
    }
    int GetColumnCount() const override { return 1; }
    int GetColumnWidth(int) const override { return 10; }
    std::string GetColumnHeaders() const override { return "Nr"; }
    std::string GetClipboardFormatName() const override { return "PX920_TEST"; }
    CNode* CreateChildFromRecord(int after, std::span<const uint8_t> rec) override
    {
        if (rec.size() < 4) return nullptr;
        auto* e = new CTestEntry(this, GetU16(rec.data() + 2), static_cast<uint16_t>(rec.size()));
        InsertChildAfter(e, after);
        return e;
    }
    int m_type;
    uint8_t m_code;
};

// Bytes of a list file with the long header and entry keys as body.
inline std::vector<uint8_t> TestListBytes(const std::string& identifier, const std::string& name,
                                          std::vector<int> keys = {}, uint8_t code = LTC_PICTURE,
                                          const std::string& project = "Demo")
{
    std::vector<uint8_t> v;
    size_t length = 4 + project.size() + 3 + 1 + name.size() + 1 + keys.size();
    v.push_back(code);
    AppendU16(v, static_cast<unsigned>(length));
    v.push_back(static_cast<uint8_t>(project.size() + 1));
    AppendText(v, project);
    AppendText(v, identifier);
    v.push_back(static_cast<uint8_t>(name.size() + 1));
    AppendText(v, name);
    v.push_back(static_cast<uint8_t>(keys.size()));
    for (int k : keys) v.push_back(static_cast<uint8_t>(k));
    return v;
}

inline std::vector<uint8_t> SdatHeaderBytes(const std::string& project)
{
    std::vector<uint8_t> v = {1};
    AppendU16(v, static_cast<unsigned>(4 + project.size()));
    v.push_back(static_cast<uint8_t>(project.size() + 1));
    AppendText(v, project);
    return v;
}

// Registers the test list for the picture and protocol categories for the
// duration of a test and restores what was there.
class ProjectTreeFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterBuiltInListKinds();
        for (int cat : {NT_CAT_BILDER, NT_CAT_PROTOKOLLE, NT_CAT_TEXTGRUPPEN}) {
            if (const ListFactory* f = CategoryFactory(cat)) m_saved[cat] = *f;
        }
        RegisterCategoryFactory(NT_CAT_BILDER, [](CListNode* p, const std::string& f) -> CFileList* { return new CTestList(p, f); });
        RegisterCategoryFactory(NT_CAT_PROTOKOLLE, [](CListNode* p, const std::string& f) -> CFileList* {
            return new CTestList(p, f, NT_PROTOKOLL_LISTE, LTC_PROTOCOL);
        });
        RegisterCategoryFactory(NT_CAT_TEXTGRUPPEN, [](CListNode* p, const std::string& f) -> CFileList* {
            return new CTestList(p, f, NT_TEXTGRUPPE, LTC_TEXTGROUP);
        });
        dir.Write("SDAT.920", SdatHeaderBytes("Demo"));
    }
    void TearDown() override
    {
        for (int cat : {NT_CAT_BILDER, NT_CAT_PROTOKOLLE, NT_CAT_TEXTGRUPPEN}) {
            auto it = m_saved.find(cat);
            RegisterCategoryFactory(cat, it != m_saved.end() ? it->second : ListFactory());
        }
    }
    std::unique_ptr<CProjekt> OpenRoot()
    {
        auto root = std::make_unique<CProjekt>(dir.path());
        EXPECT_TRUE(root->m_valid);
        root->Load();
        return root;
    }
    TempDir dir;
    std::map<int, ListFactory> m_saved;
};
