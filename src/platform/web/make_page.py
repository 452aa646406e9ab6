#!/usr/bin/python3
"""Writes one program's self-contained page: the shell with the page's assets (the three
Liberation faces subset to the characters the programs' sources use, with their vertical metrics,
and the program's GIF pictures), the WebAssembly, the page's script and the program's script, all
inside, so that the page needs no file beside it.

The WebAssembly stands as base64 in an element of its own rather than in a script, so the script
engine never scans it; the page's script (its modules bundled into one, which defines LabPage)
comes before the program's script and starts compiling it.

usage: make_page.py PROGRAM PAGE.html SHELL.html PAGE_SCRIPT.js PROGRAM.js PROGRAM.wasm SOURCE_DIR
                    FONT_DIR --pictures PICTURE..."""

import argparse

import base64
import io
import json
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FACES = {
    "LabSerif": "LiberationSerif-Regular.ttf",
    "LabSans": "LiberationSans-Regular.ttf",
    "LabMono": "LiberationMono-Regular.ttf",
}


def used_characters(source_dir):
    """Printable ASCII (anything typed into a dialog) and every other character of the texts."""
    characters = {chr(c) for c in range(0x20, 0x7F)}
    for folder, _, files in os.walk(source_dir):
        for name in files:
            if name.endswith((".cpp", ".h")):
                with open(os.path.join(folder, name), encoding="utf-8") as source:
                    characters.update(c for c in source.read() if ord(c) >= 0xA0)
    return "".join(sorted(characters))


def subset_face(path, text):
    font = TTFont(path)
    hhea = font["hhea"]
    metrics = {
        "unitsPerEm": font["head"].unitsPerEm,
        "ascent": hhea.ascent,
        "descent": -hhea.descent,
        "lineGap": hhea.lineGap,
    }
    options = subset.Options()
    options.flavor = "woff"
    options.layout_features = ["kern", "liga"]
    options.name_IDs = ["*"]
    options.hinting = False  # drawn unhinted on the desktop too, at fractional sizes
    options.drop_tables += ["FFTM"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    out = io.BytesIO()
    font.flavor = "woff"
    font.save(out)
    metrics["data"] = base64.b64encode(out.getvalue()).decode("ascii")
    return metrics


def assets(program, source_dir, font_dir, pictures):
    text = used_characters(source_dir)
    result = {
        "program": program,
        "fonts": {face: subset_face(os.path.join(font_dir, file), text)
                  for face, file in FACES.items()},
        "pictures": {},
    }
    for picture in pictures:
        with open(picture, "rb") as gif:
            result["pictures"][os.path.basename(picture)] = base64.b64encode(gif.read()).decode(
                "ascii")
    return result


def inline_script(code):
    """The code as it may stand inside a script element."""
    lowered = code.lower()
    if "</script" in lowered or "<!--" in lowered:
        sys.exit("make_page.py: a script cannot stand inside the page as it is")
    return "<script>\n" + code + "\n</script>"


def main():
    parser = argparse.ArgumentParser()
    for name in ("program", "page", "shell", "page_script", "script", "wasm", "source_dir",
                 "font_dir"):
        parser.add_argument(name)
    parser.add_argument("--pictures", nargs="*", default=[])
    args = parser.parse_args()
    with open(args.shell, encoding="utf-8") as file:
        template = file.read()
    with open(args.page_script, encoding="utf-8") as file:
        page_code = file.read()
    with open(args.script, encoding="utf-8") as file:
        code = file.read()
    with open(args.wasm, "rb") as file:
        binary = base64.b64encode(file.read()).decode("ascii")
    scripts = "\n".join([
        inline_script("var LabAssets = " + json.dumps(assets(args.program, args.source_dir,
                                                            args.font_dir, args.pictures)) + ";"),
        '<script type="application/octet-stream" id="lab-wasm">' + binary + "</script>",
        inline_script(page_code),
        inline_script(code),
    ])
    if template.count("{{{ SCRIPT }}}") != 1:
        sys.exit("make_page.py: the shell needs one {{{ SCRIPT }}}")
    with open(args.page, "w", encoding="utf-8") as out:
        out.write(template.replace("{{{ SCRIPT }}}", scripts))


if __name__ == "__main__":
    main()
