#include "base/state.h"

namespace base {

State state;

} // namespace base
