Statuses of applist-lint: 0 when nothing is reported, 1 when something is,
2 for a usage error or a file that could not be checked to its end (2 wins).
Usage errors are one message on standard error; standard output stays empty.

  $ . "$SRCDIR/tests/case_helpers.sh"
  $ printf 'game=0\n' > good.conf && printf 'game=010\n' > warn.conf && printf 'bad\n' > bad.conf

  $ applist-lint -p 0-15 good.conf
  $ applist-lint -p 0-15 warn.conf
  warn.conf:1:6: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  [1]
  $ applist-lint -p 0-15 -s error -s warning warn.conf
  warn.conf:1:6: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]
  [1]
  $ applist-lint --cpus=0-15 --severity=error bad.conf warn.conf
  bad.conf:1:1: error: 无效规则：缺少 '=': bad [E002]
  bad.conf:1:1: error: 未加载有效规则 [E021]
  [1]
  $ applist-lint -p 0-15 missing.conf good.conf bad.conf
  missing.conf:1:1: error: 配置文件不存在: missing.conf [E020]
  bad.conf:1:1: error: 无效规则：缺少 '=': bad [E002]
  bad.conf:1:1: error: 未加载有效规则 [E021]
  [2]

Options and files in any order, POSIXLY_CORRECT or not, up to "--"; -S is
-s; --exit-zero makes 1 into 0, but not 2.

  $ POSIXLY_CORRECT=1 applist-lint bad.conf -p 0-15 -S error warn.conf --exit-zero -- -e
  bad.conf:1:1: error: 无效规则：缺少 '=': bad [E002]
  bad.conf:1:1: error: 未加载有效规则 [E021]
  -e:1:1: error: 配置文件不存在: -e [E020]
  [2]
  $ applist-lint warn.conf --exit-zero -p 0-15
  warn.conf:1:6: warning: "010" 以 0 开头，按八进制读取：规则实际的 CPU 为 "8" [W101]

Usage errors: status 2, nothing on standard output. The messages start with
the name the lint was started by (a runner such as valgrind gives its path).

  $ named() { sed 's|[^ ]*/applist-lint|applist-lint|g' "$@"; }
  $ usage() { applist-lint "$@" > out 2> err; status=$?; named err; test -s out && echo "standard output: $(cat out)"; return $status; }
  $ usage
  applist-lint: 没有给出要检查的文件（标准输入写作 -）
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -p 0-7
  applist-lint: 没有给出要检查的文件（标准输入写作 -）
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -x -p 0-7 good.conf
  applist-lint: 未知选项: -x
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -:x -p 0-7 good.conf; usage --help=x good.conf
  applist-lint: 未知选项: -:
  用法: applist-lint [选项] 文件...
  applist-lint: 未知选项: --help=x
  用法: applist-lint [选项] 文件...
  [2]
  $ usage --bogus good.conf
  applist-lint: 未知选项: --bogus
  用法: applist-lint [选项] 文件...
  [2]
  $ usage good.conf -p
  applist-lint: 选项 -p 需要参数
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -f "$(printf 'x\033ml')" good.conf
  applist-lint: 未知的输出格式: x\x1Bml（可用 gcc、json、github、sarif）
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -p 0-7 --column-unit=utf8 good.conf
  applist-lint: 未知的列单位: utf8（可用 byte、char、utf16）
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -s info good.conf
  applist-lint: 未知的级别: info（可用 warning、error）
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -e W1010,W101 good.conf
  applist-lint: -e 中的代码未知: "W1010"
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -e E001 good.conf; usage -e W101,W199 good.conf
  applist-lint: -e 不能排除错误 E001：错误是 applist-check 的结论，只有警告可以排除
  用法: applist-lint [选项] 文件...
  applist-lint: -e 不能排除 W199：它报告的是 applist-lint 指令本身的问题
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -e W101, good.conf
  applist-lint: -e 中的代码未知: ""
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -p 010 good.conf
  CPU 列表无效: 010 中的 "010" 有前导零
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -p 8-7 good.conf
  CPU 列表无效: 8-7 中的 "8-7" 起点大于终点
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -p "$(printf '0,x\377\001')" good.conf
  CPU 列表无效: 0,x\xFF? 中的 "x\xFF?" 不是十进制数
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -c
  applist-lint: 没有 -c 选项：-c 是 applist-check 指定配置文件的选项，applist-lint 直接给出文件名
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -p 0-7 - - < good.conf
  applist-lint: 标准输入 - 只能给出一次
  用法: applist-lint [选项] 文件...
  [2]
  $ usage -p 0-7 --stdin-filename=x.conf good.conf
  applist-lint: --stdin-filename 只用于文件 -（标准输入），但没有给出 -
  用法: applist-lint [选项] 文件...
  [2]

-h (the whole help, which the manual page quotes in part) and --version
write to standard output, status 0.

  $ applist-lint -h > out; echo $?; named out
  0
  用法: applist-lint [选项] 文件...
  报告 applist-check 的每个错误，和含义与字面不同的规则。
  
    -p, --cpus=LIST            按 present CPU 列表为 LIST 的设备检查
                               不给出时读取本机内核的 present 文件
    -f, --format=FORMAT        输出格式：gcc（默认）、json、github 或 sarif
    -e, --exclude=CODES        不报告这些警告（逗号分隔，可多次给出）
    -s, -S, --severity=LEVEL   warning（默认），或 error：只报告错误
        --exit-zero            有报告时退出状态也为 0
        --column-unit=UNIT     列号按 byte（默认）、char 或 utf16 计
        --stdin-filename=NAME  输出中文件 - 的名字
        --packages=FILE        按 pm list packages 的输出检查包名（W130、W131）
        --threads=FILE         按 ps -A -T -o CMD,NAME 的输出检查线程名（W132、W133）
        --adb                  通过 adb 从手机读取上面两项和 present CPU 列表
    -h, --help                 显示本帮助
        --version              显示版本
  
  文件为 - 时读取标准输入。
  退出状态：0 没有报告，1 有报告，2 用法错误、手机数据没能读取或文件没能检查完。
  $ applist-lint --version
  applist-lint 1.0.0

Standard input through -, named with --stdin-filename; an empty, closed or
unreadable standard input cannot be checked (the reason is the C library's:
for a directory, the system's own, as cat gives it).

  $ applist-lint -p 0-7 - < bad.conf
  -:1:1: error: 无效规则：缺少 '=': bad [E002]
  -:1:1: error: 未加载有效规则 [E021]
  [1]
  $ applist-lint -p 0-7 --stdin-filename=rules/applist.conf bad.conf - good.conf < bad.conf
  bad.conf:1:1: error: 无效规则：缺少 '=': bad [E002]
  bad.conf:1:1: error: 未加载有效规则 [E021]
  rules/applist.conf:1:1: error: 无效规则：缺少 '=': bad [E002]
  rules/applist.conf:1:1: error: 未加载有效规则 [E021]
  [1]
  $ applist-lint -p 0-7 - < /dev/null
  -:1:1: error: 标准输入为空 [E020]
  [2]
  $ reason() { sed 's/: [^:]* \[E020\]$/: ... [E020]/' out; }
  $ applist-lint -p 0-7 - <&- > out
  [2]
  $ reason
  -:1:1: error: 无法读取标准输入: ... [E020]
  $ applist-lint -p 0-7 - < . > out
  [2]
  $ test "$(cat out)" = "-:1:1: error: 无法读取标准输入: $(cat . 2>&1 | sed 's/^cat: .: //') [E020]" && echo same
  same

A FIFO cannot be checked either, and the lint does not wait for a writer.

  $ mkfifo fifo && applist-lint -p 0-7 fifo good.conf > out
  [2]
  $ reason
  fifo:1:1: error: 无法映射配置文件 fifo: ... [E020]

Output that cannot be written gives 2: a full disk, a pipe whose reader has
gone (which ends no lint with SIGPIPE).

  $ mkfifo gone && exec 4<>gone 5>gone 4<&-
  $ applist-lint -p 0-7 bad.conf >&5
  [2]
  $ applist-lint -p 0-7 bad.conf > /dev/full
  [2]
  $ applist-lint -h > /dev/full
  [2]
