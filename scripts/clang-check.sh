#!/usr/bin/env bash
# Compiles every C++ file of the project with clang, warnings as errors, as
# far as the compiler's front end goes (-fsyntax-only): clang's warnings are
# its front end's, so this finds all of them in a fraction of a full build's
# time. GCC builds the code that runs.
#
#     scripts/clang-check.sh [build folder, default: build/clang-check]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/clang-check}"

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORDWELL_WERROR=ON \
    -DORDWELL_BUILD_BENCH=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# What the compiler reads but the build writes: Qt's meta-object code and the
# Wayland protocol headers.
mapfile -t generated < <(ninja -C "$build" -t targets all |
    sed -n -e 's/^\([^:]*_autogen\): phony$/\1/p' -e 's/^\(ordwell_wayland_protocols\): phony$/\1/p')
if ((${#generated[@]})); then
    ninja -C "$build" "${generated[@]}" >/dev/null
fi

python3 - "$build/compile_commands.json" <<'PY'
import concurrent.futures, json, os, shlex, subprocess, sys

entries = json.load(open(sys.argv[1]))
def check(entry):
    words = shlex.split(entry["command"])
    if "-o" in words:
        at = words.index("-o")
        del words[at:at + 2]
    words = [w for w in words if w != "-c"] + ["-fsyntax-only"]
    if not words[0].endswith("clang++") and not words[0].endswith("clang"):
        return entry["file"], 0, ""
    run = subprocess.run(words, cwd=entry["directory"], capture_output=True, text=True)
    return entry["file"], run.returncode, run.stderr

failed = 0
with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
    for name, status, errors in pool.map(check, entries):
        sys.stderr.write(errors)
        if status != 0:
            failed += 1
print(f"clang: {len(entries)} files checked, {failed} failed")
sys.exit(1 if failed else 0)
PY
