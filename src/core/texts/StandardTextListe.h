#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/Node.h"
#include "texts/StandardText.h"

// The project's standard text list, file XTEX.
class CStandardTextListe : public CFileList {
public:
    // Probes the file (type code 128). A node whose file does not exist yet
    // stays invalid and empty; the creator may mark it valid and loaded.
    CStandardTextListe(CNode* parent, const std::string& fileName);

    int GetType() const override { return NT_STANDARD_TEXTS; }
    std::string GetColumnText(int column) const override;
    // Total length of 65536 or more: 62098.
    bool Validate(CErrorInfo& err, int mode) override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    // A full list (255 texts) refuses with 62086 and destroys the node it
    // was given, which it owns from the call on; callers look the node up
    // afterwards (IndexOf) instead of keeping the pointer.
    void AddChild(CNode* node) override;
    void InsertChildAfter(CNode* node, int index) override;
    int DeleteChild(CNode* node) override;
    int ChildChanged(CNode* child) override;
    bool Load() override;
    bool Save() override;
    void Sort() override;
    int GetColumnCount() const override { return 2; }
    int GetColumnWidth(int column) const override;
    std::string GetClipboardFormatName() const override { return "PX920_XTEXT"; }
    CNode* CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record) override;
    std::string GetColumnHeaders() const override;

    // Numbers the texts 1..n in their order.
    void Renumber();
    size_t ComputeTotalLength() const;
    std::vector<uint8_t> Serialize() const;
    void ParseFile(std::span<const uint8_t> data);

private:
    bool RefuseWhenFull(CNode* node);
};
