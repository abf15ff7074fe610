#include "engine/core/Profiler.h"

#include "engine/core/RuntimeErrors.h"
#include "engine/platform/Clock.h"

namespace Engine {
namespace {

Profiler::Records& TheRecords()
{
    static Profiler::Records records;
    return records;
}

} // namespace

void Profiler::Begin(std::string name, std::string category)
{
    Record& record = TheRecords()[name];
    record.name = std::move(name);
    record.category = std::move(category);
    record.start = Platform::NowNanoseconds();
}

void Profiler::End(const std::string& name)
{
    Records& records = TheRecords();
    const auto found = records.find(name);
    if (found == records.end())
        throw InvalidMapKey();
    found->second.end = Platform::NowNanoseconds();
}

void Profiler::Sample(const std::string& name, float value)
{
    Record& record = TheRecords()[name];
    record.name = name;
    record.category.clear();
    record.isTimer = false;
    record.sample = value;
}

const Profiler::Records& Profiler::GetRecords() { return TheRecords(); }

} // namespace Engine
