The line loop: numbering, the 254-byte limit, NUL bytes, summary and status.

  $ . "$SRCDIR/tests/case_helpers.sh"

Every line counts; a last line without a line feed is read; a lone CR is no
line end. Nothing loaded is status 1, though no line is faulty.

  $ check 'a\n\nb=0\rc=0\r\n# c\n  \ngame=0\n#\nd'
  第 1 行无效规则：缺少 '=': a
  第 8 行无效规则：缺少 '=': d
  配置文件解析完成，共加载 2 条规则，0 条通配符规则
  [1]
  $ check '# only\n   \n\t# comments\n'
  未加载有效规则
  [1]

At most 254 bytes before the LF, a CR, a comment and a NUL's tail included
(squeeze shows each run of x as one).

  $ squeeze x check "$(x 254)\n$(x 255)\n$(x 253)\r\n$(x 254)\r\n#$(x 253)\n#$(x 254)\ngame=0$(x 247 ' ')#\nh=0$(x 249 ' ')#\r\ni=0$(x 251 ' ')#\ng=0\0$(x 251)\nj=0\n"
  第 1 行无效规则：缺少 '=': x
  第 2 行过长
  第 3 行无效规则：缺少 '=': x
  第 4 行过长
  第 6 行过长
  第 9 行过长
  第 10 行过长
  配置文件解析完成，共加载 3 条规则，0 条通配符规则
  [1]
  $ check "h=0\n#$(x 254)\n"
  第 2 行过长
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]

A NUL byte ends the text of its line, but not the line.

  $ check 'game\0=0\nh=0\0junk{\n\0\n\0\0\n\0'
  第 1 行无效规则：缺少 '=': game
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
