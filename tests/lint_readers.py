#!/usr/bin/env python3
"""What each reader of the lint's output makes of it, against the lint's own
JSON of the same run: every finding read with its file, line, column,
severity and text, and nothing else read.

    lint_readers.py entries ENTRIES JSON   file|line|column|severity|text lines
                                           (Vim's quickfix list, the VS Code
                                           expression's matches, Emacs)
    lint_readers.py github OUTPUT JSON     -f github through a port of the
                                           runner's parser of workflow commands
    lint_readers.py sarif OUTPUT JSON      -f sarif (columns in UTF-16 units)

A severity is read as its first letter; a text ends with " [CODE]".
Prints the number of findings read right; exits 1 on any difference.
"""
import json
import sys
from collections import Counter
from urllib.parse import quote


def unescape(value, mappings):
    # The runner's ActionCommand: each escape replaced in turn.
    for token, replacement in mappings:
        value = value.replace(replacement, token)
    return value


DATA = [("\r", "%0D"), ("\n", "%0A"), ("%", "%25")]
PROPERTY = [("\r", "%0D"), ("\n", "%0A"), (":", "%3A"), (",", "%2C"), ("%", "%25")]


def runner_command(line):
    """The runner's TryParseV2: (command, properties, data), or None."""
    line = line.lstrip()
    if not line.startswith("::"):
        return None
    end = line.find("::", 2)
    if end < 0:
        return None
    info = line[2:end]
    space = info.find(" ")
    name = info if space < 0 else info[:space]
    properties = {}
    if space > 0:
        for item in [p for p in info[space + 1:].strip().split(",") if p]:
            pair = [p for p in item.split("=", 1) if p]
            if len(pair) == 2:
                properties[pair[0]] = unescape(pair[1], PROPERTY)
    return name, properties, unescape(line[end + 2:], DATA)


def read(kind, text):
    found = []
    for line in text.split("\n")[:-1] if kind != "sarif" else []:
        if kind == "github":
            name, p, data = runner_command(line)
            found.append((p["file"], int(p["line"]), int(p["col"]), name[0], data + " [%s]" % p["title"]))
        else:
            file, number, column, severity, message = line.split("|", 4)
            found.append((file, int(number), int(column), severity[0], message))
    if kind == "sarif":
        run = json.loads(text)["runs"][0]
        assert run["columnKind"] == "utf16CodeUnits"
        for r in run["results"]:
            where = r["locations"][0]["physicalLocation"]
            rule = run["tool"]["driver"]["rules"][r["ruleIndex"]]
            assert rule["id"] == r["ruleId"] and rule["defaultConfiguration"]["level"] == r["level"]
            found.append((where["artifactLocation"]["uri"], where["region"]["startLine"],
                          where["region"]["startColumn"], r["level"][0], r["message"]["text"] + " [%s]" % r["ruleId"]))
    return found


def main(kind, output, truth):
    with open(output, encoding="utf-8") as f:
        found = read(kind, f.read())
    with open(truth, encoding="utf-8") as f:
        expected = [(d["file"], d["line"], d["column"], d["level"][0], d["message"] + " [%s]" % d["code"])
                    for d in json.load(f)["diagnostics"]]
    if kind == "sarif":
        expected = [(quote(e[0], safe="/-._~"),) + e[1:] for e in expected]
    missing, extra = Counter(expected) - Counter(found), Counter(found) - Counter(expected)
    for e in missing:
        print("not read:", e)
    for f in extra:
        print("read but not reported:", f)
    right = not missing and not extra
    print("%d of %d findings read right" % (len(found) if right else 0, len(expected)))
    return 0 if right else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
