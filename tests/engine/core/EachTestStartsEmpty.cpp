#include "support/BeforeEachTest.h"
#include "support/EmptyScene.h"

namespace {

const BeforeEachTest kEmptyScene(&EmptyScene);

} // namespace
