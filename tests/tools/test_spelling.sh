#!/bin/bash
# Every Russian word the user reads is spelt right: the string literals of the program and
# its tools, the instruction texts in data/source/instructions, the shell scripts' messages
# and the files of the package. A word must be known to hunspell's ru_RU dictionary or be
# one of the program's own terms in tests/tools/spelling-words.txt (sorted, one a line).
# An unknown word is named with its file and line.
# Called with the source and build directories; exits 77 when hunspell or ru_RU is missing.
set -u
root="$1"
if ! command -v hunspell >/dev/null || ! hunspell -d ru_RU -l </dev/null >/dev/null 2>&1
then
    echo "hunspell or its ru_RU dictionary is not installed (tools/install-deps.sh installs both)"
    exit 77
fi
cd "$root" || exit 1
exec /usr/bin/python3 - <<'PY'
import bisect, pathlib, re, subprocess, sys

WORDS = pathlib.Path("tests/tools/spelling-words.txt")
WORD = re.compile(r"[А-Яа-яЁё]+(?:-[А-Яа-яЁё]+)*")
# Comments and character literals are skipped; a string literal (raw or not, any prefix)
# is read without its escapes, so "\nИтог" gives the word "Итог".
CXX_TOKEN = re.compile(r'//[^\n]*|/\*.*?\*/|\'(?:\\.|[^\'\\\n])*\'|(?:u8|[uUL])?R"([^(\s]*)\((.*?)\)\1"'
                       r'|(?:u8|[uUL])?"((?:\\.|[^"\\\n])*)"', re.S)


def tracked_files():
    listed = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard"],
                            capture_output=True, text=True)
    if listed.returncode == 0:
        return [pathlib.Path(name) for name in listed.stdout.splitlines()]
    return [p.relative_to(".") for p in pathlib.Path(".").rglob("*")
            if p.is_file() and not p.parts[0].startswith(("build", ".git"))]


def cxx_texts(text):
    """(line, text) of each string, adjacent literals joined as the compiler joins them."""
    pieces, end = [], None
    for m in CXX_TOKEN.finditer(text):
        body = m.group(2) if m.group(2) is not None else m.group(3)
        if body is None:
            continue
        line = text.count("\n", 0, m.start()) + 1
        if m.group(3) is not None:
            body = re.sub(r"\\.", " ", body)
        if end is not None and not text[end:m.start()].strip() and pieces:
            pieces[-1].append((line, body))
        else:
            pieces.append([(line, body)])
        end = m.end()
    for parts in pieces:
        starts, joined = [], ""
        for line, body in parts:
            starts.append((len(joined), line))
            joined += body
        yield starts, joined


def occurrences(path):
    if path.parts[0] == "tests" or not path.is_file():
        return
    if path.suffix in (".cpp", ".h"):
        for starts, joined in cxx_texts(path.read_text(encoding="utf-8")):
            offsets = [offset for offset, _ in starts]
            for m in WORD.finditer(joined):
                yield starts[bisect.bisect_right(offsets, m.start()) - 1][1], m.group(0)
    elif (path.parts[:3] == ("data", "source", "instructions") or path.parts[0] == "packaging"
          or (path.parts[0] == "tools" and path.suffix == ".sh")):
        try:
            lines = path.read_text(encoding="utf-8").splitlines()
        except UnicodeDecodeError:
            return  # a picture
        for number, line in enumerate(lines, 1):
            for word in WORD.findall(line):
                yield number, word


listed = WORDS.read_text(encoding="utf-8").split()
if listed != sorted(set(listed)):
    print(f"{WORDS}: keep the words sorted and each once")
    sys.exit(1)
found = [(path, line, word) for path in tracked_files() for line, word in occurrences(path)]
if not found:
    print("no Russian texts found: the extraction is broken")
    sys.exit(1)
# -i: without a UTF-8 locale hunspell would read the words as another encoding and pass them all.
checked = subprocess.run(["hunspell", "-i", "UTF-8", "-d", "ru_RU", "-p", str(WORDS), "-l"],
                         capture_output=True, encoding="utf-8",
                         input="\n".join(sorted({w for _, _, w in found})))
unknown = set(checked.stdout.split())
faults = [f"{path}:{line}: {word}" for path, line, word in found
          if word in unknown or unknown.intersection(word.split("-"))]
for fault in faults:
    print(fault)
if faults:
    print(f"Correct these words; a correct word or term hunspell lacks goes into {WORDS}.")
sys.exit(1 if faults else 0)
PY
