#include "rules/state.h"

namespace rules {

State state;

void ResetRulesState() {
    state = {};
}

} // namespace rules
