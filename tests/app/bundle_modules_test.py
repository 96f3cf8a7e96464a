#!/usr/bin/python3
"""The page's module joiner: a bundle runs its modules as a browser runs the modules
themselves (each once, imports first, in order, with renamed imports and private names kept
apart), and refuses what it would change the meaning of.

usage: bundle_modules_test.py BUNDLER NODE
"""
import os
import subprocess
import sys
import tempfile

BUNDLER, NODE = sys.argv[1], sys.argv[2]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def bundle(modules, entry="main.js"):
    """(exit status, the bundle or the error) of joining modules {name: text}."""
    with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
        for name, text in modules.items():
            # Generated modules live in a directory of their own: the joiner looks in both.
            folder = second if name.startswith("generated") else first
            with open(os.path.join(folder, name), "w") as f:
                f.write(text)
        output = os.path.join(first, "bundle.js")
        run = subprocess.run([sys.executable, BUNDLER, output, entry, first, second],
                             stderr=subprocess.PIPE, text=True)
        if run.returncode != 0:
            return run.returncode, run.stderr
        with open(output) as f:
            return 0, f.read()


def run_bundle(text):
    """What the bundle logs when run as a module."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "bundle.mjs")
        with open(path, "w") as f:
            f.write(text)
        return subprocess.run([NODE, path], stdout=subprocess.PIPE, text=True,
                              check=True).stdout.split()


status, text = bundle({
    "main.js": 'import {shared as counted, twice} from "./twice.js";\n'
               'import "./side.js";\n'
               'import {value} from "./generated.js";\n'
               'const state = "main";\n'
               'console.log(state, twice(value), counted());\n',
    "twice.js": 'import {value} from "./generated.js";\n'
                'const state = "twice";\n'
                'console.log(state);\n'
                'export function twice(x) { return 2 * x + value - value; }\n'
                'export const shared = () => "shared";\n',
    "side.js": 'import {value} from "./generated.js";\n'
               'console.log("side", value);\n',
    "generated.js": 'console.log("generated");\nexport const value = 21;\n',
})
check(status == 0, f"a page of four modules is refused: {text}")
if status == 0:
    logged = run_bundle(text)
    check(logged == ["generated", "twice", "side", "21", "main", "42", "shared"],
          f"the modules do not run once each, imports first, in order: {logged}")

for modules, wanted in [
    ({"main.js": 'import {a} from "./b.js";\nexport const a2 = a;\n',
      "b.js": 'import {a2} from "./main.js";\nexport const a = 1;\n'},
     "main.js -> b.js -> main.js"),
    ({"main.js": "export let counter = 0;\n"}, "main.js:1"),
    ({"main.js": "export default 3;\n"}, "main.js:1"),
    ({"main.js": 'const x = 1;\nexport {x};\n'}, "main.js:2"),
    ({"main.js": 'import * as all from "./b.js";\n', "b.js": ""}, "main.js:1"),
    ({"main.js": 'import {a} from "./missing.js";\n'}, "missing.js"),
]:
    status, message = bundle(modules)
    check(status != 0 and wanted in message,
          f"{sorted(modules)} is joined or refused without naming {wanted}: {message!r}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("the module joiner: all cases pass")
