#!/usr/bin/env bash
# The layer check against small trees: a clean one passes, each kind of offence is named with
# its file and line.
set -euo pipefail
check="$(cd "$(dirname "$0")" && pwd)/check_layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{base,platform,engine,archive,rules,render,game,shell}

printf '#include <SDL.h>\n#include <GL/gl.h>\n#include "base/report.h"\n' >"$tree/platform/ok.cpp"
printf '#include <GL/glu.h>\n#include "engine/x.h"\n' >"$tree/render/down.cpp"
printf '#include "engine/store.h"\n#include "game/state.h"\n' >"$tree/game/ok.h"
printf '#include "render/scene.h"\n' >"$tree/shell/ok.cpp"
printf '#include "archive/bigfile.h"\n#include "rules/state.h"\n' >"$tree/game/reads.cpp"
mkdir -p "$tree"/tests/unit/{rules,render,game} "$tree"/tests/support/{engine,game}
printf '#include <GL/gl.h>\n#include "game/state.h"\n#include "tests/unit/rules/h.h"\n' \
    >"$tree/tests/unit/game/ok_test.cpp"
printf '#include "engine/store.h"\n#include "platform/platform_double.h"\n#include "fix.h"\n' \
    >"$tree/tests/unit/render/ok_test.cpp"
printf '#include "tests/support/engine/mesh.h"\n#include "rules/state.h"\n' \
    >>"$tree/tests/unit/render/ok_test.cpp"
printf '#include "platform/window_state.h"\n#include "tests/support/engine/mesh.h"\n' \
    >"$tree/tests/support/game/fixture.h"
bash "$check" "$tree" || { echo "a clean tree failed"; exit 1; }

printf '// one\n#include "render/view.h"\n' >"$tree/engine/up.h"
printf '#include <SDL2/SDL.h>\n' >"$tree/render/sdl.cpp"
printf '#include <GL/gl.h>\n' >"$tree/game/gl.cpp"
printf '#include "engine/store.h"\n#include "archive/workspace.h"\n' >"$tree/render/files.cpp"
printf '#include "archive/bigfile.h"\n' >"$tree/rules/files.h"
printf '#include "platform/platform.h"\n' >"$tree/render/screen.cpp"
printf '#include "rules/state.h"\n#include "tests/unit/game/f.h"\n' >"$tree/tests/unit/rules/up_test.cpp"
printf '#include "render/view.h"\n#include "tests/support/game/fixture.h"\n' \
    >"$tree/tests/unit/render/up_test.cpp"
printf '#include "archive/workspace.h"\n' >"$tree/tests/unit/rules/files_test.cpp"
printf '#include "game/state.h"\n' >"$tree/tests/support/engine/up.h"
if out=$(bash "$check" "$tree"); then
    echo "offences passed the check"
    exit 1
fi
for expected in "engine/up.h:2:" "render/sdl.cpp:1:" "game/gl.cpp:1:" "render/files.cpp:2:" \
    "rules/files.h:1:" "render/screen.cpp:1:" "tests/unit/rules/up_test.cpp:2:" \
    "tests/unit/render/up_test.cpp:2:" "tests/unit/rules/files_test.cpp:1:" \
    "tests/support/engine/up.h:1:"; do
    grep -qF "$expected" <<<"$out" || { echo "missing $expected in: $out"; exit 1; }
done
