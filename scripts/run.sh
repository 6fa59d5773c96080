#!/usr/bin/env bash
# Installs what building and running the game needs, builds the game alone
# and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh play
cmake --preset play
cmake --build --preset play
exec build/play/app/korvel
