#!/usr/bin/env bash
# Fails when a checker finds anything in the scripts of the repository, and names the places.
# Checked are every shell script (*.sh and scripts that start with a shell's #! line) with
# ShellCheck, every Python file with pyflakes, and the JavaScript (the
# page's modules, its *.js.in templates with each @NAME@ as a plain value, the tests' scripts)
# with ESLint and .eslintrc.json; and the C++ includes, that each folder sees only the layers
# below it and no files include each other in a circle (tools/check-layers.py).
# The files are those git tracks or would track (new files count before they are added).
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
command -v shellcheck >/dev/null || missing+=(shellcheck)
command -v eslint >/dev/null || missing+=(eslint)
# Debian's python3 carries Debian's pyflakes3; another python3 on the PATH may have none.
python=python3
if [ -x /usr/bin/python3 ]; then python=/usr/bin/python3; fi
"$python" -m pyflakes --version >/dev/null 2>&1 || missing+=(pyflakes3)
if [ ${#missing[@]} -ne 0 ]; then
    echo "not installed: ${missing[*]} (tools/install-deps.sh installs them)" >&2
    exit 1
fi

mapfile -t files < <(git ls-files --cached --others --exclude-standard | sort -u)
shell_scripts=()
python_files=()
js_files=()
js_templates=()
for file in "${files[@]}"; do
    [ -f "$file" ] || continue
    case $file in
        *.sh) shell_scripts+=("$file") ;;
        *.py) python_files+=("$file") ;;
        *.js | *.mjs) js_files+=("$file") ;;
        *.js.in) js_templates+=("$file") ;;
        *)
            if head -n 1 "$file" | grep -Eq '^#!.*\b(ba|da)?sh\b'; then
                shell_scripts+=("$file")
            fi
            ;;
    esac
done

for list in shell_scripts python_files js_files; do
    declare -n found=$list
    if [ ${#found[@]} -eq 0 ]; then
        echo "no files found for $list" >&2
        exit 1
    fi
done

status=0
report() {
    local what=$1 count=$2 result=$3
    if [ "$result" -eq 0 ]; then
        echo "$count $what: no findings"
    else
        echo "$what: findings above" >&2
        status=1
    fi
}

result=0
shellcheck "${shell_scripts[@]}" || result=$?
report "shell scripts (shellcheck)" ${#shell_scripts[@]} $result

result=0
"$python" -m pyflakes "${python_files[@]}" || result=$?
report "Python files (pyflakes)" ${#python_files[@]} $result

# Debian's eslint finds its modules in /usr/share/nodejs, where Debian's node looks by itself
# and a node from elsewhere does not.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
result=0
eslint --max-warnings 0 "${js_files[@]}" || result=$?
for template in "${js_templates[@]}"; do
    sed -E 's/@[A-Z_]+@/0/g' "$template" |
        eslint --max-warnings 0 --stdin --stdin-filename "${template%.in}" || result=$?
done
report "JavaScript files and templates (eslint)" $((${#js_files[@]} + ${#js_templates[@]})) $result

result=0
"$python" tools/check-layers.py || result=$?
report "folders' includes (check-layers)" 9 $result

exit $status
