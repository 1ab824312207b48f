"""The settings dialog as its users are promised it, written once for every
test that looks at it: the client area and each control's place in twips of
its container (15 twips are one pixel at 96 DPI), its texts and its
background. The tests find the dialog's parts from here; what the dialog
draws at other DPIs they check as relations to its look at 96 DPI."""

TWIPS_PER_PIXEL_AT_96 = 15
CLIENT = (7020, 3900)
BACKGROUND = (224, 224, 224)
SHADOW_DEPTH = 7  # the panel's shadow, in pixels at 96 DPI
BANNER_FIELD = (120, 50)  # the banner's frames, in pixels at 96 DPI

# Each control: its container, then left, top, width and height in twips.
PLACES = {
    "panel": ("dialog", 180, 180, 6735, 2715),
    "group": ("panel", 180, 120, 6255, 2355),
    "mark 1": ("group", 180, 360, 195, 195),
    "mark 0": ("group", 180, 660, 195, 195),
    "mark 2": ("group", 180, 960, 195, 195),
    "source 1": ("group", 420, 360, 645, 195),
    "source 0": ("group", 420, 660, 330, 195),
    "source 2": ("group", 420, 960, 900, 195),
    "track box": ("group", 1200, 300, 615, 300),
    "repeat": ("group", 1860, 360, 990, 195),
    "browse": ("group", 180, 1260, 675, 375),
    "path": ("group", 180, 1680, 5895, 495),
    "banner 0": ("dialog", 180, 2940, 1845, 780),
    "apply": ("dialog", 2100, 2940, 1335, 435),
    "cancel": ("dialog", 3540, 2940, 1335, 435),
    "banner 1": ("dialog", 4980, 2940, 1845, 780),
    "version": ("dialog", 2100, 3480, 2475, 195),
}
TEXTS = {
    "source 1": "音楽CD",
    "source 0": "なし",
    "source 2": "MP3、WAV",
    "repeat": "曲目をﾘﾋﾟｰﾄ",
    "version": "Designed by t-orka Ver.1.0.0",
    "apply": "設定",
    "cancel": "ｷｬﾝｾﾙ",
    "browse": "...",
    "group": "BGM",
}
LABELS = ("source 1", "source 0", "source 2", "repeat", "version")  # the texts drawn on the dialog
BUTTONS = ("browse", "apply", "cancel")
OPEN_FILE_TITLE = "ﾌｧｲﾙを開く"  # the file browser's


def twips(name):
    """A control's place in twips of the client area: (left, top, right, bottom)."""
    container, left, top, width, height = PLACES[name]
    if container != "dialog":
        origin = twips(container)
        left, top = left + origin[0], top + origin[1]
    return (left, top, left + width, top + height)


def at_96(name):
    """A control's place in the client area in pixels at 96 DPI:
    (left, top, right, bottom)."""
    return tuple(value // TWIPS_PER_PIXEL_AT_96 for value in twips(name))


def centre_at_96(name):
    left, top, right, bottom = at_96(name)
    return ((left + right) // 2, (top + bottom) // 2)


def controls_at_96(children, client_origin):
    """The dialog's child windows (the probe's) that stand at a control's
    place at 96 DPI, by the control's name."""
    found = {}
    for child in children:
        rect = (child["x"] - client_origin[0], child["y"] - client_origin[1])
        rect += (rect[0] + child["w"], rect[1] + child["h"])
        found.update((name, child) for name in PLACES if at_96(name) == rect)
    return found


assert all(value % TWIPS_PER_PIXEL_AT_96 == 0 for name in PLACES for value in twips(name)), \
    "a place that is no whole pixel at 96 DPI"
