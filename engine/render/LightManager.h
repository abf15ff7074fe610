#pragma once
#include "engine/render/ComponentMap.h"
#include "engine/render/Light.h"
#include "engine/render/LightLimits.h"

#include <string>

namespace Engine {

struct LightRef {
    EntityHandle entity;
    Light* light = nullptr;
};

// Every light, by value, in ascending entity index (the upload order).
//
// Scene section "Lights": see ComponentSection.h; the property object holds
// the fourteen persisted fields of LightSettings. A scene load does not
// bring lights back (their owners and types are not saved); LoadLights does,
// without owners.
class LightManager : public ComponentMap<Light> {
public:
    static LightManager& GetInstance();

    void Save(nlohmann::json& document) override;
    void LoadLights(const nlohmann::json& document);

    // The entity's light (a default one, with its own shadow targets, when it
    // had none), owned by the entity. Null for the null entity.
    LightRef AddComponent(EntityHandle entity);
    Light* GetCompPtr(EntityHandle entity) { return Find(entity); }

    // Sets `arrayName` + "Size" and one array element per light, at most as
    // many as the lit programs' arrays hold (kMaxLights); the shadow target of
    // element i goes to texture unit 4 + i. The program must be current.
    void UploadLights(const ShaderProgram& program, const std::string& arrayName) const;
    // The kinds among the lights UploadLights sends.
    LightKinds Kinds() const;

private:
    LightManager() = default;
};

} // namespace Engine
