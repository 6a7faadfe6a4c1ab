#!/bin/sh
# Installs the Debian packages the project needs, only those missing, in one apt-get call.
# Sourced by run.sh and test.sh; later additions go into this one list.
PAVIONE_PACKAGES="cmake ninja-build g++ clang pkgconf qt6-base-dev qt6-base-dev-tools libqt6test6 \
qt6-multimedia-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openbox x11-apps netpbm fonts-ipafont-gothic \
libxcb1-dev libxcb-xtest0-dev libxcb-composite0-dev libasio-dev libsqlite3-dev libsodium-dev qt6-translations-l10n"

pavione_install_deps() {
    missing=""
    for p in $PAVIONE_PACKAGES; do
        dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq || return 1
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends $missing
}

# Configures (once) and builds into build/.
pavione_build() {
    top=$(cd "$(dirname "$0")/.." && pwd)
    if [ ! -f "$top/build/build.ninja" ]; then
        cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo || return 1
    fi
    cmake --build "$top/build" "$@"
}
