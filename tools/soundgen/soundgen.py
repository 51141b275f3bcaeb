#!/usr/bin/env python3
"""Synthesises every sound the program plays: interface effects, the two game
result voices, the room music, the standard ambiance loop and the seasonal
one-shots. Effects and music come from sox's synthesiser, voices from
espeak-ng; every file is mono 22050 Hz 16-bit PCM, short, so the build stays
fast and the folder small. sox's random numbers repeat from run to run, so the
same script always writes the same files.

usage: soundgen.py <sound folder>
writes <sound folder>/<name>.wav for every name below.
"""
import os
import shutil
import subprocess
import sys
import tempfile

RATE = "22050"
FORMAT = ["-r", RATE, "-c", "1", "-b", "16", "-e", "signed-integer"]

NOTE = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def freq(note):
    """'A4' -> 440.0; a trailing '#' raises a semitone."""
    sharp = 1 if note.endswith("#") else 0
    name, octave = note[0], int(note[1:2])
    n = NOTE[name] + sharp + (octave - 4) * 12 - 9
    return 440.0 * 2 ** (n / 12.0)


def sox(*args):
    subprocess.run(["sox", "-q", "-R"] + [str(a) for a in args], check=True)


def synth(out, *chains):
    """One sox call; each chain is a list of effect words, played one after
    the other (sox's ':' chains) into a single file."""
    args = ["-n"] + FORMAT + [out]
    for i, chain in enumerate(chains):
        if i:
            args.append(":")
        args += [str(w) for w in chain]
    sox(*args)


def finish(src, out, gain=-1.0, extra=()):
    """Normalises to the given peak and writes the final mono 16-bit file."""
    head = ("gain", -10) if extra else ()  # room for the reverb's tail before it is normalised
    sox(src, *FORMAT, out, *head, *extra, "norm", gain)


def mix(out, *inputs):
    sox("-m", *inputs, *FORMAT, out)


def concat(out, *inputs):
    sox(*inputs, *FORMAT, out)


# --- interface effects ------------------------------------------------------


def click(tmp, out, f, length=0.07, second=None):
    """A wooden click: a short plucked string with a quick decay; an optional
    second, higher click a moment later."""
    a = os.path.join(tmp, "a.wav")
    synth(a, ["synth", length, "pluck", f, "fade", "q", 0.002, length, length * 0.85])
    if second:
        b = os.path.join(tmp, "b.wav")
        synth(b, ["synth", 0.045, "sine", 0, "gain", -90], ["synth", length, "pluck", second, "fade",
                                                           "q", 0.002, length, length * 0.85])
        m = os.path.join(tmp, "m.wav")
        mix(m, a, b)
        a = m
    finish(a, out, -3)


def sweep(tmp, out, f0, f1, length):
    a = os.path.join(tmp, "a.wav")
    synth(a, ["synth", length, "sine", "%g-%g" % (f0, f1), "sine", "%g-%g" % (f0 * 1.5, f1 * 1.5),
              "fade", "h", 0.01, length, length * 0.6])
    finish(a, out, -4)


def swoosh(tmp, out, length):
    a = os.path.join(tmp, "a.wav")
    synth(a, ["synth", length, "pinknoise", "sinc", "600-5000", "fade", "h", length * 0.3, length,
              length * 0.6])
    finish(a, out, -6)


def chime(tmp, out, notes, step=0.12, ring=0.7):
    """Brass chime: each note a pair of sine partials, rung one after the other."""
    parts = []
    for i, n in enumerate(notes):
        p = os.path.join(tmp, "c%d.wav" % i)
        f = freq(n)
        synth(p, ["synth", step * i + 0.001, "sine", 0, "gain", -90],
              ["synth", ring, "sine", f, "sine", f * 2.76, "fade", "q", 0.004, ring, ring * 0.9])
        parts.append(p)
    m = os.path.join(tmp, "m.wav")
    if len(parts) > 1:
        mix(m, *parts)
    else:
        shutil.copy(parts[0], m)
    finish(m, out, -3)


def tile_slide(tmp, out):
    a = os.path.join(tmp, "a.wav")
    synth(a, ["synth", 0.12, "brownnoise", "lowpass", 1800, "fade", "q", 0.01, 0.12, 0.08])
    finish(a, out, -6)


def voice(tmp, out, text, notes, pitch):
    """A spoken line from espeak-ng over a short chime."""
    spoken = os.path.join(tmp, "v.wav")
    subprocess.run(["espeak-ng", "-v", "en", "-s", "150", "-p", str(pitch), "-w", spoken, text],
                   check=True, stdout=subprocess.DEVNULL)
    v = os.path.join(tmp, "v2.wav")
    sox(spoken, *FORMAT, v, "rate", RATE, "norm", -2)
    c = os.path.join(tmp, "c.wav")
    chime(tmp, c, notes, step=0.1, ring=0.5)
    q = os.path.join(tmp, "q.wav")
    sox(c, *FORMAT, q, "vol", 0.35)
    concat(out + ".tmp.wav", q, v)
    finish(out + ".tmp.wav", out, -1)
    os.remove(out + ".tmp.wav")


EFFECTS = {
    "SBouOK1.wav": lambda t, o: click(t, o, freq("E5"), second=freq("B5")),
    "SBouFer1.wav": lambda t, o: click(t, o, freq("B4"), second=freq("E4")),
    "SCasCoh1.wav": lambda t, o: click(t, o, freq("G5"), 0.05, second=freq("D6")),
    "SCasDec.wav": lambda t, o: click(t, o, freq("D6"), 0.05, second=freq("G5")),
    "SMenCli1.wav": lambda t, o: click(t, o, freq("A5"), 0.04),
    "SMenDep3.wav": lambda t, o: swoosh(t, o, 0.22),
    "SOptSel1.wav": lambda t, o: click(t, o, freq("C6"), 0.05),
    "SWinAgr1.wav": lambda t, o: sweep(t, o, 380, 900, 0.22),
    "SWinFer1.wav": lambda t, o: sweep(t, o, 760, 280, 0.25),
    "SWinMin1.wav": lambda t, o: sweep(t, o, 640, 360, 0.15),
    "SgpSavP1.wav": lambda t, o: chime(t, o, ["E5", "B5"]),
    "SgpTop51.wav": lambda t, o: chime(t, o, ["C5", "E5", "G5", "C6"], step=0.09, ring=0.6),
    "SgpTour1.wav": lambda t, o: tile_slide(t, o),
    "SgpParG1.wav": lambda t, o: voice(t, o, "Well played! You win.", ["C5", "E5", "G5"], 55),
    "SgpParP1.wav": lambda t, o: voice(t, o, "Game over.", ["G4", "E4"], 45),
}

# --- music and ambiance loops ---------------------------------------------------


def tune(tmp, out, melody, bass, beat):
    """A plucked melody over a soft bass, both the same length so the file
    loops without a seam."""
    m = os.path.join(tmp, "mel.wav")
    synth(m, *[["synth", beat * n, "pluck", freq(p), "fade", "q", 0.003, beat * n, beat * n * 0.7]
               if p != "-" else ["synth", beat * n, "sine", 0, "gain", -90]
               for p, n in melody])
    b = os.path.join(tmp, "bass.wav")
    synth(b, *[["synth", beat * n, "sine", freq(p), "sine", freq(p) * 2, "fade", "h", 0.02, beat * n,
                beat * n * 0.5, "gain", -8] for p, n in bass])
    x = os.path.join(tmp, "mix.wav")
    mix(x, m, b)
    finish(x, out, -3)


MENU_MELODY = [("E5", 1), ("G5", 1), ("A5", 2), ("G5", 1), ("E5", 1), ("D5", 2),
               ("C5", 1), ("D5", 1), ("E5", 1), ("G5", 1), ("E5", 2), ("-", 2),
               ("A5", 1), ("C6", 1), ("B5", 1), ("A5", 1), ("G5", 2), ("E5", 2),
               ("D5", 1), ("E5", 1), ("D5", 1), ("B4", 1), ("C5", 2), ("-", 2)]
MENU_BASS = [("C3", 4), ("A2", 4), ("F2", 4), ("G2", 4), ("A2", 4), ("E2", 4), ("F2", 4), ("G2", 4)]
CREDIT_MELODY = [("C5", 1), ("E5", 1), ("G5", 1), ("C6", 1), ("B5", 2), ("G5", 2),
                 ("A5", 1), ("F5", 1), ("D5", 1), ("F5", 1), ("E5", 4),
                 ("D5", 1), ("F5", 1), ("A5", 1), ("D6", 1), ("C6", 2), ("A5", 2),
                 ("G5", 1), ("E5", 1), ("D5", 1), ("B4", 1), ("C5", 4)]
CREDIT_BASS = [("C3", 4), ("G2", 4), ("F2", 4), ("C3", 4), ("D3", 4), ("A2", 4), ("G2", 4),
               ("C3", 4)]


def room_tone(tmp, out, length):
    """The standard room's ambiance: a low murmur that breathes slowly."""
    a = os.path.join(tmp, "a.wav")
    synth(a, ["synth", length, "brownnoise", "lowpass", 500, "tremolo", 0.5, 40, "fade", "h", 0.05,
              length, 0.05])
    finish(a, out, -8)


LOOPS = {
    "Mmenu01.wav": lambda t, o: tune(t, o, MENU_MELODY, MENU_BASS, 0.25),
    "MCredit01.wav": lambda t, o: tune(t, o, CREDIT_MELODY, CREDIT_BASS, 0.25),
    "AStandard01.wav": lambda t, o: room_tone(t, o, 4.0),
}

# --- seasonal one-shots ---------------------------------------------------------


def silence(length):
    return ["synth", length, "sine", 0, "gain", -90]


def chirps(tmp, out, base, count, gap):
    """A bird: quick rising and falling whistles."""
    chains = []
    for i in range(count):
        f = base * (1 + 0.08 * ((i * 7) % 5))
        chains.append(["synth", 0.09, "sine", "%d-%d" % (f, f * 1.35), "fade", "q", 0.01, 0.09, 0.03])
        chains.append(silence(gap if i % 3 != 2 else gap * 3))
    a = os.path.join(tmp, "a.wav")
    synth(a, *chains)
    finish(a, out, -4, ("reverb", 20))


def wind(tmp, out, length, low, high, speed):
    a = os.path.join(tmp, "a.wav")
    synth(a, ["synth", length, "pinknoise", "sinc", "%d-%d" % (low, high), "tremolo", speed, 70,
              "fade", "h", length * 0.3, length, length * 0.4])
    finish(a, out, -5)


def crickets(tmp, out, f, length):
    a = os.path.join(tmp, "a.wav")
    synth(a, ["synth", length, "sine", f, "tremolo", 28, 100, "tremolo", 1.5, 90, "fade", "h", 0.2,
              length, 0.4])
    finish(a, out, -8)


def drops(tmp, out, count, base):
    chains = []
    for i in range(count):
        f = min(4000, base * (1 + 0.15 * ((i * 5) % 7)))  # sox's pluck stops near C8
        chains.append(["synth", 0.06, "pluck", f, "fade", "q", 0.002, 0.06, 0.05])
        chains.append(silence(0.05 + 0.04 * ((i * 3) % 5)))
    a = os.path.join(tmp, "a.wav")
    synth(a, *chains)
    finish(a, out, -5, ("reverb", 30))


def caw(tmp, out, f, count):
    chains = []
    for _ in range(count):
        chains.append(["synth", 0.22, "sawtooth", "%d-%d" % (f, f * 0.8), "lowpass", 1600, "fade",
                       "q", 0.02, 0.22, 0.08])
        chains.append(silence(0.18))
    a = os.path.join(tmp, "a.wav")
    synth(a, *chains)
    finish(a, out, -5, ("reverb", 40))


def bells(tmp, out, notes):
    chime(tmp, out, notes, step=0.4, ring=1.4)


def crackle(tmp, out, count):
    chains = []
    for i in range(count):
        chains.append(["synth", 0.015, "whitenoise", "fade", "q", 0.001, 0.015, 0.01])
        chains.append(silence(0.03 + 0.05 * ((i * 7) % 4)))
    a = os.path.join(tmp, "a.wav")
    synth(a, *chains)
    b = os.path.join(tmp, "b.wav")
    synth(b, ["synth", 1.5, "brownnoise", "lowpass", 300, "fade", "h", 0.3, 1.5, 0.5, "gain", -14])
    m = os.path.join(tmp, "m.wav")
    mix(m, a, b)
    finish(m, out, -5)


def cuckoo(tmp, out, hi, count):
    chains = []
    for _ in range(count):
        chains.append(["synth", 0.18, "sine", freq(hi), "fade", "q", 0.01, 0.18, 0.06])
        chains.append(["synth", 0.3, "sine", freq(hi) * 0.8, "fade", "q", 0.01, 0.3, 0.15])
        chains.append(silence(0.3))
    a = os.path.join(tmp, "a.wav")
    synth(a, *chains)
    finish(a, out, -4, ("reverb", 50))


def buzz(tmp, out, f, length):
    a = os.path.join(tmp, "a.wav")
    synth(a, ["synth", length, "sawtooth", f, "lowpass", 900, "tremolo", 6, 40, "fade", "h",
              length * 0.3, length, length * 0.3])
    finish(a, out, -7)


ONESHOTS = {
    # autumn: wind, leaves, crows, rain
    "AautOS01.wav": lambda t, o: wind(t, o, 2.5, 300, 1800, 0.8),
    "AautOS02.wav": lambda t, o: caw(t, o, 620, 2),
    "AautOS03.wav": lambda t, o: wind(t, o, 1.8, 2000, 7000, 5),
    "AautOS04.wav": lambda t, o: drops(t, o, 14, 1800),
    "AautOS05.wav": lambda t, o: caw(t, o, 540, 3),
    "AautOS06.wav": lambda t, o: wind(t, o, 3.0, 200, 1200, 0.5),
    "AautOS07.wav": lambda t, o: drops(t, o, 20, 1400),
    "AautOS08.wav": lambda t, o: chirps(t, o, 2200, 4, 0.12),
    # summer: crickets, birds, bees
    "AeteOS01.wav": lambda t, o: crickets(t, o, 4400, 2.0),
    "AeteOS02.wav": lambda t, o: chirps(t, o, 2600, 8, 0.08),
    "AeteOS03.wav": lambda t, o: buzz(t, o, 210, 1.8),
    "AeteOS04.wav": lambda t, o: crickets(t, o, 3900, 2.5),
    "AeteOS05.wav": lambda t, o: chirps(t, o, 3200, 6, 0.1),
    "AeteOS06.wav": lambda t, o: cuckoo(t, o, "E5", 2),
    "AeteOS07.wav": lambda t, o: buzz(t, o, 180, 2.2),
    "AeteOS08.wav": lambda t, o: chirps(t, o, 2900, 10, 0.06),
    # winter: howling wind, fire, bells
    "AhivOS01.wav": lambda t, o: wind(t, o, 3.0, 400, 900, 0.4),
    "AhivOS02.wav": lambda t, o: crackle(t, o, 18),
    "AhivOS03.wav": lambda t, o: bells(t, o, ["G5", "E5", "C5"]),
    "AhivOS04.wav": lambda t, o: wind(t, o, 2.5, 600, 1400, 0.6),
    "AhivOS05.wav": lambda t, o: crackle(t, o, 26),
    "AhivOS06.wav": lambda t, o: bells(t, o, ["C6", "G5"]),
    "AhivOS07.wav": lambda t, o: wind(t, o, 2.0, 250, 700, 0.3),
    "AhivOS08.wav": lambda t, o: bells(t, o, ["E5", "G5", "A5", "E5"]),
    "AhivOS09.wav": lambda t, o: crackle(t, o, 12),
    # spring: birdsong, showers, cuckoo
    "ApriOS01.wav": lambda t, o: chirps(t, o, 2400, 9, 0.07),
    "ApriOS02.wav": lambda t, o: drops(t, o, 24, 2200),
    "ApriOS03.wav": lambda t, o: cuckoo(t, o, "D5", 3),
    "ApriOS04.wav": lambda t, o: chirps(t, o, 3400, 6, 0.09),
    "ApriOS05.wav": lambda t, o: wind(t, o, 1.6, 1500, 5000, 3),
    "ApriOS06.wav": lambda t, o: chirps(t, o, 2000, 12, 0.05),
    "ApriOS07.wav": lambda t, o: drops(t, o, 16, 2600),
}

ALL = {}
ALL.update(EFFECTS)
ALL.update(LOOPS)
ALL.update(ONESHOTS)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        for name, make in sorted(ALL.items()):
            make(tmp, os.path.join(folder, name))
    print("soundgen: %d files in %s" % (len(ALL), folder))


if __name__ == "__main__":
    main()
