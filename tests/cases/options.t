Options and access to the rule file.
Needs: setpriv

  $ printf 'game=0\ncom.*=0\n' > applist.conf
  $ printf 'game=0\n' > ok.conf
  $ printf 'bad\n' > bad.conf

-h prints the usage line and exits 0; options after it are never read.

  $ applist-check -h
  用法: applist-check [-c <配置文件>]
  $ applist-check -c x -h
  用法: applist-check [-c <配置文件>]
  $ applist-check -h -c x -z
  用法: applist-check [-c <配置文件>]

A bad option or -c without a path: the C library's complaint on standard
error, the usage on standard output, status 1.

  $ applist-check -x 2>err
  用法: applist-check [-c <配置文件>]
  [1]
  $ test -s err && echo complaint
  complaint
  $ applist-check -c 2>err
  用法: applist-check [-c <配置文件>]
  [1]
  $ test -s err && echo complaint
  complaint

Default ./applist.conf; non-option arguments are ignored; the last -c wins.

  $ applist-check-for 0
  配置文件解析完成，共加载 2 条规则，1 条通配符规则
  $ applist-check-for 0 other.conf
  配置文件解析完成，共加载 2 条规则，1 条通配符规则
  $ applist-check-for 0 -c bad.conf -c ok.conf
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  $ mkdir elsewhere && cd elsewhere && applist-check
  配置文件不存在: ./applist.conf
  [1]
  $ cd ..

A path is cut to its first 4095 bytes (here they still name ok.conf).

  $ long=$(printf './%.0s' $(seq 2044))ok.conf$(printf 'x%.0s' $(seq 905))
  $ applist-check-for 0 -c "$long"
  配置文件解析完成，共加载 1 条规则，0 条通配符规则

Files that cannot be examined, opened or mapped.

  $ applist-check -c ''
  配置文件不存在: 
  [1]
  $ : > empty.conf
  $ applist-check -c empty.conf
  无法映射配置文件 empty.conf: Invalid argument
  [1]
  $ applist-check -c /dev/null
  无法映射配置文件 /dev/null: Invalid argument
  [1]
  $ mkfifo fifo && applist-check -c fifo
  无法映射配置文件 fifo: Invalid argument
  [1]
  $ ln -s loop-a loop-b && ln -s loop-b loop-a && applist-check -c loop-a
  配置文件不存在: loop-a
  [1]
  $ chmod 0 ok.conf
  $ if [ "$(id -u)" = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups applist-check -c ok.conf; else applist-check -c ok.conf; fi
  无法打开配置文件 ok.conf: Permission denied
  [1]

A directory opens, but cannot be mapped; the reason given depends on the
size its file system reports for it.

  $ mkdir dir && applist-check -c dir > out
  [1]
  $ sed 's/: [^:]*$/: .../' out
  无法映射配置文件 dir: ...
