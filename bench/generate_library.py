#!/usr/bin/env python3
"""Writes a deterministic list of music-library paths, one per line.

The collection looks like a real one grown over years: artist and album
folders, numbered tracks, " - " and "_" separators, words drawn from a
Zipf-distributed vocabulary whose head is "the", "of", "love", "01", "02",
Windows and POSIX paths, some 12% of names with non-ASCII words, and renamed
copies of earlier files (words reordered, case and separators changed, a word
added or dropped, moved to another folder, "Copy of", "(1)").

usage: generate_library.py COUNT [--seed N] > list.txt
       generate_library.py COUNT --write DIR [--covers] [--retagged SHARE]

With --write the library is made of real files below DIR (a Windows path
C:\\A\\b.mp3 becomes DIR/C/A/b.mp3), each original with bytes and a size of
its own, every renamed copy byte-identical to its original; --covers adds a
cover.jpg and a folder.jpg of its own to each album folder, and --retagged
makes that share of the renamed copies differ from their original in the
last bytes only, at the same size (a tag edited in place). The paths are
still written to standard output.
"""
import os
import argparse
import bisect
import itertools
import random
import sys

HEAD = ["the", "of", "love", "01", "02", "03", "04", "05", "you", "me", "my",
        "in", "a", "to", "and", "night", "heart", "i", "on", "your", "baby",
        "time", "day", "life", "dream", "06", "07", "08", "09", "10", "11",
        "12", "light", "world", "home", "down", "all", "one", "blue", "fire",
        "rain", "girl", "little", "song", "live", "remix", "mix", "edit",
        "feat", "version", "we", "it", "for", "no", "be", "come", "away"]
ACCENTED = ["été", "café", "niño", "señor", "über", "straße", "mädchen",
            "cœur", "fiancée", "noël", "déjà", "à", "ça", "où", "garçon",
            "mañana", "corazón", "canción", "søndag", "ålborg", "smørrebrød",
            "Ωραία", "νύχτα", "любовь", "ночь", "çok", "güzel", "şarkı",
            "İstanbul", "coração", "saudade", "lágrimas", "Ça"]
SYLLABLES = ["ka", "lo", "mi", "ren", "tha", "vo", "sel", "dra", "min", "ko",
             "ra", "len", "bri", "an", "tor", "vel", "ma", "ri", "os", "zel",
             "fen", "li", "gar", "nu", "so", "pe", "dun", "wi", "xa", "jo"]


def invented_word(rng):
    return "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 3)))


class Library:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        rng = self.rng
        words = list(HEAD)
        seen = set(words)
        while len(words) < 4000:
            w = invented_word(rng)
            if w not in seen:
                seen.add(w)
                words.append(w)
        self.words = words
        # Zipf-like: weight 1/(rank + 8), a heavy head without one word in four
        # being "the".
        self.cumulative = list(itertools.accumulate(
            1.0 / (rank + 8) for rank in range(len(words))))
        self.artists = []
        for _ in range(30000):
            name = [invented_word(rng).capitalize()
                    for _ in range(rng.choice((1, 2, 2, 2, 3)))]
            if rng.random() < 0.15:
                name.insert(0, "The")
            if rng.random() < 0.08:
                name[-1] = rng.choice(ACCENTED).capitalize()
            self.artists.append(" ".join(name))

    def word(self):
        x = self.rng.random() * self.cumulative[-1]
        return self.words[bisect.bisect_left(self.cumulative, x)]

    def title(self, accented):
        rng = self.rng
        words = [self.word() for _ in range(rng.choice((1, 2, 2, 3, 3, 3, 4, 4, 5, 6)))]
        if accented:
            words[rng.randrange(len(words))] = rng.choice(ACCENTED)
        if rng.random() < 0.7:
            words = [w.capitalize() for w in words]
        return words

    def folder(self, artist, album, windows):
        if windows:
            return "C:\\Users\\me\\Music\\" + artist + "\\" + album + "\\"
        return "/home/me/Music/" + artist + "/" + album + "/"

    def album(self):
        """The tracks of one album: (folder parts, file-name words, ext)."""
        rng = self.rng
        artist = rng.choice(self.artists)
        accented = rng.random() < 0.12
        album = " ".join(self.title(accented))
        windows = rng.random() < 0.4
        ext = rng.choice((".mp3", ".mp3", ".mp3", ".flac", ".m4a", ".ogg"))
        style = rng.randrange(4)
        tracks = []
        for number in range(1, rng.randint(6, 14) + 1):
            title = self.title(accented and rng.random() < 0.5)
            n = "%02d" % number
            if style == 0:
                name = n + " - " + artist + " - " + " ".join(title)
            elif style == 1:
                name = n + " " + " ".join(title)
            elif style == 2:
                name = artist + " - " + " ".join(title)
            else:
                name = n + "_" + "_".join(title)
            tracks.append((self.folder(artist, album, windows), name, ext,
                           artist, title))
        return tracks

    def renamed(self, track):
        rng = self.rng
        folder, name, ext, artist, title = track
        kind = rng.randrange(9)
        if kind == 0:
            name = " ".join(title) + " - " + artist
        elif kind == 1:
            name = name.upper() if rng.random() < 0.5 else name.lower()
        elif kind == 2:
            name = name.replace(" - ", "_").replace(" ", "_")
        elif kind == 3:
            name = name + " " + rng.choice(("live", "remastered", "edit",
                                            "(radio edit)", "2"))
        elif kind == 4:
            parts = name.split(" ")
            if len(parts) > 1:
                del parts[rng.randrange(len(parts))]
            name = " ".join(parts)
        elif kind == 5:
            name = "Copy of " + name
        elif kind == 6:
            name = name + " (1)"
        elif kind == 7:
            words = name.split(" ")
            rng.shuffle(words)
            name = " ".join(words)
        if rng.random() < 0.5:
            folder = rng.choice(("/mnt/backup/old/", "D:\\Backup\\",
                                 "/home/me/Downloads/", "E:\\Sort me\\"))
        return folder + name + ext


class FileWriter:
    """Writes the library's paths as real files below a folder."""

    def __init__(self, root, seed, retagged):
        self.root = root
        self.rng = random.Random(seed + 1000)
        self.retagged = retagged
        self.contents = {}

    def place(self, path):
        if path[1:3] == ":\\":
            path = path[0] + "/" + path[3:].replace("\\", "/")
        return os.path.join(self.root, path.lstrip("/"))

    def write(self, path, content):
        target = self.place(path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as out:
            out.write(content)

    def original(self, path, low=1000, high=30000):
        content = self.rng.randbytes(self.rng.randint(low, high))
        self.contents[path] = content
        self.write(path, content)

    def copy(self, original, path):
        content = self.contents[original]
        if self.rng.random() < self.retagged:
            tail = min(len(content), 128)
            content = content[:-tail] + self.rng.randbytes(tail)
        self.write(path, content)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("count", type=int)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--write", metavar="DIR")
    parser.add_argument("--covers", action="store_true")
    parser.add_argument("--retagged", type=float, default=0.0)
    args = parser.parse_args()
    library = Library(args.seed)
    rng = library.rng
    files = FileWriter(args.write, args.seed, args.retagged) if args.write else None
    out = sys.stdout
    written = 0
    kept = []
    while written < args.count:
        album = library.album()
        if files and args.covers:
            for cover in ("cover.jpg", "folder.jpg"):
                files.original(album[0][0] + cover, 20000, 60000)
        for track in album:
            if written >= args.count:
                break
            folder, name, ext = track[:3]
            path = folder + name + ext
            out.write(path + "\n")
            if files:
                files.original(path)
            written += 1
            if len(kept) < 200000:
                kept.append(track)
            else:
                kept[rng.randrange(len(kept))] = track
            # About one file in five is a renamed copy of an earlier one.
            if written < args.count and rng.random() < 0.25:
                original = rng.choice(kept)
                copy = library.renamed(original)
                out.write(copy + "\n")
                if files:
                    files.copy(original[0] + original[1] + original[2], copy)
                written += 1


if __name__ == "__main__":
    main()
