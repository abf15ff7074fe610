#include "engine/render/ComponentSection.h"

namespace Engine::ComponentSection {

namespace {

std::string ElementPlace(std::size_t i) { return "[" + std::to_string(i) + "]"; }

Element ReadElement(const nlohmann::json& value, std::size_t i, const char* section)
{
    if (!value.is_object())
        SceneFormat::Fail(section, "element " + ElementPlace(i) + " is " + value.type_name() + ", not an object");
    const std::uint32_t index = SceneFormat::Within(section, ElementPlace(i) + " \"handle\"", [&] {
        return SceneFormat::ReadEntityIndex(value.at("handle"));
    });
    if (index == 0)
        SceneFormat::Fail(section, "element " + ElementPlace(i) + " names the null entity (index 0)");
    const nlohmann::json& values =
        SceneFormat::Within(section, ElementPlace(i), [&]() -> const nlohmann::json& { return value.at("values"); });
    if (!values.is_object())
        SceneFormat::Fail(section, "element " + ElementPlace(i) + " has \"values\" of type " + values.type_name()
                                       + ", not an object");
    return Element{EntityHandle(index), &values};
}

} // namespace

std::vector<Element> Read(const nlohmann::json& document, const char* section)
{
    std::vector<Element> elements;
    if (!document.is_object() || !document.contains(section))
        return elements;
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(document, section, section);
    if (array.is_null())
        return elements;
    elements.reserve(array.size());
    for (std::size_t i = 0; i < array.size(); ++i)
        elements.push_back(ReadElement(array[i], i, section));
    return elements;
}

} // namespace Engine::ComponentSection
