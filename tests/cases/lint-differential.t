The lint's errors are the checker's messages, message for message: on every
file of the fuzz corpus and on generated files with faulty lines of every
kind, for the same CPUs, each message of applist-check-for comes back as one
error of the lint with the same line and text (escaped as the lint shows
bytes), the code of its kind and the column promised, and the lint's status
is the worst of the checker's (tests/lint_differential.py).
Needs: python3

  $ python3 "$SRCDIR/tests/lint_differential.py" 0-7 "$SRCDIR"/fuzz/corpus/whole_run/*
  630 files, 7674 messages, 0 differences
  $ mkdir generated && python3 "$SRCDIR/tests/lint_differential.py" 0-3,6 --generate 40 generated
  40 files, 2360 messages, 0 differences
