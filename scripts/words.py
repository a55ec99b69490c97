#!/usr/bin/env python3
"""The programs' words: one UTF-8 text file a language (shared/words/), made
into the code that fills each program's table of words, in Windows-1252 as
the programs hold their own words.

  words.py generate PART OUT FILE...  writes the code of one part (shared,
                                      tavlet, brin23) of every file to OUT
  words.py check FILE...              every language has every word of the
                                      English file, with as many "/" line
                                      breaks and "#" places, each of its
                                      "{one|many}" forms right after a "#"

A file's stem names its language as the code does (french.txt:
Language::french); english.txt is the reference the others are held to.
"""
import os
import re
import sys

# Each part of a file, the table it fills: its header, its type, and the
# function that makes it for a language.
PARTS = {
    "shared": ("shared/words.h", "SharedWords", "shared_words_made"),
    "tavlet": ("report/texts.h", "ReportTexts", "report_texts_made"),
    "brin23": ("converter/words.h", "Brin23Words", "brin23_words_made"),
}
REFERENCE = "english"
NAME = re.compile(r"[a-z_][a-z0-9_]*(\.[a-z_][a-z0-9_]*)*(\[[0-9]\])?$")
SECTION = re.compile(r"\[([a-z0-9_]+)(\.[a-z0-9_.]+)?\]$")


class WordsError(Exception):
    pass


def read_words(path):
    """The file's words: {(part, name): text}, in the file's order."""
    words = {}
    part, prefix = None, ""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for number, line in enumerate(lines, 1):
        where = "%s:%d" % (path, number)
        line = line.rstrip("\r")
        if not line.strip() or line.startswith("#"):
            continue
        section = SECTION.match(line)
        if section:
            part = section.group(1)
            if part not in PARTS:
                raise WordsError("%s: no such part: %s" % (where, part))
            prefix = (section.group(2) or "")[1:]
            prefix = prefix + "." if prefix else ""
            continue
        name, sep, text = line.partition(" = ")
        if part is None or not sep or not NAME.match(name):
            raise WordsError("%s: not a word (name = \"text\"): %s" % (where, line))
        if len(text) < 2 or text[0] != '"' or text[-1] != '"':
            raise WordsError("%s: the text is not between double quotes" % where)
        text = text[1:-1]
        try:
            text.encode("cp1252")
        except UnicodeEncodeError as e:
            raise WordsError("%s: %r is not a letter of Windows-1252" % (where, text[e.start]))
        key = (part, prefix + name)
        if key in words:
            raise WordsError("%s: %s given twice" % (where, prefix + name))
        words[key] = text
    return words


def language_of(path):
    return os.path.splitext(os.path.basename(path))[0]


def cpp_literal(text):
    """The text as a C++ literal of its Windows-1252 bytes."""
    out = []
    for byte in text.encode("cp1252"):
        char = chr(byte)
        if 32 <= byte < 127 and char not in '"\\?':
            out.append(char)
        else:
            out.append("\\%03o" % byte)  # three digits: never runs into the next
    return '"' + "".join(out) + '"'


def generate(part, target, paths):
    languages = [(language_of(p), read_words(p)) for p in paths]
    names = [language for language, _ in languages]
    if REFERENCE not in names:
        raise WordsError("no %s.txt among the files" % REFERENCE)
    if part not in PARTS:
        raise WordsError("no such part: %s" % part)
    header, type_, made = PARTS[part]
    out = ["// Made by scripts/words.py from shared/words/: edit the words there.",
           '#include "%s"' % header, "", "namespace {", ""]
    for language, words in languages:
        out.append("%s %s() {" % (type_, language))
        out.append("  %s w;" % type_)
        for (word_part, name), text in words.items():
            if word_part == part:
                out.append("  set_word(w.%s, %s);" % (name, cpp_literal(text)))
        out += ["  return w;", "}", ""]
    out += ["}  // namespace", "", "%s %s(Language language) {" % (type_, made),
            "  switch (language) {"]
    for language in names:
        if language != REFERENCE:
            out.append("    case Language::%s:\n      return %s();" % (language, language))
    out += ["    default:", "      return %s();" % REFERENCE, "  }", "}", ""]
    with open(target, "w") as f:
        f.write("\n".join(out))


def marks(text):
    """What a translation must keep of a word: its line breaks ("/" but not
    "\\/") and its places ("#"). A language's forms ("# {one|many}") are its
    own: English needs fewer than French."""
    return (len(re.findall(r"(?<!\\)/", text)), text.count("#"))


def forms_whole(text):
    """True when each "{" of the text opens a form "{one|many}" right after a
    number's "# "."""
    return not re.search(r"[{}]", re.sub(r"# \{[^{}|]*\|[^{}|]*\}", "#", text))


def check(paths):
    languages = {language_of(p): read_words(p) for p in paths}
    reference = languages.get(REFERENCE)
    if reference is None:
        raise WordsError("no %s.txt among the files" % REFERENCE)
    faults = []
    for language, words in sorted(languages.items()):
        for key in reference:
            if key not in words:
                faults.append("%s: no %s.%s" % (language, *key))
            elif marks(words[key]) != marks(reference[key]):
                faults.append("%s: %s.%s has %d \"/\" and %d \"#\" where English has %d and %d"
                              % (language, *key, *marks(words[key]), *marks(reference[key])))
            elif not forms_whole(words[key]):
                faults.append("%s: %s.%s has a \"{\" that is no \"# {one|many}\""
                              % (language, *key))
        for key in words:
            if key not in reference:
                faults.append("%s: %s.%s is no English word" % (language, *key))
    for fault in faults:
        print(fault)
    print("%d languages, %d words each: %s" % (len(languages), len(reference),
                                               "every word there" if not faults else
                                               "%d faults" % len(faults)))
    return not faults


def main(argv):
    try:
        if len(argv) >= 4 and argv[1] == "generate":
            generate(argv[2], argv[3], argv[4:])
            return 0
        if len(argv) >= 2 and argv[1] == "check":
            return 0 if check(argv[2:]) else 1
    except (WordsError, OSError, UnicodeDecodeError) as e:
        print("words.py: %s" % e, file=sys.stderr)
        return 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
