#!/usr/bin/env bash
# tools/install-deps.sh run by a user who is not root, on a system without sudo: it must say
# what to run as root instead of dying on "sudo: command not found". And run as root on a
# healthy mirror, on one that offers Wine's 32-bit libraries only from the point release, and on
# one that offers no 32-bit twins of the 64-bit libraries already installed.
#   install_deps_test.sh SOURCE_DIR
# The apt-get stubs are given in single quotes: they expand their own arguments when they run.
# shellcheck disable=SC2016
set -euo pipefail
script=$1/tools/install-deps.sh
stubs=$(mktemp -d /tmp/kz-deps-XXXXXX)
trap 'rm -rf "$stubs"' EXIT

# A user, every package missing, and no sudo or apt-get anywhere on the PATH.
printf '#!/bin/sh\necho 1000\n' >"$stubs/id"
printf '#!/bin/sh\nexit 1\n' >"$stubs/dpkg-query"
chmod +x "$stubs/id" "$stubs/dpkg-query"
ln -s "$(command -v grep)" "$stubs/grep"

set +e
out=$(PATH=$stubs /bin/bash "$script" play 2>&1)
code=$?
set -e

fail=0
[ $code -ne 0 ] || { echo "the script should fail when it cannot install"; fail=1; }
case $out in *"command not found"*) echo "a command was missing: $out"; fail=1 ;; esac
case $out in *"apt-get install -y "*libgtk-3-dev*) ;; *) echo "no command to run as root: $out"; fail=1 ;; esac
case $out in *root*) ;; *) echo "the message does not say root: $out"; fail=1 ;; esac
# With the 32-bit Wine among them, root must first add the i386 architecture.
set +e
out=$(PATH=$stubs /bin/bash "$script" all 2>&1)
set -e
case $out in *"dpkg --add-architecture i386"*"apt-get install -y "*wine32:i386*) ;;
    *) echo "the commands for the i386 packages are missing: $out"; fail=1 ;; esac

printf '#!/bin/sh\necho 0\n' >"$stubs/id"
printf '#!/bin/sh\necho i386\n' >"$stubs/dpkg"
chmod +x "$stubs/dpkg"
# Installed: what an install the stub let through named.
cat >"$stubs/dpkg-query" <<'STUB'
#!/bin/bash
for name; do :; done
grep -qw -- "$name" "$APT_LOG" 2>/dev/null && grep -w -- "$name" "$APT_LOG" | grep -qv '^update' &&
    echo "install ok installed"
STUB
log=$stubs/apt.log
# Runs the script as root for everything with the apt-get stub given: $out, $code, $installs.
# The stubs are given in single quotes: they expand their own arguments when apt-get runs.
run_all() {
    printf '%s\n' '#!/bin/bash' "$1" >"$stubs/apt-get"
    chmod +x "$stubs/apt-get"
    rm -f "$log"
    set +e
    out=$(APT_LOG=$log PATH=$stubs /bin/bash "$script" all 2>&1)
    code=$?
    set -e
    installs=$(grep -v '^update' "$log" || true)
}
# No install may remove a package or downgrade one without the user's word.
check_no_removal() {
    while read -r line; do
        case " $line " in *" --no-remove "*) ;; *) echo "$1: an install may remove packages: $line"; fail=1 ;; esac
        case $line in *allow-downgrades* | *allow-remove*) echo "$1: an install may downgrade: $line"; fail=1 ;; esac
    done <<<"$installs"
}

# Root, on a healthy mirror: everything in one install, Wine's 32-bit part with it.
run_all 'echo "$*" >>"$APT_LOG"'
[ $code -eq 0 ] || { echo "the install failed on a healthy mirror: $out"; fail=1; }
if [ "$(echo "$installs" | wc -l)" -ne 1 ] || ! echo "$installs" | grep -q "wine32:i386.*chromium"; then
    echo "not everything was installed at once on a healthy mirror: $installs"; fail=1
fi
check_no_removal "a healthy mirror"

# Root, on a mirror whose 32-bit security index could not be fetched: apt-get refuses Wine
# unless it comes from the point release (-t). Wine must then come from there, and the rest
# as usual.
run_all 'case " $* " in *" update "* | *" -t "*) ;; *wine32:i386*) exit 100 ;; esac
echo "$*" >>"$APT_LOG"'
# shellcheck source=/dev/null
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
[ $code -eq 0 ] || { echo "the install failed although Wine could come from the point release: $out"; fail=1; }
echo "$installs" | grep -q -- "-t $release .*wine32:i386" ||
    { echo "Wine was not taken from the point release: $installs"; fail=1; }
case $(echo "$installs" | tail -n 1) in
    *" -t "* | *wine*) echo "the rest was not installed as usual: $installs"; fail=1 ;;
    *chromium*) ;;
    *) echo "the rest was not installed: $installs"; fail=1 ;;
esac

check_no_removal "Wine from the point release"

# Root, after an install that took 64-bit libraries from the security updates, on a mirror
# whose 32-bit index has no twins of them: Wine's 32-bit part cannot be had even from the point
# release without downgrading. Everything else is installed, and one line says what is missing,
# why and how to add it.
run_all 'case " $* " in *" update "*) ;; *wine32:i386*)
    echo " libglib2.0-0:i386 : Depends: libpcre2-8-0:i386 (>= 10.22) but it is not installable" >&2
    echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;; esac
echo "$*" >>"$APT_LOG"'
[ $code -eq 0 ] || { echo "the install failed for want of the 32-bit Wine alone: $out"; fail=1; }
if ! echo "$installs" | grep -qw "wine64" || ! echo "$installs" | grep -q "chromium"; then
    echo "the rest was not installed without the 32-bit Wine: $installs"; fail=1
fi
check_no_removal "no 32-bit twins"
notice=$(echo "$out" | grep "^Not installed: wine32:i386" || true)
[ "$(echo "$notice" | grep -c .)" -eq 1 ] || { echo "no one line names the 32-bit Wine: $out"; fail=1; }
case $notice in *"libpcre2-8-0:i386"*"apt-get install wine32:i386") ;;
    *) echo "the line does not say why and how to add it: $notice"; fail=1 ;; esac
case $out in *"Still missing"*) echo "the 32-bit Wine left out was reported as a failure: $out"; fail=1 ;; esac

# An install that reports success but leaves Wine's 32-bit part out fails, naming it.
run_all 'echo "${*//wine32:i386/}" >>"$APT_LOG"'
[ $code -ne 0 ] || { echo "a package left out was taken for installed"; fail=1; }
case $out in *"Still missing after the install: wine32:i386") ;;
    *) echo "the package left out is not named: $out"; fail=1 ;; esac
[ $fail -eq 0 ] && echo "install-deps.sh says what to run as root, installs at once on a healthy mirror, takes Wine from the point release when it must, goes on without the 32-bit Wine when it cannot be had, and names what an install left out"
exit $fail
