On a terminal, the texts a message takes from the rule file or the command
line show each control character as '?': bytes 0x00 to 0x1F but tab, 0x7F,
and U+0080 to U+009F (C2 80 to C2 9F). Any other byte, and every byte through
a pipe or into a file, is shown as it is. script runs the tool on a
pseudo-terminal (what counts is standard output: below, once, standard input
and standard error are elsewhere); stty keeps line feeds from becoming CR LF
there. cram ends a line at a CR.
Needs: script

  $ on_tty() { SHELL=/bin/sh script -qec "stty -onlcr; exec $1" /dev/null < /dev/null; }

A shared rule file cannot erase the messages above it, forge the summary or
turn the text black on black.

  $ printf 'game=9\nother=0\nx\r\033[2K\033[1A\033[2K\033[1A\033[2K配置文件解析完成，共加载 2 条规则，0 条通配符规则\033[30;40m\n' > evil.conf
  $ on_tty 'applist-check-for 0-7 -c evil.conf < evil.conf 2> /dev/null'
  第 1 行无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-7)
  第 3 行无效规则：缺少 '=': x??[2K?[1A?[2K?[1A?[2K配置文件解析完成，共加载 2 条规则，0 条通配符规则?[30;40m
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ applist-check-for 0-7 -c evil.conf
  第 1 行无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-7)
  第 3 行无效规则：缺少 '=': x\r (no-eol) (esc)
  \x1b[2K\x1b[1A\x1b[2K\x1b[1A\x1b[2K配置文件解析完成，共加载 2 条规则，0 条通配符规则\x1b[30;40m (esc)
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]

Every text: the line, package, thread and value, the path (whose line feed
makes two lines through a pipe).

  $ printf 'a\001\tb\037 \177\302\200\302\237\302\240\237c\np\033{t\033}=0\033\np\033{t\033}=1\033\nr=\033\n' > texts.conf
  $ on_tty 'applist-check-for 0-7 -c texts.conf'
  第 1 行无效规则：缺少 '=': a?\tb? ???\xc2\xa0\x9fc (esc)
  第 3 行重复规则：p?{t?}=1?
  第 4 行无效 CPU 范围：? 在规则 r{}=?，无有效 CPU
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ applist-check-for 0-7 -c texts.conf
  第 1 行无效规则：缺少 '=': a\x01\tb\x1f \x7f\xc2\x80\xc2\x9f\xc2\xa0\x9fc (esc)
  第 3 行重复规则：p\x1b{t\x1b}=1\x1b (esc)
  第 4 行无效 CPU 范围：\x1b 在规则 r{}=\x1b，无有效 CPU (esc)
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ path=$(printf 'no\nsuch\033.conf') && export path
  $ on_tty 'applist-check -c "$path"'
  配置文件不存在: no?such?.conf
  [1]
  $ applist-check -c "$path"
  配置文件不存在: no
  such\x1b.conf (esc)
  [1]

A path as long as the tool takes one (4095 bytes) is shown whole there too.

  $ path=$(head -c 4095 /dev/zero | tr '\0' x) && on_tty 'applist-check -c "$path"' > out
  [1]
  $ wc -c < out
  4119
