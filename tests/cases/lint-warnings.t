Each warning of applist-lint: lines that get it, and near-misses that do not
(the last lines of each file). CPUs 0-1023 are present where a CPU list is
the point, so that only the list's reading shows.

  $ . "$SRCDIR/tests/case_helpers.sh"

W101, an octal first number, with one leading zero or more; the end of a
range is always decimal. W102, a hexadecimal first number, its digits in
either case, quoted without the range it starts; a bare 0x is CPU 0 and a
stray x.

  $ lint 'a=010\nb=08\nc=01777\nd=0010\ne=1-010\nf=0,10,0-3\ng=0x10\nh=0X1f,2\ni=0xA-20\nj=0x\n' 0-1023
  rules.conf:1:3: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:2:3: warning: "08" 以 0 开头，按八进制读取：规则实际的 CPU 为 "0,8" [W101]
  rules.conf:3:3: warning: "01777" 以 0 开头，按八进制读取：规则实际的 CPU 为 "1023" [W101]
  rules.conf:4:3: warning: "0010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  rules.conf:7:3: warning: "0x10" 是十六进制数 16：规则实际的 CPU 为 "16" [W102]
  rules.conf:8:3: warning: "0X1f" 是十六进制数 31：规则实际的 CPU 为 "2,31" [W102]
  rules.conf:9:3: warning: "0xA" 是十六进制数 10：规则实际的 CPU 为 "10-20" [W102]
  rules.conf:10:4: warning: CPU 列表中的 'x' 不是数字，被逐字节跳过：规则实际的 CPU 为 "0" [W105]
  [1]

W103, an item dropped without a word (a reversed range is an error
instead); W104, a range cut at 1023, even one that starts at 1023; -0 is
CPU 0, its sign W105.

  $ lint 'a=0,2000\nb=0,-1\nc=3 -5\nd=1-2-3\ne=0,1023\nf=2000-1999\ng=1000-2000\nh=5--3\ni=1023-2000\nj=1,-0\nk=1000-1023\nl=2000-2000\n' 0-1023
  rules.conf:1:5: warning: "2000" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 "0" [W103]
  rules.conf:2:5: warning: "-1" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 "0" [W103]
  rules.conf:3:4: warning: strtoul 接受数字前的 ' '，内核从不这样写：规则实际的 CPU 为 "3" [W105]
  rules.conf:3:5: warning: "-5" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 "3" [W103]
  rules.conf:4:6: warning: "-3" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 "1-2" [W103]
  rules.conf:6:3: error: 无效 CPU 范围：2000-1999 在规则 f{}=2000-1999，超出可用 CPU (0-1023) [E011]
  rules.conf:7:3: warning: 范围 "1000-2000" 的终点大于 1023 或为负数，只取到 1023：规则实际的 CPU 为 "1000-1023" [W104]
  rules.conf:8:3: warning: 范围 "5--3" 的终点大于 1023 或为负数，只取到 1023：规则实际的 CPU 为 "5-1023" [W104]
  rules.conf:8:5: warning: strtoul 接受数字前的 '-'，内核从不这样写：规则实际的 CPU 为 "5-1023" [W105]
  rules.conf:9:3: warning: 范围 "1023-2000" 的终点大于 1023 或为负数，只取到 1023：规则实际的 CPU 为 "1023" [W104]
  rules.conf:10:5: warning: strtoul 接受数字前的 '-'，内核从不这样写：规则实际的 CPU 为 "0-1" [W105]
  rules.conf:12:3: error: 无效 CPU 范围：2000-2000 在规则 l{}=2000-2000，无有效 CPU [E012]
  rules.conf:12:3: warning: "2000-2000" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 "" [W103]
  [1]

W105, list syntax the kernel never writes; not the blanks before a value's
comment.

  $ lint 'a=0 2;4\nb=0-3,,6\nc=0,\nd=5-\ne=+3\nf=5- 7\ng=,1\nh=0-3 # note\ni=0-3,6\t# tab\n' 0-1023
  rules.conf:1:4: warning: strtoul 接受数字前的 ' '，内核从不这样写：规则实际的 CPU 为 "0,2,4" [W105]
  rules.conf:2:7: warning: CPU 列表中的 ',' 不是数字，被逐字节跳过：规则实际的 CPU 为 "0-3,6" [W105]
  rules.conf:3:4: warning: CPU 列表以 ',' 结尾：规则实际的 CPU 为 "0" [W105]
  rules.conf:4:4: warning: '-' 后没有终点，只取起点：规则实际的 CPU 为 "5" [W105]
  rules.conf:5:3: warning: strtoul 接受数字前的 '+'，内核从不这样写：规则实际的 CPU 为 "3" [W105]
  rules.conf:6:5: warning: strtoul 接受数字前的 ' '，内核从不这样写：规则实际的 CPU 为 "5-7" [W105]
  rules.conf:7:3: warning: CPU 列表中的 ',' 不是数字，被逐字节跳过：规则实际的 CPU 为 "1" [W105]
  [1]

W110 and W111, blanks that end a package or a thread; leading ones are gone
and blanks after '}' belong to neither.

  $ lint 'game =1\ngame {main}=1\ngame\t=1\ngame{main }=1\n  other=1\ngame{ other}=1\nthird{main}  =1\n'
  rules.conf:1:5: warning: 包名以空白结尾：包名是 "game "，没有应用叫这个名字 [W110]
  rules.conf:2:5: warning: 包名以空白结尾：包名是 "game "，没有应用叫这个名字 [W110]
  rules.conf:3:5: warning: 包名以空白结尾：包名是 "game\x09"，没有应用叫这个名字 [W110]
  rules.conf:4:10: warning: 线程名以空白结尾：线程名是 "main "，没有线程叫这个名字 [W111]
  [1]

W112, a thread name longer than Linux keeps, with the name the phone shows:
the last 15 bytes of a name with a '.' and no '@', the first 15 otherwise;
16 bytes are already too many.

  $ lint 'g{UnityGfxDeviceWorker}=4\ng{com.example.Work}=4\ng{a.b@Worker.Thread12}=4\ng{UnityGfxDeviceW}=4\ng{Unity*DeviceWorkerThr}=4\ng{Render?ThreadWorker}=4\ng{Render[0-9]ThreadWorker}=4\n'
  rules.conf:1:3: warning: 线程名 "UnityGfxDeviceWorker" 有 20 字节，Linux 只保留 15 字节，手机上显示为 "UnityGfxDeviceW" [W112]
  rules.conf:2:3: warning: 线程名 "com.example.Work" 有 16 字节，Linux 只保留 15 字节，手机上显示为 "om.example.Work" [W112]
  rules.conf:3:3: warning: 线程名 "a.b@Worker.Thread12" 有 19 字节，Linux 只保留 15 字节，手机上显示为 "a.b@Worker.Thre" [W112]
  [1]

W113, a byte no package name holds; W114, a '[' left open.

  $ lint 'com example=1\ngame#=1\nga,me=1\ng;x=1\ng"x=1\ngx\047=1\nx}y{t}=1\n\346\270\270\346\210\217=1\ng\037x=1\ng\177x=1\ncom.game[12=1\ncom.[ab]x[=1\ncom.example_1-a~=1\ncom.game[12]=1\ncom.game]=1\ng[a]b[c]d=1\n'
  rules.conf:1:4: warning: 包名 "com example" 含有包名和进程名都不会有的字节 ' '：没有应用叫这个名字 [W113]
  rules.conf:2:5: warning: 包名 "game#" 含有包名和进程名都不会有的字节 '#'：没有应用叫这个名字 [W113]
  rules.conf:3:3: warning: 包名 "ga,me" 含有包名和进程名都不会有的字节 ','：没有应用叫这个名字 [W113]
  rules.conf:4:2: warning: 包名 "g;x" 含有包名和进程名都不会有的字节 ';'：没有应用叫这个名字 [W113]
  rules.conf:5:2: warning: 包名 "g"x" 含有包名和进程名都不会有的字节 '"'：没有应用叫这个名字 [W113]
  rules.conf:6:3: warning: 包名 "gx'" 含有包名和进程名都不会有的字节 '''：没有应用叫这个名字 [W113]
  rules.conf:7:2: warning: 包名 "x}y" 含有包名和进程名都不会有的字节 '}'：没有应用叫这个名字 [W113]
  rules.conf:8:1: warning: 包名 "游戏" 含有包名和进程名都不会有的字节 '游'：没有应用叫这个名字 [W113]
  rules.conf:9:2: warning: 包名 "g\x1Fx" 含有包名和进程名都不会有的字节 '\x1F'：没有应用叫这个名字 [W113]
  rules.conf:10:2: warning: 包名 "g\x7Fx" 含有包名和进程名都不会有的字节 '\x7F'：没有应用叫这个名字 [W113]
  rules.conf:11:9: warning: 包名中的 '[' 之后没有 ']'：字符类没有结束，规则仍是通配符规则 [W114]
  rules.conf:12:10: warning: 包名中的 '[' 之后没有 ']'：字符类没有结束，规则仍是通配符规则 [W114]
  [1]

W115, a byte-order mark that starts a line, even alone (a blank after it is
W113); elsewhere its bytes are W113.

  $ lint '\357\273\277# comment\n\357\273\277game=1\n\357\273\277\n\357\273\277 x=1\nga\357\273\277me=2\n'
  rules.conf:1:1: error: 无效规则：缺少 '=': ﻿# comment [E002]
  rules.conf:1:1: warning: 行首是 UTF-8 字节顺序标记 (EF BB BF)：注释不再是注释，包名多出三个看不见的字节 [W115]
  rules.conf:2:1: warning: 行首是 UTF-8 字节顺序标记 (EF BB BF)：注释不再是注释，包名多出三个看不见的字节 [W115]
  rules.conf:3:1: error: 无效规则：缺少 '=': ﻿ [E002]
  rules.conf:3:1: warning: 行首是 UTF-8 字节顺序标记 (EF BB BF)：注释不再是注释，包名多出三个看不见的字节 [W115]
  rules.conf:4:1: warning: 行首是 UTF-8 字节顺序标记 (EF BB BF)：注释不再是注释，包名多出三个看不见的字节 [W115]
  rules.conf:4:4: warning: 包名 "﻿ x" 含有包名和进程名都不会有的字节 ' '：没有应用叫这个名字 [W113]
  rules.conf:5:3: warning: 包名 "ga﻿me" 含有包名和进程名都不会有的字节 '﻿'：没有应用叫这个名字 [W113]
  [1]

W116, a full-width form outside comments (both halves of U+FF01-U+FF5E, up to
the edges of each, and U+3000-U+3002), named with the character meant; other
wide characters (U+FF00, U+FF5F, U+3003, U+4F1A), comments and bytes after a
NUL do not count.

  $ lint 'y\357\274\2351\nab\357\274\214\357\274\214c=1\n\357\275\207ame=1\nmail=0\357\274\2141\ncom\343\200\202example=1\nz\343\200\200=1\nv=1\343\200\2012\n\357\274\201=1\na\357\274\277=1\nb=1\357\275\200\n\357\275\236x=1\nu\357\275\237=1\n\357\274\200=1\nc\343\200\203=1\n\344\274\232=1\nd=1\000\357\274\214\nok=1 # \357\274\235\n# y\357\274\2351\n'
  rules.conf:1:1: error: 无效规则：缺少 '=': y＝1 [E002]
  rules.conf:1:2: warning: 全角字符 '＝' (U+FF1D)：这里应写 ASCII 的 '=' [W116]
  rules.conf:2:3: warning: 全角字符 '，' (U+FF0C)：这里应写 ASCII 的 ',' [W116]
  rules.conf:3:1: warning: 全角字符 'ｇ' (U+FF47)：这里应写 ASCII 的 'g' [W116]
  rules.conf:4:7: warning: 全角字符 '，' (U+FF0C)：这里应写 ASCII 的 ',' [W116]
  rules.conf:5:4: warning: 全角字符 '。' (U+3002)：这里应写 ASCII 的 '.' [W116]
  rules.conf:6:2: warning: 全角字符 '　' (U+3000)：这里应写 ASCII 的 ' ' [W116]
  rules.conf:7:4: warning: 全角字符 '、' (U+3001)：这里应写 ASCII 的 ',' [W116]
  rules.conf:8:1: warning: 全角字符 '！' (U+FF01)：这里应写 ASCII 的 '!' [W116]
  rules.conf:9:2: warning: 全角字符 '＿' (U+FF3F)：这里应写 ASCII 的 '_' [W116]
  rules.conf:10:4: warning: 全角字符 '｀' (U+FF40)：这里应写 ASCII 的 '`' [W116]
  rules.conf:11:1: warning: 全角字符 '～' (U+FF5E)：这里应写 ASCII 的 '~' [W116]
  rules.conf:12:2: warning: 包名 "u｟" 含有包名和进程名都不会有的字节 '｟'：没有应用叫这个名字 [W113]
  rules.conf:13:1: warning: 包名 "＀" 含有包名和进程名都不会有的字节 '＀'：没有应用叫这个名字 [W113]
  rules.conf:14:2: warning: 包名 "c〃" 含有包名和进程名都不会有的字节 '〃'：没有应用叫这个名字 [W113]
  rules.conf:15:1: warning: 包名 "会" 含有包名和进程名都不会有的字节 '会'：没有应用叫这个名字 [W113]
  [1]

W117, braces that hold blanks only: the rule names no thread and is the
package's. Not for a named thread (W111) nor empty braces (E006); silenced
as any warning; in every format.

  $ lint 'game{ }=1 # c\nmail{\t }=0-3  \nmap{x }=1\nx{}=1\nv{ }=1 # applist-lint: disable=W117\n'
  rules.conf:1:6: warning: 线程名只有空白：规则没有指定线程，作用于整个包，读作 "game=1" [W117]
  rules.conf:2:6: warning: 线程名只有空白：规则没有指定线程，作用于整个包，读作 "mail=0-3" [W117]
  rules.conf:3:6: warning: 线程名以空白结尾：线程名是 "x "，没有线程叫这个名字 [W111]
  rules.conf:4:1: error: 无效规则：线程名为空: x [E006]
  [1]
  $ lint 'game{ }=1\n' 0-7 -f json; lint 'game{ }=1\n' 0-7 -f github
  {"column_unit":"byte","diagnostics":[
  {"file":"rules.conf","line":1,"column":6,"whole_file":false,"level":"warning","code":"W117","message":"线程名只有空白：规则没有指定线程，作用于整个包，读作 \"game=1\""}
  ]}
  ::warning file=rules.conf,line=1,col=6,title=W117::线程名只有空白：规则没有指定线程，作用于整个包，读作 "game=1"
  [1]

W199, a directive that names an unknown code or an error code.

  $ lint '# applist-lint: disable=W999\n# applist-lint: disable=E002\nbad line\n# applist-lint: disable=W101\ngame=010\n' 0-15
  rules.conf:1:1: warning: applist-lint 指令中的代码 "W999" 未知 [W199]
  rules.conf:2:1: warning: applist-lint 指令不能关闭错误 E002：错误是 applist-check 的结论 [W199]
  rules.conf:3:1: error: 无效规则：缺少 '=': bad line [E002]
  [1]

Where the warnings apply: the name warnings also on a duplicate, whose CPU
list the checker never reads (so no list warning there); a byte-order mark
and full-width forms on every line, even one too long to be checked (at
their column after wide characters), but for its comment or after a NUL; a
comment line too long to be checked holds no directive.

  $ lint 'game =1\ngame =2\na=1\na=010\n' 0-15
  rules.conf:1:5: warning: 包名以空白结尾：包名是 "game "，没有应用叫这个名字 [W110]
  rules.conf:2:1: error: 重复规则：game {}=2（保留的是第 1 行的规则） [E010]
  rules.conf:2:5: warning: 包名以空白结尾：包名是 "game "，没有应用叫这个名字 [W110]
  rules.conf:4:1: error: 重复规则：a{}=010（保留的是第 3 行的规则） [E010]
  [1]
  $ squeeze x lint "\357\273\277# $(x 300)\n# applist-lint: disable=W116 $(x 300)\357\274\214\ny\357\274\235$(x 300)\n\346\270\270=1 $(x 300) \357\274\214\n\346\270\270=1 # $(x 300) \357\274\214\n\346\270\270=1\000 $(x 300) \357\274\214\n"
  rules.conf:1:1: error: 过长 [E001]
  rules.conf:1:1: warning: 行首是 UTF-8 字节顺序标记 (EF BB BF)：注释不再是注释，包名多出三个看不见的字节 [W115]
  rules.conf:2:1: error: 过长 [E001]
  rules.conf:3:1: error: 过长 [E001]
  rules.conf:3:2: warning: 全角字符 '＝' (U+FF1D)：这里应写 ASCII 的 '=' [W116]
  rules.conf:4:1: error: 过长 [E001]
  rules.conf:4:308: warning: 全角字符 '，' (U+FF0C)：这里应写 ASCII 的 ',' [W116]
  rules.conf:5:1: error: 过长 [E001]
  rules.conf:6:1: error: 过长 [E001]
  rules.conf:1:1: error: 未加载有效规则 [E021]
  [1]
