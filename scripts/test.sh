#!/usr/bin/env bash
# Sets everything up, builds Ordwell and runs all its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh debug
scripts/with-test-services.sh ctest --preset debug -j2
