A lost write fails the run however standard output is buffered; stdbuf
preloads its own library to set the buffering.
Needs: preload stdbuf

  $ printf 'game=0\n' > ok.conf
  $ stdbuf -o0 applist-check-for 0 -c ok.conf > /dev/full
  [1]
  $ stdbuf -oL applist-check-for 0 -c ok.conf > /dev/full
  [1]
