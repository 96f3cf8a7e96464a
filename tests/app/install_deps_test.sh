#!/usr/bin/env bash
# tools/install-deps.sh run by a user who is not root, on a system without sudo: it must say
# what to run as root instead of dying on "sudo: command not found".
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
[ $fail -eq 0 ] && echo "install-deps.sh says what to run as root"
exit $fail
