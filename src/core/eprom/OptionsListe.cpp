#include "eprom/OptionsListe.h"

#include "listfile/ByteStream.h"
#include "util/FileSystem.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"

std::string OptionBaseName(uint8_t code)
{
    switch (code) {
    case 3: return "ERST";
    case 4: return "CSKA";
    case 5: return "CPRO";
    case 6: return "CSER";
    case 7: return "CTR8";
    case 14: return "CRKO";
    default: return {};
    }
}

int OptionCodeOf(const std::string& baseName)
{
    for (uint8_t code : {3, 4, 5, 6, 7, 14})
        if (IEquals(baseName, OptionBaseName(code))) return code;
    return -1;
}

namespace {
int OptionNameId(uint8_t code)
{
    switch (code) {
    case 3: return 63217;
    case 4: return 63218;
    case 5: return 63219;
    case 6: return 63220;
    case 7: return 63221;
    case 14: return 63222;
    default: return 0;
    }
}
}  // namespace

std::string OptionDisplayName(const OptionHeader& h)
{
    int id = OptionNameId(h.code);
    if (!id) return {};
    std::string version;
    if (h.version <= 0x22) {
        version = LoadString(63215);
    } else if (h.code == 5) {
        version = FormatString(LoadString(63216), {static_cast<long>(h.version >> 4), static_cast<long>(h.version & 0x0F)});
    } else {
        version = LoadString(63214);
        for (char c : h.versionText) {
            if (c == 0) break;
            version += c;
        }
    }
    return LoadString(id) + " " + version;
}

bool ReadOptionHeader(const std::string& path, OptionHeader& h)
{
    std::vector<uint8_t> data;
    if (!fsx::ReadFileHead(path, 12, data)) return false;
    // A short file leaves the missing fields 0, as a short read would.
    data.resize(std::max<size_t>(data.size(), 12), 0);
    h.code = data[0];
    h.length = GetU16(&data[1]);
    h.version = data[3];
    for (int i = 0; i < 4; ++i) h.versionText[i] = static_cast<char>(data[8 + i]);
    return true;
}

COptionsListe::COptionsListe(CListNode* parent, const std::string& fileName) : CFileList(parent, fileName)
{
    m_imageIndex = 6;
    m_valid = 0;
    OptionHeader h;
    std::string path = GetPath();
    if (!ReadOptionHeader(path, h)) return;
    m_name = OptionDisplayName(h);
    m_fileLength = h.length;
    if (auto st = fsx::Stat(path)) m_fileDate = fsx::FormatFileTime(st->mtime);
    m_valid = 1;
}

int COptionsListe::Compare(const CNode& other) const { return CompareBaseNames(*this, other); }
