The three formats of applist-lint: gcc (the default), json and github.
Needs: python3

  $ . "$SRCDIR/tests/case_helpers.sh"

Every code a line can get, and near-misses (the last lines), the same in
each format: line, column and code of each finding.

  $ printf '# applist-lint: disable=W999\n%s\ngame\n=0\ngame=\ngame{main=0\ngame{}=0\ngame{main}x=0\ngame}=0\n%s=0\na=0\na=1\nb=3-1\nc=abc\nd=010\ne=0x10\nf=0,2000\ng=1000-2000\nh=0 2;4\ngame =1\ngame{main }=1\ngame{UnityGfxDeviceWorker}=4\ncom example=1\ncom.game[12=1\n\357\273\277i=1\nmail=0\357\274\2141\nn=1-010,1000-1023 # 0x10\ngame{UnityGfxDeviceW}=4\ncom.game[12]=1\n# y\357\274\2351\n' "$(x 255)" "$(x 128 p)" > all.conf
  $ applist-lint -p 0-1023 --format=gcc all.conf > gcc.out
  [1]
  $ applist-lint -p 0-1023 -f json all.conf > json.out
  [1]
  $ applist-lint -p 0-1023 -f github all.conf > github.out
  [1]
  $ sed -E 's/^::(error|warning) file=all.conf,line=([0-9]+),col=([0-9]+),title=(....)::.*/\2:\3 \1 \4/' github.out > github.codes
  $ python3 -c 'import json, sys; [print("%d:%d %s %s" % (d["line"], d["column"], d["level"], d["code"])) for d in json.load(sys.stdin)["diagnostics"]]' < json.out > json.codes
  $ sed -E 's/^all.conf:([0-9]+):([0-9]+): (error|warning): .* \[(....)\]$/\1:\2 \3 \4/' gcc.out > gcc.codes
  $ cmp gcc.codes github.codes && cmp gcc.codes json.codes && cat gcc.codes
  1:1 warning W199
  2:1 error E001
  3:1 error E002
  4:1 error E003
  5:1 error E004
  6:1 error E005
  7:1 error E006
  8:1 error E007
  9:1 error E008
  10:1 error E009
  12:1 error E010
  13:3 error E011
  14:3 error E012
  14:3 warning W105
  15:3 warning W101
  16:3 warning W102
  17:5 warning W103
  18:3 warning W104
  19:4 warning W105
  20:5 warning W110
  21:10 warning W111
  22:6 warning W112
  23:4 warning W113
  24:9 warning W114
  25:1 warning W115
  26:7 warning W116

A file with every kind of byte that is shown escaped: control characters (C0,
DEL, C1) and bytes outside UTF-8 as \xHH (overlong forms of 2, 3 and 4 bytes,
surrogates, values past U+10FFFF, lead bytes F5 to FF, sequences cut short, by
another byte or the line's end), a backslash doubled, while U+00A0, U+0800,
U+D7FF, U+E000, U+10000 and U+10FFFF stay as they are; columns count
bytes; a finding about the whole file is at 1:1.

  $ printf 'a\\b\n\377\001\033[1m\302\237\302\240\364\217\277\277\364\220\200\200\360\220\200\200 \300\200\301\277\340\200\200\340\237\277\360\200\200\200\360\217\277\277\355\240\200\355\277\277\365\376 \340\240\200\355\237\277\356\200\200 \360\220\200x\346\270\n\346\270\270\347=010\nc%%d=9\n' > 'x,y:%.conf'
  $ applist-lint -p 0-7 'x,y:%.conf'
  x,y:%.conf:1:1: error: 无效规则：缺少 '=': a\\b [E002]
  x,y:%.conf:2:1: error: 无效规则：缺少 '=': \xFF\x01\x1B[1m\xC2\x9F 􏿿\xF4\x90\x80\x80𐀀 \xC0\x80\xC1\xBF\xE0\x80\x80\xE0\x9F\xBF\xF0\x80\x80\x80\xF0\x8F\xBF\xBF\xED\xA0\x80\xED\xBF\xBF\xF5\xFE ࠀ퟿ \xF0\x90\x80x\xE6\xB8 [E002]
  x,y:%.conf:3:1: warning: 包名 "游\xE7" 含有包名和进程名都不会有的字节 '游'：没有应用叫这个名字 [W113]
  x,y:%.conf:3:6: error: 无效 CPU 范围：8 在规则 游\xE7{}=010，超出可用 CPU (0-7) [E011]
  x,y:%.conf:3:6: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  x,y:%.conf:4:5: error: 无效 CPU 范围：9 在规则 c%d{}=9，超出可用 CPU (0-7) [E011]
  x,y:%.conf:1:1: error: 未加载有效规则 [E021]
  [1]

JSON: one document for the whole run, one finding a line with its keys in a
fixed order, the closing on a line of its own; valid for a JSON parser
whatever bytes the file and its name hold.

  $ printf 'bad\n' > "$(printf 'n\377\t.conf')" && printf 'game=0\n' > clean.conf
  $ applist-lint -p 0-7 -f json 'x,y:%.conf' n*.conf missing.conf > out.json
  [2]
  $ cat out.json
  {"column_unit":"byte","diagnostics":[
  {"file":"x,y:%.conf","line":1,"column":1,"whole_file":false,"level":"error","code":"E002","message":"无效规则：缺少 '=': a\\\\b"},
  {"file":"x,y:%.conf","line":2,"column":1,"whole_file":false,"level":"error","code":"E002","message":"无效规则：缺少 '=': \\xFF\\x01\\x1B[1m\\xC2\\x9F 􏿿\\xF4\\x90\\x80\\x80𐀀 \\xC0\\x80\\xC1\\xBF\\xE0\\x80\\x80\\xE0\\x9F\\xBF\\xF0\\x80\\x80\\x80\\xF0\\x8F\\xBF\\xBF\\xED\\xA0\\x80\\xED\\xBF\\xBF\\xF5\\xFE ࠀ퟿ \\xF0\\x90\\x80x\\xE6\\xB8"},
  {"file":"x,y:%.conf","line":3,"column":1,"whole_file":false,"level":"warning","code":"W113","message":"包名 \"游\\xE7\" 含有包名和进程名都不会有的字节 '游'：没有应用叫这个名字"},
  {"file":"x,y:%.conf","line":3,"column":6,"whole_file":false,"level":"error","code":"E011","message":"无效 CPU 范围：8 在规则 游\\xE7{}=010，超出可用 CPU (0-7)"},
  {"file":"x,y:%.conf","line":3,"column":6,"whole_file":false,"level":"warning","code":"W101","message":"\"010\" 以 0 开头，按八进制读取：规则实际的 CPU 为 \"8\""},
  {"file":"x,y:%.conf","line":4,"column":5,"whole_file":false,"level":"error","code":"E011","message":"无效 CPU 范围：9 在规则 c%d{}=9，超出可用 CPU (0-7)"},
  {"file":"x,y:%.conf","line":1,"column":1,"whole_file":true,"level":"error","code":"E021","message":"未加载有效规则"},
  {"file":"n\\xFF\\x09.conf","line":1,"column":1,"whole_file":false,"level":"error","code":"E002","message":"无效规则：缺少 '=': bad"},
  {"file":"n\\xFF\\x09.conf","line":1,"column":1,"whole_file":true,"level":"error","code":"E021","message":"未加载有效规则"},
  {"file":"missing.conf","line":1,"column":1,"whole_file":true,"level":"error","code":"E020","message":"配置文件不存在: missing.conf"}
  ]}
  $ python3 -c 'import json, sys; d = json.load(sys.stdin)["diagnostics"]; print(len(d), d[1]["message"], d[7]["file"])' < out.json
  10 无效规则：缺少 '=': \xFF\x01\x1B[1m\xC2\x9F 􏿿\xF4\x90\x80\x80𐀀 \xC0\x80\xC1\xBF\xE0\x80\x80\xE0\x9F\xBF\xF0\x80\x80\x80\xF0\x8F\xBF\xBF\xED\xA0\x80\xED\xBF\xBF\xF5\xFE ࠀ퟿ \xF0\x90\x80x\xE6\xB8 n\xFF\x09.conf
  $ applist-lint -p 0-7 --format=json clean.conf
  {"column_unit":"byte","diagnostics":[]}

Columns count bytes, or with --column-unit characters or UTF-16 code units:
before the value stand a tab, 游 (3 bytes, 1 unit), 𐀀 (4 bytes, 2 units) and a
byte outside UTF-8 (one column in every unit). U+0085, U+2028 and U+2029 are
escaped as controls are; a name is shown as given, in E020's text too.

  $ printf '\t\346\270\270\360\220\200\200\377=9 \302\205\342\200\250\342\200\251\n' > 'back\slash.conf'
  $ applist-lint -p 0-7 'back\slash.conf' 'no\"pe.conf'
  back\slash.conf:1:2: warning: 包名 "游𐀀\xFF" 含有包名和进程名都不会有的字节 '游'：没有应用叫这个名字 [W113]
  back\slash.conf:1:11: error: 无效 CPU 范围：9 在规则 游𐀀\xFF{}=9 \xC2\x85\xE2\x80\xA8\xE2\x80\xA9，超出可用 CPU (0-7) [E011]
  back\slash.conf:1:12: warning: CPU 列表中的 ' ' 不是数字，被逐字节跳过：规则实际的 CPU 为 "9" [W105]
  back\slash.conf:1:1: error: 未加载有效规则 [E021]
  no\"pe.conf:1:1: error: 配置文件不存在: no\"pe.conf [E020]
  [2]
  $ for u in char utf16; do applist-lint -p 0-7 -f json --column-unit=$u 'back\slash.conf' 'no\"pe.conf' > $u.json; python3 -c 'import json, sys; d = json.load(sys.stdin); print(d["column_unit"], *["%s %d:%d%s" % (x["file"], x["line"], x["column"], "*" * x["whole_file"]) for x in d["diagnostics"]])' < $u.json; done
  char back\slash.conf 1:2 back\slash.conf 1:6 back\slash.conf 1:7 back\slash.conf 1:1* no\"pe.conf 1:1*
  utf16 back\slash.conf 1:2 back\slash.conf 1:7 back\slash.conf 1:8 back\slash.conf 1:1* no\"pe.conf 1:1*

GitHub Actions workflow commands: in the text % is %25, in the file name and
the title also : is %3A and , is %2C.

  $ applist-lint -p 0-7 -f github 'x,y:%.conf'
  ::error file=x%2Cy%3A%25.conf,line=1,col=1,title=E002::无效规则：缺少 '=': a\\b
  ::error file=x%2Cy%3A%25.conf,line=2,col=1,title=E002::无效规则：缺少 '=': \xFF\x01\x1B[1m\xC2\x9F 􏿿\xF4\x90\x80\x80𐀀 \xC0\x80\xC1\xBF\xE0\x80\x80\xE0\x9F\xBF\xF0\x80\x80\x80\xF0\x8F\xBF\xBF\xED\xA0\x80\xED\xBF\xBF\xF5\xFE ࠀ퟿ \xF0\x90\x80x\xE6\xB8
  ::warning file=x%2Cy%3A%25.conf,line=3,col=1,title=W113::包名 "游\xE7" 含有包名和进程名都不会有的字节 '游'：没有应用叫这个名字
  ::error file=x%2Cy%3A%25.conf,line=3,col=6,title=E011::无效 CPU 范围：8 在规则 游\xE7{}=010，超出可用 CPU (0-7)
  ::warning file=x%2Cy%3A%25.conf,line=3,col=6,title=W101::"010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8"
  ::error file=x%2Cy%3A%25.conf,line=4,col=5,title=E011::无效 CPU 范围：9 在规则 c%25d{}=9，超出可用 CPU (0-7)
  ::error file=x%2Cy%3A%25.conf,line=1,col=1,title=E021::未加载有效规则
  [1]

The README's and the manual page's examples: applist-check rejects the file;
a GitHub Actions step fails when something is reported.

  $ printf 'game=010\nvideo=0,2000\nmusic =2\n' > odd.conf
  $ applist-check-for 0-7 -c odd.conf
  第 1 行无效 CPU 范围：8 在规则 game{}=010，超出可用 CPU (0-7)
  配置文件解析完成，共加载 2 条规则，0 条通配符规则
  [1]
  $ applist-lint -p 0-7 odd.conf
  odd.conf:1:6: error: 无效 CPU 范围：8 在规则 game{}=010，超出可用 CPU (0-7) [E011]
  odd.conf:1:6: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  odd.conf:2:9: warning: "2000" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 "0" [W103]
  odd.conf:3:6: warning: 包名以空白结尾：包名是 "music "，没有应用叫这个名字 [W110]
  [1]
  $ cp odd.conf applist.conf && applist-lint -f github -p 0-7 applist.conf
  ::error file=applist.conf,line=1,col=6,title=E011::无效 CPU 范围：8 在规则 game{}=010，超出可用 CPU (0-7)
  ::warning file=applist.conf,line=1,col=6,title=W101::"010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8"
  ::warning file=applist.conf,line=2,col=9,title=W103::"2000" 大于 1023 或为负数，整项被丢弃：规则实际的 CPU 为 "0"
  ::warning file=applist.conf,line=3,col=6,title=W110::包名以空白结尾：包名是 "music "，没有应用叫这个名字
  [1]
