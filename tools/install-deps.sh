#!/usr/bin/env bash
# Installs the Debian packages that building and testing Quorvane need and that
# are still missing. Runs apt-get as root, through sudo when available, or
# prints the packages to install by hand.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev            # Qt 6 Widgets: dialogs, off-screen images, full-screen window
  libgtest-dev libgmock-dev         # unit tests
  libmpfr-dev                       # the oracle of the correctly rounded exp, log and pow, and their tables' generator
  libbenchmark-dev                  # benchmarks in bench/
  nlohmann-json3-dev                # JSON output of quorvane-run
  libcli11-dev                      # argument parsing of quorvane-run
  xvfb xdotool imagemagick x11-utils # end-to-end tests of the real program
  fonts-dejavu-core                 # a known font for dialogs and labels
  locales                           # the Italian locale for the number-format tests
  clang libclang-rt-14-dev          # libFuzzer and the sanitizer runtimes of the fuzz build
  lintian                           # checks the Debian package as a distribution would
  libgif-dev                        # animated GIFs of quorvane-run animate
  qt6-charts-dev libqt6opengl6-dev  # energy charts of quorvane-run energy (Charts' CMake files need OpenGL's)
  emscripten                        # the browser edition (make web): C++ to WebAssembly
  nodejs                            # runs quorvane-run.js and the browser tests (npm below)
  fonttools                         # cuts the web page's dialog font to Windows-1252 (pyftsubset)
  chromium                          # the page's tests in Blink (playwright-core downloads no browser)
  firefox-esr                       # ... in Gecko, headless (puppeteer-core downloads none)
  webkit2gtk-driver                 # ... in WebKit: WebKitWebDriver and MiniBrowser, on Xvfb
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# npm brings playwright-core and puppeteer-core; some Node packages carry their own npm, which
# Debian's would conflict with.
command -v npm >/dev/null 2>&1 || missing+=(npm)

need_locale=0
locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$' || need_locale=1

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
elif command -v sudo >/dev/null 2>&1; then
  SUDO="sudo"
else
  echo "Please install these Debian packages as root: ${missing[*]}" >&2
  [ $need_locale -eq 1 ] && echo "and enable it_IT.UTF-8 in /etc/locale.gen, then run locale-gen" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ $need_locale -eq 1 ]; then
  $SUDO sed -i 's/^# *\(it_IT.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^it_IT.UTF-8 UTF-8' /etc/locale.gen || echo 'it_IT.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
