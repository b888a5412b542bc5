The line loop: numbering, the 254-byte limit, NUL bytes, summary and status.

  $ . "$SRCDIR/tests/case_helpers.sh"

Every line counts; a last line without a line feed is read; a lone CR is no
line end.

  $ check 'a\n\nb'
  第 1 行无效规则：缺少 '=': a
  第 3 行无效规则：缺少 '=': b
  未加载有效规则
  [1]
  $ check '# c\n  \ngame=0\n#\nb\n'
  第 5 行无效规则：缺少 '=': b
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ check 'a=0\rb=0\r'
  配置文件解析完成，共加载 1 条规则，0 条通配符规则

Nothing loaded: status 1 though no line is faulty.

  $ check '# only\n   \n\t# comments\n'
  未加载有效规则
  [1]

At most 254 bytes before the LF, a CR included, comments too (squeeze shows
each run of x as one).

  $ squeeze x check "$(x 254)\ny\n"
  第 1 行无效规则：缺少 '=': x
  第 2 行无效规则：缺少 '=': y
  未加载有效规则
  [1]
  $ check "$(x 255)\ny\n"
  第 1 行过长
  第 2 行无效规则：缺少 '=': y
  未加载有效规则
  [1]
  $ squeeze x check "$(x 253)\r\n$(x 254)\r\nh=0\r\n"
  第 1 行无效规则：缺少 '=': x
  第 2 行过长
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ check "#$(x 253)\nh=0\n#$(x 254)\n"
  第 3 行过长
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ check "game=0$(x 247 ' ')#\nh=0$(x 249 ' ')#\r\n"
  配置文件解析完成，共加载 2 条规则，0 条通配符规则
  $ check "game=0$(x 248 ' ')#\n"
  第 1 行过长
  未加载有效规则
  [1]

A NUL byte ends the text of its line, but not the line.

  $ check 'game\0=0\nh=0\n'
  第 1 行无效规则：缺少 '=': game
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ check 'game=0\0junk{\n'
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  $ check "g=0\0$(x 251)\nh=0\n"
  第 1 行过长
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ check '\0\n\0\0\n\0'
  未加载有效规则
  [1]

Many messages arrive complete and in order, through a pipe and into a file.

  $ seq -f 'bad %g' 3000 > many.conf && echo 'game=0' >> many.conf
  $ applist-check-for 0 -c many.conf > out
  [1]
  $ { applist-check-for 0 -c many.conf; echo "status $?" >&2; } | cmp - out
  status 1
  $ awk '{ printf "第 %d 行无效规则：缺少 \x27=\x27: %s\n", NR, $0 }' many.conf | head -n 3000 > expected
  $ head -n 3000 out | cmp - expected && tail -n 1 out
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
