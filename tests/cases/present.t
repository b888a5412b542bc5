The present CPUs decide which CPUs a rule may name.
Needs: namespace

  $ printf '# game rules\n\n# big cores\n\n\n\ncom.example.game{RenderThread}=4-7\n' > road.conf
  $ applist-check-for 0-7 -c road.conf
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  $ applist-check-for 0-5 -c road.conf
  第 7 行无效 CPU 范围：4-7 在规则 com.example.game{RenderThread}=4-7，超出可用 CPU (0-5)
  未加载有效规则
  [1]
  $ printf '# big cores\ncom.example.game{RenderThread}=4-7\ncom.example.game=0-3\ncom.example.*=0-7\ncom.example.game=1\n' > five.conf
  $ applist-check-for 0-7 -c five.conf
  第 5 行重复规则：com.example.game{}=1
  配置文件解析完成，共加载 3 条规则，1 条通配符规则
  [1]
  $ applist-check-for 0-7 -c "$SRCDIR/examples/applist.conf"
  配置文件解析完成，共加载 8 条规则，3 条通配符规则

Holes in the present list; every CPU up to 1023.

  $ printf 'a=4\nb=5\nc=6\nd=3\ne=0-7\nf=6-7,0-3\n' > holes.conf
  $ applist-check-for 0-3,6-7 -c holes.conf
  第 1 行无效 CPU 范围：4 在规则 a{}=4，超出可用 CPU (0-3,6-7)
  第 2 行无效 CPU 范围：5 在规则 b{}=5，超出可用 CPU (0-3,6-7)
  第 5 行无效 CPU 范围：0-7 在规则 e{}=0-7，超出可用 CPU (0-3,6-7)
  配置文件解析完成，共加载 3 条规则，0 条通配符规则
  [1]
  $ printf 'a=1000-2000\nb=1023\nc=0x3ff\n' > high.conf
  $ applist-check-for 0-1023 -c high.conf
  配置文件解析完成，共加载 3 条规则，0 条通配符规则

Standard input closed: the present file opens as descriptor 0.

  $ applist-check-for 0-7 -c road.conf <&-
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
