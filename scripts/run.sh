#!/usr/bin/env bash
# The main job: Zerkon on the sample data folder, in a window where there is a display, under
# Xvfb with a screenshot where there is none.
set -euo pipefail
BUILD=${1:-build}
exec "$BUILD/zerkon"
