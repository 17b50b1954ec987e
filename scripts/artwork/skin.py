"""The "Flat" skin: light surfaces, one blue accent, line icons. Draws every picture the skin
file names and writes the skin file itself, so the file's rectangles always match the pictures."""

import os

import glyphs as g
from raster import Canvas, circle, frame, hex_colour, horizontal_gradient, mix, polygon, rect, ring, union

SKIN_FOLDER = "flat"

WHITE = (255, 255, 255)
INK = hex_colour("344054")
ACCENT = hex_colour("2F80ED")
ACCENT_DARK = hex_colour("1D64C8")
ACCENT_LIGHT = hex_colour("5C9CF2")
HOVER = hex_colour("E6EFFC")
HOVER_EDGE = hex_colour("C4D9F7")
PRESSED = hex_colour("CFE0FA")
DISABLED = hex_colour("B4BCC8")
LINE = hex_colour("D8DEE6")
MUTED = hex_colour("98A2B3")
SELECTED_FILL = hex_colour("E8F1FD")
GRAYED_FILL = hex_colour("F0F2F5")
GRAYED_EDGE = hex_colour("BCC4CF")

# Window colours of the skin (and the backgrounds the bars sit on).
WINDOW = {
    "main_dlg": hex_colour("F3F5F8"),
    "organize_page": hex_colour("F3F5F8"),
    "menu_page": hex_colour("F1F4F8"),
    "burn_page": hex_colour("F5F7FA"),
    "photo_configure": hex_colour("EEF2F7"),
    "tab_page": WHITE,
}
TRIM_DIALOG = (236, 233, 216)  # the trim dialog paints itself in this colour
SEEK_FACE = (236, 233, 216)    # the seek bar's face

STATES = ("normal", "highlighted", "clicked", "disabled")


# --- Button bars ------------------------------------------------------------------------------------

class Bar:
    def __init__(self, element, file, background, size, buttons, style="flat", glyph=18, minor=True, extra=""):
        self.element = element  # element name in the skin file
        self.file = file        # picture name stem
        self.background = background
        self.size = size        # one button's (width, height)
        self.buttons = buttons  # (glyph, English tooltip)
        self.style = style
        self.glyph = glyph
        self.minor = minor
        self.extra = extra      # further attributes of the element

    def rects(self):
        w, h = self.size
        return [(i * w, 0, w, h) for i in range(len(self.buttons))]


TAB_PAGE = WINDOW["tab_page"]
BARS = [
    Bar("main_button_bar", "main", WINDOW["main_dlg"], (44, 36), [
        (g.document_add, "New Project"), (g.folder, "Open Project"), (g.save, "Save Project"),
        (g.film, "Create Video")], minor=False, glyph=20),
    Bar("album_button", "album", WINDOW["organize_page"], (36, 28), [
        (g.album_add, "New Album"), (g.album_remove, "Delete Album")], minor=False, glyph=18,
        extra=' button_height="28"'),
    Bar("edit_button", "edit", TAB_PAGE, (68, 28), [
        (g.plus, "Add"), (g.add_all, "Add All"), (g.trash, "Remove"), (g.rotate_ccw, "Rotate Left"),
        (g.rotate_cw, "Rotate Right"), (g.pencil, "Edit Photo"), (g.sun, "Auto Exposure"),
        (g.note, "Background Music"), (g.dots, "More")], minor=False),
    Bar("transition_button", "music", TAB_PAGE, (52, 28), [
        (g.plus, "Add Music"), (g.trash, "Remove Music"), (g.arrow_up, "Move Up"), (g.arrow_down, "Move Down"),
        (g.scissors, "Trim Music"), (g.play, "Play Music"), (g.shift_left, "Shift Earlier"),
        (g.shift_right, "Shift Later"), (g.disc, "Audio CD"), (g.microphone, "Record"), (g.dots, "More")],
        minor=False),
    Bar("burn_button", "burn", WINDOW["burn_page"], (160, 60), [(g.disc, "Burn Now")], style="big", glyph=32,
        minor=False),
    Bar("album_preview_play_begin_button", "preview_begin", TAB_PAGE, (32, 28),
        [(g.play_begin, "Play from Beginning")], style="round", glyph=11),
    Bar("album_preview_play_current_button", "preview_play", TAB_PAGE, (32, 28),
        [(g.play, "Play from Current Photo")], style="round", glyph=11),
    Bar("album_preview_stop_button", "preview_stop", TAB_PAGE, (32, 28), [(g.stop, "Stop")], style="round",
        glyph=10),
    Bar("photo_edit_navigator_button", "navigator", WINDOW["photo_configure"], (32, 28), [
        (g.first, "First Photo"), (g.previous, "Previous Photo"), (g.next_, "Next Photo"), (g.last, "Last Photo"),
        (g.rotate_cw, "Rotate Right"), (g.rotate_ccw, "Rotate Left"), (g.picture, "Photo")], glyph=15),
    # The album options page sizes these three bars' windows to 43 x 20, 20 x 20 and 137 x 16 and
    # they sit on its organize-page colour.
    Bar("trans_music_audio_match_button", "durations", WINDOW["organize_page"], (21, 20), [
        (g.fit_to_music, "Fit Slideshow to Music"), (g.undo, "Undo Duration Change")], glyph=13),
    Bar("trans_music_slide_duration_reset_button", "reset_durations", WINDOW["organize_page"], (20, 20),
        [(g.reset, "Reset Durations")], glyph=13),
    Bar("trans_music_trans_oper_button", "transition_mode", WINDOW["organize_page"], (45, 16), [
        (g.no_transition, "No Transitions"), (g.shuffle_some, "Random from Selected Transitions"),
        (g.shuffle, "Random from All Transitions")], glyph=12),
    Bar("burn_page_browser_button", "disc_image", WINDOW["burn_page"], (36, 22), [(g.folder, "Set Disc Image File")],
        glyph=14),
    Bar("burn_page_load_eject_button", "tray", WINDOW["burn_page"], (36, 22), [(g.eject, "Load or Eject")],
        glyph=14),
    Bar("audio_trim_button", "trim", TRIM_DIALOG, (44, 30), [
        (g.bracket_start, "Set Start"), (g.bracket_end, "Set End"), (g.play, "Play"), (g.pause, "Pause"),
        (g.stop, "Stop"), (g.to_start, "Go to Start"), (g.to_end, "Go to End")], glyph=17),
    Bar("encode_button", "encode", WINDOW["burn_page"], (160, 60), [(g.film, "Create Video")], style="big",
        glyph=32),
    Bar("browse_menu_template_button", "templates", WINDOW["menu_page"], (36, 26), [(g.grid_plus, "More Templates")],
        glyph=16),
    Bar("photo_edit_preview_play_button", "edit_play", WINDOW["photo_configure"], (32, 28), [(g.play, "Play")],
        style="round", glyph=11),
    Bar("photo_edit_preview_stop_button", "edit_stop", WINDOW["photo_configure"], (32, 28), [(g.stop, "Stop")],
        style="round", glyph=10),
    Bar("photo_edit_reset_button", "edit_reset", WINDOW["photo_configure"], (32, 28), [(g.reset, "Reset")],
        glyph=16),
    Bar("video_clips_toolbar", "clips", TAB_PAGE, (68, 28), [
        (g.plus, "Add"), (g.add_all, "Add All"), (g.trash, "Remove")]),
]


def draw_button(c, x, y, w, h, glyph, size, style, state, background):
    cx, cy = x + w / 2.0, y + h / 2.0
    if style == "big":
        fill = {"normal": ACCENT, "highlighted": ACCENT_LIGHT, "clicked": ACCENT_DARK, "disabled": DISABLED}[state]
        c.fill(rect(x + 2, y + 2, x + w - 2, y + h - 2, 10), fill)
        dy = 1 if state == "clicked" else 0
        c.fill(glyph(cx, cy + dy, size), WHITE)
        return
    if style == "round":
        r = min(w, h) / 2.0 - 2
        if state == "normal":
            c.fill(circle(cx, cy, r), WHITE)
            c.fill(ring(cx, cy, r - 0.5, 1.0), LINE)
            ink = INK
        elif state == "highlighted":
            c.fill(circle(cx, cy, r), ACCENT)
            ink = WHITE
        elif state == "clicked":
            c.fill(circle(cx, cy, r), ACCENT_DARK)
            ink = WHITE
        else:
            c.fill(circle(cx, cy, r), mix(background, LINE, 0.5))
            ink = DISABLED
        c.fill(glyph(cx + (0.8 if glyph in (g.play,) else 0), cy, size), ink)
        return
    ink = {"normal": INK, "highlighted": ACCENT, "clicked": ACCENT_DARK, "disabled": DISABLED}[state]
    if state == "highlighted":
        c.fill(rect(x + 2, y + 2, x + w - 2, y + h - 2, 5), HOVER)
        c.fill(frame(x + 2, y + 2, x + w - 2, y + h - 2, 5, 1), HOVER_EDGE)
    elif state == "clicked":
        c.fill(rect(x + 2, y + 2, x + w - 2, y + h - 2, 5), PRESSED)
    dy = 1 if state == "clicked" else 0
    c.fill(glyph(cx, cy + dy, size), ink)


def draw_bar(bar, state):
    w, h = bar.size
    c = Canvas(w * len(bar.buttons), h, bar.background)
    for i, (glyph, _) in enumerate(bar.buttons):
        draw_button(c, i * w, 0, w, h, glyph, bar.glyph, bar.style, state, bar.background)
    return c


def bar_xml(bar, indent):
    pad = " " * indent
    names = " ".join('%s="%s_%s.bmp"' % (s, bar.file, s) for s in STATES)
    lines = ['%s<%s folder="bars" %s button_count="%d"%s>' % (pad, bar.element, names, len(bar.buttons), bar.extra)]
    for i, ((x, y, w, h), (_, tip)) in enumerate(zip(bar.rects(), bar.buttons)):
        lines.append('%s  <button id="%d" x="%d" y="%d" width="%d" height="%d" tips="%s"/>' % (pad, i, x, y, w, h, tip))
    lines.append("%s</%s>" % (pad, bar.element))
    return lines


# --- Tab strip ----------------------------------------------------------------------------------------

TAB_STRIP = hex_colour("EDF1F6")
TAB_HEIGHT = 29
TAB_DELTA = 4
TAB_OFF = 6


def tab_pictures():
    tab_h = TAB_HEIGHT - TAB_DELTA
    background = Canvas(64, TAB_HEIGHT, TAB_STRIP)
    background.rect(0, TAB_HEIGHT - 1, 64, TAB_HEIGHT, LINE)
    # The selected tab: white, outlined, rounded at the top and open at the bottom so it joins
    # the page below.
    whole = Canvas(24, tab_h, TAB_STRIP)
    whole.fill(rect(0, 0, 24, tab_h + 8, 6), LINE)
    whole.fill(rect(1, 1, 23, tab_h + 8, 5), WHITE)
    left, middle, right = Canvas(6, tab_h), Canvas(8, tab_h), Canvas(6, tab_h)
    left.paste(whole, 0, 0)
    middle.paste(whole, -8, 0)
    right.paste(whole, -18, 0)
    separator = Canvas(1, 14, LINE)
    return {"tab_bg.bmp": background, "tab_left.bmp": left, "tab_middle.bmp": middle, "tab_right.bmp": right,
            "tab_separator.bmp": separator}


# --- Album list cards -----------------------------------------------------------------------------------


def album_card(kind, video):
    c = Canvas(230, 70, WHITE)
    fill, edge, width = {"normal": (hex_colour("F8FAFC"), LINE, 1), "selected": (SELECTED_FILL, ACCENT, 2),
                         "grayed": (GRAYED_FILL, GRAYED_EDGE, 2)}[kind]
    c.fill(rect(1, 1, 229, 69, 8), edge)
    c.fill(rect(1 + width, 1 + width, 229 - width, 69 - width, 8 - width), fill)
    # The album's thumbnail is drawn into (28, 11)-(66, 55).
    if video:
        c.fill(rect(21, 6, 73, 60, 3), hex_colour("3A4354"))
        for y in range(9, 58, 7):
            c.fill(rect(23, y, 26, y + 3, 0.8), hex_colour("DCE1E8"))
            c.fill(rect(68, y, 71, y + 3, 0.8), hex_colour("DCE1E8"))
    else:
        c.fill(rect(30, 6, 71, 52, 2), LINE)
        c.fill(rect(31, 7, 70, 51, 2), WHITE)
    c.fill(rect(26, 9, 68, 57, 2), mix(edge, LINE, 0.5))
    c.fill(rect(27, 10, 67, 56, 1.5), WHITE)
    # A soft rule between the texts.
    c.fill(rect(86, 24, 196, 25), mix(fill, LINE, 0.6))
    return c


# --- Output-format pictures -------------------------------------------------------------------------------

OUTPUT_FORMATS = [
    ("DVD", "7C4DFF"), ("VCD", "009688"), ("SVCD", "00796B"), ("BD", "1565C0"), ("WEB", "43A047"),
    ("AVI", "EF6C00"), ("WMV", "0277BD"), ("MOV", "546E7A"), ("FLV", "D32F2F"), ("3GP", "7B1FA2"),
    ("MPEG2", "5D4037"), ("WEBM", "388E3C"), ("MP4", "2F80ED"), ("MP4", "00897B"), (None, "78909C"),
    (None, "90A4AE"),
]


def output_format(label, colour):
    c = Canvas(46, 30, WHITE)
    tile = hex_colour(colour)
    c.fill(rect(1, 1, 45, 29, 5), tile)
    c.fill(rect(1, 22, 45, 29, 5), mix(tile, (0, 0, 0), 0.15))
    c.fill(rect(1, 22, 45, 24), mix(tile, (0, 0, 0), 0.15))
    if label is None:
        c.fill(g.film(23, 13, 20), WHITE)
        return c
    height = 9 if len(label) <= 3 else 8
    width = g.text_width(label, height)
    c.fill(g.text(23 - width / 2.0, 13 - height / 2.0 - 1, height, label, width=1.6), WHITE)
    return c


# --- Misc pictures ----------------------------------------------------------------------------------------


def sort_arrow(up):
    # Drawn in the two greys the loader maps to the system's 3-D colours, without smoothing.
    c = Canvas(9, 6, (192, 192, 192))
    points = [(0.5, 5.5), (4.5, 0.5), (8.5, 5.5)] if up else [(0.5, 0.5), (4.5, 5.5), (8.5, 0.5)]
    c.fill(polygon(points), (128, 128, 128), hard=True)
    return c


def selection_frame(w, h, kind, radius):
    c = Canvas(w, h, WHITE)
    if kind == "normal":
        c.fill(rect(3, 4, w - 1, h - 1, radius), LINE, opacity=0.5)
        c.fill(rect(2, 2, w - 2, h - 2, radius), LINE)
        c.fill(rect(3, 3, w - 3, h - 3, radius - 1), WHITE)
    elif kind == "selected":
        c.fill(rect(1, 1, w - 1, h - 1, radius), ACCENT)
        c.fill(rect(3, 3, w - 3, h - 3, radius - 2), SELECTED_FILL)
    else:
        c.fill(rect(1, 1, w - 1, h - 1, radius), GRAYED_EDGE)
        c.fill(rect(3, 3, w - 3, h - 3, radius - 2), GRAYED_FILL)
    return c


def badge(colour, glyph, size=11):
    c = Canvas(size, size, WHITE)
    c.fill(rect(0, 0, size, size, 2.5), hex_colour(colour))
    c.fill(glyph(size / 2.0, size / 2.0, size - 3), WHITE)
    return c


def keyed_icon(size, glyph, colour, key):
    c = Canvas(size, size, WHITE)
    c.fill(glyph(size / 2.0, size / 2.0, size - 2), colour)
    c.key_uncovered(key)
    return c


def seek_picture(kind):
    if kind == "track":
        c = Canvas(64, 6, hex_colour("E2E6EC"))
        c.rect(0, 0, 64, 1, hex_colour("C8CED6"))
        c.rect(0, 5, 64, 6, hex_colour("D6DBE2"))
        return c
    if kind == "range":
        c = Canvas(64, 6, ACCENT)
        c.rect(0, 0, 64, 1, ACCENT_DARK)
        c.rect(0, 1, 64, 2, ACCENT_LIGHT)
        return c
    c = Canvas(11, 16, SEEK_FACE)
    c.fill(rect(0.5, 0.5, 10.5, 15.5, 3), ACCENT)
    c.fill(rect(2, 2, 9, 14, 2), WHITE)
    c.fill(rect(5, 5, 6, 11), LINE)
    return c


def misc_pictures():
    sun_dot = lambda cx, cy, s: union(circle(cx, cy, s * 0.22), ring(cx, cy, s * 0.42, 1.1))
    return [
        sort_arrow(True), sort_arrow(False),
        selection_frame(112, 86, "normal", 6), selection_frame(112, 86, "selected", 6),
        selection_frame(112, 86, "grayed", 6),
        keyed_placeholder(),
        badge("F5A623", sun_dot), badge("98A2B3", g.clock), badge("2F80ED", g.letter_t), badge("43A047", g.subtitle),
        selection_frame(78, 78, "normal", 6), selection_frame(78, 78, "selected", 6),
        selection_frame(78, 78, "grayed", 6),
        keyed_icon(13, g.speaker, ACCENT, (255, 255, 255)),
        keyed_icon(16, g.note, ACCENT, (255, 0, 0)),
        music_list_icons(),
        seek_picture("track"), seek_picture("range"), seek_picture("thumb"),
    ]


def music_list_icons():
    # The album options page's music rows: 0 a clip that starts after the slideshow ends (not
    # heard), 1 spare, 2 a clip that plays during the slideshow.
    c = Canvas(48, 16, WHITE)
    for i, colour in enumerate((MUTED, INK, ACCENT)):
        c.fill(g.music_file(i * 16 + 8.0, 8.0, 14), colour)
    c.key_uncovered((255, 0, 0))
    return c


def keyed_placeholder():
    c = Canvas(32, 32, WHITE)
    c.fill(g.picture(16, 16, 26), hex_colour("C3CAD4"))
    return c


# --- Dialog banners ------------------------------------------------------------------------------------------

BANNER_GLYPHS = [g.album_add, g.album, g.picture, g.transition, g.shuffle, g.gear, g.microphone, g.scissors,
                 g.gear, g.gear, g.disc, g.disc, g.film]


def banner(glyph):
    w, h = 500, 60
    c = Canvas(w, h, WHITE)
    c.rect(0, 0, w, h, horizontal_gradient(0, w, hex_colour("E4EEFC"), WHITE))
    for cx, cy, r, o in ((430, 8, 46, 0.07), (480, 58, 34, 0.06), (372, 52, 22, 0.05)):
        c.fill(circle(cx, cy, r), ACCENT, opacity=o)
    c.fill(circle(34, 30, 21), ACCENT)
    c.fill(glyph(34, 30, 22), WHITE)
    c.rect(0, h - 1, w, h, LINE)
    return c


# --- The skin ----------------------------------------------------------------------------------------------


def colour_text(c):
    return "#%02X%02X%02X" % c


def write_skin(root, preview=None):
    """Writes skins/zel_en.xml and the pictures of skins/flat below `root`; with `preview`, a PNG
    of every picture goes there too."""
    from raster import save_png

    folder = os.path.join(root, SKIN_FOLDER)
    pictures = {}
    for bar in BARS:
        for state in STATES:
            pictures["bars/%s_%s.bmp" % (bar.file, state)] = draw_bar(bar, state)
    for name, canvas in tab_pictures().items():
        pictures["tab/" + name] = canvas
    for kind in ("normal", "selected", "grayed"):
        pictures["album_list/card_%s.bmp" % kind] = album_card(kind, False)
        pictures["album_list/card_%s_video.bmp" % kind] = album_card(kind, True)
    for i, (label, colour) in enumerate(OUTPUT_FORMATS):
        pictures["output/format_%02d.bmp" % i] = output_format(label, colour)
    for i, canvas in enumerate(misc_pictures()):
        pictures["misc/misc_%02d.bmp" % i] = canvas
    for i, glyph in enumerate(BANNER_GLYPHS):
        pictures["banner/banner_%02d.bmp" % i] = banner(glyph)

    for name, canvas in pictures.items():
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        canvas.save_bmp(path)
        if preview:
            out = os.path.join(preview, SKIN_FOLDER, name[:-4] + ".png")
            os.makedirs(os.path.dirname(out), exist_ok=True)
            save_png(canvas, out)

    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- The Flat skin. Written by scripts/artwork/make_artwork.py together with its pictures;",
             "     edit the script, not this file. -->",
             '<skins version="1">',
             '  <skin folder="%s" name="Flat"/>' % SKIN_FOLDER,
             "  <window_color " + " ".join('%s="%s"' % (k, colour_text(v)) for k, v in WINDOW.items()) + "/>"]
    for bar in BARS:
        if not bar.minor:
            lines += bar_xml(bar, 2)
    lines.append('  <general_tab_control folder="tab" color_normal="#5B6B80" color_select="%s" height_off="%d" '
                 'height_delta="%d" background="tab_bg.bmp" left="tab_left.bmp" middle="tab_middle.bmp" '
                 'right="tab_right.bmp" separator="tab_separator.bmp"/>' % (colour_text(ACCENT_DARK), TAB_OFF,
                                                                           TAB_DELTA))
    lines.append('  <album_list folder="album_list" normal="card_normal.bmp" selected="card_selected.bmp" '
                 'grayed="card_grayed.bmp" normal_video="card_normal_video.bmp" '
                 'selected_video="card_selected_video.bmp" grayed_video="card_grayed_video.bmp"/>')
    lines.append("  <skin_minor>")
    for bar in BARS:
        if bar.minor:
            lines += bar_xml(bar, 4)
    lines.append('    <output_format_group folder="output" bk_color="#FFFFFF" bk_select_color="%s" text_color="%s" '
                 'text_select_color="%s">' % (colour_text(SELECTED_FILL), colour_text(INK), colour_text(ACCENT_DARK)))
    for i in range(len(OUTPUT_FORMATS)):
        lines.append('      <bitmap id="%d" file="format_%02d.bmp"/>' % (i, i))
    lines.append("    </output_format_group>")
    lines.append('    <misc_bitmap folder="misc">')
    for i in range(19):
        lines.append('      <bitmap id="%d" file="misc_%02d.bmp"/>' % (i, i))
    lines.append("    </misc_bitmap>")
    lines.append('    <dialog_hint_bitmap folder="banner">')
    for i in range(len(BANNER_GLYPHS)):
        lines.append('      <bitmap id="%d" background="banner_%02d.bmp"/>' % (i, i))
    lines.append("    </dialog_hint_bitmap>")
    lines.append("  </skin_minor>")
    lines.append("</skins>")
    with open(os.path.join(root, "zel_en.xml"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    return pictures
