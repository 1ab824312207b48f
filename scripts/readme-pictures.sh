#!/usr/bin/env bash
# Takes the README's picture, docs/brumalis.png: scripts/readme_pictures.py
# says how. Run it after `make build`.
set -eu
cd "$(dirname "$0")/.."
exec python3 -m scripts.readme_pictures
