#include "engine/logic/TypeRegistry.h"

namespace Engine {
namespace {

std::map<std::string, TypeNode>& Nodes()
{
    static std::map<std::string, TypeNode> nodes;
    return nodes;
}

std::string NameOrEmpty(const char* name) { return name ? std::string(name) : std::string(); }

} // namespace

TypeNode* TypeRegistry::FindOrCreateNode(const std::string& name) { return &Nodes()[name]; }

const TypeNode* TypeRegistry::Find(const std::string& name)
{
    const auto found = Nodes().find(name);
    return found == Nodes().end() ? nullptr : &found->second;
}

TypeNode* TypeRegistry::RegisterType(const char* typeName, const char* parentName)
{
    const std::string name = NameOrEmpty(typeName);
    const std::string parentKey = NameOrEmpty(parentName);

    TypeNode& parent = Nodes()[parentKey];
    parent.name = parentKey;

    const auto [entry, created] = Nodes().try_emplace(name);
    TypeNode& node = entry->second;
    if (created) {
        node.parent = &parent;
        node.name = name;
    }
    parent.children[name] = &node;
    return &node;
}

} // namespace Engine
