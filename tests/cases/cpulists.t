CPU lists against the present CPUs 0-7.

  $ . "$SRCDIR/tests/case_helpers.sh"

Accepted: strtoul's base 0 for N, base 10 for M; items above 1023 dropped.

  $ check 'a=0-3\nb=0-3,6\nc=0 2;4\nd=0x4\ne=1-07\nf=5- 7\ng=5-,7\nh=0,2000\ni=0,-1\nj=3 -5\nk=1-2-3\n'
  配置文件解析完成，共加载 11 条规则，0 条通配符规则

Absent CPUs: the CPU, or N-M for a range, in decimal; the last failing item.

  $ check 'a=8\nb=010\nc=08\nd=0,1023\ne=6-9\nf=8-8\ng=1-010\nh=0x10\ni=0-3,9,5\nj=9,10\n'
  第 1 行无效 CPU 范围：8 在规则 a{}=8，超出可用 CPU (0-7)
  第 2 行无效 CPU 范围：8 在规则 b{}=010，超出可用 CPU (0-7)
  第 3 行无效 CPU 范围：8 在规则 c{}=08，超出可用 CPU (0-7)
  第 4 行无效 CPU 范围：1023 在规则 d{}=0,1023，超出可用 CPU (0-7)
  第 5 行无效 CPU 范围：6-9 在规则 e{}=6-9，超出可用 CPU (0-7)
  第 6 行无效 CPU 范围：8 在规则 f{}=8-8，超出可用 CPU (0-7)
  第 7 行无效 CPU 范围：1-10 在规则 g{}=1-010，超出可用 CPU (0-7)
  第 8 行无效 CPU 范围：16 在规则 h{}=0x10，超出可用 CPU (0-7)
  第 9 行无效 CPU 范围：9 在规则 i{}=0-3,9,5，超出可用 CPU (0-7)
  第 10 行无效 CPU 范围：10 在规则 j{}=9,10，超出可用 CPU (0-7)
  未加载有效规则
  [1]

Reversed ranges, whatever their numbers; a negative number wraps, and h
shows the longest error text there is.

  $ check 'a=3-1\nb=3-1,4\nc=9,3-1\nd=2000-1500\ne=5--3\nf=-3-5\ng=1000-2000\nh=-1--2\n'
  第 1 行无效 CPU 范围：3-1 在规则 a{}=3-1，超出可用 CPU (0-7)
  第 2 行无效 CPU 范围：3-1 在规则 b{}=3-1,4，超出可用 CPU (0-7)
  第 3 行无效 CPU 范围：3-1 在规则 c{}=9,3-1，超出可用 CPU (0-7)
  第 4 行无效 CPU 范围：2000-1500 在规则 d{}=2000-1500，超出可用 CPU (0-7)
  第 5 行无效 CPU 范围：5-18446744073709551613 在规则 e{}=5--3，超出可用 CPU (0-7)
  第 6 行无效 CPU 范围：18446744073709551613-5 在规则 f{}=-3-5，超出可用 CPU (0-7)
  第 7 行无效 CPU 范围：1000-2000 在规则 g{}=1000-2000，超出可用 CPU (0-7)
  第 8 行无效 CPU 范围：18446744073709551615-18446744073709551614 在规则 h{}=-1--2，超出可用 CPU (0-7)
  未加载有效规则
  [1]

No CPU left: the second message.

  $ check 'a=abc\nb{main}=2000\nc=-1\nd=,\n'
  第 1 行无效 CPU 范围：abc 在规则 a{}=abc，无有效 CPU
  第 2 行无效 CPU 范围：2000 在规则 b{main}=2000，无有效 CPU
  第 3 行无效 CPU 范围：-1 在规则 c{}=-1，无有效 CPU
  第 4 行无效 CPU 范围：, 在规则 d{}=,，无有效 CPU
  未加载有效规则
  [1]

So with no CPU present at all, too, a rule that names only numbers from 1024
up (-1 included) gets the second message, not the first.

  $ check 'a=-1\nb=1024\nc=0\n' ''
  第 1 行无效 CPU 范围：-1 在规则 a{}=-1，无有效 CPU
  第 2 行无效 CPU 范围：1024 在规则 b{}=1024，无有效 CPU
  第 3 行无效 CPU 范围：0 在规则 c{}=0，超出可用 CPU ()
  未加载有效规则
  [1]

The value keeps the blanks before its comment; a CR is trimmed; a rejected
rule's CPUs do not pass to the next.

  $ check 'game=0-9 # x\nother=8\r\nnext=abc\n'
  第 1 行无效 CPU 范围：0-9 在规则 game{}=0-9 ，超出可用 CPU (0-7)
  第 2 行无效 CPU 范围：8 在规则 other{}=8，超出可用 CPU (0-7)
  第 3 行无效 CPU 范围：abc 在规则 next{}=abc，无有效 CPU
  未加载有效规则
  [1]
