#pragma once
#include "engine/logic/TypeName.h"

#include <map>
#include <string>

namespace Engine {

// One type in the tree of logic-component types.
struct TypeNode {
    std::string name = "no_name";
    TypeNode* parent = nullptr;                   // not owned
    std::map<std::string, TypeNode*> children;    // not owned
};

// The global tree of type names: every class hangs under its parent's name,
// "NULL" being the root that Engine::LogicComp registers under. Nodes are
// never removed, so a node pointer stays valid for the whole run.
class TypeRegistry {
public:
    TypeRegistry() = delete;

    // The node of a name, created with default fields when absent.
    static TypeNode* FindOrCreateNode(const std::string& name);
    // Enters a type under its parent and returns the type's node, never null.
    // A type registered before keeps its parent and name: the first
    // registration wins. A null name counts as the empty name.
    static TypeNode* RegisterType(const char* typeName, const char* parentName);
    // The node of a name, or null; nothing is created.
    static const TypeNode* Find(const std::string& name);

    // What a class's RegisterType computes: T entered under Parent.
    template <class T, class Parent>
    static TypeNode* RegisterUnder()
    {
        const std::string name = GetTypeName<T>();
        const std::string parent = GetTypeName<Parent>();
        return RegisterType(name.c_str(), parent.c_str());
    }
};

} // namespace Engine
