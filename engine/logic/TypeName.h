#pragma once
#include <string>
#include <typeinfo>

namespace Engine {

// Removes every "class " and then every "struct " from a readable type name,
// each search restarting at the first character, so a keyword that an erase
// forms from the characters around it goes as well. Other keywords stay.
std::string StripClassKeywords(std::string name);

// The readable, namespace-qualified name of a run-time type: demangled where
// the compiler stores mangled names (template arguments joined by a bare
// comma), then stripped of class keys.
std::string ReadableTypeName(const std::type_info& type);

// The name a type is registered under in the factory and saved under in
// scene files, e.g. "Engine::LogicComp" or "PasivePerkss::RocketJump".
template <class T>
std::string GetTypeName()
{
    return ReadableTypeName(typeid(T));
}

} // namespace Engine
