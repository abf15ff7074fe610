#include "engine/logic/Factory.h"

namespace Engine {

Factory& Factory::GetInstance()
{
    static Factory factory;
    return factory;
}

bool Factory::RunRegistration()
{
    if (!mCallback)
        return false;
    mCallback();
    return true;
}

bool Factory::Register(const char* name, std::unique_ptr<ICreator> creator)
{
    if (!name || !creator)
        return false;
    return mCreators.try_emplace(name, std::move(creator)).second;
}

IFactoryBase* Factory::Create(const char* name) const
{
    if (!name)
        return nullptr;
    const auto found = mCreators.find(name);
    return found == mCreators.end() ? nullptr : found->second->Create();
}

} // namespace Engine
