#include "engine/logic/LogicComp.h"

namespace Engine {

TypeNode* LogicComp::RegisterClassType() { return TypeRegistry::RegisterType(GetTypeName<LogicComp>().c_str(), "NULL"); }

} // namespace Engine
