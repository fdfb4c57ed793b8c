#include "eprom/VerbundEintrag.h"

#include "eprom/OptionsListe.h"
#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "util/Charset.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"
#include "util/Strings.h"

// ------------------------------------------------------- CVerbundEintrag

CVerbundEintrag::CVerbundEintrag(CListNode* composite, const std::string& fileName) : CFileList(composite, fileName)
{
    m_valid = 0;
    std::string path = GetPath();
    std::vector<uint8_t> head;
    // The longest header: type, length, two short strings of 81 bytes, the identifier.
    if (!fsx::ReadFileHead(path, 4 + 81 + 3 + 81, head)) return;
    if (auto st = fsx::Stat(path)) m_fileDate = fsx::FormatFileTime(st->mtime);
    try {
        std::string base = GetBaseName();
        if (IStartsWith(base, "C") || IStartsWith(base, "ERST")) {
            OptionHeader h;
            if (!ReadOptionHeader(path, h)) return;
            if (!OptionBaseName(h.code).empty()) m_name = OptionDisplayName(h);
            m_fileLength = h.length;
            m_valid = 1;
            return;
        }
        CByteReader in(head);
        AnyListHeader h;
        h.Read(in);
        m_fileLength = h.length;
        switch (h.form) {
        case HeaderForm::Short:
            m_name = LoadString(h.type == LTC_SYSDATA ? 63258 : h.type == LTC_STANDARD_TEXTS ? 63257 : 63256);
            break;
        case HeaderForm::Long:
            m_name = h.name;
            m_displayConvert = 1;
            break;
        case HeaderForm::TypeAndLength:
            m_name = LoadString(63367);
            break;
        }
        m_valid = 1;
    } catch (const CFileException&) {
        m_valid = 0;
    }
}

std::string CVerbundEintrag::GetColumnText(int column) const
{
    switch (column) {
    case 0: return GetBaseName();
    case 1: return GetExtension();
    case 2: return m_displayConvert ? ToDisplayCharset(m_name) : m_name;
    case 4: return m_fileDate;
    case 5: return std::to_string(m_fileLength);
    default: return {};
    }
}

int CVerbundEintrag::Compare(const CNode& other) const { return CompareBaseNames(*this, other); }

uint16_t CVerbundEintrag::GetRecordSize() const { return static_cast<uint16_t>(GetBaseName().size() + 4); }

bool CVerbundEintrag::WriteRecord(std::vector<uint8_t>& out) const
{
    std::string base = GetBaseName();
    uint16_t size = GetRecordSize();
    out.push_back(static_cast<uint8_t>(size & 0xFF));
    out.push_back(static_cast<uint8_t>(size >> 8));
    out.insert(out.end(), base.begin(), base.end());
    out.push_back(0);
    out.push_back(0);  // pad byte, never read
    return true;
}

