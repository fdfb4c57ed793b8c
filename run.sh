#!/usr/bin/env bash
# Builds the release configuration and opens the demo project in the desktop
# program. When the module simulator is built, it runs beside the program on
# a pseudo-terminal that the program's settings name as COM1, online mode on.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
BUILD=${PX920_RUN_BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPX920_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
BUILD=$(cd "$BUILD" && pwd)
DEMO=${PX920_DEMO:-$HOME/PX920-Demo}
if [ ! -e "$DEMO" ]; then
  "$BUILD/bin/px920" demo "$DEMO"
fi
echo "Demo project: $DEMO"
"$BUILD/bin/px920" info "$DEMO" || true

# The program's settings for this run live in the build tree.
export PX920WIN_INI=${PX920WIN_INI:-$BUILD/PX920Win.ini}

# set_ini SECTION KEY VALUE: replaces or adds one key of the settings file.
set_ini() {
  local section=$1 key=$2 value=$3 tmp
  touch "$PX920WIN_INI"
  tmp=$(mktemp "$PX920WIN_INI.XXXXXX")
  awk -v s="[$section]" -v k="$key" -v v="$value" '
    BEGIN { ls = tolower(s); lk = tolower(k) }
    /^\[/ { if (insec && !done) { print k "=" v; done = 1 } insec = (tolower($0) == ls); if (insec) seen = 1 }
    insec && index(tolower($0), lk "=") == 1 { if (!done) { print k "=" v; done = 1 } next }
    { print }
    END { if (!seen) { print s } if (!done) print k "=" v }
  ' "$PX920WIN_INI" > "$tmp"
  mv "$tmp" "$PX920WIN_INI"
}

SIM_PID=
cleanup() { if [ -n "$SIM_PID" ]; then kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true; fi; }
trap cleanup EXIT

if [ -x "$BUILD/bin/px920sim" ]; then
  LINK="$BUILD/px920sim-COM1"
  rm -f "$LINK"
  mkdir -p "$BUILD/sim-store"
  "$BUILD/bin/px920sim" --store "$BUILD/sim-store" --link "$LINK" --log "$BUILD/px920sim.log" &
  SIM_PID=$!
  for _ in $(seq 50); do [ -e "$LINK" ] && break; sleep 0.1; done
  if [ -e "$LINK" ]; then
    set_ini Ports COM1 "$LINK"
    set_ini Configuration ComPort 1
    set_ini Configuration Connect Online
    echo "Module simulator on $(readlink -f "$LINK") as COM1 (log: $BUILD/px920sim.log)"
  else
    echo "The module simulator did not start; the program runs without it." >&2
  fi
fi

RUN=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting on a virtual X server (xvfb-run)." >&2
  RUN=(xvfb-run -a)
fi
"${RUN[@]}" "$BUILD/bin/px920win" --open "$DEMO"
