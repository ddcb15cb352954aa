#!/usr/bin/env bash
# Sets everything up, builds Ordwell and runs an example macro headless.
#   scripts/example.sh [macro.ow]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh release
exec build/release/src/shell/ordwell /r "${1:-examples/hello.ow}"
