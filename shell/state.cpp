#include "shell/state.h"

namespace shell {

State state;

} // namespace shell
