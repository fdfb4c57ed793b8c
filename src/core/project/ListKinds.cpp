#include "project/ListKinds.h"

#include <map>
#include <utility>

namespace {
struct Registry {
    std::map<int, ListFactory> categories;
    std::map<int, std::pair<std::string, ListFactory>> fixed;
};
Registry& Reg()
{
    static Registry r;
    return r;
}
}  // namespace

void RegisterCategoryFactory(int category, ListFactory factory) { Reg().categories[category] = std::move(factory); }

const ListFactory* CategoryFactory(int category)
{
    auto it = Reg().categories.find(category);
    return it == Reg().categories.end() || !it->second ? nullptr : &it->second;
}

void RegisterFixedListFactory(int nodeType, const std::string& baseName, ListFactory factory)
{
    Reg().fixed[nodeType] = {baseName, std::move(factory)};
}

const ListFactory* FixedListFactory(int nodeType)
{
    auto it = Reg().fixed.find(nodeType);
    return it == Reg().fixed.end() ? nullptr : &it->second.second;
}

