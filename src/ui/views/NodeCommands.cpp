#include "views/NodeCommands.h"

#include <map>
#include <utility>

namespace {
std::map<int, NodeCommandHandler>& NewHandlers()
{
    static std::map<int, NodeCommandHandler> handlers;
    return handlers;
}
std::map<int, NodeCommandHandler>& PropertiesHandlers()
{
    static std::map<int, NodeCommandHandler> handlers;
    return handlers;
}
const NodeCommandHandler* Find(const std::map<int, NodeCommandHandler>& map, int type)
{
    auto it = map.find(type);
    return it == map.end() || !it->second ? nullptr : &it->second;
}
}  // namespace

void RegisterNewHandler(int listNodeType, NodeCommandHandler h) { NewHandlers()[listNodeType] = std::move(h); }
void RegisterPropertiesHandler(int nodeType, NodeCommandHandler h) { PropertiesHandlers()[nodeType] = std::move(h); }
const NodeCommandHandler* FindNewHandler(int listNodeType) { return Find(NewHandlers(), listNodeType); }
const NodeCommandHandler* FindPropertiesHandler(int nodeType) { return Find(PropertiesHandlers(), nodeType); }
