#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/Node.h"

class CTextgruppe;
class CTextliste;

// Most text lists a group may hold (the list count is one byte in the file)
// and most texts that may share one DW (the run count is one byte).
constexpr int kMaxTextListen = 255;
constexpr int kMaxTextsPerRun = 255;
// Width of group and list names in the file: blank-padded to 32 characters.
constexpr size_t kTextNameWidth = 32;
// Longest message text the dialog accepts, in editing form.
constexpr size_t kMaxMeldetextLength = 80;

// The stored form of a message text: "@" and up to three digits become an
// escape with a 16-bit value. A raw ESC or NUL in the editing form (which
// nothing should let in, but clipboard data is foreign) would swallow the
// bytes after it and tear the record apart, so it is written as '?'.
std::string MeldetextToStored(const std::string& editing);

// One message text of a text list: an address (DW, bit), the logging
// settings and the text in editing form, device character set.
class CMeldetext : public CNode {
public:
    explicit CMeldetext(CNode* parent);

    int GetType() const override { return NT_MELDETEXT; }
    std::string GetColumnText(int column) const override;
    // DW, then bit.
    int Compare(const CNode& other) const override;
    bool WriteRecord(std::vector<uint8_t>& out) const override;
    bool ReadRecord(std::span<const uint8_t> record) override;
    uint16_t GetRecordSize() const override;

    // Bytes this text takes in the group file: bit, protocol byte, stored text, NUL.
    size_t FileRecordLength() const { return 3 + MeldetextToStored(m_text).size(); }
    uint8_t ProtocolByte() const { return static_cast<uint8_t>((m_protocolNumber & 0x1F) | ((m_protocolMode & 0x07) << 5)); }
    CTextliste* GetList() const;

    int m_lineNumber = 0;
    uint16_t m_dw = 1;
    uint8_t m_bit = 0;
    uint8_t m_protocolNumber = 0;  // 5 bits used
    uint8_t m_protocolMode = 0;    // 3 bits used
    std::string m_text;            // editing form ("@005"), device character set
};

// A text list: the message texts of one data block. It lives inside its
// group's file, so it is always loaded and never saved on its own.
class CTextliste : public CListNode {
public:
    explicit CTextliste(CNode* parent);

    int GetType() const override { return NT_TEXTLISTE; }
    std::string GetColumnText(int column) const override;
    // Address check: no two texts with the same DW and bit (62095).
    bool Validate(CErrorInfo& err, int mode) override;
    // List identifier, ignoring case.
    int Compare(const CNode& other) const override;
    bool WriteRecord(std::vector<uint8_t>& out) const override;
    bool ReadRecord(std::span<const uint8_t> record) override;
    uint16_t GetRecordSize() const override;

    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    int ChildChanged(CNode* child) override;
    bool Load() override { return true; }
    bool Save() override { return false; }
    void Unload() override {}
    // DW, then bit (stable), then line numbers 1..n.
    void Sort() override;
    int GetColumnCount() const override { return 6; }
    int GetColumnWidth(int column) const override;
    std::string GetStatusText(int pane) const override;
    std::string GetClipboardFormatName() const override { return "PX920_MELDETEXT"; }
    CNode* CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record) override;
    std::string GetColumnHeaders() const override;

    CTextgruppe* GetGroup() const;
    // Length of this list's record in the group file, from its contents
    // (may exceed 16 bits for a list that cannot be saved).
    size_t ComputeRecordLength() const;
    void UpdateRecordLength();
    // Number of DW runs and the longest run.
    int RunCount() const;
    int LongestRun() const;
    // Renumbers the texts 1..n in their current order.
    void Renumber();

    std::string m_identifier;   // 3 characters, as typed
    uint8_t m_db = 1;
    uint16_t m_recordLength = 0;
};

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
