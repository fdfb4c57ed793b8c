#pragma once
#include <string>

#include "eprom/VerbundEintrag.h"
#include "model/Node.h"

// A load (LDAT1..3) or EPROM (ROMGEN1..3) composite list: a file of 4-character base names.
class CVerbundListe : public CFileList {
public:
    // Probes only whether the file exists; does not load.
    CVerbundListe(CListNode* root, int index);

    static std::string BaseNameOf(int index);

    CVerbundEintrag* Find(const std::string& baseName) const;
    bool Add(const std::string& baseName);
    bool Remove(const std::string& baseName);
    int TotalLength() const;
    // A composite's entries are a container for the transfer commands.
    bool IsLoadComposite() const { return m_index < 3; }

    int GetType() const override { return NT_COMPOSITE_LIST; }
    int Compare(const CNode& other) const override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    int DeleteChild(CNode* node) override;
    int ChildChanged(CNode* child) override;
    bool Load() override;
    bool Save() override;
    void Unload() override {}
    void Sort() override;
    int GetColumnCount() const override { return 6; }
    int GetColumnWidth(int column) const override;
    std::string GetStatusText(int pane) const override;
    std::string GetClipboardFormatName() const override { return "PX920_LDAT_ENTRY"; }
    CNode* CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record) override;
    std::string GetColumnHeaders() const override;

    int m_index;
};
