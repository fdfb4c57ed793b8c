#pragma once
#include <cstdint>
#include <string>

#include "model/Node.h"

// The 12-byte header every option list starts with.
struct OptionHeader {
    uint8_t code = 0;
    uint16_t length = 0;
    uint8_t version = 0;
    char versionText[4] = {0, 0, 0, 0};
};

// Fixed base name of an option code, empty for an unknown code.
std::string OptionBaseName(uint8_t code);
// The option code of a fixed base name (ignoring case), -1 when it names no option list.
int OptionCodeOf(const std::string& baseName);
// "Erstellbetrieb V 3.60" and the like; empty for an unknown code.
std::string OptionDisplayName(const OptionHeader& header);
// Reads the header from the start of a file; false when the file cannot be opened.
bool ReadOptionHeader(const std::string& path, OptionHeader& header);

// An option list: a ready-made block of the module's optional functions,
// shown with its name, version and length and never edited.
class COptionsListe : public CFileList {
public:
    COptionsListe(CListNode* parent, const std::string& fileName);

    int GetType() const override { return NT_OPTION_LIST; }
    int Compare(const CNode& other) const override;
    bool Load() override { return false; }
    int GetColumnCount() const override { return 0; }
    int GetColumnWidth(int) const override { return 0; }
    std::string GetColumnHeaders() const override { return {}; }
};
