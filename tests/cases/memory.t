Memory the tool may use.
Needs: native gnu-time

Read pages of the file are dropped, also while the loop seeks the end of a
line: 40 MiB of comments, 40 MiB of '#' without a line feed and 1 GiB of zeros
(a sparse file, as a crash can leave behind) each peak below 16 MiB.

  $ . "$SRCDIR/tests/case_helpers.sh"
  $ peak() { /usr/bin/time -f %M -o peak applist-check-for 0 -c "$1"; echo "status $?"; [ "$(tail -n 1 peak)" -lt 16384 ] && echo 'under 16 MiB'; }
  $ yes '# a comment line of some length, the same again and again' | head -c 41943040 > comments.conf
  $ peak comments.conf
  未加载有效规则
  status 1
  under 16 MiB
  $ x 41943040 '#' > hashes.conf && peak hashes.conf
  第 1 行过长
  未加载有效规则
  status 1
  under 16 MiB
  $ truncate -s 1G zeros.conf && peak zeros.conf
  第 1 行过长
  未加载有效规则
  status 1
  under 16 MiB

The lint reads such a line through for full-width forms, and drops its pages
behind it too.

  $ x 41943040 > letters.conf && /usr/bin/time -f %M -o peak applist-lint -p 0 letters.conf; echo "status $?"; [ "$(tail -n 1 peak)" -lt 16384 ] && echo 'under 16 MiB'
  letters.conf:1:1: error: 过长 [E001]
  letters.conf:1:1: error: 未加载有效规则 [E021]
  status 1
  under 16 MiB

Packages with many thread rules load within 256 MiB of address space.

  $ rules() { seq -f 'com.example.app%g=0' "$1"; seq -f 'com.example.game%g{Thread' "$2" | awk '{ for (t = 1; t <= 12; t++) print $0 t "}=0" }'; }
  $ rules 19800 200 > many-games.conf && (ulimit -v 262144; applist-check-for 0 -c many-games.conf)
  配置文件解析完成，共加载 22200 条规则，0 条通配符规则
