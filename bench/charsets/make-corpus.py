#!/usr/bin/env python3
"""Writes the legacy-encoding test corpus: SRT files made of the dialogue in
texts/, encoded with iconv into the encoding each language is commonly found
in. Every file is written with plain punctuation ("- " before each speaker of
a two-speaker cue, "...", straight quotes and apostrophes), with the
language's typographic marks (dialogue dashes, the ellipsis, its quotation
marks and apostrophe) where the encoding holds them, and, for the languages
of windows-1252, with lines of units and prices among the dialogue ("85 m²",
"20 °C", "9,99 €", "™"); at 4 cues,
12 cues, about 2 KB and about 50 KB, several seeds each (the seed picks the
lines, their order and which cues have two speakers). Beside each file goes
its true text in UTF-8 (".utf8"); manifest.tsv lists, one tab-separated line
each: file, catalogue name, true-text file, language, size, kind.

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
    ("german", "WINDOWS-1252", "WindowsLatin1"),
    ("spanish", "WINDOWS-1252", "WindowsLatin1"),
    ("italian", "WINDOWS-1252", "WindowsLatin1"),
    ("portuguese", "WINDOWS-1252", "WindowsLatin1"),
    ("swedish", "WINDOWS-1252", "WindowsLatin1"),
    ("danish", "WINDOWS-1252", "WindowsLatin1"),
    ("hungarian", "WINDOWS-1250", "WindowsLatin2"),
    ("hungarian", "ISO-8859-2", "ISOLatin2"),
    ("slovak", "WINDOWS-1250", "WindowsLatin2"),
    ("croatian", "WINDOWS-1250", "WindowsLatin2"),
    # Written in ISO-8859-16, Romanian takes its comma-below letters.
    ("romanian", "ISO-8859-16", "ISOLatin10"),
    ("french-latin9", "ISO-8859-15", "ISOLatin9"),
    ("ukrainian", "KOI8-U", "KOI8_U"),
    ("greek", "ISO-8859-7", "ISOLatinGreek"),
    ("thai", "CP874", "DOSThai"),
    ("thai", "TIS-620", "ISOLatinThai"),
    ("korean-symbols", "EUC-KR", "EUC_KR"),
    ("korean-symbols", "CP949", "DOSKorean"),
    ("japanese", "ISO-2022-JP", "ISO_2022_JP"),
]

# What a writer in that encoding types for the letters of the text.
LETTERS_IN = {
    "ISO-8859-16": {"ş": "ș", "ţ": "ț", "Ş": "Ș", "Ţ": "Ț"},
}

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
    "german": ("– ", "…", "„", "“", "’"),
    "spanish": ("– ", "…", "«", "»", "’"),
    "italian": ("– ", "…", "«", "»", "’"),
    "portuguese": ("– ", "…", "“", "”", "’"),
    "swedish": ("– ", "…", "”", "”", "’"),
    "danish": ("– ", "…", "»", "«", "’"),
    "hungarian": ("– ", "…", "„", "”", "’"),
    "slovak": ("– ", "…", "„", "“", "’"),
    "croatian": ("– ", "…", "„", "“", "’"),
    "french-latin9": ("– ", "…", "«" + NBSP, NBSP + "»", "’"),
    "thai": ("– ", "…", "“", "”", "’"),
    "korean-symbols": ("― ", "…", "“", "”", "’"),
}

# The marks an encoding holds of a language's own, where it lacks some.
TYPOGRAPHIC_IN = {
    ("romanian", "ISO-8859-16"): ("- ", "...", "„", "”", "'"),
    ("greek", "ISO-8859-7"): ("― ", "...", "«", "»", "’"),
}

# Lines of units and prices, for the languages of windows-1252.
UNITS = {
    "english": ["The flat is 85 m² and costs £900 a month.", "It's 20 °C outside, take a coat.",
                "The tank holds 3 m³ of water.", "The new Quillmar™ is only 9.99 €."],
    "french": ["L'appartement fait 85 m² et coûte 900 € par mois.",
               "Il fait 20 °C dehors, prends ta veste.", "La cuve contient 3 m³ d'eau.",
               "Le nouveau Quillmar™ ne coûte que 9,99 €."],
    "german": ["Die Wohnung hat 85 m² und kostet 900 € im Monat.",
               "Draußen sind es 20 °C, zieh dich warm an.", "Der Tank fasst 3 m³ Wasser.",
               "Das neue Quillmar™ kostet nur 9,99 €."],
    "spanish": ["El piso tiene 85 m² y cuesta 900 € al mes.", "Fuera hace 20 °C, abrígate.",
                "El depósito tiene 3 m³ de agua.", "El nuevo Quillmar™ cuesta solo 9,99 €."],
    "italian": ["L'appartamento è di 85 m² e costa 900 € al mese.", "Fuori ci sono 20 °C.",
                "La cisterna contiene 3 m³ d'acqua.", "Il nuovo Quillmar™ costa solo 9,99 €."],
    "portuguese": ["O apartamento tem 85 m² e custa 900 € por mês.", "Lá fora estão 20 °C.",
                   "O tanque leva 3 m³ de água.", "O novo Quillmar™ custa só 9,99 €."],
    "swedish": ["Lägenheten är 85 m² och kostar 900 € i månaden.", "Det är 20 °C ute.",
                "Tanken rymmer 3 m³ vatten.", "Nya Quillmar™ kostar bara 9,99 €."],
    "danish": ["Lejligheden er på 85 m² og koster 900 € om måneden.", "Det er 20 °C udenfor.",
               "Tanken rummer 3 m³ vand.", "Den nye Quillmar™ koster kun 9,99 €."],
}

# (label, cues, bytes, seeds): a size is a number of cues or of bytes.
SIZES = [
    ("4 cues", 4, None, 12),
    ("12 cues", 12, None, 8),
    ("2 KB", None, 2048, 4),
    ("50 KB", None, 50 * 1024, 3),
]


# Python's names where they differ from iconv's.
PYTHON_CODECS = {"TIS-620": "tis_620", "CP874": "cp874", "CP949": "cp949"}


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
        # the file); ISO-2022-JP's shifts are counted a little high.
        text, size = text + piece, size + len(piece.encode(PYTHON_CODECS.get(charset, charset),
                                                          "replace"))
        if (count and number == count) or (target and size >= target):
            return text


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    manifest = []
    for language, charset, catalogue in CORPUS:
        with open(os.path.join(HERE, "texts", language + ".txt"), encoding="utf-8") as f:
            sentences = [line.strip() for line in f if line.strip()]
        for letter, written in LETTERS_IN.get(charset, {}).items():
            sentences = [line.replace(letter, written) for line in sentences]
        marks = TYPOGRAPHIC_IN.get((language, charset), TYPOGRAPHIC.get(language))
        kinds = [("plain", sentences, None)]
        # ISO-8859-2 and KOI8-R have none of the marks.
        if marks and encodable("".join(marks), charset):
            kinds.append(("typographic", sentences, marks))
        if language in UNITS and charset == "WINDOWS-1252":
            kinds.append(("units", sentences + UNITS[language], None))
        for kind, lines, chosen in kinds:
            for label, count, target, seeds in SIZES:
                for seed in range(1, seeds + 1):
                    text = subtitle(lines, seed, count, target, charset, chosen)
                    name = "%s-%s-%s-%s-%d.srt" % (language, charset.lower(), kind,
                                                   label.replace(" ", "").lower(), seed)
                    with open(os.path.join(out, name), "wb") as f:
                        f.write(encode(text, charset))
                    with open(os.path.join(out, name + ".utf8"), "wb") as f:
                        f.write(text.encode("utf-8"))
                    manifest.append("\t".join(
                        [name, catalogue, name + ".utf8", language, label, kind]))
    with open(os.path.join(out, "manifest.tsv"), "w") as f:
        f.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
