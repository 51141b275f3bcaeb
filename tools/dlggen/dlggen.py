#!/usr/bin/env python3
"""Writes the main window's dialog templates from one table into the resource
script the build compiles.

The table is plain text, one entry a line; '#' starts a comment line and
blank lines are ignored. Words are split as a shell splits them, so texts
with blanks are quoted ("File name :") and a quote inside a text is written
with a backslash before it.

  define NAME FLAG | FLAG ...
      a named style set, usable in any style column below it;
  font SIZE "FACE"
      the font of the dialogs that follow;
  dialog ID X Y WIDTH HEIGHT CLASS CAPTION STYLE ...
      an extended dialog template; ID is a number or a name, CLASS "-" for
      the system dialog class, CAPTION "-" for none (a caption of its own
      would add WS_CAPTION);
  control ID CLASS X Y WIDTH HEIGHT TEXT STYLE ...
      a control of the dialog above it.

Every style is written as it stands, NOT included, so the compiled template
is what a hand-written script with the same words gives.

usage: dlggen.py <table> <resource script>
"""
import shlex
import sys


class TableError(Exception):
    pass


def rc_text(text):
    return '"%s"' % text.replace('"', '""')


def style_of(words, line_no):
    if not words:
        raise TableError("line %d: a style is missing" % line_no)
    return " ".join(words)


def number(word, line_no):
    try:
        return int(word, 0)
    except ValueError:
        raise TableError("line %d: %r is not a number" % (line_no, word))


def parse(lines):
    """The table's entries: ("define", name, flags), ("dialog", fields,
    controls) in table order."""
    entries = []
    font = None
    dialog = None
    names = set()
    for line_no, line in enumerate(lines, 1):
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        try:
            words = shlex.split(stripped, posix=True)
        except ValueError as e:
            raise TableError("line %d: %s" % (line_no, e))
        kind, args = words[0], words[1:]
        if kind == "define":
            if len(args) < 2:
                raise TableError("line %d: define NAME FLAGS" % line_no)
            entries.append(("define", args[0], style_of(args[1:], line_no)))
        elif kind == "font":
            if len(args) != 2:
                raise TableError("line %d: font SIZE FACE" % line_no)
            font = (number(args[0], line_no), args[1])
        elif kind == "dialog":
            if len(args) < 8:
                raise TableError("line %d: dialog ID X Y W H CLASS CAPTION STYLE" % line_no)
            if font is None:
                raise TableError("line %d: no font before the first dialog" % line_no)
            if args[0] in names:
                raise TableError("line %d: template %s twice" % (line_no, args[0]))
            names.add(args[0])
            box = [number(w, line_no) for w in args[1:5]]
            dialog = {"id": args[0], "box": box, "class": args[5], "caption": args[6],
                      "style": style_of(args[7:], line_no), "font": font, "controls": []}
            entries.append(("dialog", dialog))
        elif kind == "control":
            if dialog is None:
                raise TableError("line %d: a control before any dialog" % line_no)
            if len(args) < 8:
                raise TableError("line %d: control ID CLASS X Y W H TEXT STYLE" % line_no)
            box = [number(w, line_no) for w in args[2:6]]
            dialog["controls"].append({"id": number(args[0], line_no), "class": args[1],
                                       "box": box, "text": args[6],
                                       "style": style_of(args[7:], line_no)})
        else:
            raise TableError("line %d: unknown entry %r" % (line_no, kind))
    return entries


def resource_script(entries, source):
    out = ["// Written by tools/dlggen from %s; edit the table, not this file." % source,
           "#include <windows.h>", "#include <commctrl.h>", ""]
    for entry in entries:
        if entry[0] == "define":
            out.append("#define %s %s" % (entry[1], entry[2]))
            continue
        d = entry[1]
        out.append("")
        out.append("%s DIALOGEX %d, %d, %d, %d" % ((d["id"],) + tuple(d["box"])))
        out.append("STYLE %s" % d["style"])
        if d["class"] != "-":
            out.append("CLASS %s" % rc_text(d["class"]))
        if d["caption"] != "-":
            out.append("CAPTION %s" % rc_text(d["caption"]))
        out.append("FONT %d, %s" % (d["font"][0], rc_text(d["font"][1])))
        out.append("BEGIN")
        for c in d["controls"]:
            out.append("  CONTROL %s, %d, %s, %s, %d, %d, %d, %d"
                       % ((rc_text(c["text"]), c["id"], rc_text(c["class"]), c["style"])
                          + tuple(c["box"])))
        out.append("END")
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    table, script = sys.argv[1], sys.argv[2]
    try:
        with open(table, encoding="utf-8") as f:
            entries = parse(f.read().splitlines())
    except (OSError, TableError) as e:
        sys.exit("dlggen: %s: %s" % (table, e))
    text = resource_script(entries, table.replace("\\", "/").split("/")[-1])
    with open(script, "w", encoding="cp1252", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
