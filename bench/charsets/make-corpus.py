#!/usr/bin/env python3
"""Writes the legacy-encoding test corpus: SRT files made of the dialogue in
texts/, encoded with iconv into the encoding each language is commonly found
in. Every file is written twice, with plain punctuation ("- " before each
speaker of a two-speaker cue, "...", straight quotes and apostrophes) and with
the language's typographic marks (dialogue dashes, the ellipsis, its
quotation marks and apostrophe), where the encoding holds them; at 4 cues,
12 cues, about 2 KB and about 50 KB, several seeds each (the seed picks the
lines, their order and which cues have two speakers). Beside each file goes
its true text in UTF-8 (".utf8"); manifest.tsv lists, one tab-separated line
each: file, catalogue name, true-text file, language, size, punctuation.

Usage: make-corpus.py OUTPUT_FOLDER"""
import os
import random
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# (text, iconv charset, catalogue name)
CORPUS = [
    ("polish", "WINDOWS-1250", "WindowsLatin2"),
    ("romanian", "WINDOWS-1250", "WindowsLatin2"),
    ("russian", "WINDOWS-1251", "WindowsCyrillic"),
    ("ukrainian", "WINDOWS-1251", "WindowsCyrillic"),
    ("bulgarian", "WINDOWS-1251", "WindowsCyrillic"),
    ("french", "WINDOWS-1252", "WindowsLatin1"),
    ("english", "WINDOWS-1252", "WindowsLatin1"),
    ("greek", "WINDOWS-1253", "WindowsGreek"),
    ("turkish", "WINDOWS-1254", "WindowsLatin5"),
    ("hebrew", "WINDOWS-1255", "WindowsHebrew"),
    ("arabic", "WINDOWS-1256", "WindowsArabic"),
    ("lithuanian", "WINDOWS-1257", "WindowsBalticRim"),
    ("latvian", "WINDOWS-1257", "WindowsBalticRim"),
    ("estonian", "WINDOWS-1257", "WindowsBalticRim"),
    ("russian", "KOI8-R", "KOI8_R"),
    ("czech", "ISO-8859-2", "ISOLatin2"),
    ("japanese", "SHIFT_JIS", "ShiftJIS"),
    ("japanese", "EUC-JP", "EUC_JP"),
    ("chinese-simplified", "GB18030", "GB_18030_2000"),
    ("chinese-traditional", "BIG5", "Big5"),
    ("korean", "EUC-KR", "EUC_KR"),
]

# Each language's typographic marks: the dash before a speaker, the
# ellipsis, opening and closing quotation marks, the apostrophe.
NBSP = "\u00a0"
TYPOGRAPHIC = {
    "polish": ("– ", "…", "„", "”", "’"),
    "romanian": ("– ", "…", "„", "”", "’"),
    "russian": ("— ", "…", "«", "»", "’"),
    "ukrainian": ("— ", "…", "«", "»", "’"),
    "bulgarian": ("— ", "…", "„", "“", "’"),
    "french": ("– ", "…", "«" + NBSP, NBSP + "»", "’"),
    "english": ("– ", "…", "“", "”", "’"),
    "greek": ("— ", "…", "«", "»", "’"),
    "turkish": ("– ", "…", "“", "”", "’"),
    "hebrew": ("– ", "…", "“", "”", "’"),
    "arabic": ("– ", "…", "«", "»", "’"),
    "lithuanian": ("– ", "…", "„", "“", "’"),
    "latvian": ("– ", "…", "„", "”", "’"),
    "estonian": ("– ", "…", "„", "“", "’"),
    "czech": ("– ", "…", "„", "“", "’"),
    "japanese": ("―", "…", "「", "」", "’"),
    "chinese-simplified": ("—", "……", "“", "”", "’"),
    "chinese-traditional": ("—", "……", "「", "」", "’"),
    "korean": ("― ", "…", "“", "”", "’"),
}

# (label, cues, bytes, seeds): a size is a number of cues or of bytes.
SIZES = [
    ("4 cues", 4, None, 12),
    ("12 cues", 12, None, 8),
    ("2 KB", None, 2048, 4),
    ("50 KB", None, 50 * 1024, 3),
]


def encode(text, charset):
    return subprocess.run(["iconv", "-f", "UTF-8", "-t", charset], input=text.encode("utf-8"),
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          check=True).stdout


def encodable(text, charset):
    try:
        encode(text, charset)
        return True
    except subprocess.CalledProcessError:
        return False


def typographic(line, marks):
    """The line with the language's marks in place of the plain ones."""
    dash, ellipsis, opening, closing, apostrophe = marks
    if line.startswith("- "):
        line = dash + line[2:]
    line = line.replace("...", ellipsis).replace("'", apostrophe)
    pieces = line.split('"')
    text = pieces[0]
    for i, piece in enumerate(pieces[1:]):
        text += (opening if i % 2 == 0 else closing) + piece
    return text


def cue(number, start, lines):
    end = start + 2
    return "%d\r\n%02d:%02d:%02d,000 --> %02d:%02d:%02d,500\r\n%s\r\n\r\n" % (
        number, start // 3600, start // 60 % 60, start % 60, end // 3600, end // 60 % 60,
        end % 60, "\r\n".join(lines))


def cues(sentences, rng):
    """Endless cues: the sentences in a shuffled order, again and again; about
    one cue in three has two speakers, each line behind "- "."""
    number, start = 1, rng.randrange(1, 600)
    while True:
        order = list(sentences)
        rng.shuffle(order)
        while order:
            if len(order) >= 2 and rng.random() < 0.35:
                lines = ["- " + order.pop(), "- " + order.pop()]
            else:
                lines = [order.pop()]
            yield number, start, lines
            number, start = number + 1, start + rng.randrange(3, 9)


def subtitle(sentences, seed, count, target, charset, marks):
    """`count` cues, or cues until about `target` bytes in the charset."""
    text, size = "", 0
    for number, start, lines in cues(sentences, random.Random(seed)):
        if marks:
            lines = [typographic(line, marks) for line in lines]
        piece = cue(number, start, lines)
        # Python's codec of the same name measures the size (iconv writes
        # the file); none of the charsets keeps state between characters.
        text, size = text + piece, size + len(piece.encode(charset, "replace"))
        if (count and number == count) or (target and size >= target):
            return text


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    manifest = []
    for language, charset, catalogue in CORPUS:
        with open(os.path.join(HERE, "texts", language + ".txt"), encoding="utf-8") as f:
            sentences = [line.strip() for line in f if line.strip()]
        marks = TYPOGRAPHIC[language]
        punctuations = [("plain", None)]
        # ISO-8859-2 and KOI8-R have none of the marks.
        if encodable("".join(marks), charset):
            punctuations.append(("typographic", marks))
        for punctuation, chosen in punctuations:
            for label, count, target, seeds in SIZES:
                for seed in range(1, seeds + 1):
                    text = subtitle(sentences, seed, count, target, charset, chosen)
                    name = "%s-%s-%s-%s-%d.srt" % (language, charset.lower(), punctuation,
                                                   label.replace(" ", "").lower(), seed)
                    with open(os.path.join(out, name), "wb") as f:
                        f.write(encode(text, charset))
                    with open(os.path.join(out, name + ".utf8"), "wb") as f:
                        f.write(text.encode("utf-8"))
                    manifest.append("\t".join(
                        [name, catalogue, name + ".utf8", language, label, punctuation]))
    with open(os.path.join(out, "manifest.tsv"), "w") as f:
        f.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
