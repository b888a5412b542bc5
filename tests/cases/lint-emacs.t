Emacs (emacs-nox, batch) with the recipe of docs/editors.md: compilation-mode
reads every finding's file, line, column (characters) and type as the JSON
has them.
Needs: emacs python3

  $ . "$SRCDIR/tests/case_helpers.sh" && hostile_files && recipe elisp && mv editors.elisp editors.el
  $ applist-lint -p 0-7 --column-unit=char *.conf > char.out; applist-lint -p 0-7 --column-unit=char -f json *.conf > char.json
  [1]
  $ emacs -Q --batch -l "$SRCDIR/tests/readers/compile.el" char.out > emacs.out 2> /dev/null
  $ python3 "$SRCDIR/tests/lint_readers.py" entries emacs.out char.json
  32 of 32 findings read right
