What code scanning and the GitHub runner read of the lint's output, on files
with hostile names and texts: SARIF valid against the 2.1.0 schema, its rules
described with the manual page's words, every result as the JSON has it
(columns in UTF-16 units, names as percent-encoded relative URIs, standard
input under its --stdin-filename); every workflow command read by a port of
the runner's parser (tests/lint_readers.py) as the JSON has it.
Needs: python3 sarif-schema groff

  $ . "$SRCDIR/tests/case_helpers.sh" && hostile_files
  $ run() { applist-lint -p 0-7 --stdin-filename='sub/a b.conf' "$@" *.conf - < 'sp ace.conf'; }
  $ run -f sarif > out.sarif; run -f json --column-unit=utf16 > utf16.json
  [1]
  $ python3 -c 'import json, jsonschema, sys; jsonschema.validate(json.load(open("out.sarif")), json.load(open(sys.argv[1]))); print("valid")' "$SRCDIR/../shared/schemas/sarif-schema-2.1.0.json"
  valid
  $ python3 "$SRCDIR/tests/lint_readers.py" sarif out.sarif utf16.json
  42 of 42 findings read right
  $ groff -man -Tutf8 -P-cbou "$SRCDIR/man/applist-lint.1" > page.txt 2> /dev/null
  $ python3 -c 'import json, re; page = open("page.txt").read(); flat = re.sub(r"\s+", " ", page); rules = json.load(open("out.sarif"))["runs"][0]["tool"]["driver"]["rules"]; print(len(rules), "rules, not as in the manual page:", [r["id"] for r in rules if "\n   %s  %s\n" % (r["id"], r["shortDescription"]["text"]) not in page or r["fullDescription"]["text"] not in flat])'
  34 rules, not as in the manual page: []
  $ run -f github > out.github; run -f json > byte.json
  [1]
  $ python3 "$SRCDIR/tests/lint_readers.py" github out.github byte.json
  42 of 42 findings read right
