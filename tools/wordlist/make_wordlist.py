#!/usr/bin/env python3
"""Build the word list of the word exercise (lesson text 5000).

The words are chosen by frequency: the ranking "commonWords" of the npm
package @zxcvbn-ts/language-pl, most frequent first, keeping only words that
the Polish spelling dictionary (Debian package wpolish) lists in exactly this
lower-case form, that consist of letters of the Polish alphabet only, that are
at most MAX_LEN letters long and that are not named in exclude.txt.

If fewer than COUNT words pass, the list is filled up from the dictionary
itself: its lower-case words of 3 to MAX_LEN letters in the dictionary's
file order, skipping words already taken and excluded ones. The result is
deterministic for given inputs.

Output: the words separated by single spaces, with one trailing space and no
line break (UTF-8; the build converts it to Windows-1250).
"""

import argparse
import json
import re
import sys
from pathlib import Path

COUNT = 5426
MAX_LEN = 17
LETTERS = re.compile(r"^[aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż]+$")

HERE = Path(__file__).resolve().parent
DEFAULT_RANKING = Path("/tmp/wl/node_modules/@zxcvbn-ts/language-pl/src/commonWords.json")
DEFAULT_DICT = Path("/usr/share/dict/polish")
DEFAULT_OUT = HERE.parent.parent / "data" / "lessons" / "5000.txt"


def read_exclusions(path):
    words = set()
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            words.add(line)
    return words


def acceptable(word, dictionary, excluded):
    return (LETTERS.match(word) is not None and len(word) <= MAX_LEN
            and word in dictionary and word not in excluded)


def build(ranking, dictionary_lines, excluded, report):
    dictionary = set(dictionary_lines)
    chosen, seen = [], set()
    for word in ranking:
        if word in seen or not acceptable(word, dictionary, excluded):
            continue
        seen.add(word)
        chosen.append(word)
    report(f"ranking: {len(ranking)} words, {len(chosen)} pass the filters")
    if len(chosen) < COUNT:
        report(f"filling up {COUNT - len(chosen)} words from the dictionary")
        for word in dictionary_lines:
            if len(chosen) >= COUNT:
                break
            if len(word) >= 3 and word not in seen and acceptable(word, dictionary, excluded):
                seen.add(word)
                chosen.append(word)
    if len(chosen) < COUNT:
        raise SystemExit(f"only {len(chosen)} words available, {COUNT} needed")
    chosen = chosen[:COUNT]
    longest = max(len(w) for w in chosen)
    report(f"taken: {len(chosen)} words, the longest {longest} letters")
    if longest != MAX_LEN:
        raise SystemExit(f"the longest word has {longest} letters, expected {MAX_LEN}")
    return chosen


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--ranking", type=Path, default=DEFAULT_RANKING,
                        help="commonWords.json of @zxcvbn-ts/language-pl")
    parser.add_argument("--dictionary", type=Path, default=DEFAULT_DICT,
                        help="word list of the wpolish package")
    parser.add_argument("--exclude", type=Path, default=HERE / "exclude.txt")
    parser.add_argument("--output", type=Path, default=DEFAULT_OUT)
    args = parser.parse_args()

    ranking = json.loads(args.ranking.read_text(encoding="utf-8"))
    dictionary_lines = args.dictionary.read_text(encoding="utf-8").split("\n")
    excluded = read_exclusions(args.exclude)
    words = build(ranking, dictionary_lines, excluded,
                  lambda msg: print(msg, file=sys.stderr))
    text = " ".join(words) + " "
    text.encode("cp1250")  # every letter must exist in the lesson code page
    args.output.write_bytes(text.encode("utf-8"))
    print(f"wrote {args.output}", file=sys.stderr)


if __name__ == "__main__":
    main()
