#!/usr/bin/env bash
# The main job: Zerkon against the practice site with the sample data. Where there is a display it
# opens there and runs until the seller closes it; where there is none the same panel runs under
# Xvfb, pressed by zerkon-drive (not shipped): it lists the sample sheet with "連続出品", relists,
# collects, answers its boxes from the demo script and prints what it did.
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEMO="$BUILD/demo"
rm -rf "$DEMO"
mkdir -p "$DEMO/data" "$DEMO/documents"

export ZERKON_DATA_DIR="$DEMO/data"
export ZERKON_DOCUMENTS_DIR="$DEMO/documents"
export ZERKON_REGISTRY_FILE="$DEMO/registry.ini"

# Everything started here is ended by its own pid, whatever happens.
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
trap cleanup EXIT

# The practice site, with a data folder (System.ini, FieldsDefine.ini, category.txt) that points at
# it; the category history and links come from the sample folder.
"$BUILD/zerkon-site" --state "$DEMO/site.json" --data-folder "$ZERKON_DATA_DIR" --store "$DEMO/site-store" \
  > "$DEMO/site.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do [ -f "$ZERKON_DATA_DIR/System.ini" ] && break; sleep 0.1; done
if [ ! -f "$ZERKON_DATA_DIR/System.ini" ]; then
  echo "zerkon: the practice site did not start:"; cat "$DEMO/site.log"; exit 1
fi
for f in ctg_history.txt CategoryLink.ini; do
  [ -f "$ROOT/resources/sample-data/$f" ] && cp "$ROOT/resources/sample-data/$f" "$ZERKON_DATA_DIR/"
done
head -n 1 "$DEMO/site.log"
# The seller's picture folder starts with the sample description template (CP932; its two "%%"
# take the sample sheet's 説明1 and 説明2).
mkdir -p "$DEMO/pictures"
cp "$ROOT/resources/sample-data/pictures/template.txt" "$DEMO/pictures/"

# The seller's item workbook, made from the sample rows by the office itself.
mkdir -p "$DEMO/books"
/usr/lib/libreoffice/program/soffice --headless --norestore "-env:UserInstallation=file://$DEMO/convert-profile" \
  --infilter=CSV:44,34,76,1 --convert-to xlsx --outdir "$DEMO/books" "$ROOT/resources/demo/items.csv" \
  > "$DEMO/convert.log" 2>&1 || true
BOOK="$DEMO/books/items.xlsx"

if [ -n "${DISPLAY:-}" ]; then
  "$BUILD/zerkon"
  exit $?
fi

# No display: our own Xvfb. It lets in only clients that show its cookie, which is in an
# authority file that only this user can read and only the programs started here are pointed at.
export XAUTHORITY="$DEMO/Xauthority"
COOKIE=$(mcookie)
# The server takes every cookie in the file, whatever display an entry names; clients look up
# their display's entry, added once the server has chosen its number.
(umask 077; : > "$XAUTHORITY"; xauth -q add :0 . "$COOKIE")
DISPLAY_FILE="$DEMO/display"
Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp -auth "$XAUTHORITY" > "$DISPLAY_FILE" 2>/dev/null &
PIDS+=($!)
for _ in $(seq 100); do [ -s "$DISPLAY_FILE" ] && break; sleep 0.1; done
if [ ! -s "$DISPLAY_FILE" ]; then
  echo "zerkon: Xvfb did not start"; exit 1
fi
export DISPLAY=":$(head -n1 "$DISPLAY_FILE")"
(umask 077; xauth -q remove :0; xauth -q add "$DISPLAY" . "$COOKIE")

# The demo's script: the standing answers; the road through the panel answers its own boxes.
export ZERKON_ANSWERS="$DEMO/answers.txt"
cat "$ROOT/resources/demo/answers.txt" > "$ZERKON_ANSWERS"
if [ ! -f "$BOOK" ]; then
  echo "zerkon: the sample workbook was not made:"; cat "$DEMO/convert.log"; exit 1
fi
export ZERKON_DEMO_ROAD="$BOOK"
export ZERKON_DEMO_SHOTS="$DEMO"
export ZERKON_TRANSCRIPT="$DEMO/transcript.jsonl"
(umask 077; : > "$ZERKON_TRANSCRIPT")
echo "zerkon: no display here; running under Xvfb on $DISPLAY"
# The panel as the program starts it, pressed by the unattended seller that lives beside the tests.
status=0
"$BUILD/zerkon-drive" || status=$?
echo "zerkon: exit status $status; the boxes shown are in $ZERKON_TRANSCRIPT (one JSON line each)"
echo "zerkon: screenshots of the main steps: $DEMO/road-*.png; the site's record: $DEMO/site.json"
exit $status
