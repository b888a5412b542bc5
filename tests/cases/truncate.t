A rule file changed under the tool. Cut shorter while it is read (change.so
cuts it right after it is mapped): the line being read is named, and the run
ends as usual, even when the tool was started with SIGBUS blocked.
Needs: preload

  $ awk 'BEGIN { for (i = 1; i <= 10000; i++) print (i == 7 || i == 300 ? "bad " i : "app" i "=0") }' > big.conf
  $ cut_at() { cp big.conf rules.conf; env ${2-} LD_PRELOAD=$SHIMS/change.so TRUNCATE_FILE=rules.conf TRUNCATE_AT=$1 applist-check-for 0 -c rules.conf; }
  $ cut_at 0 --block-signal=BUS
  无法读取配置文件 rules.conf: 第 1 行读取失败
  未加载有效规则
  [1]
  $ cut_at $(( $(head -n 499 big.conf | wc -c) + 3 )) --block-signal=BUS > out
  [1]
  $ cat out
  第 7 行无效规则：缺少 '=': bad 7
  第 300 行无效规则：缺少 '=': bad 300
  无法读取配置文件 rules.conf: 第 500 行读取失败
  配置文件解析完成，共加载 497 条规则，0 条通配符规则

A SIGBUS that is no fault of reading the file (sigbus.so sends one at every
write of the output, here while the loop runs) stays fatal. Started with
SIGBUS ignored, the tool ignores it: the write it interrupted goes on, nothing
is lost, and a cut of the file later on is still named.

  $ seq -f 'bad %g' 3000 > bad.conf && cp bad.conf rules.conf
  $ { timeout 10 env LD_PRELOAD=$SHIMS/sigbus.so applist-check-for 0 -c bad.conf; } 2>/dev/null
  [135]
  $ env --ignore-signal=BUS LD_PRELOAD="$SHIMS/sigbus.so $SHIMS/change.so" TRUNCATE_FILE=rules.conf TRUNCATE_AT=8192 applist-check-for 0 -c rules.conf > out
  [1]
  $ head -n 1 out && wc -c < out && tail -n 2 out
  第 1 行无效规则：缺少 '=': bad 1
  47454
  无法读取配置文件 rules.conf: 第 1034 行读取失败
  未加载有效规则

Another file given the name between stat and open (change.so renames it over
the first right after stat) is checked whole, longer or shorter.

  $ printf 'game=0\n' > short.conf && printf 'game=0\nbad\n' > long.conf
  $ swap() { cp "$1" rules.conf && cp "$2" other.conf && LD_PRELOAD=$SHIMS/change.so SWAP_FILE=rules.conf SWAP_WITH=other.conf applist-check-for 0 -c rules.conf; }
  $ swap short.conf long.conf
  第 2 行无效规则：缺少 '=': bad
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ swap long.conf short.conf
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
