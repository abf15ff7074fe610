#include "engine/logic/TypeName.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace Engine {
namespace {

void EraseEvery(std::string& name, const std::string& keyword)
{
    // Restart at the front: "claclass ss X" loses both keywords.
    for (auto at = name.find(keyword); at != std::string::npos; at = name.find(keyword))
        name.erase(at, keyword.size());
}

// The demangler writes "Pair<A, B>"; the names saved in scenes and used as
// factory keys join template arguments with a bare comma: "Pair<A,B>".
std::string WithoutSpaceAfterCommas(std::string name)
{
    for (auto at = name.find(", "); at != std::string::npos; at = name.find(", ", at))
        name.erase(at + 1, 1);
    return name;
}

std::string Demangle(const char* mangled)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                          &std::free);
    return (status == 0 && demangled) ? WithoutSpaceAfterCommas(demangled.get()) : std::string(mangled);
}

} // namespace

std::string StripClassKeywords(std::string name)
{
    EraseEvery(name, "class ");
    EraseEvery(name, "struct ");
    return name;
}

std::string ReadableTypeName(const std::type_info& type) { return StripClassKeywords(Demangle(type.name())); }

} // namespace Engine
