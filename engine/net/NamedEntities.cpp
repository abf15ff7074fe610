#include "engine/net/NamedEntities.h"

#include "engine/core/EntityNameCompManager.h"

namespace Net::Names {

std::string Tile(std::uint32_t number)
{
    return "Tile_" + std::to_string(number);
}

Engine::EntityHandle First(const std::string& name)
{
    const auto found = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(name.c_str());
    return found.empty() ? Engine::EntityHandle() : found.front();
}

} // namespace Net::Names
