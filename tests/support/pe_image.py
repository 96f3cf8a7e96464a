"""What the scripts read of a Windows executable: its machine and the DLLs it imports. The
reading is the C++ PE reader's (pe_image.h, also used by the tests of the compiled
resources), run as the pe_summary tool the build makes."""
import functools
import json
import subprocess

from e2e_basics import Failure, built_file

# The machine field of a PE header.
PE_I386 = 0x014C
PE_AMD64 = 0x8664


@functools.cache
def pe_summary(path):
    """{"machine": number, "imports": [DLL names as the file spells them]}."""
    result = subprocess.run([built_file("pe_summary"), path], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True, timeout=30)
    if result.returncode != 0:
        raise Failure(f"not a Windows program: {result.stderr.strip()}")
    return json.loads(result.stdout)


def pe_machine(path):
    return pe_summary(path)["machine"]


def pe_imported_dlls(path):
    """The names of the DLLs a Windows program imports, in lower case."""
    return [name.lower() for name in pe_summary(path)["imports"]]
