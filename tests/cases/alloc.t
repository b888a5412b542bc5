failalloc.so refuses the Nth request of a size: a rule is 296 bytes, a
wildcard entry or duplicate slot 8, an index entry 184, uthash's table 64.
Needs: preload

  $ fail() { size=$1 nth=$2; shift 2; LD_PRELOAD=$SHIMS/failalloc.so FAILALLOC_SIZE=$size FAILALLOC_NTH=$nth "$@"; }
  $ printf 'game=0\nbad\n' > small.conf

Creating the rule set (2560 rules, 128 wildcards, 8192 slots): silent 1.

  $ for size in 757760 1024 65536; do out=$(fail $size 1 applist-check-for 0 -c small.conf); echo "$? $out"; done
  1 
  1 
  1 

Growth (rule 2561, rule 4097, wildcard 129): summary so far, status 1. A
duplicate is found before the table would grow.

  $ seq -f 'app%g=0' 5000 > many.conf && echo bad >> many.conf
  $ fail 1515520 1 applist-check-for 0 -c many.conf
  配置文件解析完成，共加载 2560 条规则，0 条通配符规则
  [1]
  $ (seq -f 'app%g=0' 2560; echo app1=0; echo late=0) > full.conf
  $ fail 1515520 1 applist-check-for 0 -c full.conf
  第 2561 行重复规则：app1{}=0
  配置文件解析完成，共加载 2560 条规则，0 条通配符规则
  [1]
  $ fail 131072 1 applist-check-for 0 -c many.conf
  配置文件解析完成，共加载 4096 条规则，0 条通配符规则
  [1]
  $ (seq -f 'app%g=0' 5; seq -f 'vendor%g.*=0' 129; echo bad) > wild.conf
  $ fail 2048 1 applist-check-for 0 -c wild.conf
  配置文件解析完成，共加载 134 条规则，128 条通配符规则
  [1]

An index entry (the second is other's): the rule just loaded counts.

  $ printf 'game{a}=0\ngame{b}=0\ngame=0\ncom.*=0\nother=0\nbad\nlate=0\n' > index.conf
  $ fail 184 2 applist-check-for 0 -c index.conf
  配置文件解析完成，共加载 5 条规则，1 条通配符规则
  [1]

Inside uthash (its table): 255, earlier output kept, in a file too.

  $ printf 'bad\nvendor.*=0\ngame=0\nlate=0\n' > hash.conf
  $ fail 64 1 applist-check-for 0 -c hash.conf > out; echo "status $?"; cat out
  status 255
  第 1 行无效规则：缺少 '=': bad
