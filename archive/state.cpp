#include "archive/state.h"

namespace archive {

State state;

} // namespace archive
