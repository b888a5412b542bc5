applist-check itself reads the present CPUs from the kernel's file
/sys/devices/system/cpu/present, faked here in a private mount namespace: no
file means no CPU present; with standard input closed, the file opens as
descriptor 0. The lint reads the same file where no -p is given.
Needs: namespace unshare script

  $ . "$SRCDIR/tests/case_helpers.sh"
  $ printf 'a=0\nb=4\n' > two.conf
  $ on_phone - applist-check -c two.conf
  第 1 行无效 CPU 范围：0 在规则 a{}=0，超出可用 CPU ()
  第 2 行无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU ()
  未加载有效规则
  [1]
  $ on_phone '0-3,6-7 \n' applist-check -c two.conf <&-
  第 2 行无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU (0-3,6-7)
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ on_phone '0-3\n' applist-lint two.conf
  two.conf:2:3: error: 无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU (0-3) [E011]
  [1]

On a terminal (made by script) a control character of the present text shows
as '?'.

  $ printf 'c=9\n' > nine.conf
  $ on_phone '0-7\033[2J\n' env SHELL=/bin/sh script -qec 'stty -onlcr; exec applist-check -c nine.conf' /dev/null < /dev/null
  第 1 行无效 CPU 范围：9 在规则 c{}=9，超出可用 CPU (0-7?[2J)
  未加载有效规则
  [1]
