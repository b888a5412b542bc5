Hostile rule files end with their exact output and status.
Needs: python3

  $ . "$SRCDIR/tests/case_helpers.sh"

Bytes that are no UTF-8 and control bytes are echoed as they are.

  $ check '\377\376.game=0\n\303(=0\n\303(=0\n\344\270\ngame{\355\240\200}=0\n\300\257*=0\n\001\002game\177=0\n\033[31mgame\033[0m=0\n\033[2J\n'
  第 3 行重复规则：\xc3({}=0 (esc)
  第 4 行无效规则：缺少 '=': \xe4\xb8 (esc)
  第 9 行无效规则：缺少 '=': \x1b[2J (esc)
  配置文件解析完成，共加载 6 条规则，2 条通配符规则
  [1]

Two million pseudo-random bytes, the same on every run (Python's generator
seeded with 1): every message a whole line, and the run ends as it must.

  $ python3 -c 'import random, sys; sys.stdout.buffer.write(random.Random(1).randbytes(2000000))' > random.conf
  $ applist-check-for 0-7 -c random.conf > out
  [1]
  $ wc -l < out; LC_ALL=C grep -c -v '^第 [0-9]* 行' out; tail -n 1 out
  7418
  1
  配置文件解析完成，共加载 277 条规则，91 条通配符规则
