#!/usr/bin/env python3
"""Draws the program's skin (data/skins: zel_en.xml and the pictures of skins/flat) and the
pictures of the resource module (resources/modules/qvnres_en) and the menus' item images
(resources/bitmaps), the toolkit's menu glyphs and stretch cursors, and the Options dialog's
category pictures and the transition previews' two sample pictures (data/images). Standard library only; run it
from anywhere after changing a picture, then commit what it wrote.

    python3 scripts/artwork/make_artwork.py [--preview FOLDER]

With --preview, a PNG of every picture is written to FOLDER as well, to look at."""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from resource_module import write_resource_module  # noqa: E402
from menu_icons import write_app_icon, write_menu_icons  # noqa: E402
from options_images import write_options_images  # noqa: E402
from skin import write_skin  # noqa: E402
from preview_pictures import write_preview_pictures  # noqa: E402
from timeline_images import write_timeline_images  # noqa: E402
from toolkit_art import write_toolkit_art  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", help="also write PNG copies here")
    args = parser.parse_args()
    pictures = write_skin(os.path.join(ROOT, "data", "skins"), args.preview)
    write_resource_module(os.path.join(ROOT, "resources", "modules", "qvnres_en"),
                          os.path.join(args.preview, "qvnres_en") if args.preview else None)
    write_menu_icons(os.path.join(ROOT, "resources", "bitmaps"),
                     os.path.join(args.preview, "menus") if args.preview else None)
    write_app_icon(os.path.join(ROOT, "resources", "icons"), os.path.join(args.preview, "menus") if args.preview else None)
    write_toolkit_art(os.path.join(ROOT, "resources"), os.path.join(args.preview, "toolkit") if args.preview else None)
    write_options_images(os.path.join(ROOT, "data", "images"),
                         os.path.join(args.preview, "options") if args.preview else None)
    write_timeline_images(os.path.join(ROOT, "data", "images"),
                          os.path.join(args.preview, "timeline") if args.preview else None)
    write_preview_pictures(os.path.join(ROOT, "data", "images"),
                           os.path.join(args.preview, "transitions") if args.preview else None)
    print("skin: %d pictures; resource module: 2 pictures" % len(pictures))


if __name__ == "__main__":
    main()
