#include "engine/render/ComponentSection.h"

namespace Engine::ComponentSection {

namespace {

// Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "[" + string.
std::string ElementPlace(std::size_t i)
{
    std::string place = "[";
    place += std::to_string(i);
    place += ']';
    return place;
}

// The elements of the section, each checked by readElement(element, i);
// none when the document lacks the section or holds null there.
template <class ReadElement>
auto ReadEach(const nlohmann::json& document, const char* section, ReadElement readElement)
{
    std::vector<decltype(readElement(document, std::size_t{}))> elements;
    if (!document.is_object() || !document.contains(section))
        return elements;
    const nlohmann::json& array = SceneFormat::ArrayOrNullMember(document, section, section);
    if (array.is_null())
        return elements;
    elements.reserve(array.size());
    for (std::size_t i = 0; i < array.size(); ++i)
        elements.push_back(readElement(array[i], i));
    return elements;
}

EntityHandle ReadHandle(const nlohmann::json& element, std::size_t i, const char* section)
{
    if (!element.is_object())
        SceneFormat::Fail(section, "element " + ElementPlace(i) + " is " + element.type_name() + ", not an object");
    const std::uint32_t index = SceneFormat::Within(section, ElementPlace(i) + " \"handle\"", [&] {
        return SceneFormat::ReadEntityIndex(element.at("handle"));
    });
    if (index == 0)
        SceneFormat::Fail(section, "element " + ElementPlace(i) + " names the null entity (index 0)");
    return EntityHandle(index);
}

} // namespace

std::string ValuesPlace(std::size_t i)
{
    return ElementPlace(i) + " \"values\"";
}

std::vector<Element> Read(const nlohmann::json& document, const char* section)
{
    return ReadEach(document, section, [section](const nlohmann::json& element, std::size_t i) {
        const EntityHandle entity = ReadHandle(element, i, section);
        const nlohmann::json& values = SceneFormat::Within(
            section, ElementPlace(i), [&]() -> const nlohmann::json& { return element.at("values"); });
        if (!values.is_object())
            SceneFormat::Fail(section, "element " + ElementPlace(i) + " has \"values\" of type " + values.type_name()
                                           + ", not an object");
        return Element{entity, &values};
    });
}

std::vector<EntityHandle> ReadEntities(const nlohmann::json& document, const char* section)
{
    return ReadEach(document, section, [section](const nlohmann::json& element, std::size_t i) {
        const EntityHandle entity = ReadHandle(element, i, section);
        const auto values = element.find("values");
        if (values != element.end() && !values->is_null() && !values->is_object())
            SceneFormat::Fail(section, "element " + ElementPlace(i) + " has \"values\" of type " + values->type_name()
                                           + ", not null or an object");
        return entity;
    });
}

} // namespace Engine::ComponentSection
