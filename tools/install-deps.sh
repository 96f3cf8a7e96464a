#!/usr/bin/env bash
# Installs the Debian packages the project needs that are missing.
#   tools/install-deps.sh play   what building and running the Linux program needs
#   tools/install-deps.sh web    what building and serving the browser program needs
#   tools/install-deps.sh all    all of that plus the Windows cross build, Wine, the test, lint and release tools
set -euo pipefail

play_packages=(
    build-essential cmake pkg-config gettext
    libgtk-3-dev libstb-dev
)
web_packages=(
    cmake emscripten esbuild gettext libstb-dev python3
)
test_packages=(
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    python3 python3-pil fonts-dejavu-core fonts-dejavu-extra
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    g++-mingw-w64-i686 binutils-mingw-w64-i686 fp-utils
    wine wine64 wine32:i386 xvfb xdotool x11-utils x11-xserver-utils imagemagick openbox
    dbus-daemon at-spi2-core python3-pyatspi
    desktop-file-utils appstream nodejs clang-format git
    chromium chromium-driver python3-selenium
    shellcheck pyflakes3 eslint faketime
    clang-14 libfuzzer-14-dev libclang-rt-14-dev
)
# The release: the Debian package, its check and the Windows installer.
release_packages=(
    dpkg-dev lintian nsis zip
)

case "${1:-all}" in
    play) wanted=("${play_packages[@]}") ;;
    web) wanted=("${web_packages[@]}") ;;
    all) wanted=("${play_packages[@]}" "${web_packages[@]}" "${test_packages[@]}" "${release_packages[@]}") ;;
    *) echo "usage: $0 [play|web|all]" >&2; exit 2 ;;
esac

# The wanted packages that are not installed, in $missing.
find_missing() {
    missing=()
    for p in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
            missing+=("$p")
        fi
    done
}
find_missing
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Installing them needs root, and sudo is not installed. As root, run:" >&2
        if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
            echo "    dpkg --add-architecture i386" >&2
        fi
        echo "    apt-get update && apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
# The 32-bit Windows program runs under the 32-bit Wine, a package of the i386 architecture.
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
# A mirror in the middle of a sync fails the update for a while; try again before going on
# with what was fetched (the install then says what is really missing).
for attempt in 1 2 3; do
    $sudo apt-get update -qq -o DPkg::Lock::Timeout=600 && break
    [ "$attempt" -lt 3 ] && sleep 20
done
# Never remove an installed package to make room (--no-remove), and wait for another apt or an
# unattended upgrade that holds the lock instead of failing at once.
apt_install() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-remove \
        -o DPkg::Lock::Timeout=600 "$@"
}
# The wanted packages of the i386 architecture that could not be installed, and why.
left_out=()
left_out_why=""
if ! apt_install "${missing[@]}"; then
    # A 32-bit library must be the very version of its 64-bit twin. When the mirror's i386 index
    # of the security updates cannot be fetched, the 64-bit security versions have no twin; the
    # point release has both. So Wine and its 32-bit part come from the point release first
    # (nothing installed is downgraded), then the rest.
    mapfile -t wine < <(printf '%s\n' "${missing[@]}" | grep -E '^wine|:i386$' || true)
    mapfile -t rest < <(printf '%s\n' "${missing[@]}" | grep -vE '^wine|:i386$' || true)
    [ ${#wine[@]} -gt 0 ] || exit 1
    echo "Installing Wine from the point release, where every 32-bit library has its 64-bit twin"
    # shellcheck source=/dev/null
    . /etc/os-release
    if ! wine_said=$(apt_install -t "$VERSION_CODENAME" "${wine[@]}" 2>&1); then
        # The 64-bit twins already installed are newer than any 32-bit one the mirror offers
        # (an earlier install took them from the security updates): the 32-bit part would need
        # them downgraded. Go on without it; only the 32-bit Windows program's runs need it.
        mapfile -t left_out < <(printf '%s\n' "${wine[@]}" | grep ':i386$' || true)
        mapfile -t wine < <(printf '%s\n' "${wine[@]}" | grep -v ':i386$' || true)
        left_out_why=$(echo "$wine_said" | grep -m 1 -e ' : Depends: ' -e '^E: ' || true)
        left_out_why=${left_out_why#E: }
        read -r -a words <<<"$left_out_why"
        left_out_why="${words[*]}"
        rest+=("${wine[@]}")
    fi
    # The rest may need a library newer than its 32-bit twin now installed: then from there too.
    [ ${#rest[@]} -eq 0 ] || apt_install "${rest[@]}" || apt_install -t "$VERSION_CODENAME" "${rest[@]}"
fi
# An install may leave a package out, or take one away to make room for another: say which.
find_missing
still=()
for p in "${missing[@]}"; do
    case " ${left_out[*]} " in *" $p "*) ;; *) still+=("$p") ;; esac
done
missing=("${still[@]}")
if [ ${#missing[@]} -gt 0 ]; then
    echo "Still missing after the install: ${missing[*]}" >&2
    exit 1
fi
if [ ${#left_out[@]} -gt 0 ]; then
    echo "Not installed: ${left_out[*]} (the 32-bit Wine): apt cannot install it beside the installed packages without downgrading or removing some, as its 32-bit libraries must be the very versions of their installed 64-bit twins and the mirror offers none of those (apt: ${left_out_why:-no reason given}). Everything else is installed; the 32-bit Windows program is built, its runs under Wine are skipped. To add it once the mirror offers them: ${sudo:+$sudo }apt-get update && ${sudo:+$sudo }apt-get install ${left_out[*]}" >&2
fi
