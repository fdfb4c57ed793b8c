#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/Node.h"
#include "texts/Meldetext.h"
#include "texts/TextLimits.h"
#include "texts/Textliste.h"

// A text group: one list file "T" + identifier holding up to 255 text lists.
class CTextgruppe : public CFileList {
public:
    // Probes the file: valid when its header has type 9 or 10 and an
    // identifier equal (ignoring case) to characters 2 to 4 of the name.
    CTextgruppe(CNode* parent, const std::string& fileName);
    // A new, empty group that has no file yet ("T." + the project extension),
    // valid and loaded.
    static CTextgruppe* CreateNew(CNode* parent, const std::string& extension);

    int GetType() const override { return NT_TEXTGRUPPE; }
    std::string GetIdentifier() const override { return m_identifier; }
    // 62097, 62098, 62099, then (mode != 0) each list's own check as 62096.
    bool Validate(CErrorInfo& err, int mode) override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    // Deleting a text list asks the pictures for references first.
    int DeleteChild(CNode* node) override;
    int ChildChanged(CNode* child) override;
    bool Load() override;
    bool Save() override;
    void Sort() override;
    int GetColumnCount() const override { return 6; }
    int GetColumnWidth(int column) const override;
    std::string GetClipboardFormatName() const override { return "PX920_TEXTLISTE"; }
    CNode* CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record) override;
    std::string GetColumnHeaders() const override;

    // 9, or 10 when a text has a protocol number other than 0.
    uint8_t ComputeTypeCode() const;
    // Total file length from the contents (header included).
    size_t ComputeTotalLength() const;
    // The file image Save writes; raises the generic file error when the
    // contents cannot be represented (too long, too many lists or texts).
    std::vector<uint8_t> Serialize() const;
    // Reads a whole group file image into this (unloaded) group; raises on invalid data.
    void ParseFile(std::span<const uint8_t> data);
    CTextliste* FindList(const std::string& identifier) const;  // ignoring case

    std::string m_identifier;  // 3 characters as typed; empty for a new group

private:
    CTextgruppe(CNode* parent, std::string fileName, bool probe);
    void Probe();
};
