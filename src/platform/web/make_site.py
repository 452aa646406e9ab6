#!/usr/bin/python3
"""Writes the site for a school's web server: an index of both programs, each program's page with
its web app manifest and icons, and a service worker that keeps the whole site for offline use,
its cache named by the content of the build.

The program pages are the pages for a web server that make_page.py writes, each part a file of
its own, with what an installed app needs added to their head, the site's policy, and the site's
start, which the self-contained pages for the file system do without.

usage: make_site.py SITE_DIR SOURCE_DIR ICON_DIR SITE_PAGE.html... --version VERSION"""

import hashlib
import json
import os
import shutil
import sys

from make_page import FILES

# The programs' names as the desktop entries give them, and the colours of their title screen.
PROGRAMS = {
    "coillab": {
        "name": "Spule schalten",
        "short_name": "Spule",
        "description": "Induktionsspannung und Spulenstrom beim Ein- und Ausschalten einer Spule "
                       "beobachten",
    },
    "caplab": {
        "name": "Kondensator laden",
        "short_name": "Kondensator",
        "description": "Spannung und Strom beim Laden und Entladen eines Kondensators beobachten",
    },
}
THEME_COLOUR = "#0000ff"
BACKGROUND_COLOUR = "#ff00ff"

# The policy the site's pages declare, and all that they need: no inline script or style, the
# WebAssembly compiled from a file of the site's own.
POLICY = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'"
POLICY_TAG = '<meta http-equiv="Content-Security-Policy" content="%s">\n' % POLICY

# The site's own start on every page: the worker where the browser may run one, a sentence why
# not where it may not; never from file://, where the pages for the stick need none.
REGISTER = '<script src="%s/site.js"></script>' % FILES
# Files of the site's sources that go into FILES/ as they are.
SITE_FILES = ("site.js", "index.css")


def icons(program):
    return [{"src": "%s/%s%s-%d.png" % (FILES, program, "-maskable" if purpose == "maskable" else "",
                                            size),
             "sizes": "%dx%d" % (size, size), "type": "image/png", "purpose": purpose}
            for purpose in ("any", "maskable") for size in (192, 512)]


def manifest(program):
    about = PROGRAMS[program]
    # No "id": the start address names the app, so that two copies of the site in two folders of
    # one server are two apps, not one.
    return {
        "name": about["name"],
        "short_name": about["short_name"],
        "description": about["description"] + ".",
        "lang": "de",
        "dir": "ltr",
        "start_url": program + ".html",
        "scope": "./",
        "display": "standalone",
        "orientation": "landscape",
        "theme_color": THEME_COLOUR,
        "background_color": BACKGROUND_COLOUR,
        "categories": ["education"],
        "icons": icons(program),
    }


def head_tags(program):
    about = PROGRAMS[program]
    return "\n".join([
        '<meta name="description" content="%s.">' % about["description"],
        '<meta name="theme-color" content="%s">' % THEME_COLOUR,
        '<link rel="manifest" href="%s.webmanifest">' % program,
        '<link rel="icon" href="%s/%s-192.png" sizes="192x192">' % (FILES, program),
        # Safari rounds the corners itself and shows no transparency: the full-ground copy.
        '<link rel="apple-touch-icon" href="%s/%s-maskable-192.png">' % (FILES, program),
        '<meta name="apple-mobile-web-app-capable" content="yes">',
        '<meta name="mobile-web-app-capable" content="yes">',
        '<meta name="apple-mobile-web-app-title" content="%s">' % about["short_name"],
        "",
    ])


def insert_once(text, marker, addition, before_last=False):
    at = text.rfind(marker) if before_last else text.find(marker)
    if at < 0:
        sys.exit("make_site.py: no %s in the page" % marker)
    return text[:at] + addition + text[at:]


def with_policy(page):
    return insert_once(page, '<meta name="viewport"', POLICY_TAG)


def program_page(page_path, program):
    with open(page_path, encoding="utf-8") as file:
        page = file.read()
    page = insert_once(with_policy(page), "</head>", head_tags(program))
    # Before the program's script, so that a note is in place before it lays out its drawing.
    return insert_once(page, '<script src="', REGISTER + "\n")


def index_page(source_dir, programs, version):
    with open(os.path.join(source_dir, "index.html"), encoding="utf-8") as file:
        template = file.read()
    items = []
    for program in programs:
        about = PROGRAMS[program]
        items.append('<li><a href="%s.html"><img src="%s/%s-192.png" alt=""'
                     ' width="96" height="96"><span class="name">%s</span>'
                     '<span>%s.</span></a></li>'
                     % (program, FILES, program, about["name"], about["description"]))
    return with_policy(template.replace("{{{ PROGRAMS }}}", "\n".join(items)).replace(
        "{{{ VERSION }}}", version))


def digest(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def write_worker(site_dir, source_dir):
    """sw.js for the files now in the site: their digests, and the build named by all of them."""
    files = {}
    for folder, _, names in os.walk(site_dir):
        for name in names:
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, site_dir).replace(os.sep, "/")
            if relative != "sw.js":
                files[relative] = digest(path)
    build = hashlib.sha256(json.dumps(files, sort_keys=True).encode()).hexdigest()[:16]
    with open(os.path.join(source_dir, "sw.js"), encoding="utf-8") as file:
        worker = file.read()
    worker = worker.replace("{{{ BUILD }}}", build).replace(
        "{{{ FILES }}}", json.dumps(files, sort_keys=True, indent=2))
    with open(os.path.join(site_dir, "sw.js"), "w", encoding="utf-8") as out:
        out.write(worker)
    return build


def main():
    args = sys.argv[1:]
    # The release a teacher names when asking which one the school's server has.
    at = args.index("--version") if "--version" in args else -1
    if at < 0 or at + 1 == len(args) or len(args) < 6:
        sys.exit(__doc__)
    version = args.pop(at + 1)
    del args[at]
    site_dir, source_dir, icon_dir = args[:3]
    pages = args[3:]
    # A file left from an earlier build would be cached and served with this one.
    shutil.rmtree(site_dir, ignore_errors=True)
    os.makedirs(os.path.join(site_dir, FILES))
    programs = [os.path.splitext(os.path.basename(page))[0] for page in pages]
    for name in SITE_FILES:
        shutil.copy(os.path.join(source_dir, name), os.path.join(site_dir, FILES, name))
    for program, page in zip(programs, pages):
        # The page's own files: its script, WebAssembly, faces, pictures and style.
        shutil.copytree(os.path.join(os.path.dirname(page), FILES), os.path.join(site_dir, FILES),
                        dirs_exist_ok=True)
        with open(os.path.join(site_dir, program + ".html"), "w", encoding="utf-8") as out:
            out.write(program_page(page, program))
        with open(os.path.join(site_dir, program + ".webmanifest"), "w", encoding="utf-8") as out:
            json.dump(manifest(program), out, ensure_ascii=False, indent=2)
        for icon in icons(program):
            shutil.copy(os.path.join(icon_dir, os.path.basename(icon["src"])),
                        os.path.join(site_dir, icon["src"]))
    with open(os.path.join(site_dir, "index.html"), "w", encoding="utf-8") as out:
        out.write(index_page(source_dir, programs, version))
    write_worker(site_dir, source_dir)


if __name__ == "__main__":
    main()
