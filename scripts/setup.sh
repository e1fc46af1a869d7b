#!/usr/bin/env bash
# Installs the Debian packages Quillmar needs (only the missing ones), then
# configures and builds. Usage: scripts/setup.sh [app|test|fuzz|run [FILE…]]
#   app  (default) release-style build in build/
#   test build with sanitizers in build-test/, and the fuzz targets in build-fuzz/
#   fuzz the libFuzzer targets alone, built with clang, in build-fuzz/
#   run  the application built without tests in build/, started with the files
set -euo pipefail

mode="${1:-app}"
# The application needs a desktop session; say so before installing anything.
if [ "$mode" = run ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "setup: no display to show Quillmar on (neither DISPLAY nor WAYLAND_DISPLAY is set)" >&2
  exit 1
fi

PACKAGES=(
  build-essential cmake pkg-config ninja-build
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libuchardet-dev
  libhunspell-dev hunspell-en-us
  fonts-dejavu-core
  ffmpeg mkvtoolnix tesseract-ocr tesseract-ocr-eng
  time
  unzip zip locales
  clang-format
  xvfb xauth desktop-file-utils x11-utils
)

# The fuzz targets need clang and its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
if [ "$mode" = "fuzz" ] || [ "$mode" = "test" ]; then PACKAGES+=("${FUZZ_PACKAGES[@]}"); fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# mkvmerge's environment wants an English UTF-8 locale; the tests also read
# times under a German one, whose decimal point is ",".
for loc in en_US de_DE; do
  if ! locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8\$"; then
    $SUDO sed -i "s/^# *${loc}.UTF-8 UTF-8/${loc}.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^${loc}.UTF-8 UTF-8" /etc/locale.gen || echo "${loc}.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen > /dev/null
    $SUDO locale-gen
  fi
done

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

case "$mode" in
  app)
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$root/build" -j "$jobs"
    ;;
  test|fuzz)
    if [ "$mode" = test ]; then
      cmake -S "$root" -B "$root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLMAR_SANITIZE=ON -DQUILLMAR_WERROR=ON
      cmake --build "$root/build-test" -j "$jobs"
    fi
    # The fuzz targets' smoke runs are tests of their own, in build-fuzz/.
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMAR_FUZZ=ON -DQUILLMAR_TESTS=OFF -DQUILLMAR_GUI=OFF
    cmake --build "$root/build-fuzz" -j "$jobs"
    ;;
  run)
    shift
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMAR_TESTS=OFF > /dev/null
    cmake --build "$root/build" -j "$jobs" --target quillmar
    # The files are named relative to the caller's folder, which stays.
    exec "$root/build/src/app/quillmar" "$@"
    ;;
  *)
    echo "usage: $0 [app|test|fuzz|run [FILE…]]" >&2
    exit 2
    ;;
esac
