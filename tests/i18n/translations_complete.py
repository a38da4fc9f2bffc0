#!/ usr / bin / env python3
"""Every text of the program has a whole translation in every language.

Gathers the texts from the sources afresh with lupdate, into copies of the
translation files, and fails on a text that has no translation, on a
translation that lost or gained a placeholder (%1, %n...) or a line break,
and on one that lost the accelerator (&) its source has.
usage: translations_complete.py LUPDATE SOURCE_DIR
"""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

PLACEHOLDER = re.compile(r"%(?:n|L?\d{1,2})")
ACCELERATOR = re.compile(r"&(?!&)\S")


def shape(text):
    """What a translation must keep of its source."""
    return (sorted(set(PLACEHOLDER.findall(text))), text.count("\n"),
            bool(ACCELERATOR.search(text)))


def problems(ts_path):
    for context in ET.parse(ts_path).getroot().iter("context"):
        name = context.findtext("name")
        if name == "Text":  # lupdate could not tell whose Text::tr() it met
            yield f"{ts_path.name}: texts under the context Text: run lupdate with -I src"
        for message in context.iter("message"):
            source = "".join(message.find("source").itertext())
            translation = message.find("translation")
            forms = ["".join(f.itertext()) for f in translation.iter("numerusform")] \
                if message.get("numerus") == "yes" else ["".join(translation.itertext())]
            where = f"{ts_path.name}: {name}: {source!r}"
            if translation.get("type") in ("unfinished", "vanished", "obsolete") \
                    or not all(forms):
                yield f"{where}: no translation"
                continue
            for form in forms:
                if shape(form) != shape(source):
                    yield f"{where}: {form!r} does not keep {shape(source)}"


def main(lupdate, source_dir):
    source_dir = Path(source_dir)
    found = []
    with tempfile.TemporaryDirectory() as work:
        copies = []
        for ts in sorted((source_dir / "translations").glob("zandor_*.ts")):
            copies.append(Path(work) / ts.name)
            shutil.copy(ts, copies[-1])
        if len(copies) < 2:
            print("fewer than two translation files in translations/")
            return 1
        subprocess.run([lupdate, "-silent", "-locations", "none", "-no-obsolete",
                        "-I", str(source_dir / "src"), str(source_dir / "src"),
                        "-ts", *map(str, copies)], check=True)
        for copy in copies:
            found += problems(copy)
    for problem in found:
        print(problem)
    print(f"{len(found)} problems")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
