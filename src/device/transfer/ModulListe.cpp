#include "transfer/ModuleDirectory.h"

#include "listfile/ByteStream.h"
#include "transfer/DirectoryRules.h"
#include "util/StringTable.h"
#include "util/Strings.h"

using namespace moddir;

// ------------------------------------------------------------ CModulListe

bool IsSafeModuleIdentifier(const std::string& identifier)
{
    if (identifier.size() != 4) return false;
    for (unsigned char c : identifier)
        if (c < 0x21 || c >= 0x7F) return false;  // control characters, blanks and 8-bit bytes
    return IsValidNamePart(identifier);
}

std::string FixedDesignation(const std::string& identifier)
{
    for (const auto& f : kFixedDesignations)
        if (IEquals(identifier, f.id)) return LoadString(f.text);
    return {};
}

CModulListe::CModulListe(CNode* parent, const std::string& identifier, const std::string& extension)
    : CFileList(parent, identifier.empty() ? std::string() : identifier + "." + extension), m_extension(extension)
{
}

int CModulListe::Compare(const CNode& other) const
{
    if (other.GetType() != NT_DEVICE_LIST) return 0;
    return ICompare(GetBaseName(), static_cast<const CModulListe&>(other).GetBaseName());
}

bool CModulListe::Load()
{
    m_loaded = 1;
    return true;
}

bool CModulListe::Fill(const uint8_t* answer, size_t length)
{
    // 'b', identifier (4), length (2), L, L-1 characters.
    if (!answer || length < 8 || answer[0] != 'b') return false;
    std::string id(reinterpret_cast<const char*>(answer + 1), 4);
    if (!IsSafeModuleIdentifier(id)) return false;
    size_t nameLength = answer[7];
    if (nameLength == 0 || 8 + (nameLength - 1) > length) return false;
    std::string designation = FixedDesignation(id);
    if (designation.empty()) {
        designation.assign(reinterpret_cast<const char*>(answer + 8), nameLength - 1);
        for (char& c : designation)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
        m_displayConvert = 1;
    } else {
        m_displayConvert = 0;
    }
    m_fileName = ToUpper(id) + "." + m_extension;
    m_fileLength = GetU16(answer + 5);
    m_name = designation;
    m_fileDate.clear();
    m_found = true;
    return true;
}

