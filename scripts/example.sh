#!/usr/bin/env bash
# Sets everything up, builds the ordwell program (not its tests and
# benchmarks: scripts/test.sh builds those) and runs an example macro headless.
# What the setting up and the build say goes to standard error, so standard
# output is the macro's alone.
#   scripts/example.sh [macro.ow]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh release ordwell >&2
exec build/release/src/shell/ordwell /r "${1:-examples/hello.ow}"
