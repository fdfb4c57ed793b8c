#!/usr/bin/env bash
# Builds the release configuration and shows the demo project.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
BUILD=${PX920_RUN_BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPX920_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
DEMO=${PX920_DEMO:-$HOME/PX920-Demo}
if [ ! -e "$DEMO" ]; then
  "$BUILD/bin/px920" demo "$DEMO"
fi
echo "Demo project: $DEMO"
"$BUILD/bin/px920" info "$DEMO"
"$BUILD/bin/px920" ls "$DEMO"
