#!/usr/bin/env bash
# Installs what is missing, then configures and builds the default preset.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default
cmake --build --preset default
