#!/usr/bin/python3
"""Compiles the Windows help file with chmcmd so that the same sources give the same bytes.

chmcmd writes the time of day into the file twice (the ITSF header, big-endian, and entry 10
of #SYSTEM, little-endian, both in milliseconds since midnight), and its compressor lets
memory addresses into the compressed pages. So the sources are compiled from a copy in a
folder of their own, named relatively, with address space randomisation off for chmcmd
(setarch -R, where the system allows it), and when SOURCE_DATE_EPOCH is set both stamps are
then set to that time of day, as the compiler would have written them at that moment.

usage: compile-help.py CHMCMD HELP_SOURCE_DIR PROJECT.hhp OUTPUT.chm
"""
import os
import re
import shutil
import struct
import subprocess
import sys


def fail(message):
    print(f"compile-help: {message}", file=sys.stderr)
    sys.exit(1)


def encint(data, at):
    """A CHM directory's variable-length integer: 7 bits a byte, high bit set on all but the
    last byte."""
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def uncompressed_file(data, wanted):
    """(offset, length) of a file of the uncompressed section, from the PMGL chunks of the
    directory; None when there is no such file."""
    directory = struct.unpack_from("<Q", data, 0x48)[0]
    content = struct.unpack_from("<Q", data, 0x58)[0]
    if data[directory:directory + 4] != b"ITSP":
        return None
    header_length = struct.unpack_from("<I", data, directory + 8)[0]
    chunk_size = struct.unpack_from("<I", data, directory + 0x10)[0]
    chunks = struct.unpack_from("<I", data, directory + 0x2C)[0]
    for chunk in range(chunks):
        base = directory + header_length + chunk * chunk_size
        if data[base:base + 4] != b"PMGL":
            continue
        free = struct.unpack_from("<I", data, base + 4)[0]
        at, end = base + 20, base + chunk_size - free
        while at < end:
            length, at = encint(data, at)
            name = data[at:at + length]
            at += length
            section, at = encint(data, at)
            offset, at = encint(data, at)
            size, at = encint(data, at)
            if name == wanted and section == 0:
                return content + offset, size
    return None


def set_time_stamps(chm, millisecond_of_day):
    """Sets the two stamps of a compiled help file; fails when either is not where chmcmd
    puts it."""
    with open(chm, "rb") as f:
        data = bytearray(f.read())
    if data[:4] != b"ITSF" or len(data) < 0x60:
        fail(f"{chm} is not a compiled help file")
    struct.pack_into(">I", data, 0x10, millisecond_of_day)
    system = uncompressed_file(data, b"/#SYSTEM")
    if not system:
        fail(f"{chm} has no #SYSTEM file")
    offset, size = system
    at, end = offset + 4, offset + size  # after the version
    while at + 4 <= end:
        code, length = struct.unpack_from("<HH", data, at)
        if code == 10 and length >= 4:
            struct.pack_into("<I", data, at + 4, millisecond_of_day)
            break
        at += 4 + length
    else:
        fail(f"the #SYSTEM file of {chm} has no time stamp")
    with open(chm, "wb") as f:
        f.write(data)


def without_randomisation():
    """The command prefix that turns address space randomisation off, or none."""
    setarch = shutil.which("setarch")
    if setarch and subprocess.run([setarch, "-R", "true"], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0:
        return [setarch, "-R"]
    print("compile-help: setarch -R is not allowed here; the help file may differ between "
          "builds", file=sys.stderr)
    return []


def main():
    if len(sys.argv) != 5:
        fail("usage: compile-help.py CHMCMD HELP_SOURCE_DIR PROJECT.hhp OUTPUT.chm")
    chmcmd, sources, project, output = sys.argv[1:]
    with open(os.path.join(sources, project), encoding="latin-1") as f:
        compiled = re.search(r"^Compiled file=(.+?)\s*$", f.read(), re.M)
    if not compiled:
        fail(f"{project} names no compiled file")
    stage = output + ".sources"
    shutil.rmtree(stage, ignore_errors=True)
    shutil.copytree(sources, stage)
    result = subprocess.run(without_randomisation() + [chmcmd, "--no-html-scan", project],
                            cwd=stage, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True)
    chm = os.path.join(stage, compiled.group(1))
    if result.returncode != 0 or not os.path.isfile(chm):
        fail(f"chmcmd failed:\n{result.stdout}")
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch:
        if not epoch.isdigit():
            fail(f"SOURCE_DATE_EPOCH is '{epoch}', not a number of seconds")
        set_time_stamps(chm, int(epoch) % 86400 * 1000)
    os.replace(chm, output)
    shutil.rmtree(stage)


if __name__ == "__main__":
    main()
