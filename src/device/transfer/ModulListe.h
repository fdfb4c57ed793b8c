#pragma once
#include <cstdint>
#include <string>

#include "model/Node.h"

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
