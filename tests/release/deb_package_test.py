#!/usr/bin/python3
"""The Debian package of a release, without installing it: lintian reports no error and no
warning; the package holds the program (stripped, the C++ runtime shared), the help pages, the
desktop entry with its icons, the AppStream data, a manual page in section 6, a
machine-readable copyright file and the changelog; its dependencies came from dpkg-shlibdeps.

usage: deb_package_test.py DIST_DIR VERSION
Exit codes: 0 passed, 1 failed (also when no release was made: tools/release.sh).
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import Failure, check, require_tools  # noqa: E402

PACKAGE = "kestrane-zivadorured"


def output(*command):
    return subprocess.run(command, check=True, timeout=300, stdout=subprocess.PIPE,
                          text=True).stdout


def find_deb(dist, version):
    debs = glob.glob(os.path.join(dist, f"{PACKAGE}_{version}_*.deb"))
    if not debs:
        print(f"FAIL: {dist} holds no {PACKAGE}_{version}_*.deb (make one with tools/release.sh)")
        sys.exit(1)
    check(len(debs) == 1, f"more than one Debian package in {dist}: {debs}")
    return debs[0]


def check_lintian(deb):
    result = subprocess.run(["lintian", "--display-info", "--pedantic", deb], timeout=300,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    report = "\n".join(line for line in result.stdout.splitlines()
                       if "running with root privileges" not in line)
    print("lintian:", report if report.strip() else "(nothing to report)")
    faults = [line for line in report.splitlines() if re.match(r"[EW]: ", line)]
    check(not faults, f"lintian reports {len(faults)} error(s) or warning(s)")
    check(result.returncode == 0, f"lintian ended with {result.returncode}")


def check_contents(deb, version):
    fields = output("dpkg-deb", "-f", deb, "Package", "Version", "Section", "Depends")
    check(f"Package: {PACKAGE}" in fields and f"Version: {version}" in fields,
          f"wrong package name or version:\n{fields}")
    check("Section: games" in fields, f"the package is not in section games:\n{fields}")
    depends = re.search(r"^Depends: (.*)$", fields, re.M)
    check(depends, "the package has no dependencies")
    # dpkg-shlibdeps writes versioned dependencies on the libraries the program links.
    for library in ("libc6 (>=", "libgtk-3-0 (>=", "libstdc++6 (>="):
        check(library in depends.group(1), f"the dependencies lack {library}): {depends.group(1)}")

    root = tempfile.mkdtemp(prefix="kz-deb-")
    try:
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True, timeout=60)
        files = {os.path.relpath(os.path.join(d, f), root)
                 for d, _, names in os.walk(root) for f in names}
        programs = [f for f in files if re.fullmatch(r"usr/(games|bin)/[^/]+", f)]
        check(programs == [f"usr/games/{PACKAGE}"] or programs == [f"usr/bin/{PACKAGE}"],
              f"the package should hold one program in usr/games or usr/bin: {programs}")
        program = os.path.join(root, programs[0])
        sections = output("readelf", "-S", "-W", program)
        check(".symtab" not in sections and ".debug_info" not in sections,
              "the program is not stripped")
        needed = output("readelf", "-d", program)
        # Linked in statically, the C++ runtime would not be needed at run time.
        check("[libstdc++.so.6]" in needed, "the program does not link the shared libstdc++.so.6")

        doc = f"usr/share/doc/{PACKAGE}"
        expected = [f"{doc}/copyright", f"{doc}/changelog.gz",
                    f"usr/share/man/man6/{PACKAGE}.6.gz",
                    f"usr/share/{PACKAGE}/help/index.html",
                    f"usr/share/{PACKAGE}/help/search.html",
                    f"usr/share/{PACKAGE}/help/keywords.html",
                    f"usr/share/locale/de/LC_MESSAGES/{PACKAGE}.mo"]
        for f in expected:
            check(f in files, f"the package lacks {f}")
        desktop = [f for f in files if f.startswith("usr/share/applications/")]
        metainfo = [f for f in files if f.startswith("usr/share/metainfo/")]
        check(len(desktop) == 1 and desktop[0].endswith(".desktop"),
              f"the package should hold one desktop entry: {desktop}")
        check(len(metainfo) == 1 and metainfo[0].endswith(".metainfo.xml"),
              f"the package should hold one AppStream file: {metainfo}")
        with open(os.path.join(root, desktop[0])) as f:
            entry = f.read()
        icon = re.search(r"^Icon=(.*)$", entry, re.M).group(1)
        icons = [f for f in files if f.startswith("usr/share/icons/hicolor/")]
        check(icons and all(f.endswith(f"/apps/{icon}.png") for f in icons),
              f"the icons should be hicolor app icons named {icon}: {icons}")
        check(re.search(r"^Exec=" + re.escape(os.path.basename(program)) + r"\b", entry, re.M),
              f"the desktop entry does not start {os.path.basename(program)}")

        with open(os.path.join(root, doc, "copyright")) as f:
            copyright_text = f.read()
        check(copyright_text.startswith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"),
            "the copyright file is not in the machine-readable format")
        check("Copyright: 2026 Kestrane Games" in copyright_text and
              "Permission is hereby granted, free of charge" in copyright_text,
              "the copyright file does not carry the MIT licence of Kestrane Games")
        changelog = output("sh", "-c", f"zcat '{os.path.join(root, doc, 'changelog.gz')}'")
        check(changelog.startswith(f"{PACKAGE} ({version})"),
              f"the changelog does not start with version {version}")
        manual = output("sh", "-c", f"zcat '{os.path.join(root, 'usr/share/man/man6', PACKAGE)}.6.gz'")
        check(manual.startswith(".TH KESTRANE-ZIVADORURED 6 "), "the manual page is not in section 6")
        print(f"{len(files)} files; program {programs[0]}, stripped, shared C++ runtime; "
              f"depends on {depends.group(1)}")
    finally:
        shutil.rmtree(root, ignore_errors=True)


def main():
    dist, version = sys.argv[1], sys.argv[2]
    require_tools("lintian", "dpkg-deb", "readelf")
    deb = find_deb(dist, version)
    print(f"package {deb}: {os.path.getsize(deb)} bytes")
    check_lintian(deb)
    check_contents(deb, version)
    print("PASS")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (Failure, subprocess.SubprocessError, OSError) as e:
        print(f"FAIL: {e}")
        sys.exit(1)
