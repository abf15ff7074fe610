#pragma once
#include "engine/core/EntityManager.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/LogicManager.h"
#include "TestComponents.h"

#include <gtest/gtest.h>

// Starts every test from an empty logic manager in the Idle scene state and
// leaves no component behind.
class LogicFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine::SceneManager::SetIdle();
        LogicTest::Journal().clear();
        Engine::LogicManager::GetInstance().Clear();
    }
    void TearDown() override
    {
        Engine::LogicManager::GetInstance().Clear();
        Engine::SceneManager::SetIdle();
    }

    static Engine::LogicManager& Logic() { return Engine::LogicManager::GetInstance(); }

    static Engine::EntityHandle NewEntity()
    {
        Engine::EntityHandle entity;
        entity.Create();
        return entity;
    }

    template <class T>
    static T* Add(Engine::EntityHandle entity, const char* label = "")
    {
        const std::size_t before = Count(entity);
        Logic().AddComponent<T>(entity);
        T* added = dynamic_cast<T*>(Logic().FindComponents(entity)->at(before));
        if constexpr (std::is_base_of_v<LogicTest::Probe, T>)
            added->label.value = label;
        return added;
    }

    static std::size_t Count(Engine::EntityHandle entity)
    {
        const auto* list = Logic().FindComponents(entity);
        return list ? list->size() : 0;
    }
};
