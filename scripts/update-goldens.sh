#!/usr/bin/env bash
# Draws every reference screenshot of tests/e2e/golden, and the tray's battery icons of
# tests/tray/data, anew with the program as built in ${BUILD:-build-test}; look at them before
# committing.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD:-build-test}"
cmake --build "$build" --target quelvane test_e2e test_tray test_app_chart
QT_QPA_PLATFORM=offscreen QUELVANE_UPDATE_GOLDENS=1 \
  "$build/tests/e2e/test_e2e" --gtest_filter='Window/Screenshots.*'
QT_QPA_PLATFORM=offscreen QUELVANE_UPDATE_GOLDENS=1 \
  "$build/tests/tray/test_tray" --gtest_filter='BatteryIcon.EverySizeMatchesItsGoldenPicture'
QUELVANE_UPDATE_GOLDENS=1 "$build/tests/app/chart/test_app_chart"
git status --short tests/e2e/golden tests/tray/data
