Options and access to the rule file.
Needs: setpriv

-h prints the usage and exits 0; nothing after it is read. A bad option (or
-c without a path): a complaint on standard error, the usage, status 1.

  $ applist-check -c x -h -z
  用法: applist-check [-c <配置文件>]
  $ applist-check -x 2>err-x
  用法: applist-check [-c <配置文件>]
  [1]
  $ test -s err-x
  $ applist-check -c 2>/dev/null
  用法: applist-check [-c <配置文件>]
  [1]

Default ./applist.conf, named so when missing; other arguments are ignored; the
last -c wins; a path is cut to its first 4095 bytes (here they still name
ok.conf).

  $ applist-check-for 0 other.conf
  配置文件不存在: ./applist.conf
  [1]
  $ printf 'game=0\ncom.*=0\n' > applist.conf && printf 'game=0\n' > ok.conf
  $ applist-check-for 0 other.conf
  配置文件解析完成，共加载 2 条规则，1 条通配符规则
  $ applist-check-for 0 -c applist.conf -c ok.conf
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  $ long=$(printf './%.0s' $(seq 2044))ok.conf$(printf 'x%.0s' $(seq 905))
  $ applist-check-for 0 -c "$long"
  配置文件解析完成，共加载 1 条规则，0 条通配符规则

Files that cannot be examined, opened or mapped.

  $ : > empty.conf && mkfifo fifo && ln -s loop-a loop-b && ln -s loop-b loop-a
  $ for file in '' loop-a empty.conf /dev/null fifo; do out=$(applist-check -c "$file"); echo "$? $out"; done
  1 配置文件不存在: 
  1 配置文件不存在: loop-a
  1 无法映射配置文件 empty.conf: Invalid argument
  1 无法映射配置文件 /dev/null: Invalid argument
  1 无法映射配置文件 fifo: Invalid argument
  $ chmod 0 ok.conf
  $ if [ "$(id -u)" = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups applist-check -c ok.conf; else applist-check -c ok.conf; fi
  无法打开配置文件 ok.conf: Permission denied
  [1]

A directory opens but is not mapped; the reason depends on its file system.

  $ mkdir dir && applist-check -c dir > out
  [1]
  $ sed 's/: [^:]*$/: .../' out
  无法映射配置文件 dir: ...
