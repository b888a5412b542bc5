The checker's faults as applist-lint shows them: the checker's words without
the line number, a column, a code.

  $ . "$SRCDIR/tests/case_helpers.sh"

The syntax faults are at column 1.

  $ squeeze xp lint "$(x 254)\n$(x 255)\n# $(x 253)\ngame\n=0\ngame=\ngame{main=0\ngame{}=0\ngame{main}x=0\ngame}=0\n$(x 128 p)=0\ng{$(x 32 t)}=0\n"
  rules.conf:1:1: error: 无效规则：缺少 '=': x [E002]
  rules.conf:2:1: error: 过长 [E001]
  rules.conf:3:1: error: 过长 [E001]
  rules.conf:4:1: error: 无效规则：缺少 '=': game [E002]
  rules.conf:5:1: error: 无效规则：键为空:  [E003]
  rules.conf:6:1: error: 无效规则：值为空: game [E004]
  rules.conf:7:1: error: 无效规则：缺少闭合 '}': game [E005]
  rules.conf:8:1: error: 无效规则：线程名为空: game [E006]
  rules.conf:9:1: error: 无效规则：'}' 后包含非法字符: game [E007]
  rules.conf:10:1: error: 无效规则：缺少 '{': game} [E008]
  rules.conf:11:1: error: 无效规则：包名或线程名过长: p [E009]
  rules.conf:12:1: error: 无效规则：包名或线程名过长: g [E009]
  rules.conf:1:1: error: 未加载有效规则 [E021]
  [1]

A duplicate is at its package and names the line whose rule stays (a rule
that failed its CPU check never stays); a CPU fault is at the value. Columns
count bytes.

  $ lint 'game=9\ngame=0\n  game=1\n\346\270\270\346\210\217=9\n\377x=\t8-9\ng{t}=abc\nh=2000\ni=3-1\ng{t}=1\n'
  rules.conf:1:6: error: 无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-7) [E011]
  rules.conf:3:3: error: 重复规则：game{}=1（保留的是第 2 行的规则） [E010]
  rules.conf:4:1: warning: 包名 "游戏" 含有包名和进程名都不会有的字节 '游'：没有应用叫这个名字 [W113]
  rules.conf:4:8: error: 无效 CPU 范围：9 在规则 游戏{}=9，超出可用 CPU (0-7) [E011]
  rules.conf:5:1: warning: 包名 "\xFFx" 含有包名和进程名都不会有的字节 '\xFF'：没有应用叫这个名字 [W113]
  rules.conf:5:5: error: 无效 CPU 范围：8-9 在规则 \xFFx{}=8-9，超出可用 CPU (0-7) [E011]
  rules.conf:6:6: error: 无效 CPU 范围：abc 在规则 g{t}=abc，无有效 CPU [E012]
  rules.conf:6:6: warning: CPU 列表中的 'a' 不是数字，被逐字节跳过：规则实际的 CPU 为 "" [W105]
  rules.conf:7:3: error: 无效 CPU 范围：2000 在规则 h{}=2000，无有效 CPU [E012]
  rules.conf:7:3: warning: "2000" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 "" [W103]
  rules.conf:8:3: error: 无效 CPU 范围：3-1 在规则 i{}=3-1，超出可用 CPU (0-7) [E011]
  [1]

A file without a rule, and files that cannot be checked, are findings about
the whole file; their names are escaped as every text is.

  $ lint '# only a comment\n'
  rules.conf:1:1: error: 未加载有效规则 [E021]
  [1]
  $ : > empty.conf && mkdir dir
  $ applist-lint -p 0-7 "$(printf 'no\033.conf')" empty.conf dir > out
  [2]
  $ sed 's/\(无法映射配置文件 [^:]*\): .* \[/\1: ... [/' out
  no\x1B.conf:1:1: error: 配置文件不存在: no\x1B.conf [E020]
  empty.conf:1:1: error: 无法映射配置文件 empty.conf: ... [E020]
  dir:1:1: error: 无法映射配置文件 dir: ... [E020]
