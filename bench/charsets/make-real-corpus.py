#!/usr/bin/env python3
"""Writes a legacy-encoding corpus of real text not written for the charset
detection: the translations in the gettext catalogues installed on this
machine (/usr/share/locale/LANG/LC_MESSAGES/*.mo), a language's messages
shuffled into SRT cues and encoded with iconv into each encoding that
language is found in. Only messages that read as sentences go in (no
placeholders, markup, shortcuts or paths), and only those the encoding holds,
as a person writing in it would have typed them. Sizes, true texts and
manifest.tsv as make-corpus.py writes them; the kind is "gettext". The
Chinese, Japanese and Korean texts are also written with a symbol that
subtitles set beside words ("♪" before a sung line, "→", "※", "★", "○")
right before the first word of every other line, those of the symbols the
encoding holds; their kind is "symbols beside words".

The more packages with translations are installed, the more text there is;
a language with too little text for a size is left out of that size.

Usage: make-real-corpus.py OUTPUT_FOLDER"""
import glob
import os
import random
import struct
import subprocess
import sys

# (locale folder, iconv charset, catalogue name)
CORPUS = [
    ("de", "WINDOWS-1252", "WindowsLatin1"),
    ("fr", "WINDOWS-1252", "WindowsLatin1"),
    ("fr", "ISO-8859-15", "ISOLatin9"),
    ("es", "WINDOWS-1252", "WindowsLatin1"),
    ("it", "WINDOWS-1252", "WindowsLatin1"),
    ("pt", "WINDOWS-1252", "WindowsLatin1"),
    ("nl", "WINDOWS-1252", "WindowsLatin1"),
    ("sv", "WINDOWS-1252", "WindowsLatin1"),
    ("da", "WINDOWS-1252", "WindowsLatin1"),
    ("nb", "WINDOWS-1252", "WindowsLatin1"),
    ("fi", "WINDOWS-1252", "WindowsLatin1"),
    ("pl", "WINDOWS-1250", "WindowsLatin2"),
    ("cs", "WINDOWS-1250", "WindowsLatin2"),
    ("cs", "ISO-8859-2", "ISOLatin2"),
    ("sk", "WINDOWS-1250", "WindowsLatin2"),
    ("hu", "WINDOWS-1250", "WindowsLatin2"),
    ("hr", "WINDOWS-1250", "WindowsLatin2"),
    ("sl", "WINDOWS-1250", "WindowsLatin2"),
    ("ro", "WINDOWS-1250", "WindowsLatin2"),
    ("ro", "ISO-8859-16", "ISOLatin10"),
    ("ru", "WINDOWS-1251", "WindowsCyrillic"),
    ("ru", "KOI8-R", "KOI8_R"),
    ("uk", "WINDOWS-1251", "WindowsCyrillic"),
    ("uk", "KOI8-U", "KOI8_U"),
    ("bg", "WINDOWS-1251", "WindowsCyrillic"),
    ("el", "WINDOWS-1253", "WindowsGreek"),
    ("el", "ISO-8859-7", "ISOLatinGreek"),
    ("tr", "WINDOWS-1254", "WindowsLatin5"),
    ("he", "WINDOWS-1255", "WindowsHebrew"),
    ("ar", "WINDOWS-1256", "WindowsArabic"),
    ("lt", "WINDOWS-1257", "WindowsBalticRim"),
    ("lv", "WINDOWS-1257", "WindowsBalticRim"),
    ("et", "WINDOWS-1257", "WindowsBalticRim"),
    ("th", "CP874", "DOSThai"),
    ("th", "TIS-620", "ISOLatinThai"),
    ("ja", "SHIFT_JIS", "ShiftJIS"),
    ("ja", "EUC-JP", "EUC_JP"),
    ("ja", "ISO-2022-JP", "ISO_2022_JP"),
    ("zh_CN", "GB18030", "GB_18030_2000"),
    ("zh_TW", "BIG5", "Big5"),
    ("ko", "EUC-KR", "EUC_KR"),
    ("ko", "CP949", "DOSKorean"),
]

# What a writer in that encoding types for letters it lacks.
LETTERS_IN = {
    "WINDOWS-1250": {"ș": "ş", "ț": "ţ", "Ș": "Ş", "Ț": "Ţ"},
    "ISO-8859-16": {"ş": "ș", "ţ": "ț", "Ş": "Ș", "Ţ": "Ț"},
}

# The symbols subtitles in these encodings set right before a word: a music
# note before a sung line, arrows, reference marks, stars and circles.
SYMBOLS = "♪→※★○"
SYMBOLS_BESIDE_WORDS = {"SHIFT_JIS", "EUC-JP", "GB18030", "BIG5", "EUC-KR"}

# (label, cues, bytes, seeds)
SIZES = [
    ("4 cues", 4, None, 6),
    ("12 cues", 12, None, 4),
    ("2 KB", None, 2048, 2),
    ("50 KB", None, 50 * 1024, 1),
]

# Messages with these are program text, not sentences.
NOT_PROSE = set("%{}<>\\_&|$#@=[]/")


def messages(path):
    """The translations of one .mo catalogue (the first form of a plural)."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 20:
        return []
    for order in "<>":
        magic, _, count, _, strings = struct.unpack(order + "5I", data[:20])
        if magic == 0x950412DE:
            break
    else:
        return []
    found = []
    for i in range(count):
        length, offset = struct.unpack(order + "2I", data[strings + 8 * i:strings + 8 * i + 8])
        text = data[offset:offset + length].split(b"\0")[0]
        try:
            found.append(text.decode("utf-8"))
        except UnicodeDecodeError:
            pass
    return found


def sentences(locale):
    """The messages of every catalogue of a language that read as prose."""
    seen, kept = set(), []
    for path in sorted(glob.glob("/usr/share/locale/%s/LC_MESSAGES/*.mo" % locale)):
        for text in messages(path):
            text = " ".join(text.split())
            if (len(text) < 12 or len(text) > 100 or text in seen or
                    NOT_PROSE.intersection(text) or not any(c.isalpha() and ord(c) > 127
                                                            for c in text)):
                continue
            seen.add(text)
            kept.append(text)
    return kept


def encode(text, charset):
    return subprocess.run(["iconv", "-f", "UTF-8", "-t", charset], input=text.encode("utf-8"),
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          check=True).stdout


def holds(charset, texts):
    """The texts the charset holds, asked of iconv in one go: one per line."""
    out = subprocess.run(["iconv", "-c", "-f", "UTF-8", "-t", charset],
                         input="\n".join(texts).encode("utf-8"), stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL).stdout
    back = subprocess.run(["iconv", "-f", charset, "-t", "UTF-8"], input=out,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
    lines = back.decode("utf-8", "replace").split("\n")
    return [t for t, b in zip(texts, lines) if t == b]


def cue(number, start, text):
    end = start + 2
    return "%d\r\n%02d:%02d:%02d,000 --> %02d:%02d:%02d,500\r\n%s\r\n\r\n" % (
        number, start // 3600, start // 60 % 60, start % 60, end // 3600, end // 60 % 60,
        end % 60, text)


def subtitle(lines, seed, count, target, charset, symbols):
    """`count` cues, or cues until about `target` bytes in the charset, of the
    lines in the seed's order; with symbols, one of them (in turn) right
    before the first word of every other cue. None where the lines run out."""
    rng = random.Random(seed)
    order = list(lines)
    rng.shuffle(order)
    text, size, number, start = "", 0, 1, rng.randrange(1, 600)
    while order and (number <= count if count else size < target):
        line = order.pop()
        if symbols and number % 2 == 0:
            line = symbols[number // 2 % len(symbols)] + line
        piece = cue(number, start, line)
        # Python's codec of the same name measures the size.
        text, size = text + piece, size + len(piece.encode(charset, "replace"))
        number, start = number + 1, start + rng.randrange(3, 9)
    if (count and number <= count) or (target and size < target):
        return None
    return text


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    manifest = []
    texts = {}
    for locale, charset, catalogue in CORPUS:
        if locale not in texts:
            texts[locale] = sentences(locale)
        lines = texts[locale]
        for letter, written in LETTERS_IN.get(charset, {}).items():
            lines = [line.replace(letter, written) for line in lines]
        lines = holds(charset, lines)
        kinds = [("gettext", "gettext", None)]
        if charset in SYMBOLS_BESIDE_WORDS:
            kinds.append(("gettext-symbols", "symbols beside words",
                          "".join(holds(charset, list(SYMBOLS)))))
        for tag, kind, symbols in kinds:
            for label, count, target, seeds in SIZES:
                for seed in range(1, seeds + 1):
                    text = subtitle(lines, seed, count, target, charset, symbols)
                    if text is None:
                        continue  # too little text for this size
                    name = "%s-%s-%s-%s-%d.srt" % (locale, charset.lower(), tag,
                                                   label.replace(" ", "").lower(), seed)
                    with open(os.path.join(out, name), "wb") as f:
                        f.write(encode(text, charset))
                    with open(os.path.join(out, name + ".utf8"), "wb") as f:
                        f.write(text.encode("utf-8"))
                    manifest.append("\t".join([name, catalogue, name + ".utf8", locale, label,
                                               kind]))
    with open(os.path.join(out, "manifest.tsv"), "w") as f:
        f.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
