#!/usr/bin/env python3
"""Builds a demo player drive: what the Corvel3's disk looks like when it is plugged in.

    scripts/make-demo-drive.py DIR [--songs N] [--big N] [--seed S] [--replace]

DIR gets the three system files, a song library with real titles inside the files (MP3 with
ID3v2.4, MIDI with a track name, karaoke with "@T", .mf3 with the fixed title field), the songs'
companion files, playlists naming songs of the drive, images scattered in song folders (one of
them clashing with a name already in "Images"), some junk for the optimiser to delete, the
"BRIDGES" and "EFFECTS" folders and one folder with more than 1000 songs to split.

Everything comes from a seeded generator, so the same arguments give the same tree, byte for
byte (file times included). Only the standard library is used. Show the result to the tool with
    CORVEL3_VOLUMES="corvel3=DIR"
"""

import argparse
import base64
import os
import random
import shutil
import struct
import sys
import unicodedata
import zlib

# Every file gets this modification time, so two runs give identical trees (2024-03-01 10:00 UTC).
FIXED_MTIME = 1709287200

# ---------------------------------------------------------------------------------------------
# Titles and artists (made up).

# Italian nouns with their article and gender, and complements that agree with either.
IT_NOUNS = [("L'amore", "m"), ("La notte", "f"), ("La luna", "f"), ("L'estate", "f"),
            ("La strada", "f"), ("Il mare", "m"), ("Il cuore", "m"), ("La sera", "f"),
            ("La città", "f"), ("La stella", "f"), ("Il vento", "m"), ("La pioggia", "f"),
            ("La festa", "f"), ("La canzone", "f"), ("La primavera", "f"), ("La domenica", "f"),
            ("La piazza", "f"), ("La finestra", "f"), ("La valigia", "f"), ("La spiaggia", "f"),
            ("La chitarra", "f"), ("La lettera", "f"), ("La promessa", "f"), ("Il treno", "m"),
            ("La fontana", "f"), ("Il sole", "m"), ("La balera", "f"), ("La stazione", "f"),
            ("Il valzer", "m"), ("Lo sguardo", "m"), ("Il tango", "m"), ("Il sogno", "m")]
IT_ADJ = ["di mezzanotte", "d'agosto", "sul lago", "senza fine", "di Portofino", "in riva al mare",
          "d'altri tempi", "di periferia", "sotto le stelle", "a Trastevere", "di vetro",
          "di settembre", "di sempre", "in bianco e nero", "di Napoli", "tra le dita",
          "di carta", "d'inverno", ("infinito", "infinita"), ("lontano", "lontana"),
          ("perduto", "perduta"), ("ritrovato", "ritrovata"), ("nuovo", "nuova")]
IT_VERBS = ["che balla", "che canta", "che ritorna", "che non dorme", "che aspetta",
            "che sorride", "che se ne va", "che mi manca"]
IT_PHRASES = ["Ti aspetterò", "Non dirmi addio", "Balla con me", "Torna a casa", "Resta ancora",
              "Dimmi di sì", "Se tu ci sei", "Vola via", "Ancora una volta", "Stanotte no",
              "Ogni volta che", "Guardami negli occhi", "Prendimi la mano", "Dove sei",
              "Aspettando te", "Qualcosa di noi", "Perché ti amo", "Ritornerai", "Sogno di te",
              "Un bacio a mezzanotte", "Quando ballavamo", "Sempre più su", "Mille giorni"]
EN_ADJ = ["Midnight", "Golden", "Silver", "Broken", "Lonely", "Electric", "Summer", "Wild",
          "Crazy", "Neon", "Velvet", "Blue", "Endless", "Restless", "Burning", "Northern",
          "Paper", "Honey", "Starlight", "Yesterday's", "Hidden", "Sweet", "Runaway", "Faded"]
EN_NOUNS = ["Highway", "Heart", "River", "Dreams", "Rain", "Fire", "Lights", "Train", "Roses",
            "Sky", "Letters", "Shadows", "Avenue", "Thunder", "Memories", "Harbour", "Wheels",
            "Horizon", "Kisses", "Island", "Road", "Dancer", "Promises", "Window", "Sunrise"]
EN_PHRASES = ["Dancing in the {n}", "Hold On to the {n}", "Take Me to the {n}", "Under the {n}",
              "Back to the {n}", "Nothing but {n}", "Waiting for the {n}", "Chasing {n}",
              "Don't Let Go", "One More Night", "Stay With Me Tonight", "Call Me Home",
              "Run to You", "All Night Long", "Never Say Goodbye", "When the Music Plays",
              "Follow the {n}", "Only You Tonight", "Where Did You Go", "Bring Back the {n}"]
# Titles that start with a digit, an apostrophe, an accented capital or punctuation, which the
# folder split files apart from the plain letters.
NUMBERS = ["2", "3", "7", "10", "12", "24", "33", "99", "100", "1000"]
IT_PLURALS = ["notti", "giorni", "baci", "rose", "canzoni", "lettere", "stelle", "anni", "passi"]
EN_PLURALS = ["Days", "Roses", "Wishes", "Nights", "Miles", "Kisses", "Reasons", "Seasons", "Steps"]
ODD_FIXED = ["È già domani", "È tardi ormai", "È primavera", "È festa stasera", "È tutto per te",
             "Ésta noche bailamos", "Über den Wolken tanzen", "(Ancora) insieme",
             "(Just) One More Dance", "...e poi sei tu", "#1 Fan", "\"Ciao\" detto piano",
             "¡Baila conmigo!", "- Intro serata -"]
NA_WORDS = ["sera", "notte", "canzone", "festa", "voce", "chitarra"]
NA_PLACES = [" a Posillipo", " a Mergellina", " sul mare", " d'estate", " pe' te", ""]


def odd_title(rng):
    kind = rng.random()
    if kind < 0.3:
        return rng.choice(NUMBERS) + " " + rng.choice(IT_PLURALS) + rng.choice(["", " d'amore", " con te", " a Roma"])
    if kind < 0.55:
        return rng.choice(NUMBERS) + " " + rng.choice(EN_PLURALS) + rng.choice(["", " of Love", " to Go", " in Paris"])
    if kind < 0.7:
        return "'Na " + rng.choice(NA_WORDS) + rng.choice(NA_PLACES)
    return rng.choice(ODD_FIXED)


ARTISTS_IT = ["Marco Neri", "Elena Serra", "I Girasoli Blu", "Orchestra Riviera", "Luca Ferrante",
              "Giulia Marini", "Banda del Porto", "Franco Vitale", "Nina Valli", "I Temporali",
              "Sara Colombo", "Paolo & i Gabbiani", "Trio Lanterna", "Rita Sorrentino"]
ARTISTS_EN = ["The Velvet Tramlines", "Kate Morrow", "Johnny Ashford", "Dusty Lanterns",
              "The Silver Comets", "Amy Caldwell", "Northbound Six", "Ray Donovan Band",
              "The Paper Kites Club", "Molly Fairbanks", "Blue Harbour", "Tommy Reeves"]


def italian_complement(rng, gender):
    adj = rng.choice(IT_ADJ)
    return adj if isinstance(adj, str) else adj[0 if gender == "m" else 1]


def italian_title(rng):
    kind = rng.random()
    noun, gender = rng.choice(IT_NOUNS)
    if kind < 0.35:
        return noun + " " + italian_complement(rng, gender)
    if kind < 0.45:
        # Without its article, as many titles go: "Notte d'agosto".
        bare = noun.split("'", 1)[1] if "'" in noun else noun.split(" ", 1)[1]
        return bare.capitalize() + " " + italian_complement(rng, gender)
    if kind < 0.85:
        if rng.random() < 0.6:
            return rng.choice(IT_PHRASES)
        return rng.choice(IT_PHRASES) + " " + rng.choice([a for a in IT_ADJ if isinstance(a, str)])
    return noun + " " + rng.choice(IT_VERBS)


def english_title(rng):
    kind = rng.random()
    if kind < 0.5:
        return rng.choice(EN_ADJ) + " " + rng.choice(EN_NOUNS)
    if kind < 0.85:
        return rng.choice(EN_PHRASES).format(n=rng.choice(EN_NOUNS))
    return rng.choice(EN_NOUNS) + " of " + rng.choice(EN_ADJ) + " " + rng.choice(EN_NOUNS)


class Titles:
    """Hands out song titles with no repeats within one run."""

    def __init__(self, rng):
        self.rng = rng
        self.used = set()

    def next(self, language="mix", odd_share=0.04):
        for attempt in range(1000):
            if self.rng.random() < odd_share:
                title = odd_title(self.rng)
            elif language == "it" or (language == "mix" and self.rng.random() < 0.55):
                title = italian_title(self.rng)
            else:
                title = english_title(self.rng)
            if title in self.used and attempt % 4 == 3:
                # Now and then a second version of a title, as libraries often hold.
                title += self.rng.choice([" (remix)", " (live)", " (versione lenta)", " (reprise)", " - 2"])
            if title not in self.used:
                self.used.add(title)
                return title
        raise RuntimeError("ran out of titles")

    def artist(self):
        return self.rng.choice(ARTISTS_IT + ARTISTS_EN)


def safe_file_name(text):
    """A name that FAT accepts: no reserved characters, no dots (the split takes a song's
    companions by the name up to its first dot), no trailing blanks."""
    for ch in '<>:"/\\|?*.':
        text = text.replace(ch, "")
    return " ".join(text.split()).strip() or "senza titolo"


# ---------------------------------------------------------------------------------------------
# File formats. Only what a player and the tool look at is real; the rest is filler.

def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3_text_frame(frame_id, text):
    data = b"\x03" + text.encode("utf-8")   # encoding 3: UTF-8
    return frame_id.encode("ascii") + synchsafe(len(data)) + b"\x00\x00" + data


def mpeg_frames(count):
    # MPEG-1 layer III, 128 kbit/s, 44.1 kHz, joint stereo: 417-byte frames of silence.
    frame = b"\xFF\xFB\x90\x64" + bytes(413)
    return frame * count


def mp3_bytes(rng, title, artist, album=None):
    """ID3v2.4 tag whose first frame is TIT2, then a few audio frames."""
    body = id3_text_frame("TIT2", title) + id3_text_frame("TPE1", artist)
    if album:
        body += id3_text_frame("TALB", album)
    padding = rng.randrange(0, 48)
    # Tag size bytes that happen to read as "T" would be taken for the first frame by simple
    # title readers; a different padding avoids that.
    while b"T" in synchsafe(len(body) + padding):
        padding += 1
    body += bytes(padding)
    return b"ID3\x04\x00\x00" + synchsafe(len(body)) + body + mpeg_frames(rng.randrange(2, 5))


def mp3_v1_bytes(rng, title, artist):
    """No ID3v2 tag; an ID3v1 tag at the end (older rips)."""
    def field(text, size):
        return text.encode("ascii", "replace")[:size].ljust(size, b"\x00")
    tag = b"TAG" + field(title, 30) + field(artist, 30) + field("Demo", 30) + b"1998" + field("", 30) + b"\x0c"
    return mpeg_frames(rng.randrange(2, 5)) + tag


def mp3_untagged_bytes(rng):
    return mpeg_frames(rng.randrange(2, 4))


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, (n & 0x7F) | 0x80)
        n >>= 7
    return bytes(out)


def meta(kind, data, delta=0):
    return vlq(delta) + b"\xFF" + bytes([kind]) + vlq(len(data)) + data


def chunk_track(events):
    events += meta(0x2F, b"")
    return b"MTrk" + struct.pack(">I", len(events)) + events


def melody(rng, channel=0, notes=None):
    notes = notes or rng.randrange(6, 14)
    out = vlq(0) + bytes([0xC0 | channel, rng.randrange(0, 8)])   # a piano-family program
    pitch = rng.randrange(55, 72)
    for _ in range(notes):
        pitch = max(40, min(90, pitch + rng.choice([-4, -2, -1, 0, 1, 2, 3, 5])))
        out += vlq(0) + bytes([0x90 | channel, pitch, rng.randrange(60, 110)])
        out += vlq(rng.choice([120, 240, 480])) + bytes([0x80 | channel, pitch, 0])
    return out


def midi_file(tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), 480)
    return header + b"".join(chunk_track(t) for t in tracks)


def tempo_and_metre(rng):
    bpm = rng.randrange(70, 160)
    us = 60000000 // bpm
    return (meta(0x51, us.to_bytes(3, "big")) + meta(0x58, bytes([4, 2, 24, 8])))


def midi_bytes(rng, title, with_notice=False):
    """Standard MIDI file, format 1; the conductor track's name is the title."""
    first = b""
    if with_notice:
        first += meta(0x02, b"(C) Demo Basi Musicali")
    if title is not None:
        first += meta(0x03, title.encode("utf-8"))
    first += tempo_and_metre(rng)
    # An untitled file names none of its tracks: a reader must not take an instrument for a title.
    second = b"" if title is None else meta(0x03, rng.choice([b"Piano", b"Melodia", b"Basso", b"Strings"]))
    second += melody(rng)
    return midi_file([first, second])


def karaoke_bytes(rng, title, artist):
    """Karaoke MIDI: file-type line, then "@T" + title and "@T" + artist, then the words."""
    info = (meta(0x01, b"@KMIDI KARAOKE FILE") + meta(0x01, b"@T" + title.encode("utf-8"))
            + meta(0x01, b"@T" + artist.encode("utf-8")) + meta(0x01, b"@LITA")
            + meta(0x01, b"@IDemo karaoke") + tempo_and_metre(rng))
    words = meta(0x03, b"Words")
    for i, word in enumerate(title.split()):
        prefix = b"\\" if i == 0 else b""
        words += meta(0x01, prefix + word.encode("utf-8") + b" ", delta=240)
    return midi_file([info, words, meta(0x03, b"Melody") + melody(rng)])


def fixed_field_bytes(rng, title, leading_spaces=0, tag=b"MF3"):
    """A song file with its title in a 128-byte field at offset 122."""
    out = bytearray(tag + b"\x1A\x01\x00")
    out += bytes(rng.randrange(0, 256) for _ in range(122 - len(out)))
    field = (b" " * leading_spaces + title.encode("utf-8"))[:128]
    out += field.ljust(128, b"\x00")
    out += bytes(rng.randrange(0, 256) for _ in range(rng.randrange(200, 700)))
    return bytes(out)


def cdg_bytes(rng):
    # CD+G graphics: 24-byte packets; command 0x09 (TV graphics) with blank instructions.
    packet = bytes([0x09, 0x01]) + bytes(22)
    return packet * rng.randrange(8, 40)


def png_bytes(rng, width=12, height=12):
    r, g, b = rng.randrange(256), rng.randrange(256), rng.randrange(256)
    raw = b""
    for y in range(height):
        raw += b"\x00" + b"".join(bytes([(r + x * 11) % 256, (g + y * 11) % 256, b]) for x in range(width))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# A 16x16 baseline JPEG (a blue-to-charcoal gradient drawn for this script).
JPEG_16 = base64.b64decode(
    "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAYEBQYFBAYGBQYHBwYIChAKCgkJChQODwwQFxQYGBcU"
    "FhYaHSUfGhsjHBYWICwgIyYnKSopGR8tMC0oMCUoKSj/2wBDAQcHBwoIChMKChMoGhYaKCgoKCgo"
    "KCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCj/wAARCAAQABADAREA"
    "AhEBAxEB/8QAFgABAQEAAAAAAAAAAAAAAAAAAAQH/8QAFhAAAwAAAAAAAAAAAAAAAAAAABVi/8QA"
    "FgEBAQEAAAAAAAAAAAAAAAAAAAUG/8QAFREBAQAAAAAAAAAAAAAAAAAAABP/2gAMAwEAAhEDEQA/"
    "AJG1GhuiSG1C5Jn7aiRdTiNqFyL/2Q==")


def jpeg_bytes(comment):
    # A comment segment right after the start marker makes each picture's bytes its own.
    text = comment.encode("utf-8")[:200]
    return JPEG_16[:2] + b"\xFF\xFE" + struct.pack(">H", len(text) + 2) + text + JPEG_16[2:]


def bmp_bytes(rng, width=4, height=4):
    row = b"".join(bytes([rng.randrange(256), rng.randrange(256), rng.randrange(256)]) for _ in range(width))
    row += bytes((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


# ---------------------------------------------------------------------------------------------
# The drive.

class Drive:
    def __init__(self, root, rng):
        self.root = root
        self.rng = rng
        self.titles = Titles(rng)
        self.songs = []          # (relative path, title or None, kind)
        self.counts = {}         # what was written, by kind
        self.bytes = 0
        self.names = set()       # relative paths written, in lower case

    def write(self, rel, data, kind):
        full = os.path.join(self.root, *rel.split("/"))
        os.makedirs(os.path.dirname(full), exist_ok=True)
        # The player's disk ignores letter case in names.
        if rel.lower() in self.names:
            raise RuntimeError("two files for one name: " + rel)
        self.names.add(rel.lower())
        with open(full, "wb") as f:
            f.write(data)
        self.counts[kind] = self.counts.get(kind, 0) + 1
        self.bytes += len(data)
        return rel

    def free_name(self, folder, stem, ext):
        rel = f"{folder}/{stem}{ext}"
        n = 2
        while rel.lower() in self.names:
            rel = f"{folder}/{stem} ({n}){ext}"
            n += 1
        return rel

    def song(self, folder, kind, language="mix", name_style="artist", odd_share=0.04, upper_ext=False):
        """Writes one song of the given kind ("mp3", "mp3v1", "mp3bare", "mid", "midnotice",
        "midbare", "kar", "mf3", "mf5") and returns its relative path."""
        rng = self.rng
        title = self.titles.next(language, odd_share)
        artist = self.titles.artist()
        ext = {"mp3": ".mp3", "mp3v1": ".mp3", "mp3bare": ".mp3", "mid": ".mid", "midnotice": ".mid",
               "midbare": ".mid", "kar": ".kar", "mf3": ".mf3", "mf5": ".mf5"}[kind]
        if upper_ext:
            ext = ext.upper()
        if name_style == "artist":
            stem = safe_file_name(f"{artist} - {title}")
        elif name_style == "code":
            stem = safe_file_name(f"B{len(self.songs) + 1:05d} {title}")
        else:
            stem = safe_file_name(title)
        rel = self.free_name(folder, stem, ext)
        if kind == "mp3":
            data = mp3_bytes(rng, title, artist, album=rng.choice([None, "Demo vol. 1", "Serate italiane"]))
        elif kind == "mp3v1":
            # ID3v1 holds 30 bytes of plain text.
            title = unicodedata.normalize("NFKD", title).encode("ascii", "ignore").decode("ascii")[:30]
            data = mp3_v1_bytes(rng, title, artist)
        elif kind == "mp3bare":
            title, data = None, mp3_untagged_bytes(rng)
        elif kind in ("mid", "midnotice"):
            data = midi_bytes(rng, title, with_notice=(kind == "midnotice"))
        elif kind == "midbare":
            title, data = None, midi_bytes(rng, None)
        elif kind == "kar":
            data = karaoke_bytes(rng, title, artist)
        elif kind == "mf3":
            data = fixed_field_bytes(rng, title, leading_spaces=rng.choice([0, 0, 3]))
        else:
            data = fixed_field_bytes(rng, title, tag=b"MF5")
        self.write(rel, data, "song " + ext.lower())
        self.songs.append((rel, title, kind))
        return rel

    def companions(self, rel, cdg=False, bak=False, dat=False):
        stem = rel.rsplit("/", 1)[1].split(".", 1)[0]
        folder = rel.rsplit("/", 1)[0]
        if cdg:
            self.write(f"{folder}/{stem}.cdg", cdg_bytes(self.rng), "companion .cdg")
        if bak:
            self.write(rel + ".bak", b"BAK " + rel.encode("utf-8") + b"\r\n", "companion .bak")
        if dat:
            self.write(rel + ".dat", b"DAT\x00" + bytes(self.rng.randrange(256) for _ in range(60)),
                       "companion .dat")


def mark_hidden_system(path):
    """Gives path the hidden and system attributes in the form the tool reads on Linux (the
    user.DOSATTRIB extended attribute), where the file system takes extended attributes."""
    try:
        os.setxattr(path, "user.DOSATTRIB", b"0x6")
        return True
    except (OSError, AttributeError):
        return False


def build(root, songs, big, seed):
    rng = random.Random(seed)
    d = Drive(root, rng)

    # The player's own system.
    d.write("AUTOEXEC.BAT", b"@ECHO OFF\r\nSET PATH=\\System\\Corvel\r\nSystem\\Corvel\\Corvel.exe\r\n", "system")
    d.write("System/Corvel/Corvel.exe", b"MZ\x90\x00" + b"Corvel3 player program (demo)\x00" + bytes(480), "system")
    d.write("System/DispProc/DispProc.exe", b"MZ\x90\x00" + b"Corvel3 display program (demo)\x00" + bytes(224), "system")
    d.write("System/Corvel/Corvel.cfg", b"[Player]\r\nLanguage=ITA\r\nVolume=80\r\n", "system")
    hidden = [mark_hidden_system(os.path.join(root, name)) for name in ("AUTOEXEC.BAT", "System")]

    # Ordinary song folders: (folder, share of the songs, kinds to draw from, language, name style).
    folders = [
        ("Basi/Italiane", 0.20, ["mid"] * 6 + ["midnotice", "kar", "midbare"], "it", "artist"),
        ("Basi/Internazionali", 0.14, ["mid"] * 5 + ["kar", "midnotice"], "en", "artist"),
        ("Basi/Liscio", 0.10, ["mid"] * 4 + ["mf3", "mf3", "mf5"], "it", "title"),
        ("MP3/Pop Italiano", 0.18, ["mp3"] * 7 + ["mp3v1"], "it", "artist"),
        ("MP3/Rock", 0.12, ["mp3"] * 5 + ["mp3v1", "mp3bare"], "en", "artist"),
        ("Karaoke/Anni 80", 0.14, ["kar"] * 5 + ["mid"], "mix", "title"),
        ("Karaoke/Anni 80/Duetti", 0.05, ["kar"], "mix", "title"),
        ("Professionali MF3", 0.07, ["mf3"] * 5 + ["mf5"], "mix", "code"),
    ]
    remaining = songs
    for i, (folder, share, kinds, language, style) in enumerate(folders):
        n = remaining if i == len(folders) - 1 else max(1, round(songs * share))
        n = min(n, remaining)
        remaining -= n
        for _ in range(n):
            kind = rng.choice(kinds)
            rel = d.song(folder, kind, language, style, upper_ext=(rng.random() < 0.05))
            if kind.startswith("mp3"):
                # Graphics for the lyrics beside a third of the MP3 songs, back-ups of some.
                d.companions(rel, cdg=rng.random() < 0.33, bak=rng.random() < 0.10)
            elif kind.startswith("mid"):
                d.companions(rel, dat=rng.random() < 0.12)
    # A MIDI song with a .cdg beside it: .cdg files go only with MP3 songs.
    rel = d.song("Basi/Italiane", "mid", "it", "artist")
    d.write(rel.rsplit(".", 1)[0] + ".cdg", cdg_bytes(rng), "companion .cdg")
    # A name too long for the player; the optimiser shortens it.
    long_stem = ("Orchestra Riviera - Gran medley delle feste di paese con mazurke polke e valzer "
                 "suonati dal vivo in piazza la sera di ferragosto davanti alla fontana vecchia "
                 "versione completa con introduzione e finale")
    d.write(f"Basi/Liscio/{long_stem}.mid", midi_bytes(rng, "Gran medley delle feste"), "song .mid")
    d.songs.append((f"Basi/Liscio/{long_stem}.mid", "Gran medley delle feste", "mid"))
    # Lyrics sheets (kept by the optimiser).
    d.write("Karaoke/Anni 80/testi.txt", "Testi delle canzoni\r\nà è ì ò ù\r\n".encode("utf-8"), "kept .txt")

    # The big folder: more than 1000 songs, all in one place, for the split.
    for i in range(big):
        kind = rng.choice(["mid", "mid", "mid", "kar", "kar", "mp3", "mp3bare" if i % 97 == 0 else "mp3"])
        rel = d.song("Basi/Karaoke", kind, "mix", rng.choice(["artist", "title"]), odd_share=0.06)
        if kind == "mp3":
            d.companions(rel, cdg=rng.random() < 0.2, bak=rng.random() < 0.05)
        else:
            d.companions(rel, dat=rng.random() < 0.05)

    # Bridges and effects used between songs.
    for i in range(1, 6):
        d.write(f"BRIDGES/Bridge {i:02d}.mid", midi_bytes(rng, f"Bridge {i:02d}"), "bridge")
    for name in ("Applausi", "Risate", "Rullo di tamburi", "Fischio"):
        d.write(f"EFFECTS/{name}.mp3", mp3_bytes(rng, name, "Effetti"), "effect")

    # Pictures: the "Images" folder, plus pictures left in song folders, one of them with the
    # name of one already in "Images".
    d.write("Images/copertina.jpg", jpeg_bytes("Images/copertina.jpg"), "image")
    d.write("Images/logo.png", png_bytes(rng), "image")
    d.write("Images/Vecchie/foto_1998.jpg", jpeg_bytes("Images/Vecchie/foto_1998.jpg"), "image")
    d.write("MP3/Pop Italiano/copertina.jpg", jpeg_bytes("MP3/Pop Italiano/copertina.jpg"), "image")
    d.write("MP3/Rock/copertina.jpg", jpeg_bytes("MP3/Rock/copertina.jpg"), "image")
    d.write("MP3/Rock/band.png", png_bytes(rng), "image")
    d.write("Karaoke/Anni 80/sfondo.bmp", bmp_bytes(rng), "image")
    d.write("Basi/Karaoke/locandina.serata.jpg", jpeg_bytes("locandina"), "image")
    d.write("Basi/Italiane/Cover.JPG", jpeg_bytes("Cover"), "image")

    # Junk the player cannot use.
    d.write("Basi/Italiane/readme", b"Basi scaricate dal sito, vedi note.\r\n", "junk")
    d.write("MP3/Rock/thumbs.db", b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(120), "junk")
    d.write("Basi/Internazionali/notes.doc", b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(248), "junk")
    d.write("MP3/Pop Italiano/.DS_Store", b"\x00\x00\x00\x01Bud1" + bytes(56), "junk (hidden)")
    d.write("Karaoke/Anni 80/desktop.ini", b"[.ShellClassInfo]\r\nIconResource=corvel.ico,0\r\n", "junk")
    d.write("Basi/Liscio/playlist vecchia.m3u", b"#EXTM3U\r\nLiscio.mid\r\n", "junk")
    d.write("v-orladev.log", b"v-orladev 2.1 boot ok\r\n", "kept log")

    # Playlists naming songs of the drive, the big folder's included.
    def line(rel):
        return ("\\sdmemory\\" + rel.replace("/", "\\") + "^0^32767\r\n").encode("utf-8")

    by_folder = {}
    for rel, _, _ in d.songs:
        by_folder.setdefault(rel.rsplit("/", 1)[0], []).append(rel)

    def pick(folder, n):
        pool = by_folder.get(folder, [])
        return rng.sample(pool, min(n, len(pool)))

    playlists = {
        "Serata.pls": pick("Basi/Italiane", 12) + pick("MP3/Pop Italiano", 8) + pick("Basi/Karaoke", 10),
        "Karaoke.pls": pick("Basi/Karaoke", 40) + pick("Karaoke/Anni 80", 10),
        "Liscio.pls": pick("Basi/Liscio", 15),
        "Rock e Pop.pls": pick("MP3/Rock", 10) + pick("Basi/Internazionali", 10),
        "Preferite.pls": pick("Basi/Karaoke", 6) + pick("Karaoke/Anni 80/Duetti", 4) + pick("Professionali MF3", 4),
    }
    for name, entries in playlists.items():
        d.write("System/Playlist/" + name, b"".join(line(rel) for rel in entries), "playlist")

    # Fixed times everywhere, folders last so writing files does not move them.
    for folder, dirs, files in os.walk(root, topdown=False):
        for name in files:
            os.utime(os.path.join(folder, name), (FIXED_MTIME, FIXED_MTIME))
        os.utime(folder, (FIXED_MTIME, FIXED_MTIME))
    return d, hidden


def summary(d, root, hidden):
    per_folder = {}
    for rel, _, _ in d.songs:
        folder = rel.rsplit("/", 1)[0]
        per_folder[folder] = per_folder.get(folder, 0) + 1
    untitled = sum(1 for _, title, _ in d.songs if title is None)
    print(f"Demo player drive in {root}")
    print(f"  songs: {len(d.songs)} ({untitled} without a title inside), in {len(per_folder)} folders:")
    for folder in sorted(per_folder):
        mark = "   <- over 1000 songs" if per_folder[folder] > 1000 else ""
        print(f"    {per_folder[folder]:5d}  {folder}{mark}")
    print("  files by kind:")
    for kind in sorted(d.counts):
        print(f"    {d.counts[kind]:5d}  {kind}")
    print(f"  total: {sum(d.counts.values())} files, {d.bytes / 1024:.0f} KiB")
    print("  system entries marked hidden+system: "
          + ("yes" if all(hidden) else "no (file system without user extended attributes; "
                                        "the tool treats them as system entries anyway)"))
    print(f'  use it with: CORVEL3_VOLUMES="corvel3={root}"')


def looks_like_demo_drive(path):
    return (os.path.isfile(os.path.join(path, "AUTOEXEC.BAT"))
            and os.path.isfile(os.path.join(path, "System", "Corvel", "Corvel.exe")))


def main(argv=None):
    parser = argparse.ArgumentParser(description="Build a demo Corvel3 player drive in DIR.")
    parser.add_argument("dir", metavar="DIR", help="folder to build the drive in (created if missing)")
    parser.add_argument("--songs", type=int, default=300, help="songs in the ordinary folders (default 300)")
    parser.add_argument("--big", type=int, default=1200,
                        help='songs in "Basi/Karaoke", the folder to split (default 1200)')
    parser.add_argument("--seed", type=int, default=3, help="generator seed (default 3)")
    parser.add_argument("--replace", action="store_true",
                        help="empty DIR first when it already holds a player drive")
    args = parser.parse_args(argv)
    if args.songs < 8 or args.big < 0:
        parser.error("--songs must be at least 8 and --big not negative")

    root = os.path.abspath(args.dir)
    if os.path.isdir(root) and os.listdir(root):
        if not args.replace:
            parser.error(f"{root} is not empty (use --replace to rebuild a demo drive there)")
        if not looks_like_demo_drive(root):
            parser.error(f"{root} does not look like a player drive; not emptying it")
        for name in os.listdir(root):
            full = os.path.join(root, name)
            if os.path.isdir(full) and not os.path.islink(full):
                shutil.rmtree(full)
            else:
                os.remove(full)
    os.makedirs(root, exist_ok=True)

    d, hidden = build(root, args.songs, args.big, args.seed)
    summary(d, root, hidden)
    return 0


if __name__ == "__main__":
    sys.exit(main())
