#!/usr/bin/env python3
"""Makes a page from the template (index.html) by filling each of its {{places}}: index.html,
served beside the program, or (--one-file) vorlan-kidney.html, which carries the program
(vorlan-kidney.js and its WebAssembly) and the icon inside it, so that a browser plays it opened
from a file, which cannot load a .wasm.

Usage: fill_page.py TEMPLATE SCRIPTS_DIR PROGRAM_WASM OUTPUT_HTML [--one-file PROGRAM_JS ICON_SVG]
"""
import base64
import os
import re
import sys

# The page's own script, in the order it runs.
PAGE_SCRIPTS = ("layout.js", "pointer.js", "stream.js", "loader.js")


def read(path, mode="r"):
    with open(path, mode, **({} if "b" in mode else {"encoding": "utf-8"})) as f:
        return f.read()


def inline(script, name):
    # Inside a script element these would end it, or change how the page parses it.
    for bad in ("</script", "<!--"):
        if bad in script.lower():
            sys.exit(f"fill_page.py: {name} holds {bad!r}, which would break the page")
    return script.rstrip("\n")


def fill(template, places):
    def one(match):
        name = match.group(1)
        if name not in places:
            sys.exit(f"fill_page.py: the template has a place {{{{{name}}}}} that nothing fills")
        return places.pop(name)

    page = re.sub(r"\{\{(\w+)\}\}", one, template)
    if places:
        sys.exit(f"fill_page.py: the template has no place for {', '.join(sorted(places))}")
    return page


def main():
    args = sys.argv[1:]
    one_file = len(args) == 7 and args[4] == "--one-file"
    if len(args) != 4 and not one_file:
        sys.exit(__doc__.strip().splitlines()[-1])
    template, scripts, wasm, output = args[:4]
    script = "\n".join(
        inline(read(os.path.join(scripts, name)), name) for name in PAGE_SCRIPTS)
    places = {"module_bytes": str(os.path.getsize(wasm)), "script": script}
    if one_file:
        program, icon = args[5:]
        icon_uri = "data:image/svg+xml;base64," + base64.b64encode(read(icon, "rb")).decode()
        wasm_text = base64.b64encode(read(wasm, "rb")).decode("ascii")
        carried = inline(read(os.path.join(scripts, "carried.js")), "carried.js")
        # A page from a file has no manifest, no service worker and nothing beside it to fetch.
        places.update(
            carried="true",
            links=f'<link rel="icon" href="{icon_uri}" type="image/svg+xml">',
            program=(
                f'<script id="program-wasm" type="application/octet-stream">{wasm_text}</script>\n'
                f"<script>\n{carried}\n</script>\n"
                f"<script>\n{inline(read(program), program)}\n</script>"
            ),
        )
    else:
        places.update(
            carried="false",
            links=(
                '<link rel="manifest" href="manifest.webmanifest">\n'
                '<link rel="icon" href="icon.svg" type="image/svg+xml">\n'
                # Asked for at once: nothing the page waits for stands in front of the program.
                '<link rel="preload" href="vorlan-kidney.wasm" as="fetch" '
                'type="application/wasm" crossorigin>\n'
                '<link rel="preload" href="vorlan-kidney.js" as="script">'
            ),
            program="",
        )
    with open(output, "w", encoding="utf-8") as f:
        f.write(fill(read(template), places))


if __name__ == "__main__":
    main()
