#!/usr/bin/python3
"""Writes one program's self-contained page: the shell with the page's assets (the three
Liberation faces subset to the characters the programs' sources use, with their vertical metrics,
and the program's GIF pictures), the WebAssembly, the page module and the program's script, all
inside, so that the page needs no file beside it.

The WebAssembly stands as base64 in an element of its own rather than in a script, so the script
engine never scans it; one script after it holds the assets, the page module and the program's
script, which the page module's start-up compiles and runs at once.

With --site-parts it also writes the page for a web server: the same page with every part a file
of its own in FILES/ beside it, so that it runs under a policy that allows no inline script or
style, and the server's own WebAssembly type lets it compile while it loads.

usage: make_page.py PROGRAM PAGE.html SHELL.html PAGE_SCRIPT.js PROGRAM.js PROGRAM.wasm
                    SOURCE_DIR FONT_DIR --pictures PICTURE... [--site-parts DIR]"""

import argparse

import base64
import io
import json
import os
import shutil
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# The folder of the site's own files. Not "icons/": Debian's Apache aliases /icons/ to its own
# pictures in every site, so a site at the server's root would lose them.
FILES = "lab"

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
    return metrics, out.getvalue()


def encoded(data):
    return base64.b64encode(data).decode("ascii")


def assets(program, source_dir, font_dir, pictures):
    """The page's assets, and the files of the site's page: name -> content."""
    text = used_characters(source_dir)
    inside = {"program": program, "fonts": {}, "pictures": {}}
    beside = {"program": program, "fonts": {}, "pictures": {}, "wasm": FILES + "/" + program
              + ".wasm"}
    files = {}
    for face, file in FACES.items():
        metrics, data = subset_face(os.path.join(font_dir, file), text)
        inside["fonts"][face] = dict(metrics, data=encoded(data))
        beside["fonts"][face] = dict(metrics, url=FILES + "/" + face + ".woff")
        files[face + ".woff"] = data
    for picture in pictures:
        name = os.path.basename(picture)
        with open(picture, "rb") as gif:
            files[name] = gif.read()
        inside["pictures"][name] = encoded(files[name])
        beside["pictures"][name] = {"url": FILES + "/" + name}
    return inside, beside, files


def one_script(assets, page_code, code):
    """The assets, the page module and the program's script as one script, strict as the page
    module is on its own (the runtime emscripten writes is made to run strict, too)."""
    return "'use strict';\nvar LabAssets = " + json.dumps(assets) + ";\n" + page_code + "\n" + code


def inline_script(code):
    """The code as it may stand inside a script element."""
    lowered = code.lower()
    if "</script" in lowered or "<!--" in lowered:
        sys.exit("make_page.py: a script cannot stand inside the page as it is")
    return "<script>\n" + code + "\n</script>"


def read(path, mode="r"):
    with open(path, mode, **({} if "b" in mode else {"encoding": "utf-8"})) as file:
        return file.read()


def write(path, content):
    with open(path, "wb" if isinstance(content, bytes) else "w",
              **({} if isinstance(content, bytes) else {"encoding": "utf-8"})) as file:
        file.write(content)


def filled(template, scripts, style=None):
    if template.count("{{{ SCRIPT }}}") != 1:
        sys.exit("make_page.py: the shell needs one {{{ SCRIPT }}}")
    page = template.replace("{{{ SCRIPT }}}", scripts)
    if style is not None:
        start, end = page.find("<style>"), page.find("</style>")
        if start < 0 or end < start:
            sys.exit("make_page.py: the shell needs one <style>")
        page = page[:start] + style + page[end + len("</style>"):]
    return page


def write_site_parts(folder, args, template, page_code, code, wasm, beside, files):
    """The page for a web server, and its files in FILES/ beside it, in a folder of its own."""
    shutil.rmtree(folder, ignore_errors=True)  # nothing of an earlier build goes to the site
    os.makedirs(os.path.join(folder, FILES))
    start, end = template.find("<style>"), template.find("</style>")
    write(os.path.join(folder, FILES, "page.css"),
          template[start + len("<style>"):end].lstrip("\n"))
    script = FILES + "/" + args.program + ".js"
    write(os.path.join(folder, script), one_script(beside, page_code, code))
    write(os.path.join(folder, FILES, args.program + ".wasm"), wasm)
    for name, data in files.items():
        write(os.path.join(folder, FILES, name), data)
    # What the script asks for first is fetched beside it, not after it has run.
    preloads = ['<link rel="preload" href="%s" as="fetch" crossorigin>' % beside["wasm"]] + [
        '<link rel="preload" href="%s" as="font" type="font/woff" crossorigin>' % font["url"]
        for font in beside["fonts"].values()]
    write(os.path.join(folder, args.program + ".html"),
          filled(template, '<script src="%s"></script>' % script,
                 "\n".join(['<link rel="stylesheet" href="%s/page.css">' % FILES] + preloads)))


def main():
    parser = argparse.ArgumentParser()
    for name in ("program", "page", "shell", "page_script", "script", "wasm", "source_dir",
                 "font_dir"):
        parser.add_argument(name)
    parser.add_argument("--pictures", nargs="*", default=[])
    parser.add_argument("--site-parts")
    args = parser.parse_args()
    template = read(args.shell)
    page_code = read(args.page_script)
    code = read(args.script)
    wasm = read(args.wasm, "rb")
    inside, beside, files = assets(args.program, args.source_dir, args.font_dir, args.pictures)
    # One script after the WebAssembly, as in the site's page: the program's runtime and main
    # follow the page's start-up in the same run, with no pause of the parser between them.
    scripts = "\n".join([
        '<script type="application/octet-stream" id="lab-wasm">' + encoded(wasm) + "</script>",
        inline_script(one_script(inside, page_code, code)),
    ])
    write(args.page, filled(template, scripts))
    if args.site_parts:
        write_site_parts(args.site_parts, args, template, page_code, code, wasm, beside, files)


if __name__ == "__main__":
    main()
