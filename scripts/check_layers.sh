#!/usr/bin/env bash
# Checks the layer order beside the build: a folder includes only from itself and the folders
# before it, GL headers appear only in platform/ and render/, SDL headers only in platform/, and
# render/ and rules/ include nothing from archive/ or platform/ (game/ reads the archive and
# hands them bytes, pictures and meshes). The unit tests of a layer (tests/unit/<layer>/) include only that layer,
# the ones before it, and the tests of those layers.
# Prints every offending include as file:line and fails when there is one.
set -euo pipefail
# The tree to check is the first argument, the project itself by default.
cd "${1:-$(dirname "$0")/..}"

layers=(base platform engine archive rules render game shell)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

status=0
for layer in "${layers[@]}"; do
    [[ -d $layer ]] || continue
    while IFS= read -r -d '' file; do
        line=0
        while IFS= read -r text; do
            line=$((line + 1))
            [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+) ]] || continue
            path=${BASH_REMATCH[2]}
            target=${path%%/*}
            if [[ ${BASH_REMATCH[1]} == '"' && $path == */* && -n ${rank[$target]+set} ]] &&
               ((rank[$target] > rank[$layer])); then
                echo "$file:$line: $layer/ includes $path from the later folder $target/"
                status=1
            fi
            if [[ ${BASH_REMATCH[1]} == '"' && ($target == archive || $target == platform) &&
                  ($layer == render || $layer == rules) ]]; then
                echo "$file:$line: $layer/ includes $path: the game hands it what it draws or plays"
                status=1
            fi
            if [[ $path == GL/* && $layer != platform && $layer != render ]]; then
                echo "$file:$line: GL header $path outside platform/ and render/"
                status=1
            fi
            if [[ $path == SDL* && $layer != platform ]]; then
                echo "$file:$line: SDL header $path outside platform/"
                status=1
            fi
        done <"$file"
    done < <(find "$layer" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
done

for layer in "${layers[@]}"; do
    [[ -d tests/unit/$layer ]] || continue
    while IFS= read -r -d '' file; do
        line=0
        while IFS= read -r text; do
            line=$((line + 1))
            [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+) ]] || continue
            path=${BASH_REMATCH[1]}
            [[ $path == tests/unit/* ]] && path=${path#tests/unit/}
            target=${path%%/*}
            if [[ $path == */* && -n ${rank[$target]+set} ]] && ((rank[$target] > rank[$layer])); then
                echo "$file:$line: tests of $layer/ include $path from the later folder $target/"
                status=1
            fi
        done <"$file"
    done < <(find "tests/unit/$layer" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
done
exit $status
