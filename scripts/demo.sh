#!/usr/bin/env bash
# Builds the program and the demo installation, then starts the presenter on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
BUILD_DIR=${BUILD_DIR:-build}
DEMO_DIR=${DEMO_DIR:-$BUILD_DIR/demo}
"$BUILD_DIR/ziro-make-demo" "$DEMO_DIR" "$BUILD_DIR/ziro"
[ "${1:-}" = "--no-start" ] && exit 0
exec "$DEMO_DIR/ziro/Program/ziro"
