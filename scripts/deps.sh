#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet
# (with sudo when not root). Sourced by ./play, ./check and fuzz/run_fuzzers.sh.
need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# Each package is here for something that uses it:
#   build-essential, cmake       the compiler and the build
#   libsdl2-dev                  the SDL backend (found through its CMake package)
#   libstb-dev                   stb_image_write: PNG screenshots, the art generator's PNGs
#   libsoci-dev, libboost-dev,   the hall's database layer on SQLite and PostgreSQL (hall/): SOCI, the
#   libsqlite3-dev, libpq-dev    headers its own headers include, and the two back ends' headers
#   libcpp-httplib-dev, pkgconf  HTTP: the hall's server and glimmo --submit's client
#   nlohmann-json3-dev, libssl-dev  the hall's JSON, and the digest a replay is known by
BUILD_PACKAGES=(build-essential cmake libsdl2-dev libstb-dev libsoci-dev libboost-dev libsqlite3-dev libpq-dev
                libcpp-httplib-dev pkgconf nlohmann-json3-dev libssl-dev)
#   libgtest-dev                 every test program (tests/)
#   libbenchmark-dev             the benchmarks, built with the tests (bench/)
#   python3                      the layer check and the harness contract (tests/layers, tests/harness)
#   tuxtype-data                 the real songs the module tests and module_bench play
#   openmpt123, xmp              the reference players the module tests and module_bench compare with
#   valgrind                     the leak check of a headless game (scripts/sanitizers.sh)
#   groff-base                   the manual pages' lint (tests/install)
#   desktop-file-utils           the menu entry's validation (tests/install)
#   appstream                    the metainfo's validation (tests/install)
#   lintian                      the Debian package judged as a distribution would (tests/install)
#   xvfb                         the window's CPU use measured under Xvfb (bench/window_cpu.sh), and the
#                                fault tests that need a real X display to lose (tests/faults)
#   xdotool                      keys pressed in a real window under Xvfb (tests/faults)
#   openbox, x11-utils           a window manager, and xprop to read the hints it is given (tests/faults)
#   imagemagick                  the screen of a real X display captured and compared (tests/faults)
#   clang-format                 the style check (tests/layers)
#   chromium, chromium-driver,   the web page played in headless Chromium (tests/web), with the web
#   python3-selenium             build's packages below
#   postgresql                   the hall's tests start a PostgreSQL of their own (tests/hall)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev python3 tuxtype-data openmpt123 xmp valgrind groff-base
               desktop-file-utils appstream lintian xvfb xdotool openbox x11-utils imagemagick clang-format chromium
               chromium-driver python3-selenium postgresql)
#   emscripten, nodejs           the web build: the compiler to WebAssembly, and what it runs its
#                                JavaScript tools with (./play --web, tests/web)
#   python3                      the local web server of ./play --web (scripts/serve_web.py)
WEB_PACKAGES=(cmake emscripten nodejs python3)
#   qrencode                     the QR code of the page's address on the local network (./play --web --lan)
WEB_LAN_PACKAGES=(qrencode)
TEST_PACKAGES+=("${WEB_PACKAGES[@]}")
#   clang, libclang-rt-14-dev    the libFuzzer programs and their sanitizer runtimes (fuzz/run_fuzzers.sh)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
