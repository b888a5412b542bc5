Duplicates, wildcard rules and the growth of the rule table.

  $ . "$SRCDIR/tests/case_helpers.sh"

Same package and thread, whatever the values: exact, case-sensitive, as
text; a rule whose CPU check failed leaves no duplicate behind. Each of '*',
'?' and '[' in the package makes a wildcard rule (a to c); nothing else does,
and nothing in the thread.

  $ check 'game=abc\ngame=0\ngame=0\ngame=0,0\ngame{a}=0\ngame{b}=0\ngame{a}=0 # again\nGame=0\ngame =0\ncom.*=0\ncom.?=0\ncom.[*]=0\ncom.*=0\na*=0\nb?=0\nc[=0\nd]=0\ne{*?[}=0\nf\\\\=0\n{main}=0\n{ }=0\n'
  第 1 行无效 CPU 范围：abc 在规则 game{}=abc，无有效 CPU
  第 3 行重复规则：game{}=0
  第 4 行重复规则：game{}=0,0
  第 7 行重复规则：game{a}=0 
  第 13 行重复规则：com.*{}=0
  配置文件解析完成，共加载 16 条规则，6 条通配符规则
  [1]

The duplicate check looks pairs up in a hash set: FNV-1a over "package NUL
thread" folded to 32 bits, 8192 slots at the start. The names below are tied
to that function and size; change either and find new ones with
tools/hash_pairs.py. app6583 and app11528 take the last slot, the second wraps
round to the first; app6481, app13971 and app27136 share slot 100, app575
wants 101 and app17225 102: one run of five slots, then a duplicate of each
rule in it, so that none was overwritten. The last two pairs have
equal hashes: told apart by the thread, and by the package after a long common
part.

  $ check 'app6583=0\napp11528=0\napp11528=0\napp6583=1\napp6481=0\napp13971=0\napp27136=0\napp575=0\napp17225=0\napp17225=1\napp27136=1\napp575=1\napp13971=1\napp6481=1\ngame{t584}=0\ngame{t110527}=0\ncom.example.a.long.shared.package.prefix.76650=0\ncom.example.a.long.shared.package.prefix.83153=0\n'
  第 3 行重复规则：app11528{}=0
  第 4 行重复规则：app6583{}=1
  第 10 行重复规则：app17225{}=1
  第 11 行重复规则：app27136{}=1
  第 12 行重复规则：app575{}=1
  第 13 行重复规则：app13971{}=1
  第 14 行重复规则：app6481{}=1
  配置文件解析完成，共加载 11 条规则，0 条通配符规则
  [1]

6000 rules, 300 of them wildcard rules: every store grows, nothing is lost.

  $ seq -f 'pkg.%g{t}=0' 6000 > big.conf
  $ seq -f 'w%g.*=0' 300 >> big.conf
  $ printf 'pkg.1{t}=0\nw1.*=0\npkg.6000{t}=0\nw300.*{t}=0\n' >> big.conf
  $ applist-check-for 0 -c big.conf
  第 6301 行重复规则：pkg.1{t}=0
  第 6302 行重复规则：w1.*{}=0
  第 6303 行重复规则：pkg.6000{t}=0
  配置文件解析完成，共加载 6301 条规则，301 条通配符规则
  [1]
  $ head -n 2561 big.conf > edge.conf && applist-check-for 0 -c edge.conf
  配置文件解析完成，共加载 2561 条规则，0 条通配符规则
