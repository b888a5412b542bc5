A lost write fails the run however standard output is buffered; stdbuf
preloads its own library to set the buffering.
Needs: preload

  $ printf 'game=0\n' > ok.conf
  $ stdbuf -o0 applist-check -c ok.conf > /dev/full
  [1]
  $ stdbuf -oL applist-check -c ok.conf > /dev/full
  [1]
