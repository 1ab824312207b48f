"""Names the programs are known by: their files, their windows, the
settings file and its keys, as the tests look for them. Those both programs
share are spelled on the C++ side in common/shared_names.h, the window
titles and classes of the screensaver program in its sources; the values
here must be the same."""

# Programs of the build folder.
HOST = "Brumalis.scr"
RENDERER = "Brumalis.dll"
PROBE = "brumalis-probe.exe"  # tests/wine/probe.cpp

# The renderer's window class, also its title until the frame rate follows
# RATE_TITLE in it ("... - 60.0 fps").
RENDERER_CLASS = "Caliguna"
RATE_TITLE = RENDERER_CLASS + " - "

# The screensaver program's windows.
RUN_TITLE = "Brumalis_Main"  # the full-screen run's own window, never shown
DIALOG_TITLE = "■Brumalis■"  # the settings dialog
FORM_CLASS = "BrumalisForm"
COVER_CLASS = "BrumalisCover"  # black over every monitor but the primary one
PANEL_CLASS = "BrumalisGfxFrameX"  # the framed panel with a shadow
GROUP_FRAME_CLASS = "BrumalisGroupFrame"
BUTTON_CLASS = "BrumalisXpButton"
PICTURE_BOX_CLASS = "BrumalisPictureBox"
KEYBOARD_STOP_CLASS = "BrumalisKeyboardStop"  # a painted part that takes the keyboard

# The settings file, as Windows paths, and its keys.
SETTINGS_FOLDER = "C:\\t_orka_temp"
SETTINGS_FILE = "Brumalis.ini"
SECTION = "Section"
KEY_WIDTH = "Width"
KEY_HEIGHT = "Height"
KEY_KIND = "BGM区分"
KEY_REPEAT = "BGMﾘﾋﾟｰﾄ"
KEY_FILE = "BGMﾌｧｲﾙ"
KEY_SEAL = "BGM信頼_"  # followed by a user's SID: that user's seal of the music file's path

# The ANSI code page the programs run with (Wine takes it from the locale):
# titles, texts and the settings file are in it.
ANSI = "cp932"

# Virtual keys.
VK_ESCAPE = 0x1B
VK_SPACE = 0x20
