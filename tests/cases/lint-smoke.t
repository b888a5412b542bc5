applist-lint at a glance: the checker's faults and the warnings, located, in
each format, with its statuses. The full cases live in the lint-*.t files.

  $ printf 'game=010\ngame=1\nmusic =2\nbad\n' > rules.conf
  $ applist-lint -p 0-7 rules.conf
  rules.conf:1:6: error: 无效 CPU 范围：8 在规则 game{}=010，超出可用 CPU (0-7) [E011]
  rules.conf:1:6: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:3:6: warning: 包名以空白结尾：包名是 "music "，没有应用叫这个名字 [W110]
  rules.conf:4:1: error: 无效规则：缺少 '=': bad [E002]
  [1]

A clean file reports nothing; -s error drops the warnings; -e one code.

  $ printf 'game=0-3\n' > clean.conf && applist-lint -p 0-7 clean.conf
  $ printf 'game=010\n' > octal.conf && applist-lint -p 0-1023 -s error octal.conf
  $ applist-lint -p 0-1023 -e W105,W101 octal.conf

Standard input, named for the output; a missing file; JSON and GitHub.

  $ printf 'cam=5--3\n' | applist-lint -p 0-1023 -f github --stdin-filename=a:b.conf - missing.conf
  ::warning file=a%3Ab.conf,line=1,col=5,title=W104::范围 "5--3" 的终点大于 1023 或为负数，只取到 1023：规则实际的 CPU 为 "5-1023"
  ::warning file=a%3Ab.conf,line=1,col=7,title=W105::strtoul 接受数字前的 '-'，内核从不这样写：规则实际的 CPU 为 "5-1023"
  ::error file=missing.conf,title=E020::配置文件不存在: missing.conf
  [2]
  $ printf 'a\\b=\001\n' | applist-lint -p 0 -f json -
  {"diagnostics":[
  {"file":"-","line":0,"column":0,"level":"error","code":"E021","message":"未加载有效规则"},
  {"file":"-","line":1,"column":5,"level":"error","code":"E012","message":"无效 CPU 范围：\\x01 在规则 a\\\\b{}=\\x01，无有效 CPU"},
  {"file":"-","line":1,"column":5,"level":"warning","code":"W105","message":"CPU 列表中的 '\\x01' 不是数字，被逐字节跳过：规则实际的 CPU 为 \"\""}
  ]}
  [1]

Usage errors go to standard error, status 2.

  $ applist-lint -c rules.conf 2>&1
  applist-lint: 没有 -c 选项：-c 是 applist-check 指定配置文件的选项，applist-lint 直接给出文件名
  用法: applist-lint [选项] 文件...
  [2]
