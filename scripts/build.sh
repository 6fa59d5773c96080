#!/usr/bin/env bash
# Installs what is missing for the tests, then configures and builds the default
# preset: the game with its tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake --preset default
cmake --build --preset default
