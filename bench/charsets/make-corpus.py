#!/usr/bin/env python3
"""Writes the legacy-encoding test corpus: SRT files made of the texts in
texts/, encoded with iconv into the encoding each language is commonly found
in, at about 200 bytes (three variants), 2 KB and 50 KB. Beside each file goes
its true text in UTF-8 (".utf8"), and a manifest lists file, catalogue name
and true-text file, one tab-separated line each.

Usage: make-corpus.py OUTPUT_FOLDER"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# (text, iconv charset, catalogue name)
CORPUS = [
    ("polish", "WINDOWS-1250", "WindowsLatin2"),
    ("russian", "WINDOWS-1251", "WindowsCyrillic"),
    ("french", "WINDOWS-1252", "WindowsLatin1"),
    ("greek", "WINDOWS-1253", "WindowsGreek"),
    ("turkish", "WINDOWS-1254", "WindowsLatin5"),
    ("hebrew", "WINDOWS-1255", "WindowsHebrew"),
    ("arabic", "WINDOWS-1256", "WindowsArabic"),
    ("lithuanian", "WINDOWS-1257", "WindowsBalticRim"),
    ("russian", "KOI8-R", "KOI8_R"),
    ("czech", "ISO-8859-2", "ISOLatin2"),
    ("japanese", "SHIFT_JIS", "ShiftJIS"),
    ("japanese", "EUC-JP", "EUC_JP"),
    ("chinese-simplified", "GB18030", "GB_18030_2000"),
    ("chinese-traditional", "BIG5", "Big5"),
    ("korean", "EUC-KR", "EUC_KR"),
]

SIZES = [("200", 200), ("2k", 2048), ("50k", 50 * 1024)]


def encode(text, charset):
    return subprocess.run(["iconv", "-f", "UTF-8", "-t", charset], input=text.encode("utf-8"),
                          stdout=subprocess.PIPE, check=True).stdout


def cue(number, lines):
    start = number * 3
    return "%d\r\n%02d:%02d:%02d,000 --> %02d:%02d:%02d,500\r\n%s\r\n\r\n" % (
        number, start // 3600, start // 60 % 60, start % 60, (start + 2) // 3600,
        (start + 2) // 60 % 60, (start + 2) % 60, "\r\n".join(lines))


def subtitle(sentences, first, target, charset):
    """Cues from sentence `first` on, one or two lines each, until about
    `target` bytes in the charset (at least two cues)."""
    text, size, number, at = "", 0, 1, first
    while True:
        lines = [sentences[at % len(sentences)]]
        if number % 3 == 0:
            lines.append(sentences[(at + 1) % len(sentences)])
        piece = cue(number, lines)
        # None of the charsets keeps state between characters.
        grown = size + len(encode(piece, charset))
        if grown > target + 50 and size >= target - 40:
            return text
        text, size, number, at = text + piece, grown, number + 1, at + len(lines)
        if size >= target:
            return text


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    manifest = []
    for language, charset, catalogue in CORPUS:
        with open(os.path.join(HERE, "texts", language + ".txt"), encoding="utf-8") as f:
            sentences = [line.strip() for line in f if line.strip()]
        for label, target in SIZES:
            variants = range(3) if target < 1024 else range(1)
            for variant in variants:
                text = subtitle(sentences, variant * 4, target, charset)
                suffix = label + ("" if len(variants) == 1 else chr(ord("a") + variant))
                name = "%s-%s-%s.srt" % (language, charset.lower(), suffix)
                with open(os.path.join(out, name), "wb") as f:
                    f.write(encode(text, charset))
                with open(os.path.join(out, name + ".utf8"), "wb") as f:
                    f.write(text.encode("utf-8"))
                manifest.append("%s\t%s\t%s.utf8" % (name, catalogue, name))
    with open(os.path.join(out, "manifest.tsv"), "w") as f:
        f.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
