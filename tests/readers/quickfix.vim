" The quickfix list that :make fills for each file given, one entry a line:
" file|line|column|type|text, written to vim.out.
let s:all = []
for s:f in argv()
  execute 'edit' fnameescape(s:f)
  silent make!
  call extend(s:all, map(getqflist(), {_, e -> join([bufname(e.bufnr), e.lnum, e.col, e.type, e.text], '|')}))
endfor
call writefile(s:all, 'vim.out')
qall!
