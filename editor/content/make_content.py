#!/usr/bin/env python3
"""Makes the editor's content from its vocabulary: one animated GIF per
picture id, one sound per effect id, one spoken voice per voice id, the
manual's logo, the program icon and the list's background.

The names come from editor/core/vocabulary_data.cpp. Pictures are drawn by
ImageMagick, effects synthesized by sox, voices spoken by espeak-ng; every
sound is 8-bit unsigned mono at 11025 Hz with the silence at both ends
trimmed. The results are committed, so a build needs none of these tools:

    editor/content/make_content.py [pictures] [sounds] [voices] [artwork]

With no argument everything is made. Output goes to editor/window/resources/.
"""
import hashlib
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
EDITOR = os.path.dirname(HERE)
RESOURCES = os.path.join(EDITOR, "window", "resources")
VOCABULARY = os.path.join(EDITOR, "core", "vocabulary_data.cpp")
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
FONT = "DejaVu-Sans-Condensed-Bold"
PICTURE_SIZE = (96, 64)
SOUND_FORMAT = ["-r", "11025", "-c", "1", "-b", "8", "-e", "unsigned-integer"]
TRIM = ["silence", "1", "0.01", "1%", "reverse", "silence", "1", "0.01", "1%", "reverse"]


def run(args):
    subprocess.run(args, check=True)


def vocabulary(table):
    """The (id, name) entries of one table of vocabulary_data.cpp."""
    text = open(VOCABULARY, encoding="utf-8").read()
    body = re.search(r"k%sStrings\[\] = \{(.*?)\n\};" % table, text, re.S).group(1)
    return [(int(i), n) for i, n in re.findall(r"\{(\d+), \"([^\"]*)\"\}", body)]


def stable(name, modulo):
    """A number from 0 to modulo - 1 that depends on the name only."""
    return int(hashlib.sha1(name.encode()).hexdigest(), 16) % modulo


def write_qrc(name, prefix, folder, files):
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '  <qresource prefix="/%s">' % prefix]
    lines += ['    <file alias="%s">%s/%s</file>' % (f, folder, f) for f in files]
    lines += ['  </qresource>', '</RCC>', '']
    with open(os.path.join(RESOURCES, name), "w", encoding="utf-8") as out:
        out.write("\n".join(lines))


# --- pictures ---------------------------------------------------------------

def hue_colour(step, count, saturation=90, lightness=55):
    return "hsl(%d,%d%%,%d%%)" % (int(360 * step / count) % 360, saturation, lightness)


def full_frame(path, name, step, count, background, ball=True):
    """A whole picture: the name and a ball whose place and colour move (or,
    without the ball, the ground a sprite moves over)."""
    w, h = PICTURE_SIZE
    x = 10 + (w - 20) * step // max(count - 1, 1)
    drawing = ["-fill", hue_colour(step, count), "-draw", "circle %d,44 %d,36" % (x, x)] if ball else \
        ["-fill", "white", "-draw", "rectangle 4,53 %d,54" % (w - 5)]
    run([CONVERT, "-size", "%dx%d" % (w, h), "xc:" + background, "-font", FONT, "-pointsize", "10",
         "-fill", "white", "-gravity", "north", "-annotate", "+0+6", name, "-gravity", "none"] + drawing + [path])


def sprite(path, step, count):
    run([CONVERT, "-size", "16x16", "xc:none", "-fill", hue_colour(step, count),
         "-draw", "circle 7,7 7,1", path])


def picture(pid, name, work):
    """Frames of 0.1 s. Kind 0 repaints the whole picture each frame (disposal
    1), kind 1 does so with disposal 2, kind 2 moves a small sprite over the
    first frame (the name and the ground) with disposal 3. Frames of changing colours get local tables."""
    kind = stable(name, 3)
    count = 3 + stable(name + "#", 6)
    background = hue_colour(stable(name + "bg", 12), 12, 45, 25)
    out = os.path.join(RESOURCES, "pictures", "%d.gif" % pid)
    frames = []
    for step in range(count):
        path = os.path.join(work, "%d_%d.png" % (pid, step))
        if kind == 2 and step > 0:
            sprite(path, step, count)
            x = 4 + (PICTURE_SIZE[0] - 24) * step // (count - 1)
            frames += ["-dispose", "Previous", "-page", "+%d+36" % x, path]
        else:
            full_frame(path, name, step, count, background, ball=kind != 2)
            frames += ["-dispose", "Background" if kind == 1 else "None", "-page", "+0+0", path]
    run([CONVERT, "-delay", "10"] + frames + ["-loop", "0", out])


def make_pictures():
    os.makedirs(os.path.join(RESOURCES, "pictures"), exist_ok=True)
    entries = vocabulary("Picture")
    with tempfile.TemporaryDirectory() as work:
        for pid, name in entries:
            picture(pid, name, work)
    write_qrc("pictures.qrc", "pictures", "pictures", ["%d.gif" % pid for pid, _ in entries])


# --- sounds -----------------------------------------------------------------

# sox synth arguments by the effect's word; others get a sweep from the hash.
EFFECTS = {
    "Alarm": "0.6 square 700 square 900 tremolo 8 90",
    "Applause": "1.0 pinknoise tremolo 14 60 fade 0 1.0 0.4",
    "Beep": "0.15 sine 880",
    "Bell": "0.8 pluck 1046 fade 0 0.8 0.6",
    "Boing": "0.5 sine 180:620 tremolo 12 40",
    "Brake": "0.5 brownnoise highpass 2000 fade 0 0.5 0.3",
    "Buzz": "0.4 sawtooth 110",
    "Chime": "0.8 pluck 1568 fade 0 0.8 0.6",
    "Click": "0.02 square 1500",
    "Coin": "0.25 square 988:1319",
    "Crash": "0.7 brownnoise fade 0 0.7 0.6",
    "Ding": "0.6 sine 1760 fade 0 0.6 0.5",
    "Drum": "0.3 sine 90:45 fade 0 0.3 0.25",
    "Engine": "0.8 sawtooth 55 tremolo 25 70",
    "Explosion": "1.0 brownnoise fade 0 1.0 0.9",
    "Gong": "1.2 pluck 220 fade 0 1.2 1.0",
    "Laser": "0.3 sawtooth 1800:300",
    "Siren": "1.0 sine 600:1200 tremolo 2 30",
    "Static": "0.5 whitenoise",
    "Tick": "0.03 square 2000",
    "Tock": "0.03 square 1200",
    "Zap": "0.2 square 2400:200",
}
SWEEPS = ["0.3 sine 400:1200", "0.3 sine 1200:400", "0.2 square 660:990", "0.4 triangle 300:900"]


def effect_recipe(name):
    word = re.sub(r"\d+$", "", name[len("SFX_"):])
    recipe = EFFECTS.get(word, SWEEPS[stable(name, len(SWEEPS))]).split()
    digit = re.search(r"(\d+)$", name)
    if digit and digit.group(1) != "1":
        recipe += ["gain", "-8", "pitch", str(300 * (int(digit.group(1)) - 1))]
    return recipe


def make_effects():
    os.makedirs(os.path.join(RESOURCES, "sounds"), exist_ok=True)
    for sid, name in vocabulary("Sound"):
        out = os.path.join(RESOURCES, "sounds", "%d.wav" % sid)
        run(["sox", "-n"] + SOUND_FORMAT + [out, "synth"] + effect_recipe(name) + ["gain", "-n", "-3"] + TRIM)


def spoken_words(name):
    """"VO_PARTNER014" -> "partner 14"."""
    m = re.match(r"VO_([A-Z]+)(\d+)$", name)
    return "%s %d" % (m.group(1).lower(), int(m.group(2))) if m else name[3:].replace("_", " ").lower()


def make_voices():
    os.makedirs(os.path.join(RESOURCES, "sounds"), exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        spoken = os.path.join(work, "spoken.wav")
        for sid, name in vocabulary("Voice"):
            out = os.path.join(RESOURCES, "sounds", "%d.wav" % sid)
            run(["espeak-ng", "-v", "en", "-s", "165", "-w", spoken, spoken_words(name)])
            run(["sox", spoken] + SOUND_FORMAT + [out, "gain", "-n", "-3"] + TRIM)


def write_sounds_qrc():
    ids = [i for i, _ in vocabulary("Sound")] + [i for i, _ in vocabulary("Voice")]
    write_qrc("sounds.qrc", "sounds", "sounds", ["%d.wav" % i for i in ids])


# --- artwork ----------------------------------------------------------------

def make_artwork():
    artwork = os.path.join(RESOURCES, "artwork")
    svg = os.path.join(artwork, "program_icon.svg")
    for size in (16, 32, 48, 64, 128, 256):
        run(["rsvg-convert", "-w", str(size), "-h", str(size), svg, "-o",
             os.path.join(artwork, "program_icon_%d.png" % size)])
    run(["rsvg-convert", "-w", "64", "-h", "64", svg, "-o", os.path.join(artwork, "program_icon.png")])
    # The list's background: on white, a faint pulse train under the program's
    # name, below the first rows of the list.
    pulses = " ".join("rectangle %d,%d %d,230" % (20 + 16 * i, 230 - (10 + 18 * ((i * 7) % 4)), 27 + 16 * i)
                      for i in range(24))
    run([CONVERT, "-size", "420x240", "xc:white", "-fill", "#f1f5fb", "-draw", pulses, "-font", FONT,
         "-pointsize", "30", "-fill", "#edf1f7", "-annotate", "+20+160", "Quorlin VTQ Editor", "-strip",
         os.path.join(artwork, "list_background.png")])
    # The manual's logo: the program's name with a pulse train passing under it.
    frames = []
    with tempfile.TemporaryDirectory() as work:
        for step in range(8):
            path = os.path.join(work, "logo%d.png" % step)
            bars = " ".join("rectangle %d,%d %d,74" % (10 + 12 * i, 74 - (6 + 10 * ((i + step) % 3)), 16 + 12 * i)
                            for i in range(24))
            run([CONVERT, "-size", "300x80", "xc:white", "-font", FONT, "-pointsize", "26", "-fill", "#1b3b6f",
                 "-annotate", "+10+30", "Quorlin VTQ Editor", "-fill", "#4a8bd6", "-draw", bars, path])
            frames.append(path)
        run([CONVERT, "-delay", "15"] + frames + ["-loop", "0", os.path.join(RESOURCES, "help", "logo.gif")])


def main(argv):
    steps = {"pictures": make_pictures, "sounds": make_effects, "voices": make_voices, "artwork": make_artwork}
    for step in argv or list(steps):
        steps[step]()
    if not argv or "sounds" in argv or "voices" in argv:
        write_sounds_qrc()


if __name__ == "__main__":
    main(sys.argv[1:])
