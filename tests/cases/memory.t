Memory the tool may use.
Needs: native gnu-time

Read pages of the file are dropped: 40 MiB of comments peak below 16 MiB.

  $ yes '# a comment line of some length, the same again and again' | head -c 41943040 > comments.conf
  $ /usr/bin/time -f '%M' -o peak applist-check-for 0 -c comments.conf
  未加载有效规则
  [1]
  $ [ "$(tail -n 1 peak)" -lt 16384 ] && echo 'under 16 MiB'
  under 16 MiB

Packages with many thread rules load within 256 MiB of address space.

  $ rules() { seq -f 'com.example.app%g=0' "$1"; seq -f 'com.example.game%g{Thread' "$2" | awk '{ for (t = 1; t <= 12; t++) print $0 t "}=0" }'; }
  $ rules 19800 200 > many-games.conf && (ulimit -v 262144; applist-check-for 0 -c many-games.conf)
  配置文件解析完成，共加载 22200 条规则，0 条通配符规则
