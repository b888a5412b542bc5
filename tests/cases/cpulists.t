CPU lists against the present CPUs 0-7.

  $ . "$SRCDIR/tests/case_helpers.sh"

Accepted: strtoul's base 0 for N, base 10 for M; items above 1023 dropped.

  $ check 'a=0-3\nb=0-3,6\nc=0 2;4\nd=0x4\ne=1-07\nf=5- 7\ng=5-,7\nh=0,2000\ni=0,-1\nj=3 -5\nk=1-2-3\n'
  配置文件解析完成，共加载 11 条规则，0 条通配符规则

Rejected (a to j) for an absent CPU: the CPU, or N-M for a range, in
decimal, of the last failing item. For a reversed range whatever its numbers
(k to r; a negative number wraps, r shows the longest error text there is).
For no CPU left, with the second message (s to v). The value keeps the blanks
before its comment, a CR is trimmed, a rejected rule's CPUs do not pass to
the next.

  $ check 'a=8\nb=010\nc=08\nd=0,1023\ne=6-9\nf=8-8\ng=1-010\nh=0x10\ni=0-3,9,5\nj=9,10\nk=3-1\nl=3-1,4\nm=9,3-1\nn=2000-1500\no=5--3\np=-3-5\nq=1000-2000\nr=-1--2\ns=abc\nt{main}=2000\nu=-1\nv=,\ngame=0-9 # x\nother=8\r\nnext=abc\n'
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
  第 11 行无效 CPU 范围：3-1 在规则 k{}=3-1，超出可用 CPU (0-7)
  第 12 行无效 CPU 范围：3-1 在规则 l{}=3-1,4，超出可用 CPU (0-7)
  第 13 行无效 CPU 范围：3-1 在规则 m{}=9,3-1，超出可用 CPU (0-7)
  第 14 行无效 CPU 范围：2000-1500 在规则 n{}=2000-1500，超出可用 CPU (0-7)
  第 15 行无效 CPU 范围：5-18446744073709551613 在规则 o{}=5--3，超出可用 CPU (0-7)
  第 16 行无效 CPU 范围：18446744073709551613-5 在规则 p{}=-3-5，超出可用 CPU (0-7)
  第 17 行无效 CPU 范围：1000-2000 在规则 q{}=1000-2000，超出可用 CPU (0-7)
  第 18 行无效 CPU 范围：18446744073709551615-18446744073709551614 在规则 r{}=-1--2，超出可用 CPU (0-7)
  第 19 行无效 CPU 范围：abc 在规则 s{}=abc，无有效 CPU
  第 20 行无效 CPU 范围：2000 在规则 t{main}=2000，无有效 CPU
  第 21 行无效 CPU 范围：-1 在规则 u{}=-1，无有效 CPU
  第 22 行无效 CPU 范围：, 在规则 v{}=,，无有效 CPU
  第 23 行无效 CPU 范围：0-9 在规则 game{}=0-9 ，超出可用 CPU (0-7)
  第 24 行无效 CPU 范围：8 在规则 other{}=8，超出可用 CPU (0-7)
  第 25 行无效 CPU 范围：abc 在规则 next{}=abc，无有效 CPU
  未加载有效规则
  [1]

With no CPU present at all, too, a rule that names only numbers from 1024 up
(-1 included) gets the second message, not the first.

  $ check 'a=-1\nb=1024\nc=0\n' ''
  第 1 行无效 CPU 范围：-1 在规则 a{}=-1，无有效 CPU
  第 2 行无效 CPU 范围：1024 在规则 b{}=1024，无有效 CPU
  第 3 行无效 CPU 范围：0 在规则 c{}=0，超出可用 CPU ()
  未加载有效规则
  [1]
