#!/usr/bin/python3
"""Holds every language's catalogue to the template made from the code: each text of the
template translated (none missing, none fuzzy), msgfmt --check clean, every {placeholder} of a
text kept in its translation and none added, and a menu label's one '&' mnemonic kept.

usage: translations_test.py TEMPLATE.pot PO_FOLDER
"""
import os
import re
import subprocess
import sys

PLACEHOLDER = re.compile(r"\{[a-z]+\}")


def unquote(text):
    return bytes(text, "utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")


def entries(path):
    """The catalogue's entries: dicts of msgid, msgid_plural, msgstr (a list of forms) and
    whether it is marked fuzzy; the header (an empty msgid) left out."""
    found, entry, field = [], {}, None

    def close():
        if entry.get("msgid"):
            found.append(dict(entry))
        entry.clear()

    with open(path, encoding="utf-8") as lines:
        for line in (raw.strip() for raw in lines):
            if not line:
                close()
                continue
            if line.startswith("#"):
                if line.startswith("#,") and "fuzzy" in line:
                    entry["fuzzy"] = True
                continue
            keyed = re.match(r'(msgctxt|msgid_plural|msgid|msgstr(?:\[\d+\])?)\s+(".*")$', line)
            if keyed:
                key, line = keyed.groups()
                if key == "msgid" and "msgid" in entry:
                    close()
                if key.startswith("msgstr"):
                    entry.setdefault("msgstr", []).append("")
                    field = ("msgstr", len(entry["msgstr"]) - 1)
                else:
                    entry[key] = ""
                    field = (key, None)
            text = unquote(line[1:-1])
            if field[1] is None:
                entry[field[0]] += text
            else:
                entry["msgstr"][field[1]] += text
    close()
    return found


def faults(po, pot):
    """What is wrong with one language's catalogue, as lines."""
    found = []
    compared = subprocess.run(["msgcmp", po, pot], capture_output=True, text=True)
    if compared.returncode != 0:
        found.append("texts without a translation:\n" + compared.stderr.strip())
    checked = subprocess.run(["msgfmt", "--check", "--statistics", "-o", os.devnull, po],
                             capture_output=True, text=True)
    if checked.returncode != 0 or re.search(r"fuzzy|untranslated", checked.stderr):
        found.append("msgfmt: " + checked.stderr.strip())
    for entry in entries(po):
        if entry.get("fuzzy"):
            found.append(f"fuzzy: {entry['msgid']!r}")
        english = [entry["msgid"], entry.get("msgid_plural", entry["msgid"])]
        for form, text in enumerate(entry["msgstr"]):
            source = english[min(form, 1)] if "msgid_plural" in entry else english[0]
            wanted = set(PLACEHOLDER.findall(source))
            if set(PLACEHOLDER.findall(text)) != wanted:
                found.append(f"placeholders of {source!r} not kept in {text!r}")
            for mark in "&_":
                if source.count(mark) == 1 and text.count(mark) != 1:
                    found.append(f"the mnemonic of {source!r} not kept in {text!r}")
    return found


def main():
    pot, folder = sys.argv[1], sys.argv[2]
    with open(os.path.join(folder, "LINGUAS"), encoding="utf-8") as listed:
        languages = [line.strip() for line in listed if line.strip() and line[0] != "#"]
    if not languages:
        print("FAILED: LINGUAS lists no language")
        return 1
    if not entries(pot):
        print(f"FAILED: the template {pot} holds no text")
        return 1
    failed = False
    for language in languages:
        found = faults(os.path.join(folder, f"{language}.po"), pot)
        for fault in found:
            print(f"FAILED: {language}: {fault}")
        failed = failed or bool(found)
        if not found:
            print(f"{language}: every text translated, placeholders and mnemonics kept")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
