#!/usr/bin/env python3
"""The lint's errors against the checker's messages, file by file.

    lint_differential.py LIST FILE...          compare on the given files
    lint_differential.py LIST --generate N DIR  first write N faulty files to DIR

For each file, `applist-check-for LIST -c FILE` gives the checker's messages;
one `applist-lint -p LIST -s error -f json` over all files gives the lint's.
They must be the same set of (line, text) pairs, each with the code its
message kind has and the column the lint promises, and the lint's status must
be the checker's worst (2 where a file could not be checked). Prints each difference, then a one-line tally; exits 1
on any difference.
"""
import json
import random
import re
import subprocess
import sys

# The checker's text after "第 N 行", and the code the lint gives it.
KINDS = [
    ("E001", r"过长"), ("E002", r"无效规则：缺少 '='"), ("E003", r"无效规则：键为空"),
    ("E004", r"无效规则：值为空"), ("E005", r"无效规则：缺少闭合 '}'"), ("E006", r"无效规则：线程名为空"),
    ("E007", r"无效规则：'}' 后包含非法字符"), ("E008", r"无效规则：缺少 '{'"),
    ("E009", r"无效规则：包名或线程名过长"), ("E010", r"重复规则："),
    ("E011", r"无效 CPU 范围：.*，超出可用 CPU \("), ("E012", r"无效 CPU 范围：.*，无有效 CPU$"),
]
BLANKS = b"\t\n\v\f\r "


def shown(raw):
    """Bytes as the lint shows them: each byte of a control character (C0,
    DEL, C1) and each byte outside valid UTF-8 as \\xHH, a backslash doubled."""
    out = []
    for ch in raw.decode("utf-8", "surrogateescape"):
        code = ord(ch)
        if 0xDC80 <= code <= 0xDCFF:
            out.append("\\x%02X" % (code - 0xDC00))
        elif code < 0x20 or 0x7F <= code < 0xA0:
            out.append("".join("\\x%02X" % b for b in ch.encode()))
        else:
            out.append("\\\\" if ch == "\\" else ch)
    return "".join(out)


def columns(line):
    """The columns (bytes from 1) where the package and the value start."""
    line = line.split(b"\0")[0]
    key_start = len(line) - len(line.lstrip(BLANKS))
    equals = line.find(b"=")
    value_start = equals + 1 + len(line[equals + 1:]) - len(line[equals + 1:].lstrip(BLANKS))
    width = lambda end: end + 1
    return width(key_start), width(value_start)


def checker(cpus, path):
    """The checker's findings: {(line, code, column, text)} and its status."""
    run = subprocess.run(["applist-check-for", cpus, "-c", path], stdout=subprocess.PIPE)
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    found = set()
    for raw in run.stdout.split(b"\n")[:-1]:
        m = re.match(rb"\xe7\xac\xac (\d+) \xe8\xa1\x8c(.*)$", raw, re.S)  # 第 N 行
        if m is None:
            text = shown(raw)
            if text == "未加载有效规则":
                found.add((1, "E021", 1, text))
            elif re.match(r"(配置文件不存在|无法打开配置文件|无法映射配置文件) ", text):
                found.add((1, "E020", 1, text))
            continue  # the summary
        number, text = int(m.group(1)), shown(m.group(2))
        code = next(c for c, pattern in KINDS if re.match(pattern, text))
        package, value = columns(lines[number - 1])
        column = {"E010": package, "E011": value, "E012": value}.get(code, 1)
        found.add((number, code, column, text))
    # A file that cannot be checked is 2 for the lint, 1 for the checker.
    return found, 2 if any(f[1] == "E020" for f in found) else run.returncode


def lint(cpus, paths):
    """The lint's findings per file, and its status."""
    run = subprocess.run(["applist-lint", "-p", cpus, "-s", "error", "-f", "json", "--"] + paths,
                         stdout=subprocess.PIPE)
    found = {path: set() for path in paths}
    for d in json.loads(run.stdout)["diagnostics"]:
        text = d["message"]
        if d["code"] == "E010":  # the lint adds where the rule that stays is
            text, added = re.subn(r"（保留的是第 \d+ 行的规则）$", "", text)
            text += "" if added else " [no kept line]"
        if d["whole_file"] != (d["code"] in ("E020", "E021", "E023")):
            text += " [whole_file wrong]"
        found[d["file"]].add((d["line"], d["code"], d["column"], text))
    return found, run.returncode


def generate(count, directory, seed=1):
    """Rule files with faulty lines of every kind the checker reports."""
    rng = random.Random(seed)
    pieces = ["game", "com.example.app", "{", "}", "=", "#", " ", "\t", "-", ",", "0", "7", "8",
              "1023", "5000", "0x1", "010", "{main}", "{}", "*", "[", "\udcff", "，", "\r"]
    paths = []
    for i in range(count):
        lines = []
        for _ in range(rng.randrange(20, 120)):
            kind = rng.random()
            if kind < 0.5:
                line = "".join(rng.choice(pieces) for _ in range(rng.randrange(1, 12)))
            elif kind < 0.8:
                line = "pkg%d%s=%s" % (rng.randrange(30), rng.choice(["", "{t}", "{t%d}" % rng.randrange(3)]),
                                       rng.choice(["0-7", "3", "7-2", "9", "abc", "2000", "0,9"]))
            elif kind < 0.9:
                line = rng.choice(["x" * 254, "y" * 255, "p" * 128 + "=1", "g{" + "t" * 32 + "}=1"])
            else:
                line = lines[rng.randrange(len(lines))] if lines else ""
            lines.append(line)
        path = "%s/generated-%d.conf" % (directory, i)
        with open(path, "wb") as f:
            f.write("\n".join(lines).encode("utf-8", "surrogateescape"))
        paths.append(path)
    return paths


def main(argv):
    cpus, paths = argv[1], argv[2:]
    if paths[:1] == ["--generate"]:
        paths = generate(int(paths[1]), paths[2])
    linted, lint_status = lint(cpus, paths)
    differences = messages = 0
    worst = 0
    for path in paths:
        expected, status = checker(cpus, path)
        worst = max(worst, status)
        messages += len(expected)
        for extra in sorted(linted[path] - expected):
            print("%s: only the lint: %r" % (path, extra))
        for missing in sorted(expected - linted[path]):
            print("%s: only the checker: %r" % (path, missing))
        differences += len(expected ^ linted[path])
    if lint_status != worst:
        print("the lint's status is %d; the checker's worst is %d" % (lint_status, worst))
        differences += 1
    print("%d files, %d messages, %d differences" % (len(paths), messages, differences))
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
