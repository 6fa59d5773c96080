#!/usr/bin/env bash
# Builds everything and runs every test: first the default build, then the core
# tests again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --preset default
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize
