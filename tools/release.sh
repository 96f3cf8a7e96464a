#!/usr/bin/env bash
# Makes the release files in dist/:
#   kestrane-zivadorured_VERSION_ARCH.deb     the Linux program as a Debian package
#   kestrane-zivadorured-VERSION-win32.zip    the 32-bit Windows program with its help
#   kestrane-zivadorured-VERSION-win64.zip    the 64-bit Windows program with its help
#   kestrane-zivadorured-VERSION-setup.exe    an installer around the 32-bit program
# The Debian package is built from the project's install rules in a tree of its own
# (build/release-deb), with Debian's build flags and the shared C++ runtime; the Windows
# programs come from the mingw-i686 and mingw presets. Needs tools/install-deps.sh all.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

package=kestrane-zivadorured
version=$(sed -n 's/^project([^)]*VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
dist=$root/dist
debian_templates=$root/packaging/debian
windows_templates=$root/packaging/windows

die() {
    echo "release: $*" >&2
    exit 1
}

[ -n "$version" ] || die "no project version in CMakeLists.txt"
for tool in cmake dpkg-deb dpkg-shlibdeps dpkg-gencontrol dpkg-parsechangelog makensis zip \
    gzip; do
    command -v "$tool" >/dev/null || die "$tool is missing (tools/install-deps.sh all installs it)"
done
changelog_version=$(dpkg-parsechangelog -l "$debian_templates/changelog" -SVersion)
[ "$changelog_version" = "$version" ] ||
    die "packaging/debian/changelog is at $changelog_version, the project at $version"
# Every file of the release carries the time of its changelog entry, not the time it was
# built: the Debian package comes out the same from every clone.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$debian_templates/changelog" -STimestamp)
export SOURCE_DATE_EPOCH
stamp() { find "$@" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +; }

rm -rf "$dist"
mkdir -p "$dist"

# --- the Debian package --------------------------------------------------------------------
echo "== Debian package =="
deb_tree=$root/build/release-deb
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$root" -B "$deb_tree" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
    -DKZ_STATIC_RUNTIME=OFF -DKZ_BUILD_TESTS=OFF -DKZ_BUILD_BENCHMARKS=OFF \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
# The program and its manual page, which a tool of the build writes.
cmake --build "$deb_tree" --target kestrane-zivadorured kz_man_page -j2

# dpkg-shlibdeps and dpkg-gencontrol work on a debian/ folder with the package inside it.
work=$deb_tree/package
stage=$work/debian/$package
rm -rf "$work"
mkdir -p "$work/debian"
cp "$debian_templates/control" "$debian_templates/changelog" "$work/debian/"
DESTDIR=$stage cmake --install "$deb_tree" >/dev/null
[ -d "$stage/usr" ] || die "the install rules put nothing under /usr"

docs=$stage/usr/share/doc/$package
mkdir -p "$docs"
cp "$debian_templates/copyright" "$docs/copyright"
# The project is its own upstream (a native package): its Debian changelog is changelog.gz.
gzip -9n <"$debian_templates/changelog" >"$docs/changelog.gz"
mkdir -p "$stage/usr/share/lintian/overrides"
cp "$debian_templates/lintian-overrides" "$stage/usr/share/lintian/overrides/$package"
if [ -d "$stage/usr/share/man" ]; then
    find "$stage/usr/share/man" -type f ! -name '*.gz' -exec gzip -9n {} +
fi

find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
programs=()
while IFS= read -r -d '' file; do
    if [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = "177ELF" ]; then
        chmod 0755 "$file"
        # As Debian strips: no symbols, no compiler notes.
        strip --remove-section=.comment --remove-section=.note "$file"
        programs+=("${file#"$work"/}")
    fi
done < <(find "$stage" -type f -print0)
[ ${#programs[@]} -gt 0 ] || die "the install rules installed no program"

# dpkg-shlibdeps knows the package's own folder by its DEBIAN folder.
mkdir -p "$stage/DEBIAN"
(cd "$work" && dpkg-shlibdeps -Tdebian/substvars "${programs[@]}")
(cd "$work" && dpkg-gencontrol -p"$package" -P"debian/$package" -Tdebian/substvars)
(cd "$stage" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum >DEBIAN/md5sums)
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
stamp "$stage"
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb=$dist/${package}_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "built $deb"

# --- the Windows programs ------------------------------------------------------------------
echo "== Windows programs =="
help_name="Kestrane Zivadorured Help.chm"
for preset in mingw-i686 mingw; do
    cmake --list-presets | grep -q "\"$preset\"" || die "there is no configure preset $preset"
    cmake --preset "$preset" >/dev/null
    # A help file left by an earlier build carries that build's time stamps.
    rm -f "$root/build/$preset/app/win32/$help_name"
    cmake --build --preset "$preset"
done

# The players' texts with Windows line ends, so every editor shows them as written.
texts=$root/build/release-texts
rm -rf "$texts"
mkdir -p "$texts"
sed "s/@VERSION@/$version/g; s/\$/\r/" "$windows_templates/README.txt" >"$texts/README.txt"
[ -f "$root/LICENSE" ] || die "there is no LICENSE file"
sed 's/$/\r/' "$root/LICENSE" >"$texts/LICENSE.txt"

for pair in win32:mingw-i686 win64:mingw; do
    suffix=${pair%%:*}
    program_dir=$root/build/${pair#*:}/app/win32
    for f in "$package.exe" "$help_name"; do
        [ -f "$program_dir/$f" ] || die "$program_dir/$f was not built"
    done
    folder=$root/build/release-$suffix
    rm -rf "$folder"
    mkdir -p "$folder"
    cp "$program_dir/$package.exe" "$program_dir/$help_name" "$texts/README.txt" \
        "$texts/LICENSE.txt" "$folder/"
    stamp "$folder"
    zip_file=$dist/$package-$version-$suffix.zip
    (cd "$folder" && zip -q -X -9 "$zip_file" "$package.exe" "$help_name" README.txt LICENSE.txt)
    echo "built $zip_file"
done

setup=$dist/$package-$version-setup.exe
makensis -V2 -DVERSION="$version" -DPROGRAM_DIR="$root/build/release-win32" \
    -DLICENSE_FILE="$texts/LICENSE.txt" -DICON_FILE="$root/resources/icons/$package.ico" \
    -DOUTFILE="$setup" "$windows_templates/installer.nsi"
echo "built $setup"

echo "== release files =="
limit=$((1024 * 1024))
status=0
for f in "$dist"/*; do
    size=$(stat -c %s "$f")
    echo "$(basename "$f"): $size bytes"
    case "$f" in
        *.zip | *.exe)
            if [ "$size" -ge $limit ]; then
                echo "release: $(basename "$f") is not under 1 MB" >&2
                status=1
            fi
            ;;
    esac
done
exit $status
