#!/usr/bin/env bash
# Takes the AppStream screenshot again: the panel's main page, logged in on the practice site,
# drawn under Xvfb by the program's own screenshot hook. Writes packaging/screenshots/panel.png.
#   packaging/screenshot.sh [build dir]
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
SITE=""
cleanup() {
  if [ -n "$SITE" ]; then kill "$SITE" 2>/dev/null || true; wait "$SITE" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

export ZERKON_DATA_DIR="$WORK/data" ZERKON_REGISTRY_FILE="$WORK/registry.ini" ZERKON_ANSWERS=/dev/null
export XDG_RUNTIME_DIR="$WORK/run" XDG_CACHE_HOME="$WORK/cache" ZERKON_OFFICE_HEADLESS=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$BUILD/zerkon-site" --state "$WORK/site.json" --data-folder "$ZERKON_DATA_DIR" > "$WORK/site.log" 2>&1 &
SITE=$!
for _ in $(seq 100); do [ -f "$ZERKON_DATA_DIR/System.ini" ] && break; sleep 0.1; done
[ -f "$ZERKON_DATA_DIR/System.ini" ] || { cat "$WORK/site.log"; exit 1; }

ZERKON_SCREENSHOT="$WORK/shot.png" ZERKON_SCREENSHOT_DELAY=2000 ZERKON_QUIT_AFTER_SCREENSHOT=1 \
  timeout 120 xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$BUILD/zerkon"
cp "$WORK/shot-main-page.png" "$HERE/screenshots/panel.png"
echo "screenshot: $HERE/screenshots/panel.png"
