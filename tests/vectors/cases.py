#!/usr/bin/env python3
"""Writes the profile-function cases whose recordings sit beside this file.

    python3 tests/vectors/cases.py > /tmp/cases.json
    python3 ../shared/ini-oracle/record.py --cases /tmp/cases.json \
        --out tests/vectors/profile-rules.json

Strings hold one byte per character; None is a null pointer.
"""
import json
import sys

CASES = []


def case(id, description, initial, ops, readonly=False):
    CASES.append({"id": id, "description": description, "initial_file": initial,
                  "readonly": readonly, "ops": ops})


def gets(section, key, default="dflt", size=128, file="case"):
    return {"op": "get_string", "section": section, "key": key, "default": default,
            "size": size, "file": file}


def sections(size=256, file="case"):
    return gets(None, None, "0", size, file)


def keys(section, size=256, default="0", file="case"):
    return gets(section, None, default, size, file)


def geti(section, key, default=0, file="case"):
    return {"op": "get_int", "section": section, "key": key, "default": default, "file": file}


def write(section, key, value, file="case"):
    return {"op": "write_string", "section": section, "key": key, "value": value, "file": file}


def utf8(text):
    return "\xef\xbb\xbf" + text.encode("utf-8").decode("latin-1")


def utf16le(text, mark=True):
    return ("\xff\xfe" if mark else "") + text.encode("utf-16-le").decode("latin-1")


def utf16be(text):
    return "\xfe\xff" + text.encode("utf-16-be").decode("latin-1")


# Section headers: the name runs to the last ']' and loses the blanks around it.
case("hdr-last-bracket", "a header's name runs to the last ']' on its line",
     "[S]]\r\nk=1\r\n[a]b]\r\nj=2\r\n[x]y] ; z\r\nm=3\r\n",
     [sections(), gets("S]", "k"), gets("S", "k"), gets("a]b", "j"), gets("x]y", "m"),
      keys("S]")])
case("hdr-blanks", "blanks, ^Z, vertical tab and form feed around a header name do not count",
     "  [ S ]  \r\nk=1\r\n[\tT\x0b]\r\nj=2\r\n[\x1aU\x0c]\r\nm=3\r\n[\x01V\x7f]\r\nn=4\r\n",
     [sections(), gets("S", "k"), gets("T", "j"), gets("U", "m"), gets("V", "n"),
      gets("\x01V\x7f", "n")])
case("hdr-no-bracket", "a line that opens a bracket without closing it is a key",
     "[S\r\nk=v\r\n[T]\r\nj=w\r\n", [sections(), gets("", "[S"), gets("S", "k"), keys("")])

# Entries before the first header belong to the section with the empty name.
case("unnamed-read", "keys before the first header read and list with the section \"\"",
     "a=1\r\n;c=0\r\nb\r\n[S]\r\nc=3\r\n",
     [gets("", "a"), gets(" ", "a"), keys(""), gets("", "b"), sections(), gets("S", "a")])
case("unnamed-empty-header", "a '[]' section is not the one that \"\" reads",
     "[]\r\na=1\r\n[S]\r\nb=2\r\n", [gets("", "a"), keys(""), sections()])
case("unnamed-write", "a key written to \"\" goes before the first header",
     "[S]\r\nk=1\r\n", [write("", "x", "1"), write("", "y", "2"), gets("", "x"), keys("")])
case("unnamed-write-new-file", "a key written to \"\" in a new file", None,
     [write("", "k", "1"), write("S", "j", "2"), write("", "m", "3")])
case("unnamed-delete", "deleting the section \"\" removes the keys before the first header",
     "a=1\r\nb=2\r\n[S]\r\nc=3\r\n", [write("", None, None), gets("", "a"), gets("S", "c")])

# A NUL character ends the name or the value it stands in.
case("nul-in-lines", "a NUL ends what is read of a name, a value or a header",
     "[S]\r\nk=v\x00w\r\nj\x00x=2\r\nm \x00=3\r\nn=4 \x00 5\r\nq=\"a\x00\"\r\n[T\x00U]\r\nt=1\r\n",
     [gets("S", "k"), gets("S", "j"), gets("S", "m"), gets("S", "n"), gets("S", "q"),
      keys("S"), sections(), gets("T", "t")])
case("nul-empty-names", "a name that a NUL cuts to nothing counts as empty",
     "\x00k=1\r\n[S]\r\n\x00=2\r\n=3\r\nq=4\r\n[\x00x]\r\nz=5\r\n",
     [keys(""), keys("S"), gets("S", ""), gets("S", "q"), sections()])

# Blanks: tab, LF, VT, FF, CR, ^Z and space; other control characters count.
case("blank-controls", "^Z, vertical tab and form feed are trimmed around names and values",
     "[S]\r\n\x1ak\x1a=\x1av\x1a\r\n\x0bj\x0b=\x0bw\x0b\r\n\x0cm\x0c=\x0cx\x0c\r\n"
     "\x01n\x01=\x01y\x01\r\n\x7fo=z\x7f\r\n\xa0p\xa0=\xa0q\xa0\r\n\r\n\x1a\r\n",
     [gets("S", "k"), gets("S", "j"), gets("S", "m"), gets("S", "n"), gets("S", "\x01n\x01"),
      gets("S", "\x7fo"), gets("S", "p"), gets("S", "\xa0p\xa0"), keys("S")])
case("blank-arguments", "the same blanks around section and key arguments do not count",
     "[S]\r\nk=1\r\n",
     [gets("\x0bS\x1a", "\x0ck\x1a"), gets("\x01S", "k"), write("S", "\x1ak\x0b", "2"),
      write("S", "j", "\x0b\x1a v"), gets("S", "j")])
case("blank-dos-end", "a ^Z at the end of a file is a blank line", "[S]\r\nk=1\r\n\x1a",
     [gets("S", "k"), sections(), write("S", "j", "2")])

# Names compare without regard to the case of ASCII letters only.
case("case-ascii-only", "case is ignored for ASCII letters, not for others",
     "[Caf\xe9]\r\nk=1\r\n[\x8a]\r\nj=2\r\n[CONFIGURATION]\r\nCommPort=4\r\n",
     [gets("CAF\xc9", "k"), gets("caf\xe9", "K"), gets("\x9a", "j"),
      gets("configuration", "commport")])

# Listing and deleting take names exactly; reading and writing trim them.
case("trim-list-delete-exact", "padded names read and write, but neither list nor delete",
     "[S]\r\nk=1\r\nj=2\r\n",
     [keys(" S "), keys("S "), gets(" S ", " k "), write(" S ", "k", None),
      write("S", " k ", None), write("S", "\tj", None), write(" S ", None, None), keys("S"),
      write(" S ", " k ", "3"), write("S", "j\t", "4")])
case("trim-new-names", "new names and values lose leading blanks only", None,
     [write(" S ", " k ", " v "), write("\tT\t", "\tj\t", "\tw\t"), sections(), keys("S"),
      keys("T"), gets("S", "k")])

# Writes that fail where the file cannot be written, even when they would change nothing.
case("fail-read-only", "every write to a read-only file fails", "[S]\r\nk=1\r\n",
     [write("S", "nope", None), write("nope", None, None), write("S", "k", "1"),
      write("S", "k", None), write("S", None, None), write("S", "k", "2"), gets("S", "k"),
      geti("S", "k", 3), sections()], readonly=True)
case("fail-missing-folder", "every write in a missing folder fails; reads give defaults", None,
     [write("S", "k", None, "nodir"), write("S", None, None, "nodir"),
      write("S", "k", "1", "nodir"), write(None, None, None, "nodir"),
      sections(file="nodir"), keys("S", file="nodir"), gets("S", "k", "'q'", file="nodir"),
      gets("S", "k", "d  ", file="nodir"), keys("S", default="\"q\"", file="nodir"),
      geti("S", "k", 9, "nodir")])
case("fail-missing-folder-beside-file", "a write in a missing folder leaves the case's file",
     "[S]\r\nk=1\r\n", [write("S", "k", "2", "nodir"), gets("S", "k")])
case("delete-in-missing-file", "deletes in a missing file succeed and create nothing", None,
     [write("S", "k", None), write("S", None, None)])

# Quotes around a value or a default.
case("quote-values", "one pair of matching quotes goes; a lone or odd quote stays",
     "[S]\r\na=\"\r\nb='\r\nc=\"\"\r\nd='a\"\r\ne=\"a\"b\"\r\nf=\"a\r\ng=a\"\r\nh='abc'\r\n"
     "i= \"v w\" \r\n",
     [gets("S", x) for x in "abcdefghi"])
case("quote-cut", "a quoted value cut before its closing quote loses one more character",
     "[S]\r\nk=\"abc\"\r\n",
     [gets("S", "k", "d", 3), gets("S", "k", "d", 4), gets("S", "k", "d", 5),
      gets("S", "k", "d", 6), gets("S", "k", "'xyz'", 4)])
case("quote-defaults", "defaults lose their quotes, except for a value in a missing folder",
     "[S]\r\nk=1\r\n",
     [gets("S", "x", "\"q\""), gets("S", "x", "'q'  "), keys("T", default="\"q\""),
      gets("S", "x", "\"q\"", file="nodir"), keys("T", default="'q'", file="nodir")])

# Trailing spaces of a default.
case("default-spaces", "a value's default loses trailing spaces, a list's default keeps them",
     "[S]\r\nk=1\r\n[E]\r\n",
     [gets("S", "x", "d  "), gets("S", "x", "   "), gets("S", "x", " a\t "), keys("T", default="d  "),
      keys("E", default="   "), gets("S", "", "d  "), sections()])

# Empty key names.
case("empty-key-names", "a line with nothing before '=' counts once after another such line",
     "[S]\r\n=a\r\n=b\r\nk=1\r\n=c\r\n=d\r\n",
     [keys("S"), gets("S", ""), keys("S", 4), keys("S", 5), write("S", "", "x"),
      write("S", "", None), keys("S"), gets("S", "")])
case("empty-key-write", "a key with the empty name is written and read back", "[S]\r\nk=1\r\n",
     [write("S", "", "x"), keys("S"), gets("S", ""), gets("S", "", "d", 1)])

# Duplicates and shadowing.
case("dup-delete-later-section", "a key is deleted from a later section of the same name",
     "[S]\r\na=1\r\n[T]\r\n[S]\r\nk=2\r\n",
     [write("S", "k", None), write("S", "a", None), write("S", None, None), sections()])
case("dup-shadowing-line", "a first line without '=' hides a later value of the same key",
     "[S]\r\nk\r\nk=1\r\n", [gets("S", "k"), geti("S", "k", 7), write("S", "k", "2"), keys("S")])
case("comment-keys", "';' lines are keys that lists leave out",
     "[S]\r\n;c=1\r\n   ;x=1\r\n#h=v\r\n;z\r\n",
     [gets("S", ";c"), gets("S", ";x"), keys("S"), write("S", ";c", None), write("S", ";z", "5")])

# UTF-8 files.
case("utf8-read", "a UTF-8 file reads in code page 1252",
     utf8("[S]\r\nk=café\r\nj=€Ÿ\r\nn=中\r\n[café]\r\nx=1\r\n"),
     [gets("S", "k"), gets("S", "j"), gets("S", "n"), gets("caf\xe9", "x"), sections(),
      geti("caf\xe9", "x")])
case("utf8-write", "code page 1252 goes into a UTF-8 file as UTF-8", utf8("[S]\r\nk=1\r\n"),
     [write("S", "k", "caf\xe9"), write("caf\xe9", "\x80", "\x80\xff"), gets("S", "k"),
      gets("caf\xe9", "\x80"), keys("caf\xe9")])
case("utf8-code-page", "every byte from 0x80 through a UTF-8 file and back",
     utf8("[S]\r\n"), [write("S", "k", "x" + "".join(chr(c) for c in range(0x80, 0x100)) + "x"),
                      gets("S", "k", size=256)])
case("utf8-broken", "malformed UTF-8 reads as '?' per broken sequence",
     "\xef\xbb\xbf[S]\r\n" + "".join("k%d=<%s>\r\n" % (i, b) for i, b in enumerate(
         ["\xc3", "a\xe2\x82b", "\xed\xa0\x80", "\xc0\xaf", "\xf4\x90\x80\x80", "\xf0\x9f\x98x",
          "\x80\x80", "\xfe", "\xef\xbf\xbf", "\xe0\x80\x80", "\xf0\x80\x80\x80", "\xe9",
          "\xf0\x9f\x98\x80"])),
     [gets("S", "k%d" % i) for i in range(13)])
case("utf8-mark-only", "a file of only a UTF-8 mark", "\xef\xbb\xbf",
     [sections(), write("S", "k", "1")])

# UTF-16 files.
case("utf16-comm-port", "a UTF-16LE file holding CommPort=5 reads 5 and stays UTF-16LE",
     utf16le("[Configuration]\r\nCommPort=5\r\n"),
     [geti("Configuration", "CommPort", 1), write("Configuration", "CommPort", "5"),
      write("Configuration", "CommPort", "7"), geti("Configuration", "CommPort", 1)])
case("utf16-write", "new keys, sections and 1252 text go into UTF-16LE",
     utf16le("[S]\r\nk=中\r\n"),
     [gets("S", "k"), write("S", "j", "caf\xe9\x80"), write("T", "t", "1"), gets("S", "j"),
      write("S", "k", None), keys("S"), sections()])
case("utf16-big-endian", "a UTF-16BE file reads and is written as UTF-16BE",
     utf16be("[S]\r\nk=5\r\n"), [geti("S", "k", 1), write("S", "k", "6"), write("S", "j", "7")])
# The recorded implementation pairs the odd byte with whatever byte its
# buffer held next, so neither that character nor a rewrite is recorded.
case("utf16-odd-length", "an odd byte at the end of UTF-16LE text leaves the rest readable",
     utf16le("[S]\r\nk=5\r\n") + "A", [geti("S", "k", 1), sections()])
case("utf16-mark-only", "a file of only a UTF-16LE mark", "\xff\xfe",
     [sections(), write("S", "k", "1")])
case("utf16-without-mark", "UTF-16 text without a mark is 8-bit text",
     utf16le("[S]\r\nk=5\r\n", mark=False), [geti("S", "k", 1), sections()])
case("utf16-cr-only", "new lines in a UTF-16LE file with CR endings",
     utf16le("[S]\rk=1\r"), [write("S", "j", "2"), gets("S", "j")])

# Where we differ from the recording on purpose (see the test runner).
case("keep-line-break-refused", "sections, keys and values holding CR or LF", "[S]\r\nk=1\r\n",
     [write("S", "k", "a\r\n[Evil]\r\nx=1"), write("S", "x\ny", "1"), write("T\rU", "k", "1"),
      sections()])
case("keep-empty-header", "a rewrite keeps a '[]' header and its keys in their section",
     "[A]\r\na=1\r\n[]\r\nb=2\r\n", [write("A", "n", "3"), keys("A")])
case("keep-nul-line", "a rewrite keeps a line with a NUL as it was",
     "[S]\r\nm \x00=3\r\n", [write("S", "a", "1"), gets("S", "m")])
case("keep-no-best-fit", "characters missing from code page 1252 read as '?'",
     utf8("[S]\r\nk=Ā\r\nj=ﬁ\r\n"), [gets("S", "k"), gets("S", "j")])

json.dump(CASES, sys.stdout, indent=1)
