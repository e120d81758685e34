#!/usr/bin/env bash
# Draws every reference screenshot of tests/e2e/golden anew with the program as built in
# ${BUILD:-build-test}; look at them before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD:-build-test}"
cmake --build "$build" --target quelvane test_e2e test_app_chart
QT_QPA_PLATFORM=offscreen QUELVANE_UPDATE_GOLDENS=1 \
  "$build/tests/e2e/test_e2e" --gtest_filter='Window/Screenshots.*'
QUELVANE_UPDATE_GOLDENS=1 "$build/tests/app/chart/test_app_chart"
git status --short tests/e2e/golden
