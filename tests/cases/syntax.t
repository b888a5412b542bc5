The syntax of one rule line and its eight messages.

  $ . "$SRCDIR/tests/case_helpers.sh"

Each message shows the line, key or package as cut so far.

  $ check 'game\ngame#\n=0\n  =1\ngame=\ngame= # x\ngame{main=0\ngame{}=0\ngame{main}x=0\ngame{main}\001=0\ngame}=0\n{x}y=0\na}b=0\ngame{a}}=0\ngame{a} b}=0\n'
  第 1 行无效规则：缺少 '=': game
  第 2 行无效规则：缺少 '=': game
  第 3 行无效规则：键为空: 
  第 4 行无效规则：键为空: 
  第 5 行无效规则：值为空: game
  第 6 行无效规则：值为空: game
  第 7 行无效规则：缺少闭合 '}': game
  第 8 行无效规则：线程名为空: game
  第 9 行无效规则：'}' 后包含非法字符: game
  第 10 行无效规则：'}' 后包含非法字符: game
  第 11 行无效规则：缺少 '{': game}
  第 12 行无效规则：'}' 后包含非法字符: 
  第 13 行无效规则：缺少 '{': a}b
  第 14 行无效规则：'}' 后包含非法字符: game
  第 15 行无效规则：'}' 后包含非法字符: game
  未加载有效规则
  [1]

The first failing check decides; the first '{' ends the package.

  $ check 'game{main\n{=\n=\ngame{a{b=0\n'
  第 1 行无效规则：缺少 '=': game{main
  第 2 行无效规则：值为空: {
  第 3 行无效规则：键为空: 
  第 4 行无效规则：缺少闭合 '}': game
  未加载有效规则
  [1]

Package at most 127 bytes, thread at most 31 after its leading blanks.

  $ squeeze pqt check "$(x 127 p)=0\n$(x 128 q)=0\ng{$(x 31 t)}=0\ng{$(x 32 u)}=0\nh{  $(x 31 v)}=0\n$(x 127 p)=1\ng{$(x 31 t)}=1\n"
  第 2 行无效规则：包名或线程名过长: q
  第 4 行无效规则：包名或线程名过长: g
  第 6 行重复规则：p{}=1
  第 7 行重复规则：g{t}=1
  配置文件解析完成，共加载 3 条规则，0 条通配符规则
  [1]

Blanks are tab, LF, VT, FF, CR and space only; the value's comment starts at
its first '#'; '#' in a key, a second '=' and a '}' before the '{' are
ordinary bytes.

  $ check '   \n\t\v\f\r\n  # note\n#game=1\n  game=0 # was 2-1 # old\ngame{main}\t \v=0\ngame{ }=0\ngame =0\n\vgame\f=0\ngame\b=0\n\bgame=0\ngame{main }=0\ngame{ main }=0\n'
  第 7 行重复规则：game{}=0
  第 13 行重复规则：game{main }=0
  配置文件解析完成，共加载 7 条规则，0 条通配符规则
  [1]
  $ check 'game#=0\ngame#{main}=0\na}{b}=0\n{main}=0\n{ }=0\na}{b}=0 # dup\ngame#=0\ngame=0=1\ngame=1\n'
  第 6 行重复规则：a}{b}=0 
  第 7 行重复规则：game#{}=0
  第 9 行重复规则：game{}=1
  配置文件解析完成，共加载 6 条规则，0 条通配符规则
  [1]

Bytes that are no UTF-8 and control bytes are echoed as they are.

  $ check '\377\376.game=0\n\303(=0\n\303(=0\n\344\270\ngame{\355\240\200}=0\n\300\257*=0\n\001\002game\177=0\n\033[31mgame\033[0m=0\n\033[2J\n'
  第 3 行重复规则：\xc3({}=0 (esc)
  第 4 行无效规则：缺少 '=': \xe4\xb8 (esc)
  第 9 行无效规则：缺少 '=': \x1b[2J (esc)
  配置文件解析完成，共加载 6 条规则，2 条通配符规则
  [1]
