#!/usr/bin/env bash
# Installs what is missing, builds the designer and starts it on the bundled
# sample plan. Extra arguments replace the sample (a plan to open).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} ${CMAKE_EXTRA_ARGS:-} >/dev/null
cmake --build "$BUILD_DIR" --target designer
if [ $# -eq 0 ]; then
  set -- "$BUILD_DIR/bin/samples/两室一厅.kvf"
fi
exec "$BUILD_DIR/bin/huxing" "$@"
