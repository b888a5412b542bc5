The user guide and the editor recipes come in English and in Simplified
Chinese. Each links to the other in its first lines, stays under 200 lines,
and shows the same commands: every block of one with a language (```sh,
```vim...) is, byte for byte, a block of the other. Prose and examples of
output are translated around them.
Needs: python3

  $ cd "$SRCDIR" && python3 - README.md README.zh-CN.md docs/editors.md docs/editors.zh-CN.md <<'EOF'
  > import re, sys
  > def read(name):
  >     text = open(name, 'rb').read()
  >     return text, re.findall(rb'^```\w+\n(.*?)^```$', text, re.M | re.S)
  > for name, other in zip(sys.argv[1:], [a for p in zip(sys.argv[2::2], sys.argv[1::2]) for a in p]):
  >     (text, blocks), (_, others) = read(name), read(other)
  >     missing = [block.decode() for block in blocks if block not in others]
  >     head = b''.join(text.splitlines(True)[:3])
  >     print(name, len(blocks), 'blocks; links:', other.split('/')[-1].encode() in head, '; under 200 lines:',
  >           text.count(b'\n') < 200, '; not in', other + ':', missing)
  > EOF
  README.md 8 blocks; links: True ; under 200 lines: True ; not in README.zh-CN.md: []
  README.zh-CN.md 8 blocks; links: True ; under 200 lines: True ; not in README.md: []
  docs/editors.md 5 blocks; links: True ; under 200 lines: True ; not in docs/editors.zh-CN.md: []
  docs/editors.zh-CN.md 5 blocks; links: True ; under 200 lines: True ; not in docs/editors.md: []
