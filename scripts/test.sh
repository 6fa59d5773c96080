#!/usr/bin/env bash
# Builds everything and runs every test: first the default build, then the core
# tests again under AddressSanitizer and UBSan. Both stages run whatever the
# other's outcome; the script fails at the end if either did.
set -euo pipefail
cd "$(dirname "$0")/.."
failed=()
{ bash scripts/build.sh && ctest --preset default; } || failed+=(default)
{ cmake --preset sanitize && cmake --build --preset sanitize && ctest --preset sanitize; } ||
    failed+=(sanitize)
if [ ${#failed[@]} -gt 0 ]; then
    echo "test.sh: failed: ${failed[*]}" >&2
    exit 1
fi
