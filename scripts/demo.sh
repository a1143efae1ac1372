#!/usr/bin/env bash
# Builds the program and the demo installation, then starts the presenter on it.
# The tests and the benchmark are not built: scripts/test.sh does that.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh ziro ziro-make-demo
BUILD_DIR=${BUILD_DIR:-build}
DEMO_DIR=${DEMO_DIR:-$BUILD_DIR/demo}
"$BUILD_DIR/ziro-make-demo" "$DEMO_DIR" "$BUILD_DIR/ziro"
[ "${1:-}" = "--no-start" ] && exit 0
exec "$DEMO_DIR/ziro/Program/ziro"
