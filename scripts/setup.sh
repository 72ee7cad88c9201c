#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian 12 packages that
# building and running the program need, and with -DBUILD_TESTING=ON those the
# tests need too (only when something is missing), then configures and builds
# into the given folder: the program and its converter, and with
# -DBUILD_TESTING=ON the test programs and the bench as well.
#
#   scripts/setup.sh BUILD_DIR BUILD_TYPE [-DNAME=VALUE ...]
#
# The folder is configured again whenever its cache is missing or holds another
# build type or another value for one of the given settings, so switching a
# folder between build types never builds with the old flags. Safe to run
# again: a second run installs nothing and configures nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$#" -lt 2 ]; then
    echo "usage: $0 BUILD_DIR BUILD_TYPE [-DNAME=VALUE ...]" >&2
    exit 2
fi
build_dir=$1
definitions=("CMAKE_BUILD_TYPE=$2")
shift 2
testing=OFF
for arg in "$@"; do
    case ${arg#-D} in
    BUILD_TESTING=[Oo][Nn] | BUILD_TESTING=1 | BUILD_TESTING=[Tt][Rr][Uu][Ee] | BUILD_TESTING=[Yy][Ee][Ss]) testing=ON ;;
    BUILD_TESTING=*) ;;
    *) definitions+=("${arg#-D}") ;;
    esac
done
definitions+=("BUILD_TESTING=$testing")

# What building and running the program need (./run.sh).
packages=(
    build-essential cmake g++ pkg-config ccache
    qt6-base-dev qt6-webengine-dev qt6-translations-l10n qt6-qpa-plugins
    libicu-dev      # sorting collates with ICU, as Qt does
    libsodium-dev   # the update's signature check (Ed25519)
    libxxhash-dev   # the whole-file hash that tells another program's change
    libxcb1-dev     # the main window asks the X11 window manager for its frame
    fonts-dejavu fonts-liberation2 adwaita-icon-theme
    fp-utils        # chmcmd compiles the help file
    xchm            # a viewer for the help file
    xdg-utils       # the desktop's "open" for files, web and mail addresses
    file            # outside a desktop environment, xdg-open finds a file's
                    # type with it, and so xchm for help.chm
    librsvg2-bin    # rsvg-convert renders the icon's bitmap sizes
)
# What the tests need besides (./test.sh).
test_packages=(
    poppler-utils   # tests read printed PDFs back
    desktop-file-utils appstream # tests validate the desktop entry and the metainfo
    clang libclang-rt-dev   # fuzz/: libFuzzer, AddressSanitizer and UBSan
    clang-format    # test.sh checks the sources' layout against .clang-format
)
if [ "$testing" = ON ]; then
    packages+=("${test_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        as_root=()
    elif command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        echo "These packages are missing and there is neither root nor sudo: ${missing[*]}" >&2
        exit 1
    fi
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}" </dev/null
fi

# A compiler named without a folder (CMAKE_CXX_COMPILER=clang++) is taken by
# its full path where it is installed; where it is not, the folder builds with
# CMake's default compiler. CMake starts a folder afresh when its compiler
# changes.
for i in "${!definitions[@]}"; do
    def=${definitions[$i]}
    if [ "${def%%=*}" = CMAKE_CXX_COMPILER ] && [ "${def#*=}" = "${def#*=/}" ]; then
        if compiler=$(command -v "${def#*=}"); then
            definitions[$i]="CMAKE_CXX_COMPILER=$compiler"
        else
            echo "${def#*=} is not installed: $build_dir builds with the default compiler" >&2
            unset "definitions[$i]"
        fi
    fi
done
definitions=("${definitions[@]}")

# True when the folder has no cache yet or its cache holds another value for
# one of the wanted NAME=VALUE settings.
needs_configure() {
    local cache="$build_dir/CMakeCache.txt" def name
    [ -f "$cache" ] || return 0
    for def in "${definitions[@]}"; do
        name=${def%%=*}
        [ "$(sed -n "s/^${name}:[A-Z]*=//p" "$cache")" = "${def#*=}" ] || return 0
    done
    return 1
}

if needs_configure; then
    cmake -S . -B "$build_dir" "${definitions[@]/#/-D}"
fi
cmake --build "$build_dir" --parallel "$(nproc)"
