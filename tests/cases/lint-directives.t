Silencing warnings in the file: a directive in a comment line holds for the
next line that is neither blank nor a comment, directives in a row add up, one
in a value's comment holds for its own line (its codes end at a blank, ',' or
'#'), disable-file for the whole file, and two of them add up.

  $ . "$SRCDIR/tests/case_helpers.sh"

  $ lint '# applist-lint: disable=W101\n\n# another comment\na=010\nb=010\n#applist-lint:disable = W102 , W110\n  #   applist-lint :  disable=W101\nc =0x10,010\nd=010 # applist-lint: disable=W101# why\ne=010 # applist-lint: disable=W102\ng{UnityGfxDeviceWorker}=1\n# applist-lint: disable-file=W112\nh =1\nm=0\357\274\2141\n# applist-lint: disable-file=W110,W116\n' 0-15
  rules.conf:5:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:8:4: error: 无效 CPU 范围：16 在规则 c {}=0x10,010，超出可用 CPU (0-15) [E011]
  rules.conf:10:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  [1]

A line too long to parse takes the directives before it too.

  $ lint "# applist-lint: disable=W116\nx=$(x 300 0)\357\274\214\ny=$(x 300 0)\357\274\214\nz=0\n" 0
  rules.conf:2:1: error: 过长 [E001]
  rules.conf:3:1: error: 过长 [E001]
  rules.conf:3:303: warning: 全角字符 '，' (U+FF0C)：这里应写 ASCII 的 ',' [W116]
  [1]

Near-misses: no name, no colon, no '=', another tool's name, a code the line
does not have, a directive after the line.

  $ lint '# : disable=W101\ng=010\n# applist-lint disable=W101\na=010\n# applist-lint: disable W101\nf=010\n# applist-link: disable=W101\nb=010\n# applist-lint: disable=W102\nc=010\nd=010\n# applist-lint: disable=W101\n' 0-15
  rules.conf:2:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:4:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:6:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:8:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:10:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:11:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  [1]

Errors are never silenced, and W199 not at all: a directive that names an
error code, an unknown code or W199 itself gets W199, at the directive.

  $ lint '# applist-lint: disable=E002,W101\nbad\n# applist-lint: disable-file=W199,W999\na=010\n' 0-15
  rules.conf:1:1: warning: applist-lint 指令不能关闭错误 E002：错误是 applist-check 的结论 [W199]
  rules.conf:2:1: error: 无效规则：缺少 '=': bad [E002]
  rules.conf:3:1: warning: applist-lint 指令不能关闭 W199 [W199]
  rules.conf:4:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  [1]

-e silences codes for the whole run, and may be given more than once.

  $ lint 'a =010\nb=0x1\n' 0-15 -e W101 --exclude=W102
  rules.conf:1:2: warning: 包名以空白结尾：包名是 "a "，没有应用叫这个名字 [W110]
  [1]
  $ lint 'a =010\nb=0x1\n' 0-15 -e W101,W102 -e W110

disable-file holds above itself however far below it is (here after 300 KiB),
but not in a line too long to be parsed (255 bytes, 300), nor after a NUL.

  $ { printf 'a=010\nb =1\n'; seq -f 'app%g=0' 30000; printf 'c=010 # applist-lint: disable-file=W110\n# applist-lint: disable-file=W101 %s\n%s# applist-lint: disable-file=W101\nd=1\0# applist-lint: disable-file=W101\n' "$(x 221)" "$(x 300)"; } > far.conf
  $ applist-lint -p 0-15 far.conf
  far.conf:1:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  far.conf:30003:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  far.conf:30004:1: error: 过长 [E001]
  far.conf:30005:1: error: 过长 [E001]
  [1]
