#include "game/FreshRun.h"
#include "support/BeforeEachTest.h"

namespace {

const BeforeEachTest kFreshRun(&FreshRun);

} // namespace
