#!/usr/bin/env bash
# Takes the pictures of the README and of the user guide (docs/):
# scripts/readme_pictures.py says how. Run it after `make build`.
set -eu
cd "$(dirname "$0")/.."
exec python3 -m scripts.readme_pictures
