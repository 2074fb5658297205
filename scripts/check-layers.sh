#!/usr/bin/env bash
# Checks the layers of src/: fails when a file includes a header of a layer
# above its own, or when files of program/ include one another round a circle
# (a header and its source counted as one).
set -euo pipefail
cd "$(dirname "$0")/../src"

# The layers, lowest first, one a line. Each names the folders and files
# (paths under src/, without the extension) it holds; a file belongs to the
# longest of them its path begins with. A file may include the headers of the
# layers below its own and of its own line, but of the names side by side on
# its line only those in its own folder: qt/ and web/ are two shells, and the
# results and the run of program/ each hold several files.
layers='
base
link
config
ui/model
ui
program/ProcedureResults program/ExitStatus program/ProgramServices
program
program/SetupProgram program/FileCommands program/ModuleRun program/Provisioning program/StationRecord
qt web
'
# The folders whose files include one another in one order, with no circle:
# each procedure is a step of its own. The control model and the windows are
# each one piece whose files use one another's (a frame holds controls, a
# window's rules run on its values).
no_circles='program'

names=()
ranks=()
rank=0
while read -r line; do
    [ -n "$line" ] || continue
    for name in $line; do
        names+=("$name")
        ranks+=("$rank")
    done
    rank=$((rank + 1))
done <<<"$layers"

mapfile -t files < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

# The index in names of the layer `$1` belongs to, or nothing.
layer_of() {
    local path=$1 best='' length=0 i
    for i in "${!names[@]}"; do
        local name=${names[$i]}
        case $path in
        "$name" | "$name"/* | "$name".*)
            if [ ${#name} -gt $length ]; then
                best=$i
                length=${#name}
            fi
            ;;
        esac
    done
    echo "$best"
}

status=0
declare -A layer
for file in "${files[@]}"; do
    layer[$file]=$(layer_of "$file")
    if [ -z "${layer[$file]}" ]; then
        echo "src/$file belongs to no layer: add its folder to scripts/check-layers.sh" >&2
        status=1
    fi
done
for name in "${names[@]}"; do
    # A here-string, not a pipe: grep -q leaves early, and a writer cut off by
    # that would fail the pipeline under pipefail.
    if ! grep -qE "^$name([/.])" <<<"$(printf '%s\n' "${files[@]}")"; then
        echo "scripts/check-layers.sh names $name, which holds no file of src/" >&2
        status=1
    fi
done

edges=()
for file in "${files[@]}"; do
    from=${layer[$file]}
    [ -n "$from" ] || continue
    while read -r included; do
        # Quoted includes name a path under src/ or beside the file.
        if [ -f "$included" ]; then
            target=$included
        elif [ -f "$(dirname "$file")/$included" ]; then
            target=$(realpath -m --relative-to=. "$(dirname "$file")/$included")
        else
            continue
        fi
        to=${layer[$target]}
        [ -n "$to" ] || continue
        for folder in $no_circles; do
            if [ "${file%%/*}" = "$folder" ] && [ "${target%%/*}" = "$folder" ]; then
                edges+=("${file%.*} ${target%.*}")
            fi
        done
        if [ "${ranks[$to]}" -gt "${ranks[$from]}" ] ||
            { [ "${ranks[$to]}" -eq "${ranks[$from]}" ] && [ "${file%%/*}" != "${target%%/*}" ]; }; then
            echo "src/$file (${names[$from]}) includes $target (${names[$to]}): a layer above its own, or beside it" >&2
            status=1
        fi
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done

if ! loops=$(printf '%s\n' "${edges[@]}" | tsort 2>&1 >/dev/null); then
    echo "files of src/ include one another round a circle:" >&2
    sed -n 's/^tsort: //p' <<<"$loops" | grep -v 'input contains a loop' >&2
    status=1
fi
exit $status
