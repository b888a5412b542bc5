Duplicates, wildcard rules and the growth of the rule table. Rules name CPU 0.

  $ check() { printf "$1" > rules.conf; applist-check -c rules.conf; }

Same package and thread, whatever the values: exact, case-sensitive, as text.

  $ check 'game=0\ngame=0\ngame=0,0\ngame{a}=0\ngame{b}=0\ngame{a}=0 # again\n'
  第 2 行重复规则：game{}=0
  第 3 行重复规则：game{}=0,0
  第 6 行重复规则：game{a}=0 
  配置文件解析完成，共加载 3 条规则，0 条通配符规则
  [1]
  $ check 'game=0\nGame=0\ngame =0\ncom.*=0\ncom.?=0\ncom.[*]=0\ncom.*=0\n'
  第 7 行重复规则：com.*{}=0
  配置文件解析完成，共加载 6 条规则，3 条通配符规则
  [1]

A rule whose CPU check failed leaves no duplicate behind.

  $ check 'game=abc\ngame=0\n'
  第 1 行无效 CPU 范围：abc 在规则 game{}=abc，无有效 CPU
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]

'*', '?' and '[' make a wildcard rule in the package, not in the thread.

  $ check 'com.*{Render}=0\ngame{Render*}=0\n[ab].c=0\na?=0\n{main}=0\n{ }=0\n'
  配置文件解析完成，共加载 6 条规则，3 条通配符规则

Both hash to the duplicate set's last slot; the second wraps to the first.

  $ check 'app6583=0\napp11528=0\napp11528=0\napp6583=1\n'
  第 3 行重复规则：app11528{}=0
  第 4 行重复规则：app6583{}=1
  配置文件解析完成，共加载 2 条规则，0 条通配符规则
  [1]

Two pairs whose hashes are equal are still told apart by their names.

  $ check 'game{t584}=0\ngame{t110527}=0\n'
  配置文件解析完成，共加载 2 条规则，0 条通配符规则

6000 rules, 300 of them wildcard rules: every store grows, nothing is lost.

  $ seq -f 'pkg.%g{t}=0' 6000 > big.conf
  $ seq -f 'w%g.*=0' 300 >> big.conf
  $ printf 'pkg.1{t}=0\nw1.*=0\npkg.6000{t}=0\nw300.*{t}=0\n' >> big.conf
  $ applist-check -c big.conf
  第 6301 行重复规则：pkg.1{t}=0
  第 6302 行重复规则：w1.*{}=0
  第 6303 行重复规则：pkg.6000{t}=0
  配置文件解析完成，共加载 6301 条规则，301 条通配符规则
  [1]
  $ head -n 2561 big.conf > edge.conf && applist-check -c edge.conf
  配置文件解析完成，共加载 2561 条规则，0 条通配符规则
