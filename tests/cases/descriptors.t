Started with a standard descriptor closed. Rules name CPU 0.

  $ printf 'bad\ngame=0\n' > rules.conf

Standard input closed: the rule file then opens as descriptor 0.

  $ applist-check -c rules.conf <&-
  第 1 行无效规则：缺少 '=': bad
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]

Standard error closed: nothing changes (the file may open as descriptor 2).

  $ applist-check -c rules.conf 2>&-
  第 1 行无效规则：缺少 '=': bad
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]

Standard output closed or full: the run fails, even one that would pass.

  $ printf 'game=0\n' > ok.conf
  $ applist-check -c ok.conf >&-
  [1]
  $ applist-check -c ok.conf > /dev/full
  [1]
