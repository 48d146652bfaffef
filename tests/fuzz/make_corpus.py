#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/.

Every seed is small and made here, from the program's own texts and from
pictures built byte by byte, so that the corpus can be rebuilt and read.
Run it from anywhere; it replaces the files it makes and leaves others
(inputs that once failed, kept as regressions) alone.
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SEP = b"\x01"  # the fuzzers cut their input into pieces at this byte


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def pieces(*texts):
    return SEP.join(t.encode("utf-8") if isinstance(t, str) else t for t in texts)


# --- message texts -------------------------------------------------------

RULE = ";" + "*" * 70 + "\\n\\l"
MESSAGES = {
    "header": RULE + ";* AUTORUN.INF (Erstellt: %t%)\\n\\l" + RULE
    + ";* Alle Rechte vorbehalten. Copyright (c) 2005-%y%\\n\\l" + RULE,
    "write-failed": "Die CD-Autostart-Einstellungen konnten nicht gespeichert werden. Beim "
    "Schreiben der Datei\\n\\n%f%\\n\\nkam es zu folgendem Fehler:\\n\\n%g%",
    "copy-failed": "Die für einen korrekten CD-Autostart notwendige Datei Pirolo.Exe ließ sich "
    "nicht von\\n\\n%v%\\n\\nnach\\n\\n%n%\\n\\nkopieren. Es kam dabei zu folgendem "
    "Fehler:\\n\\n%g%",
    "invalid-icon": "Die angegebene Icon-Datei ist anscheinend nicht gültig.\\nSie konnte nicht "
    "geladen werden.\\n\\nBitte wählen Sie daher ein neues Icon.",
    "help-question": "Die aktuelle Anleitung zu ''%1'' ist online bei Quenbrook verfügbar.\\n\\n"
    "Klicken Sie bitte ''OK'', um diese Seite jetzt anzeigen zu lassen ...",
}
write("fuzz_messagetext", "header", pieces(MESSAGES["header"], "%t%", "01.02.2005 10:11:12"))
write("fuzz_messagetext", "write-failed",
      pieces(MESSAGES["write-failed"], "%f%", "/home/anna/CD/AutoRun.Inf"))
write("fuzz_messagetext", "copy-failed",
      pieces(MESSAGES["copy-failed"], "%g%", "Zugriff verweigert (Code 5)"))
write("fuzz_messagetext", "invalid-icon", MESSAGES["invalid-icon"])
write("fuzz_messagetext", "help-question", pieces(MESSAGES["help-question"], "Velkaro 2005"))
write("fuzz_messagetext", "positional",
      pieces("%1/%2/%3 %10 %1%0 50\\% C:\\\\temp\\", "x", "y", "z", "4", "5", "6", "7", "8",
             "9", "zehn"))
write("fuzz_messagetext", "path-holds-placeholder",
      pieces("Datei\\n\\n%f%\\n\\n%g%", "%f%", "/cd/%g%/a\\nb.txt"))
write("fuzz_messagetext", "blanks", "   (kein)\t  ")

# --- progress scripts ----------------------------------------------------

SCRIPTS = {
    "system-check": "0,300,13,100,33,400,68,2000,77,500,90,100,100,500",
    "odd": "50,200,70",
    "empty": "",
    "fractions": "12.5,0.5,33.3,1.5,-5,2.5",
    "outside": "150,70000,-20,-10",
    "blanks-and-letters": " 4 0 , 1 000 ,12abc,1.5.3,+7,.5",
    "huge": "1" + "0" * 400 + ",1" + "0" * 320 + ".5,0." + "0" * 400 + "1,3",
}
for name, script in SCRIPTS.items():
    write("fuzz_progressscript", name, script)

# --- launcher command lines ----------------------------------------------
# command line, the launcher's own path, a relative path

LAUNCHER = {
    "start-root": ('Pirolo.Exe "\\"', "E:\\Pirolo.Exe", "\\"),
    "start-folder": ('"F:\\Pirolo.Exe" "Bilder 2005\\"', "F:\\Pirolo.Exe", "Bilder 2005\\"),
    "context-document": ('F:\\Pirolo.Exe "doku\\Preise 10%.pdf"', "F:\\Pirolo.Exe",
                         "doku\\Preise 10%.pdf"),
    "about": ("E:\\Pirolo.Exe", "\\\\?\\E:\\CD Inhalt\\Pirolo.Exe", ""),
    "climbing": ('Pirolo.Exe "..\\..\\Windows\\x.exe"', "E:\\Pirolo.Exe", "Bilder/.. /x"),
    "drive": ('"E:\\Pirolo.Exe"   "C:\\Windows\\"  ', "E:\\Pirolo.Exe", "x.pdf:geheim"),
    "unclosed": ('"E:\\Pirolo.Exe "Bilder', "Pirolo.Exe", "a..b\\c."),
}
for name, (line, module, relative) in LAUNCHER.items():
    write("fuzz_launchercommandline", name, pieces(line, module, relative))

# --- stored window positions ---------------------------------------------
# mode, screen width and height, window width and height, then the values


def placement(raw, screen, window, rest):
    head = struct.pack("<BBHHHH", 1 if raw else 0, 0, screen[0], screen[1], window[0], window[1])
    return head + (rest.encode("utf-8") if isinstance(rest, str) else rest)


write("fuzz_windowplacement", "stored", placement(False, (1024, 768), (600, 400),
                                                  pieces("1500", "3000")))
write("fuzz_windowplacement", "second-screen", placement(False, (1024, 768), (600, 400),
                                                         pieces("300", "15360")))
write("fuzz_windowplacement", "odd-texts", placement(False, (800, 600), (900, 100),
                                                     pieces(" +0015 ", "-1")))
write("fuzz_windowplacement", "not-numbers", placement(False, (640, 480), (200, 100),
                                                       pieces("oben", "15.5")))
write("fuzz_windowplacement", "settings-file", placement(
    True, (1920, 1080), (600, 400), "[Velkaro%202005]\n_Left=3000\n_Top=1500\n"))
write("fuzz_windowplacement", "settings-file-odd", placement(
    True, (1280, 1024), (600, 400),
    '[General]\nx=1\n\n[Velkaro%202005]\n_Top="1,5"\n_Left=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n'
    "_Top=99999999999\n"))

# --- pictures -------------------------------------------------------------


def png(width, height, rgba):
    raw = b"".join(b"\x00" + bytes(rgba) * width for _ in range(height))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def dib(width, height, bits):
    """A BMP info header and pixels as an ICO entry holds them: double
    height for the AND mask, a palette below 16 bits per pixel."""
    colours = 1 << bits if bits <= 8 else 0
    palette = b"".join(struct.pack("<BBBB", i * 17 % 256, i * 5 % 256, 255 - i, 0)
                       for i in range(colours))
    row = ((width * bits + 31) // 32) * 4
    pixels = bytes((y * 7 + x) % 251 for y in range(height) for x in range(row))
    mask_row = ((width + 31) // 32) * 4
    mask = bytes(mask_row * height)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0,
                         len(pixels) + len(mask), 0, 0, colours, 0)
    return header + palette + pixels + mask


def ico(entries):
    """entries: (width, height, colour count, bits, image bytes)"""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for width, height, colours, bits, data in entries:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(e[4] for e in entries)


def bmp(width, height):
    row = ((width * 24 + 31) // 32) * 4
    pixels = bytes(row * height)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 54) + info + pixels


GIF_1X1 = (b"GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01\x00"
           b"\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;")

write("fuzz_iconfile", "icon-16-4bit.ico", ico([(16, 16, 16, 4, dib(16, 16, 4))]))
write("fuzz_iconfile", "icon-32-8bit.ico", ico([(32, 32, 0, 8, dib(32, 32, 8))]))
write("fuzz_iconfile", "icon-16-32bit.ico", ico([(16, 16, 0, 32, dib(16, 16, 32))]))
write("fuzz_iconfile", "icon-two-sizes.ico",
      ico([(16, 16, 2, 1, dib(16, 16, 1)), (24, 24, 0, 24, dib(24, 24, 24))]))
write("fuzz_iconfile", "icon-with-png.ico", ico([(8, 8, 0, 32, png(8, 8, (1, 2, 3, 255)))]))
write("fuzz_iconfile", "icon-cut-off.ico", ico([(16, 16, 16, 4, dib(16, 16, 4))])[:60])
write("fuzz_iconfile", "picture.png", png(3, 2, (255, 0, 0, 128)))
write("fuzz_iconfile", "picture.bmp", bmp(3, 2))
write("fuzz_iconfile", "picture.gif", GIF_1X1)
write("fuzz_iconfile", "picture.xpm",
      '/* XPM */\nstatic char * p[] = {\n"2 2 2 1",\n"  c None",\n". c #FF0000",\n". ",\n" ."};\n')
write("fuzz_iconfile", "picture.svg",
      '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">'
      '<rect width="8" height="8" fill="#00f"/></svg>')
write("fuzz_iconfile", "not-a-picture.ico", "Das ist kein Bild.\r\n")

# --- AutoRun policy stores ------------------------------------------------
# the user's settings file, then the machine's

POLICIES = {
    "usual-default": ("NoDriveTypeAutoRun=0x91\n", ""),
    "cd-switched-off": ("NoDriveTypeAutoRun=181\nNoAutorun=kaputt\n", "NoAutorun=1\n"),
    "machine-bytes": ("", "NoDriveTypeAutoRun=@ByteArray(\\x95\\0\\0\\0)\nNoAutorun=0\n"),
    "odd-values": ("NoAutorun=\" 1 \"\nNoDriveTypeAutoRun=1,2\n",
                   "[General]\nNoDriveTypeAutoRun=0xFFFFFFFFF\nNoAutorun=-1\n"),
}
for name, (user, machine) in POLICIES.items():
    write("fuzz_autorunpolicy", name, pieces(user, machine))

# --- names on the disk ----------------------------------------------------

NAMES = {
    "plain": "start/index.htm",
    "umlauts-euro": "Übersicht €-Preise ß.txt",
    "forbidden": "Wer?/Teil 1: Anfang<>|*\".txt",
    "controls": "Preise\t2005\x7f\u0085.pdf",
    "outside-1252": "Ωmega/Bild 😀.png",
    "placeholders": "%z% und %f%\\n.txt",
}
for name, text in NAMES.items():
    write("fuzz_names", name, text)
# a lone high surrogate, then a pair, as raw UTF-16
write("fuzz_names", "lone-surrogate", b"\xff" + "a".encode("utf-16-le") + b"\x00\xd8"
      + "b😀".encode("utf-16-le"))

# A directory that claims 65535 pictures and holds one: the loader once
# tried every claimed entry.
claims = bytearray(ico([(16, 16, 16, 4, dib(16, 16, 4))]))
claims[4:6] = struct.pack("<H", 0xFFFF)
write("fuzz_iconfile", "icon-claims-too-many.ico", bytes(claims))

# A stored list that claims 838 million items: Qt asks for 26 GB when it
# reads the file, and must cope with not getting them.
write("fuzz_windowplacement", "settings-file-huge-list", placement(
    True, (1024, 768), (600, 400),
    b"[Velkaro%202005]\n_Top=1500\\0\n_Top\xff99\n_Left=@Variant(\\0\\0\\0\\t2\\0\\0\\x1)\n"))
# The same with 250 million items, 8 GB: little enough that a machine may
# hand them out.
write("fuzz_windowplacement", "settings-file-large-list", placement(
    True, (1024, 768), (600, 400),
    b"[Velkaro%202005]\n_Top=1500\n_Left=@Variant(\\0\\0\\0\\t\\xf\\0\\0\\0\\0\\0\\0\\0)\n"))

# AutoRun.Inf as velkaro-image --check meets it: files the OK command
# writes (Windows-1252, CR LF) and files written by hand or by other tools.
RULE = b";" + b"*" * 70 + b"\r\n"
HEADER = (RULE + b";* AUTORUN.INF (Erstellt: 01.03.05 12:00:00)\r\n" + RULE
          + b";* Diese Datei steuert den Autostart von CDs anhand der Quenbrook-Software\r\n"
          b";* Velkaro 2005/Pirolo. Details hierzu finden Sie in\r\n"
          b";* der Online-Hilfe von Velkaro 2005 bzw. im Internet unter\r\n"
          b";* https://www.quenbrook.example/?go=velkaro\r\n" + RULE
          + b";* Alle Rechte vorbehalten. Copyright (c) 2005-2005\r\n"
          b";* Quenbrook Software\r\n;* support@quenbrook.example\r\n" + RULE + b"\r\n")
ABOUT = b"shell\\qb = &\xdcber Pirolo ...\r\nshell\\qb\\command = Pirolo.Exe\r\n"
for name, body in [
    ("ok-example.inf", b'open = Pirolo.Exe "start\\index.htm"\r\nicon = AutoRun.Ico\r\n'
     b'shell\\0 = &Handbuch\r\nshell\\0\\command = Pirolo.Exe "doku\\handbuch.pdf"\r\n'),
    ("ok-folder-rows.inf", b'open = Pirolo.Exe "Bilder\\"\r\nicon = "icons\\disc.ico"\r\n'
     b'shell\\0 = &Preisliste\r\nshell\\0\\command = Pirolo.Exe "Preise 2005.pdf"\r\n'
     b'shell\\1 = &\xc4nderungen\r\nshell\\1\\command = Pirolo.Exe "\xc4nderungen.txt"\r\n'
     b'shell\\2 = &Gr\xfc\xdfe\r\nshell\\2\\command = Pirolo.Exe "a b\\c\xe9.doc"\r\n'),
    ("ok-root.inf", b'open = Pirolo.Exe "\\"\r\nicon = Pirolo.Exe\r\n'),
]:
    write("fuzz_autorunfile", name, HEADER + b"[autorun]\r\n" + body + ABOUT)
for name, data in [
    ("hand-lowercase-lf.inf", b"; by hand\n[AutoRun]\nOPEN=setup.exe /s \"x y\\z.txt\"\n"
     b"Icon = \"setup.exe\",1\nlabel=Demo\n"),
    ("hand-shellexecute.inf", b"[autorun]\r\nshellexecute=\"docs\\start.html\"\r\n"
     b"icon='disc.ico' , -3\r\nshell\\read\\command=notepad.exe \"liesmich.txt\"\r\n"),
    ("hand-two-sections.inf", b"[autorun]\r\nopen = Pirolo.Exe \"a\"\r\nopen = b.exe\r\n"
     b"[autorun]\r\nicon = c.ico\r\n[other]\r\nopen = d.exe\r\n"),
    ("hand-odd-quotes.inf", b"[ autorun ]\r\n open = \"Pirolo.Exe\"\"x\" \r\n"
     b"shell\\a\\command = \"C:\\Pro gram\\x.exe\r\nicon = \"\r\nopen\r\n=x\r\n[autorun\r\n"),
    ("hand-cr-only.inf", b"[autorun]\ropen = Pirolo.Exe \"..\\..\\x\"\ricon = AutoRun.Ico\r"),
    ("no-section.inf", b"open = Pirolo.Exe \"a\"\r\n[autorun2]\r\nopen = x\r\n"),
]:
    write("fuzz_autorunfile", name, data)
# The OK command's own text for paths below the root: target, icon,
# document, menu text.
for name, parts in [
    ("roundtrip-example", ("start/index.htm", "icons/disc.ico", "doku/handbuch.pdf", "Handbuch")),
    ("roundtrip-umlauts", ("Bilder/Ä Ö/", "ä,1.ico", "Grüße 2005.pdf", "&Grüße = \"x\"")),
    ("roundtrip-blanks", (" a b /c ", "x .ico ", "d;e'f'", "  ")),
]:
    write("fuzz_autorunfile", name, b"[autorun]\r\nopen = x\r\n" + SEP + pieces(*parts))
