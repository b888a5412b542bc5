applist-check itself takes the present CPUs from the kernel's file
/sys/devices/system/cpu/present, faked here in a private mount namespace.
Needs: namespace unshare

  $ . "$SRCDIR/tests/case_helpers.sh"
  $ printf '# big cores\ncom.example.game{RenderThread}=4-7\ncom.example.game=0-3\ncom.example.*=0-7\ncom.example.game=1\n' > five.conf
  $ on_phone '0-7\n' applist-check -c five.conf
  第 5 行重复规则：com.example.game{}=1
  配置文件解析完成，共加载 3 条规则，1 条通配符规则
  [1]
  $ on_phone '0-5\n' applist-check -c five.conf
  第 2 行无效 CPU 范围：4-7 在规则 com.example.game{RenderThread}=4-7，超出可用 CPU (0-5)
  第 4 行无效 CPU 范围：0-7 在规则 com.example.*{}=0-7，超出可用 CPU (0-5)
  第 5 行重复规则：com.example.game{}=1
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]

What the messages show of the file: the text of one read of 127 bytes at
most, trailing blanks cut; a file of blanks only shows as read.

  $ printf 'a=0\nb=4\n' > two.conf
  $ on_phone '  0-3,6-7 \t\r\n' applist-check -c two.conf
  第 2 行无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU (  0-3,6-7)
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ on_phone "0-3,$(seq -s, 100 130),4\n" applist-check -c two.conf
  第 2 行无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU (0-3,100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118,119,120,121,122,123,124,125,126,127,128,129,130)
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
  $ on_phone ' \n' applist-check -c two.conf
  第 1 行无效 CPU 范围：0 在规则 a{}=0，超出可用 CPU ( 
  )
  第 2 行无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU ( 
  )
  未加载有效规则
  [1]

No file at all, or an empty one: no CPU is present, and the parentheses are
empty.

  $ on_phone - applist-check -c two.conf
  第 1 行无效 CPU 范围：0 在规则 a{}=0，超出可用 CPU ()
  第 2 行无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU ()
  未加载有效规则
  [1]
  $ on_phone '' applist-check -c two.conf
  第 1 行无效 CPU 范围：0 在规则 a{}=0，超出可用 CPU ()
  第 2 行无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU ()
  未加载有效规则
  [1]

Standard input closed: the present file opens as descriptor 0.

  $ on_phone '0-3\n' applist-check -c two.conf <&-
  第 2 行无效 CPU 范围：4 在规则 b{}=4，超出可用 CPU (0-3)
  配置文件解析完成，共加载 1 条规则，0 条通配符规则
  [1]
