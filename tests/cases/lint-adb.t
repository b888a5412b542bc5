The real adb, no phone attached: its own error line, status 2. Its private
HOME and server port; that server, and no other, is stopped afterwards.
Needs: adb

  $ . "$SRCDIR/tests/case_helpers.sh"
  $ unset ANDROID_SERIAL && HOME=$PWD ANDROID_ADB_SERVER_PORT=$((20000 + $$ % 20000)) && export HOME ANDROID_ADB_SERVER_PORT
  $ lint 'game=0\n' 0-7 --adb
  applist-lint: adb shell pm list packages 失败: error: no devices/emulators found
  [2]
  $ adb -P "$ANDROID_ADB_SERVER_PORT" kill-server
