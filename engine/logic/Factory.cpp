#include "engine/logic/Factory.h"

namespace Engine {

Factory& Factory::GetInstance()
{
    static Factory factory;
    return factory;
}

bool Factory::RunRegistration()
{
    if (!mState.callback)
        return false;
    mState.callback();
    return true;
}

bool Factory::Register(const char* name, std::unique_ptr<ICreator> creator)
{
    if (!name || !creator)
        return false;
    return mState.creators.try_emplace(name, std::move(creator)).second;
}

IFactoryBase* Factory::Create(const char* name) const
{
    if (!name)
        return nullptr;
    const auto found = mState.creators.find(name);
    return found == mState.creators.end() ? nullptr : found->second->Create();
}

void Factory::Reset() { mState = State{}; }

} // namespace Engine
