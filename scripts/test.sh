#!/usr/bin/env bash
# Installs, builds and runs every test: the include and formatting checks, a normal build, its HID
# binding and program on a real kernel in QEMU, the whole program built for Windows and tested
# under Wine (with a Qt for Windows made once and kept in a cache), the Debian package installed
# and tried in a clean Debian 12 root (kept in a cache), a build with AddressSanitizer
# and UndefinedBehaviorSanitizer, and a fuzzer for every parser of outside input. Every build
# treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs="$(nproc)"
# A ccache the machine has keeps the five builds' repeated work; CMake reads these as defaults.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "== check includes against the layers"
bash scripts/check-layers.sh

echo "== check formatting"
bash scripts/check-format.sh

echo "== build and test"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELVANE_WERROR=ON
cmake --build build-test -j"$jobs"
(cd build-test && ctest -j"$jobs" --output-on-failure --timeout 300)

echo "== packaging: metainfo, desktop entries, manual page, completion, install layout"
bash scripts/check-packaging.sh build-test

echo "== the Debian package: lintian, then installed, run and purged in a clean Debian 12 root"
deb_status=0
bash tests/packaging/test_deb.sh build-deb || deb_status=$?
if ((deb_status == 77)); then
  echo "== Debian package check skipped (reason above)"
elif ((deb_status != 0)); then
  exit "$deb_status"
fi

echo "== the Linux binding and the program on a real kernel (QEMU)"
uhid_status=0
QUELVANE_BUILD=build-test sh tests/uhid/run.sh build-test/uhid || uhid_status=$?
if ((uhid_status == 77)); then
  echo "== real-kernel check skipped (reason above)"
elif ((uhid_status != 0)); then
  exit "$uhid_status"
fi

echo "== the program built for Windows (mingw-w64), tested under Wine"
windows_status=0
bash scripts/test-windows.sh build-windows || windows_status=$?
if ((windows_status == 77)); then
  echo "== Windows tests skipped (reason above)"
elif ((windows_status != 0)); then
  exit "$windows_status"
fi

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELVANE_SANITIZE=ON -DQUELVANE_BENCHMARKS=OFF \
  -DQUELVANE_WERROR=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest -j"$jobs" --output-on-failure --timeout 600)

echo "== build the fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELVANE_FUZZ=ON \
  -DQUELVANE_WERROR=ON
cmake --build build-fuzz -j"$jobs"
# The parsers of outside input get a minute each, the smaller text readers half of that.
for target in report_descriptor:60 theme_file:60 picture_file:30 settings_ini:30 json_text:30 battery_log:30; do
  name="${target%%:*}"
  echo "== fuzz ${name} for ${target##*:} seconds"
  corpus="$(mktemp -d)"
  if [ -d "fuzz/corpus_${name}" ]; then cp "fuzz/corpus_${name}"/* "$corpus"/; fi
  "./build-fuzz/fuzz/fuzz_${name}" -max_total_time="${target##*:}" -print_final_stats=1 "$corpus"
  rm -rf "$corpus"
done
echo "== all tests passed"
