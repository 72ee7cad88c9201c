#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian 12 packages the build
# and the tests need (only when something is missing), then configures and builds
# into build/. Safe to run again: a second run installs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake g++ pkg-config
    qt6-base-dev qt6-webengine-dev qt6-translations-l10n qt6-qpa-plugins
    libicu-dev      # sorting collates with ICU, as Qt does
    libxcb1-dev     # the main window asks the X11 window manager for its frame
    fonts-dejavu fonts-liberation2 adwaita-icon-theme
    poppler-utils   # tests read printed PDFs back
    fp-utils        # chmcmd compiles the help file
    xchm            # a viewer for the help file
    xdg-utils       # the desktop's "open" for files, web and mail addresses
    file            # outside a desktop environment, xdg-open finds a file's
                    # type with it, and so xchm for help.chm
    librsvg2-bin    # rsvg-convert renders the icon's bitmap sizes
    desktop-file-utils appstream # tests validate the desktop entry and the metainfo
    clang libclang-rt-dev   # fuzz/: libFuzzer, AddressSanitizer and UBSan
)

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

build_type=${TABLORA_BUILD_TYPE:-Release}
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type"
fi
cmake --build build --parallel "$(nproc)"
