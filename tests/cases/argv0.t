The name a tool was started by (argv[0]) in its usage lines: each control
character shows as '?' on a terminal (script makes one), as it is through a
pipe; the lint shows it escaped, as \xHH, everywhere. The tools run here
under the names of links, which a runner would not pass on.
Needs: native script

  $ ac=$(printf './ac\033[2J') && acf=$(printf './acf\033[2J') && export ac acf
  $ ln -s "$(command -v applist-check)" "$ac" && ln -s "$(command -v applist-check-for)" "$acf"
  $ SHELL=/bin/sh script -qec 'stty -onlcr; "$ac" -h; "$acf" -h; exec "$acf" 0-7 -h' /dev/null < /dev/null
  用法: ./ac?[2J [-c <配置文件>]
  用法: ./acf?[2J <CPU 列表> [applist-check 的选项...]
  用法: ./acf?[2J 0-7 [-c <配置文件>]
  $ "$ac" -h; "$acf" -h; "$acf" 0-7 -h
  用法: ./ac\x1b[2J [-c <配置文件>] (esc)
  用法: ./acf\x1b[2J <CPU 列表> [applist-check 的选项...] (esc)
  用法: ./acf\x1b[2J 0-7 [-c <配置文件>] (esc)
  $ al=$(printf './al\033[2J') && ln -s "$(command -v applist-lint)" "$al" && "$al" -x
  ./al\x1B[2J: 未知选项: -x
  用法: ./al\x1B[2J [选项] 文件...
  [2]

Through a pipe the name is shown whole, however long.

  $ for tool in applist-check applist-check-for; do python3 -c 'import os, sys; os.execvp(sys.argv[1], ["x" * 5000, "-h"])' $tool > out; echo "$? $(wc -c < out)"; done
  0 5029
  0 5051
