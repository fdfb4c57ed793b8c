#include "util/StringTable.h"

#include <map>

#include "util/Charset.h"

namespace {
struct Entry {
    int id;
    const char* text;  // UTF-8 in the source, handed out as Windows-1252
};

const Entry kEntries[] = {
#include "util/StringTableData.inc"
};

const std::map<int, std::string>& Table()
{
    static const std::map<int, std::string> table = [] {
        std::map<int, std::string> t;
        for (const Entry& e : kEntries) t[e.id] = Utf8ToCp1252(e.text);
        return t;
    }();
    return table;
}
}  // namespace

std::string LoadString(int id)
{
    auto it = Table().find(id);
    return it == Table().end() ? std::string() : it->second;
}

bool HasString(int id) { return Table().count(id) != 0; }
