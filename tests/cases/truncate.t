A rule file that shrinks while the tool reads it. The truncate shim cuts the
file right after the tool has mapped it, as another process rewriting it
would; the tool then faults on the first page past the new end and must say
which line it was reading, end the run normally and keep what it printed.
Needs: preload

  $ awk 'BEGIN { for (i = 1; i <= 10000; i++) print (i == 7 || i == 300 ? "bad " i : "app" i "=0") }' > big.conf
  $ cut_at() { cp big.conf rules.conf; LD_PRELOAD=$SHIMS/truncate.so TRUNCATE_FILE=rules.conf TRUNCATE_AT=$1 applist-check -c rules.conf; }

Inside the first line: nothing was loaded.

  $ cut_at 3
  无法读取配置文件 rules.conf: 第 1 行读取失败
  未加载有效规则
  [1]

In the middle of line 500: the messages before it, then the summary of the
rules loaded so far.

  $ middle=$(( $(head -n 499 big.conf | wc -c) + 3 ))
  $ cut_at $middle
  第 7 行无效规则：缺少 '=': bad 7
  第 300 行无效规则：缺少 '=': bad 300
  无法读取配置文件 rules.conf: 第 500 行读取失败
  配置文件解析完成，共加载 497 条规则，0 条通配符规则
  [1]

Exactly at the end of line 120: the line that can no longer be read is 121.
A run with no faulty line before the cut still fails.

  $ cut_at $(head -n 120 big.conf | wc -c)
  第 7 行无效规则：缺少 '=': bad 7
  无法读取配置文件 rules.conf: 第 121 行读取失败
  配置文件解析完成，共加载 119 条规则，0 条通配符规则
  [1]
  $ cut_at $(head -n 6 big.conf | wc -c)
  无法读取配置文件 rules.conf: 第 7 行读取失败
  配置文件解析完成，共加载 6 条规则，0 条通配符规则
  [1]

Everything printed before the fault reaches a pipe and a file.

  $ { cut_at $middle; echo "status $?"; } | cat
  第 7 行无效规则：缺少 '=': bad 7
  第 300 行无效规则：缺少 '=': bad 300
  无法读取配置文件 rules.conf: 第 500 行读取失败
  配置文件解析完成，共加载 497 条规则，0 条通配符规则
  status 1
  $ cut_at $middle > out; echo "status $?"; cat out
  status 1
  第 7 行无效规则：缺少 '=': bad 7
  第 300 行无效规则：缺少 '=': bad 300
  无法读取配置文件 rules.conf: 第 500 行读取失败
  配置文件解析完成，共加载 497 条规则，0 条通配符规则

The mapping covers whole pages: a cut that leaves the rest of the file within
the same page reads the lost bytes as NULs, which end the line's text. The tool
then checks what the file now holds, here "a=0", "b=" and a NUL-only line.

  $ printf 'a=0\nb=0\nc=0\n' > big.conf
  $ cut_at 6
  第 2 行无效规则：值为空: b
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
