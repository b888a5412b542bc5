applist-check-for LIST runs applist-check's check as on a phone whose present
file reads LIST: the same output, LIST in the parentheses, the same status.
Needs: setpriv unshare

  $ printf 'game=9\nother=0-3\n' > nine.conf
  $ applist-check-for 0-7 -c nine.conf
  第 1 行无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-7)
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ applist-check-for 0-7 -c "$SRCDIR/examples/applist.conf"
  配置文件解析完成，共加载 8 条规则，3 条通配符规则

No privilege is needed: it runs where no namespace can be made (as root, once
the capability to make one is dropped).

  $ if [ "$(id -u)" = 0 ]; then nocap='setpriv --bounding-set -sys_admin --inh-caps -sys_admin'; else nocap=; fi
  $ $nocap unshare -m true 2>/dev/null || $nocap applist-check-for 0-3 -c nine.conf
  第 1 行无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-3)
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]

The options after LIST are applist-check's; its usage line names LIST.

  $ applist-check-for 0-7 -h
  用法: applist-check-for 0-7 [-c <配置文件>]
  $ applist-check-for '' -x 2>/dev/null
  用法: applist-check-for '' [-c <配置文件>]
  [1]

Its own errors are one line and status 2 (shown first below); -h or --help
first prints its usage, status 0. LIST must be as the kernel writes it:
decimal N or N-M items, N <= M, at most 127 bytes.

  $ nines=$(printf '9%.0s' $(seq 125))

  $ applist-check-for
  用法: applist-check-for <CPU 列表> [applist-check 的选项...]
  [2]
  $ applist-check-for -h
  用法: applist-check-for <CPU 列表> [applist-check 的选项...]
  $ applist-check-for --help
  用法: applist-check-for <CPU 列表> [applist-check 的选项...]
  $ for list in 0-x 010 8-7 10-9 1-2-3 -5 3- 0,,7 ' 1' "$(printf '1\t2')" "$(printf '1\302\2332')" 18446744073709551616-5 "0-$nines"9; do out=$(applist-check-for "$list" -c nine.conf); echo "$? $out"; done
  2 CPU 列表无效: 0-x 中的 "x" 不是十进制数
  2 CPU 列表无效: 010 中的 "010" 有前导零
  2 CPU 列表无效: 8-7 中的 "8-7" 起点大于终点
  2 CPU 列表无效: 10-9 中的 "10-9" 起点大于终点
  2 CPU 列表无效: 1-2-3 中的 "2-3" 不是十进制数
  2 CPU 列表无效: -5 中的 "-5" 不是 N 或 N-M 形式
  2 CPU 列表无效: 3- 中的 "3-" 不是 N 或 N-M 形式
  2 CPU 列表无效: 0,,7 中的第 2 项为空
  2 CPU 列表无效:  1 中的 " 1" 不是十进制数
  2 CPU 列表无效: 1?2 中的 "1?2" 不是十进制数
  2 CPU 列表无效: 1?2 中的 "1?2" 不是十进制数
  2 CPU 列表无效: 18446744073709551616-5 中的 "18446744073709551616-5" 起点大于终点
  2 CPU 列表过长: 128 字节，applist-check 只读取 present 文件的前 127 字节
  $ printf 'a=1000-2000\nb=1023\n' > high.conf
  $ applist-check-for "0-$nines" -c high.conf
  配置文件解析完成，共加载 2 条规则，0 条通配符规则

Output that cannot be written fails it, its usage too.

  $ applist-check-for -h > /dev/full
  [1]
  $ applist-check-for 0,,7 > /dev/full
  [2]
