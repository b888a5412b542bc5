VS Code with the task of docs/editors.md: its problem matcher's expression,
run in Node, reads every finding's file, line, column (UTF-16 units, as the
task asks), severity, text and code as the JSON has them.
Needs: node python3

  $ . "$SRCDIR/tests/case_helpers.sh" && hostile_files && recipe json
  $ grep -c '"--column-unit=utf16"' editors.json
  1
  $ applist-lint -p 0-7 --column-unit=utf16 *.conf > utf16.out; applist-lint -p 0-7 --column-unit=utf16 -f json *.conf > utf16.json
  [1]
  $ node "$SRCDIR/tests/readers/problem_matcher.js" editors.json < utf16.out > node.out
  $ python3 "$SRCDIR/tests/lint_readers.py" entries node.out utf16.json
  32 of 32 findings read right
