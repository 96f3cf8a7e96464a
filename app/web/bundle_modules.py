#!/usr/bin/python3
"""Joins the page's ES modules into one module, so that a browser fetches one script and
does not wait on each import in turn.

    bundle_modules.py OUTPUT ENTRY DIR...

Each "./name.js" is read from the first DIR that has it. Every module keeps a scope of its
own (a function around its text) and is run once, before the first module that imports it,
in the order a browser runs them; it hands on what it exports. Only the forms of import and
export the page uses are taken: any other, or modules that import each other in a circle,
stop the build with a message.
"""
import os
import re
import sys

IMPORT = re.compile(r'import\s+(?:\{(?P<names>[^}]*)\}\s+from\s+)?"\./(?P<module>[a-z_]+)\.js";')
IMPORTED_NAME = re.compile(r"(?P<name>[A-Za-z_$][\w$]*)(?:\s+as\s+(?P<local>[A-Za-z_$][\w$]*))?")
EXPORT = re.compile(r"export\s+(?:async\s+)?(?:function\*?|const|class)\s+(?P<name>[A-Za-z_$][\w$]*)")


class BundleError(Exception):
    pass


def find(module, dirs):
    for d in dirs:
        path = os.path.join(d, module + ".js")
        if os.path.isfile(path):
            return path
    raise BundleError(f"{module}.js is in none of {', '.join(dirs)}")


def translate(module, text):
    """The module's text with its imports and exports made plain statements, the modules it
    imports in order, and the names it exports."""
    lines = []
    imports = []
    exports = []
    for number, line in enumerate(text.splitlines(), 1):
        where = f"{module}.js:{number}"
        if line.startswith("import"):
            found = IMPORT.fullmatch(line.strip())
            if not found:
                raise BundleError(f"{where}: an import the bundle does not take: {line}")
            imports.append(found["module"])
            if found["names"] is None:
                line = ""
            else:
                names = []
                for part in filter(None, (p.strip() for p in found["names"].split(","))):
                    name = IMPORTED_NAME.fullmatch(part)
                    if not name:
                        raise BundleError(f"{where}: an imported name the bundle does not take")
                    names.append(f"{name['name']}: {name['local']}" if name["local"]
                                 else name["name"])
                line = f"const {{{', '.join(names)}}} = module_{found['module']};"
        elif line.startswith("export"):
            found = EXPORT.match(line)
            if not found:
                raise BundleError(f"{where}: an export the bundle does not take "
                                  "(a let, a default or a list would change meaning)")
            exports.append(found["name"])
            line = line[len("export"):].lstrip()
        lines.append(line)
    return "\n".join(lines), imports, exports


def bundle(entry, dirs):
    parts = {}  # in the order the modules run
    visiting = []

    def visit(module):
        if module in parts:
            return
        if module in visiting:
            circle = visiting[visiting.index(module):] + [module]
            raise BundleError("modules import each other in a circle: " +
                              " -> ".join(m + ".js" for m in circle))
        visiting.append(module)
        with open(find(module, dirs), encoding="utf-8") as f:
            body, imports, exports = translate(module, f.read())
        for imported in imports:
            visit(imported)
        visiting.pop()
        parts[module] = (body, exports)

    visit(entry)
    out = ["// Made at build time from the page's modules; each keeps its own scope.\n"]
    for module, (body, exports) in parts.items():
        out.append(f"const module_{module} = (() => {{\n// {module}.js\n{body}\n"
                   f"return Object.freeze({{{', '.join(exports)}}});\n}})();\n")
    return "\n".join(out)


def main():
    if len(sys.argv) < 4 or not sys.argv[2].endswith(".js"):
        sys.exit(__doc__.strip().split("\n\n")[1])
    output, entry, dirs = sys.argv[1], sys.argv[2][:-len(".js")], sys.argv[3:]
    try:
        text = bundle(entry, dirs)
    except BundleError as error:
        sys.exit(f"bundle_modules.py: {error}")
    with open(output + ".part", "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main()
