When an allocation fails. The shim failalloc.so refuses the Nth request of
a given byte size (a rule record is 296 bytes, a wildcard list entry 8, a
duplicate set slot 8, a package index entry 184; uthash's table is 64 bytes
and its buckets 16 each). Rules here name CPU 0, which every machine has.
Needs: preload

  $ fail() { size=$1 nth=$2; shift 2; LD_PRELOAD=$SHIMS/failalloc.so FAILALLOC_SIZE=$size FAILALLOC_NTH=$nth "$@"; }
  $ printf 'game=0\nbad\n' > small.conf

Creating the rule set (2560 records, 128 wildcard entries, 8192 slots):
nothing printed, status 1.

  $ fail 757760 1 applist-check -c small.conf
  [1]
  $ fail 1024 1 applist-check -c small.conf
  [1]
  $ fail 65536 1 applist-check -c small.conf
  [1]

Growing the table (rule 2561), the duplicate set (rule 4097) or the
wildcard list (wildcard rule 129): the summary of the rules so far, later
lines unread, status 1. The wildcard rule that could not be listed counts as
a rule only.

  $ seq -f 'app%g=0' 5000 > many.conf && echo bad >> many.conf
  $ fail 1515520 1 applist-check -c many.conf
  配置文件解析完成，共加载 2560 条规则，0 条通配符规则
  [1]
  $ fail 131072 1 applist-check -c many.conf
  配置文件解析完成，共加载 4096 条规则，0 条通配符规则
  [1]
  $ (seq -f 'app%g=0' 5; seq -f 'vendor%g.*=0' 129; echo bad) > wild.conf
  $ FAILALLOC_FUNC=realloc fail 2048 1 applist-check -c wild.conf
  配置文件解析完成，共加载 134 条规则，128 条通配符规则
  [1]

A package index entry: the rule just loaded counts. Three rules share the
entry for game, so the second entry is other's.

  $ printf 'game{a}=0\ngame{b}=0\ngame=0\ncom.*=0\nother=0\nbad\nlate=0\n' > index.conf
  $ fail 184 2 applist-check -c index.conf
  配置文件解析完成，共加载 5 条规则，1 条通配符规则
  [1]

Inside uthash (its table, or its bucket array growing from 32 to 64): the
process ends with status 255 and no summary, but what was printed before
reaches a pipe and a file.

  $ printf 'bad\nvendor.*=0\ngame=0\nlate=0\n' > hash.conf
  $ fail 64 1 applist-check -c hash.conf
  第 1 行无效规则：缺少 '=': bad
  [255]
  $ fail 64 1 applist-check -c hash.conf > out; echo "status $?"; cat out
  status 255
  第 1 行无效规则：缺少 '=': bad
  $ (echo bad; seq -f 'app%g=0' 1000) > buckets.conf
  $ fail 1024 2 applist-check -c buckets.conf
  第 1 行无效规则：缺少 '=': bad
  [255]
