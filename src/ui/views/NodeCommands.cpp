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
std::map<int, NodeCommandHandler>& CommandHandlers()
{
    static std::map<int, NodeCommandHandler> handlers;
    return handlers;
}
std::map<int, UnshortenedColumnRule>& UnshortenedRules()
{
    static std::map<int, UnshortenedColumnRule> rules;
    return rules;
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
void RegisterCommandHandler(int commandCode, NodeCommandHandler h) { CommandHandlers()[commandCode] = std::move(h); }
const NodeCommandHandler* FindCommandHandler(int commandCode) { return Find(CommandHandlers(), commandCode); }

void RegisterUnshortenedColumn(int listNodeType, UnshortenedColumnRule rule)
{
    UnshortenedRules()[listNodeType] = std::move(rule);
}

bool IsColumnUnshortened(int listNodeType, const CNode& child, int column)
{
    auto it = UnshortenedRules().find(listNodeType);
    return it != UnshortenedRules().end() && it->second && it->second(child, column);
}
