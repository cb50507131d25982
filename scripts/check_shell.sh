#!/usr/bin/env bash
# Every shell script of the project, clean under shellcheck with the settings of .shellcheckrc.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts=()
while IFS= read -r -d '' script; do
    scripts+=("$script")
done < <(find . -path './build*' -prune -o -path ./.git -prune -o -name '*.sh' -print0 | sort -z)
scripts+=(.ci/run)
shellcheck "${scripts[@]}"
echo "shellcheck: ${#scripts[@]} scripts clean"
