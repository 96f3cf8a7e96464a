#!/usr/bin/env bash
# tools/install-deps.sh run by a user who is not root, on a system without sudo: it must say
# what to run as root instead of dying on "sudo: command not found". And run as root where the
# mirror offers Wine's 32-bit libraries only from the point release.
#   install_deps_test.sh SOURCE_DIR
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

# Root, on a mirror whose 32-bit security index could not be fetched: apt-get refuses Wine
# unless it comes from the point release (-t). Wine must then come from there, and the rest
# as usual.
printf '#!/bin/sh\necho 0\n' >"$stubs/id"
printf '#!/bin/sh\necho i386\n' >"$stubs/dpkg"
# Installed: what an install the stub let through named.
cat >"$stubs/dpkg-query" <<'STUB'
#!/bin/bash
for name; do :; done
grep -qw -- "$name" "$APT_LOG" 2>/dev/null && grep -w -- "$name" "$APT_LOG" | grep -qv '^update' &&
    echo "install ok installed"
STUB
cat >"$stubs/apt-get" <<'STUB'
#!/bin/bash
case " $* " in
    *" update "*) ;;
    *" -t "*) ;;
    *wine32:i386*) exit 100 ;;
esac
echo "$*" >>"$APT_LOG"
STUB
chmod +x "$stubs/dpkg" "$stubs/apt-get"
log=$stubs/apt.log
set +e
out=$(APT_LOG=$log PATH=$stubs /bin/bash "$script" all 2>&1)
code=$?
set -e
# shellcheck source=/dev/null
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
installs=$(grep -v '^update' "$log" || true)
[ $code -eq 0 ] || { echo "the install failed although Wine could come from the point release: $out"; fail=1; }
echo "$installs" | grep -q -- "-t $release .*wine32:i386" ||
    { echo "Wine was not taken from the point release: $installs"; fail=1; }
case $(echo "$installs" | tail -n 1) in
    *" -t "* | *wine*) echo "the rest was not installed as usual: $installs"; fail=1 ;;
    *chromium*) ;;
    *) echo "the rest was not installed: $installs"; fail=1 ;;
esac

# An install that reports success but leaves Wine's 32-bit part out fails, naming it.
cat >"$stubs/apt-get" <<'STUB'
#!/bin/bash
echo "${*//wine32:i386/}" >>"$APT_LOG"
STUB
rm -f "$log"
set +e
out=$(APT_LOG=$log PATH=$stubs /bin/bash "$script" all 2>&1)
code=$?
set -e
[ $code -ne 0 ] || { echo "a package left out was taken for installed"; fail=1; }
case $out in *"Still missing after the install: wine32:i386") ;;
    *) echo "the package left out is not named: $out"; fail=1 ;; esac
[ $fail -eq 0 ] && echo "install-deps.sh says what to run as root, takes Wine from the point release when it must, and names what an install left out"
exit $fail
