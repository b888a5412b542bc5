Vim (vim-nox) with the recipe of docs/editors.md: :make on each file with the
makeprg (%:S) and errorformat (e and w kept), every quickfix entry's file,
line, column (bytes), type and text as the JSON has them.
Needs: vim python3

  $ . "$SRCDIR/tests/case_helpers.sh" && hostile_files && recipe vim
  $ vim -N -u NONE -i NONE -es -S editors.vim -S "$SRCDIR/tests/readers/quickfix.vim" -- *.conf > /dev/null
  $ applist-lint -p 0-7 -f json *.conf > byte.json
  [1]
  $ python3 "$SRCDIR/tests/lint_readers.py" entries vim.out byte.json
  32 of 32 findings read right
