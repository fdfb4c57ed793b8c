#pragma once
#include <cstdint>
#include <string>

#include "model/Node.h"

class CComm;

// One list in the module, as its directory names it.
class CModulListe : public CFileList {
public:
    // identifier: 4 characters; the file name becomes identifier + "." + extension.
    CModulListe(CNode* parent, const std::string& identifier, const std::string& extension);

    int GetType() const override { return NT_DEVICE_LIST; }
    int Compare(const CNode& other) const override;
    bool Load() override;
    int GetColumnCount() const override { return 0; }
    int GetColumnWidth(int) const override { return 0; }
    std::string GetColumnHeaders() const override { return {}; }

    // Fills the entry from a directory entry answer ('b', 4 identifier
    // characters, u16 length, L, L-1 designation characters). False, and
    // nothing changed, when the answer is malformed or its identifier could
    // not safely become a file name.
    bool Fill(const uint8_t* answer, size_t length);

    const std::string& Extension() const { return m_extension; }

    bool m_found = false;

private:
    std::string m_extension;
};

// True when a 4-character identifier from the module may become part of a
// file name: printable, no path separator, nothing IsValidNamePart refuses.
bool IsSafeModuleIdentifier(const std::string& identifier);

// The fixed designation of a standard list identifier, empty for others.
std::string FixedDesignation(const std::string& identifier);

class CInhaltsverzeichnis;

// The lists of one kind in the module ("B*", "T*", "G*", "P*", "C*").
class CVerzeichnisAbschnitt : public CListNode {
public:
    CVerzeichnisAbschnitt(CNode* parent, std::string selector, int categoryTextId, std::string extension);

    int GetType() const override { return NT_DEVICE_FOLDER; }
    std::string GetColumnText(int column) const override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    // A section is filled by reading the directory; on its own it only
    // answers whether that succeeded.
    bool Load() override { return m_loaded != 0; }
    int GetColumnCount() const override { return 5; }
    int GetColumnWidth(int column) const override;
    std::string GetColumnHeaders() const override;

    const std::string& Selector() const { return m_selector; }
    const std::string& Extension() const { return m_extension; }
    const std::string& CategoryText() const { return m_categoryText; }
    int TotalLength() const;

    std::string m_title;

private:
    std::string m_selector;
    std::string m_categoryText;
    std::string m_extension;
};

// The module's directory: five sections, then SDAT, ASYM and XTEX when the
// module has them. Loading it reads the directory from the module.
class CInhaltsverzeichnis : public CListNode {
public:
    explicit CInhaltsverzeichnis(CComm& comm, std::string extension = "920");

    int GetType() const override { return NT_DEVICE_DIRECTORY; }
    std::string GetColumnText(int column) const override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    bool Load() override;
    int GetColumnCount() const override { return 5; }
    int GetColumnWidth(int column) const override;
    std::string GetColumnHeaders() const override;
    std::string GetStatusText(int pane) const override;

    // "Gesamtlänge: %d Byte" with the total length.
    std::string GetSummaryText() const;
    // Sum over the sections and the direct entries, so it follows deletions.
    int TotalLength() const;
    void SetExtension(const std::string& extension) { m_extension = extension; }

private:
    CComm& m_comm;
    std::string m_extension;
};
