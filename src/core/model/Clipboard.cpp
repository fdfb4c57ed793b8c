#include "model/Clipboard.h"

#include <mutex>

#include "util/Strings.h"

unsigned RegisterClipboardFormat(const std::string& name)
{
    static std::mutex mutex;
    static std::map<std::string, unsigned> ids;  // keyed by upper-case name: registration ignores case
    std::lock_guard<std::mutex> lock(mutex);
    std::string key = ToUpper(name);
    auto it = ids.find(key);
    if (it != ids.end()) return it->second;
    unsigned id = 0xC000u + static_cast<unsigned>(ids.size());
    ids.emplace(key, id);
    return id;
}
