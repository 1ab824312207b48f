#!/usr/bin/env bash
# Runs the screensaver (`make run`): scripts/run.py says how.
set -eu
cd "$(dirname "$0")/.."
exec python3 -m scripts.run
