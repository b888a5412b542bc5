Hostile rule files end with their exact output and status. Rules name CPU 0.

  $ check() { printf "$1" > rules.conf; applist-check -c rules.conf; }

Bytes that are no UTF-8 and control bytes are echoed as they are.

  $ check '\377\376.game=0\n\303(=0\n\303(=0\n\344\270\n'
  第 3 行重复规则：\xc3({}=0 (esc)
  第 4 行无效规则：缺少 '=': \xe4\xb8 (esc)
  配置文件解析完成，共加载 2 条规则，0 条通配符规则
  [1]
  $ check 'game{\355\240\200}=0\n\300\257*=0\n\001\002game\177=0\n\033[31mgame\033[0m=0\n\033[2J\n'
  第 5 行无效规则：缺少 '=': \x1b[2J (esc)
  配置文件解析完成，共加载 4 条规则，2 条通配符规则
  [1]

A 100 MB line; a million empty lines.

  $ (printf 'com.example.game='; head -c 104857600 /dev/zero | tr '\0' 0) > huge.conf
  $ applist-check -c huge.conf
  第 1 行过长
  未加载有效规则
  [1]
  $ head -c 1000000 /dev/zero | tr '\0' '\n' > empty-lines.conf && applist-check -c empty-lines.conf
  未加载有效规则
  [1]
  $ echo x >> empty-lines.conf && applist-check -c empty-lines.conf
  第 1000001 行无效规则：缺少 '=': x
  未加载有效规则
  [1]

Random bytes: status 1, every output line a whole message.

  $ head -c 2000000 /dev/urandom > random.conf
  $ applist-check -c random.conf > out; echo "status $?"
  status 1
  $ grep -c -v -e '^第 [0-9]* 行' -e '^未加载有效规则$' -e '^配置文件解析完成，共加载 [0-9]* 条规则，[0-9]* 条通配符规则$' out
  0
  [1]
