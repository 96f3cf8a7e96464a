#!/usr/bin/env bash
# Builds the fuzz preset and runs each fuzzing target for a while on its seed corpus.
#   tools/fuzz.sh [SECONDS] [TARGET...]
# SECONDS per target (default 300); TARGET is gtk_settings, web_settings, game_session,
# saved_game or records_text (default all five). New inputs worth keeping go to
# build/fuzz/corpus/<target>/, a crashing or hanging input to build/fuzz/crashes/<target>/;
# exits non-zero when any target failed.
# A crash input belongs in tests/fuzz/corpus/<target>/ together with its fix.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-300}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(gtk_settings web_settings game_session saved_game records_text)
case $seconds in '' | *[!0-9]*) echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2 ;; esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

status=0
for target in "${targets[@]}"; do
    seeds=tests/fuzz/corpus/$target
    binary=build/fuzz/tests/fuzz/fuzz_$target
    if [ ! -d "$seeds" ] || [ ! -x "$binary" ]; then
        echo "no fuzzing target $target" >&2
        status=1
        continue
    fi
    found=build/fuzz/corpus/$target
    crashes=build/fuzz/crashes/$target
    log=build/fuzz/$target.log
    mkdir -p "$found" "$crashes"
    echo "== fuzzing $target for ${seconds}s =="
    # A message that takes ten seconds is a hang; one input may use at most 2 GB.
    if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$found" "$seeds" >"$log" 2>&1; then
        grep -E '^(Done|stat::number_of_executed_units)' "$log" || true
    else
        echo "$target failed; see $log and $crashes/" >&2
        grep -E 'ERROR|SUMMARY|==[0-9]+==|game session:|saved game:|settings|records text:' "$log" | head -20 >&2 || true
        status=1
    fi
done
exit $status
