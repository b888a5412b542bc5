Files that shrink under applist-lint and memory that runs out: the findings
so far, E022 or E023 at the line where checking stopped, status 2 (change.so
and failalloc.so as in truncate.t and alloc.t).
Needs: preload

  $ awk 'BEGIN { for (i = 1; i <= 1000; i++) print (i == 7 || i == 300 ? "bad " i : "app" i "=0") }' > big.conf
  $ cut_at() { cp big.conf rules.conf; LD_PRELOAD=$SHIMS/change.so TRUNCATE_FILE=rules.conf TRUNCATE_AT=$1 applist-lint -p 0 rules.conf; }
  $ cut_at $(( $(head -n 499 big.conf | wc -c) + 3 ))
  rules.conf:7:1: error: 无效规则：缺少 '=': bad 7 [E002]
  rules.conf:300:1: error: 无效规则：缺少 '=': bad 300 [E002]
  rules.conf:500:1: error: 无法读取配置文件 rules.conf: 第 500 行读取失败 [E022]
  [2]
  $ cut_at 0
  rules.conf:1:1: error: 无法读取配置文件 rules.conf: 第 1 行读取失败 [E022]
  rules.conf:1:1: error: 未加载有效规则 [E021]
  [2]

The lint's own storage of a line's findings (4096 bytes of text at first),
and the rule set itself; uthash's own failure ends the process with 255 as
for the checker, after the findings written so far.

  $ fail() { size=$1 nth=$2; shift 2; LD_PRELOAD=$SHIMS/failalloc.so FAILALLOC_SIZE=$size FAILALLOC_NTH=$nth "$@"; }
  $ seq -f 'bad%g' 100 > bad.conf && printf 'bad\nvendor.*=0\ngame=0\n' > hash.conf
  $ fail 4096 1 applist-lint -p 0 -f github bad.conf hash.conf
  ::error file=bad.conf,line=1,col=1,title=E021::未加载有效规则
  ::error file=bad.conf,line=1,col=1,title=E023::内存不足：第 1 行及以后的行没有检查完
  ::error file=hash.conf,line=1,col=1,title=E002::无效规则：缺少 '=': bad
  [2]
  $ fail 757760 1 applist-lint -p 0 bad.conf
  bad.conf:1:1: error: 内存不足：第 1 行及以后的行没有检查完 [E023]
  [2]
  $ printf 'oops\n' > one.conf && fail 64 1 applist-lint -p 0 one.conf hash.conf big.conf
  one.conf:1:1: error: 无效规则：缺少 '=': oops [E002]
  one.conf:1:1: error: 未加载有效规则 [E021]
  hash.conf:1:1: error: 无效规则：缺少 '=': bad [E002]
  [255]

Memory for the text of a finding being written (114 bytes for this one): a
message on standard error, status 2.

  $ printf 'game{UnityGfxDeviceWorker}=1\n' > long.conf
  $ fail 114 1 applist-lint -p 0-7 long.conf > /dev/null
  applist-lint: 内存不足
  [2]

Standard input that cannot be held (its first 64 KiB), and a rule table that
cannot grow past 2560 rules: E023 at line 1, and at line 2561.

  $ fail 65536 1 applist-lint -p 0 - < bad.conf
  -:1:1: error: 内存不足：第 1 行及以后的行没有检查完 [E023]
  [2]
  $ seq -f 'app%g=0' 3000 > many.conf
  $ fail 1515520 1 applist-lint -p 0 many.conf
  many.conf:1:1: error: 内存不足：第 2561 行及以后的行没有检查完 [E023]
  [2]

Standard output on a non-blocking pipe whose reader is slow (wouldblock.so):
the lines of the write that would have blocked are lost, which status 2
says, though the later writes go through.

  $ { echo game=0; seq -f 'bad%g' 200; } > texts.conf
  $ LD_PRELOAD=$SHIMS/wouldblock.so applist-lint -p 0 texts.conf > out
  [2]
  $ tail -n 1 out
  texts.conf:201:1: error: 无效规则：缺少 '=': bad200 [E002]
