"""Runs a command on a private Xvfb display, as the Linux program would run, and exits with
its status. usage: run_on_private_display.py COMMAND [ARGUMENT...]"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gtk_program import gtk_environment  # noqa: E402
from x_display import XServer  # noqa: E402


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as workdir, XServer() as server:
        env = gtk_environment(workdir, server.display)
        sys.exit(subprocess.run(sys.argv[1:], env=env, timeout=300).returncode)


if __name__ == "__main__":
    main()
