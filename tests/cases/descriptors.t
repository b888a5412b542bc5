Standard descriptors closed at the start, and output that cannot be written.

  $ printf 'bad\ngame=0\n' > rules.conf

Standard input or error closed: the file may open as descriptor 0 or 2.

  $ applist-check-for 0 -c rules.conf <&- 2>&-
  第 1 行无效规则：缺少 '=': bad
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]

Standard output closed, full or over the file-size limit: the run fails, even
one that would pass; past the limit, what fit is kept.

  $ printf 'game=0\n' > ok.conf
  $ applist-check -h > /dev/full
  [1]
  $ seq -f 'bad %g' 3000 > many.conf
  $ (ulimit -f 2; applist-check-for 0 -c many.conf > out)
  [1]
  $ wc -c < out
  1024
  $ (ulimit -f 0; applist-check -h > out)
  [1]

A reader that stops early ends the tool with SIGPIPE, as any filter: 141.

  $ { applist-check-for 0 -c many.conf; echo "$?" > status; } | head -n 1; cat status
  第 1 行无效规则：缺少 '=': bad 1
  141
