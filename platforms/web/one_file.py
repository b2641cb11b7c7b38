#!/usr/bin/env python3
"""Makes the one-file page: index.html with the program (vorlan-kidney.js and its WebAssembly)
and the icon inside it, so that a browser plays it opened from a file, which cannot load a .wasm.

Usage: one_file.py INDEX_HTML PROGRAM_JS PROGRAM_WASM ICON_SVG OUTPUT_HTML
"""
import base64
import sys


def replace_once(text, old, new):
    if text.count(old) != 1:
        sys.exit(f"one_file.py: the page no longer holds {old!r} once")
    return text.replace(old, new)


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__.strip().splitlines()[-1])
    index, program, wasm, icon, output = sys.argv[1:]
    with open(index, encoding="utf-8") as f:
        page = f.read()
    with open(program, encoding="utf-8") as f:
        script = f.read()
    with open(wasm, "rb") as f:
        wasm_text = base64.b64encode(f.read()).decode("ascii")
    with open(icon, "rb") as f:
        icon_uri = "data:image/svg+xml;base64," + base64.b64encode(f.read()).decode("ascii")
    # Inside a script element these would end it, or change how the page parses it.
    for bad in ("</script", "<!--"):
        if bad in script.lower():
            sys.exit(f"one_file.py: {program} holds {bad!r}, which would break the page")

    page = replace_once(page, '<html lang="en">', '<html lang="en" data-carried="true">')
    # A page from a file has no manifest, no service worker and nothing beside it to fetch.
    page = replace_once(page, '<link rel="manifest" href="manifest.webmanifest">\n', "")
    page = replace_once(
        page,
        '<link rel="preload" href="vorlan-kidney.wasm" as="fetch" type="application/wasm" '
        "crossorigin>\n",
        "",
    )
    page = replace_once(page, '<link rel="preload" href="vorlan-kidney.js" as="script">\n', "")
    page = replace_once(page, 'href="icon.svg"', f'href="{icon_uri}"')
    program_html = (
        f'<script id="program-wasm" type="application/octet-stream">{wasm_text}</script>\n'
        "<script>\n"
        "  // The WebAssembly, from the text above: the program takes it instead of fetching it.\n"
        "  (() => {\n"
        "    const text = atob(document.getElementById('program-wasm').textContent);\n"
        "    const bytes = new Uint8Array(text.length);\n"
        "    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);\n"
        "    Module.wasmBinary = bytes;\n"
        "  })();\n"
        "</script>\n"
        f"<script>\n{script}\n</script>\n"
    )
    page = replace_once(page, "<!-- the program, in the one-file page -->\n", program_html)
    with open(output, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()
