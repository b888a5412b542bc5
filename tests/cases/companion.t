applist-check-for runs applist-check with the present-CPU file holding the
given list and a line feed, and passes its output and status through.
Needs: namespace

  $ printf 'game=9\n' > nine.conf
  $ applist-check-for 0-7 -c nine.conf
  第 1 行无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-7)
  未加载有效规则
  [1]
  $ present=/sys/devices/system/cpu/present
  $ APPLIST_CHECK="cat $present" applist-check-for 0-3,6-7
  0-3,6-7

An empty list leaves the file empty, as an unreadable one reads; a list over
127 bytes, the most the tool reads, is refused.

  $ APPLIST_CHECK="wc -c $present" applist-check-for ''
  0 /sys/devices/system/cpu/present
  $ applist-check-for "$(seq -s, 0 45)0" -c nine.conf
  CPU 列表过长: 128 字节，applist-check 只读取 present 文件的前 127 字节
  [2]

Its own errors: one line, status 2.

  $ applist-check-for
  用法: applist-check-for <CPU 列表> [applist-check 的选项...]
  [2]
  $ applist-check-for -h
  用法: applist-check-for <CPU 列表> [applist-check 的选项...]
  $ for list in 0-x 010 7-0 0,,7; do applist-check-for "$list" -c nine.conf; echo "[$?]"; done
  CPU 列表无效: 0-x 中的 "x" 不是十进制数
  [2]
  CPU 列表无效: 010 中的 "010" 有前导零
  [2]
  CPU 列表无效: 7-0 中的 "7-0" 起点大于终点
  [2]
  CPU 列表无效: 0,,7 中的第 2 项为空
  [2]
  $ APPLIST_CHECK=./missing applist-check-for 0-7 -c nine.conf
  找不到 applist-check: ./missing
  [2]
  $ mkdir fake && printf '#!/bin/sh\necho "unshare: unshare failed: Operation not permitted" >&2\nexit 1\n' > fake/unshare
  $ chmod +x fake/unshare && PATH=$PWD/fake:$PATH applist-check-for 0-7 -c nine.conf
  无法创建私有命名空间: unshare: unshare failed: Operation not permitted；请直接在设备上运行 applist-check
  [2]

Signs in rule values are read as strtoul reads them: -0 is CPU 0;
-18446744073709551615 wraps round to CPU 1, accepted where CPU 1 is present;
-1 is far above 1023 and dropped.

  $ printf 'zero=-0\nwrap=-18446744073709551615\nneg=0,-1\n' > signs.conf
  $ applist-check-for 0-1 -c signs.conf
  配置文件解析完成，共加载 3 条规则，0 条通配符规则
  $ applist-check-for 0 -c signs.conf
  第 2 行无效 CPU 范围：1 在规则 wrap{}=-18446744073709551615，超出可用 CPU (0)
  配置文件解析完成，共加载 2 条规则，0 条通配符规则
  [1]

With no CPU present, a rule naming only numbers from 1024 up (-1 included)
gets the second message, not the first.

  $ printf 'neg=-1\nhigh=1024\nwrap=-18446744073709551615\n' > none.conf
  $ applist-check-for '' -c none.conf
  第 1 行无效 CPU 范围：-1 在规则 neg{}=-1，无有效 CPU
  第 2 行无效 CPU 范围：1024 在规则 high{}=1024，无有效 CPU
  第 3 行无效 CPU 范围：1 在规则 wrap{}=-18446744073709551615，超出可用 CPU ()
  未加载有效规则
  [1]
