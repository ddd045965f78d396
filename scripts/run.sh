#!/usr/bin/env bash
# The main job: Zerkon on the sample data folder. Where there is a display it opens there and runs
# until the seller closes it; where there is none it runs under Xvfb, answers its boxes from the
# demo script, writes a screenshot and closes.
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEMO="$BUILD/demo"
mkdir -p "$DEMO"

export ZERKON_DATA_DIR="$DEMO/data"
export ZERKON_DOCUMENTS_DIR="$DEMO/documents"
export ZERKON_REGISTRY_FILE="$DEMO/registry.ini"
if [ ! -f "$ZERKON_DATA_DIR/System.ini" ]; then
  mkdir -p "$ZERKON_DATA_DIR"
  cp "$ROOT"/resources/sample-data/* "$ZERKON_DATA_DIR"/
  chmod 600 "$ZERKON_DATA_DIR/System.ini"
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$BUILD/zerkon"
fi

# No display: our own Xvfb, ended by its pid whatever happens.
XVFB_PID=""
cleanup() { if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi; }
trap cleanup EXIT
DISPLAY_FILE=$(mktemp)
Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp > "$DISPLAY_FILE" 2>/dev/null &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$DISPLAY_FILE" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$DISPLAY_FILE")"
rm -f "$DISPLAY_FILE"

export ZERKON_ANSWERS="$ROOT/resources/demo/answers.txt"
export ZERKON_TRANSCRIPT="$DEMO/transcript.jsonl"
export ZERKON_SCREENSHOT="$DEMO/screenshot.png"
export ZERKON_QUIT_AFTER_SCREENSHOT=1
: > "$ZERKON_TRANSCRIPT"
echo "zerkon: no display here; running under Xvfb on $DISPLAY"
"$BUILD/zerkon"
echo "zerkon: boxes shown (one JSON line each) are in $ZERKON_TRANSCRIPT:"
cat "$ZERKON_TRANSCRIPT"
echo "zerkon: look at the panel in $ZERKON_SCREENSHOT"
