#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet
# (with sudo when not root). Sourced by ./play and ./check.
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

BUILD_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libstb-dev)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev python3 sox xvfb xauth tuxtype-data openmpt123 xmp clang libclang-rt-14-dev valgrind)
