#!/usr/bin/env bash
# Checks the layer order beside the build: a folder includes only from itself and the folders
# before it, GL headers appear only in platform/ and render/, SDL headers only in platform/, and
# render/ and rules/ include nothing from archive/ or platform/ (game/ reads the archive and
# hands them bytes, pictures and meshes). The unit tests of a layer (tests/unit/<layer>/) and the
# fixtures they share (tests/support/<layer>/) include what that layer may include, the tests and
# fixtures of those layers, and the platform double, which stands in for the system at every layer.
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
    for folder in "tests/unit/$layer" "tests/support/$layer"; do
        [[ -d $folder ]] || continue
        while IFS= read -r -d '' file; do
            line=0
            while IFS= read -r text; do
                line=$((line + 1))
                [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+) ]] || continue
                include=${BASH_REMATCH[1]}
                [[ $include == platform/platform_double.h ]] && continue
                path=$include
                [[ $path == tests/unit/* || $path == tests/support/* ]] && path=${path#tests/*/}
                [[ $path == */* ]] || continue
                target=${path%%/*}
                if [[ -n ${rank[$target]+set} ]] && ((rank[$target] > rank[$layer])); then
                    echo "$file:$line: tests of $layer/ include $include from the later folder $target/"
                    status=1
                fi
                if [[ ($target == archive || $target == platform) &&
                      ($layer == render || $layer == rules) ]]; then
                    echo "$file:$line: tests of $layer/ include $include: the game hands it what it draws or plays"
                    status=1
                fi
            done <"$file"
        done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
    done
done
exit $status
