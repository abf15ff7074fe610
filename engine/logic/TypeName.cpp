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

std::string Demangle(const char* mangled)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                          &std::free);
    return (status == 0 && demangled) ? std::string(demangled.get()) : std::string(mangled);
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
