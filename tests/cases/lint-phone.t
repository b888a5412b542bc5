W130-W133 from pm's packages (--packages) and ps's threads (--threads), or
both through adb (--adb), which a fake adb plays.
Needs: python3

  $ PATH=$SRCDIR/tests/fake-adb:$PATH FAKE_PHONE=$PWD/phone && export FAKE_PHONE && mkdir phone && cd phone
  $ printf '0-7\r\n' > present && printf 'package:com.tencent.mm\r\npackage:/data/app/~~x==/com.tencent.tmgp.sgame-1/base.apk=com.tencent.tmgp.sgame\r\n\r\ncom.Example.App\ncom.example.apq\na.bc\na.bd\n' > packages
  $ printf 'CMD             NAME\r\ncom.tencent.mm  com.tencent.mm\r\nRenderThread    com.tencent.mm\nJit thread pool com.tencent.mm\nHeapTaskDaemon  com.tencent.mm:push\nUnityMain       com.tencent.tmgp.sgame\nUnityGfxDeviceW com.tencent.tmgp.sgame\nsurfaceflinger  surfaceflinger\nkthreadd        [kthreadd]\nkworker/u16:1-ev system_server\n' > threads

Each code and near misses: processes (NAME:suffix, native), threads as shown,
an app not running (a.bc); nearest names (case first, two edits and a third
of the length, a swap is one, ties by byte order); kernel lines; CR LF.

  $ cd .. && printf 'com.tencent.mn=4-7\ncom.tencent.tmgp.sgame{UnityMian}=4-7\ncom.netease.*{UnityMain}=4-7\ncom.tencent.mm{Unity*}=4\ncom.tencent.*{Unity?ain}=4\ncom.tencent.mm:push{RenderThread}=4\ncom.tencent.mm{HeapTaskDaemon}=4\ncom.tencent.mm{Jit thread pool}=4\ncom.tencent.tmgp.sgame{UnityGfxDeviceWorker}=4\ncom.tencent.tmgp.sgame{UnityGfxDevWorker}=4\ncom.tencent.tmgp.sgame{unitymain}=4\na.bc{Nothing}=4\nsurface*=0\ncom.example.app=1\na.cb=1\na.be=1\nco.bc=1\ncom.tencent.mmxy=1\ncom.tencent.mmxyz=1\ncom.tencent.mm:push=1\nsurfaceflinger=0\nsystem_server=0\nkthreadd=0\nandroid.hardware.graphics.composer@2.1-service=0\ncom.tencent.mm {x}=1\ncom.tencent.mm{RenderThread }=1\n' > phone.conf
  $ applist-lint -p 0-7 --packages=phone/packages --threads=phone/threads phone.conf > files.out
  [1]
  $ cat files.out
  phone.conf:1:1: warning: 没有已安装的应用或运行中的进程叫 "com.tencent.mn"：规则不会生效（是不是 "com.tencent.mm"？） [W130]
  phone.conf:2:24: warning: "com.tencent.tmgp.sgame" 运行中的进程没有叫 "UnityMian" 的线程：规则不会生效（是不是 "UnityMain"？） [W132]
  phone.conf:3:1: warning: 通配符 "com.netease.*" 不匹配任何已安装的应用或运行中的进程：规则不会生效 [W131]
  phone.conf:4:16: warning: "com.tencent.mm" 运行中的进程没有线程匹配 "Unity*"：规则不会生效 [W133]
  phone.conf:6:21: warning: "com.tencent.mm:push" 运行中的进程没有叫 "RenderThread" 的线程：规则不会生效 [W132]
  phone.conf:9:24: warning: 线程名 "UnityGfxDeviceWorker" 有 20 字节，Linux 只保留 15 字节，手机上显示为 "UnityGfxDeviceW" [W112]
  phone.conf:10:24: warning: 线程名 "UnityGfxDevWorker" 有 17 字节，Linux 只保留 15 字节，手机上显示为 "UnityGfxDevWork" [W112]
  phone.conf:10:24: warning: "com.tencent.tmgp.sgame" 运行中的进程没有叫 "UnityGfxDevWork" 的线程：规则不会生效 [W132]
  phone.conf:11:24: warning: "com.tencent.tmgp.sgame" 运行中的进程没有叫 "unitymain" 的线程：规则不会生效（是不是 "UnityMain"？） [W132]
  phone.conf:14:1: warning: 没有已安装的应用或运行中的进程叫 "com.example.app"：规则不会生效（是不是 "com.Example.App"？） [W130]
  phone.conf:15:1: warning: 没有已安装的应用或运行中的进程叫 "a.cb"：规则不会生效（是不是 "a.bc"？） [W130]
  phone.conf:16:1: warning: 没有已安装的应用或运行中的进程叫 "a.be"：规则不会生效（是不是 "a.bc"？） [W130]
  phone.conf:17:1: warning: 没有已安装的应用或运行中的进程叫 "co.bc"：规则不会生效 [W130]
  phone.conf:18:1: warning: 没有已安装的应用或运行中的进程叫 "com.tencent.mmxy"：规则不会生效（是不是 "com.tencent.mm"？） [W130]
  phone.conf:19:1: warning: 没有已安装的应用或运行中的进程叫 "com.tencent.mmxyz"：规则不会生效 [W130]
  phone.conf:22:1: warning: 没有已安装的应用或运行中的进程叫 "system_server"：规则不会生效 [W130]
  phone.conf:23:1: warning: 没有已安装的应用或运行中的进程叫 "kthreadd"：规则不会生效 [W130]
  phone.conf:24:1: warning: 没有已安装的应用或运行中的进程叫 "android.hardware.graphics.composer@2.1-service"：规则不会生效 [W130]
  phone.conf:25:15: warning: 包名以空白结尾：包名是 "com.tencent.mm "，没有应用叫这个名字 [W110]
  phone.conf:26:28: warning: 线程名以空白结尾：线程名是 "RenderThread "，没有线程叫这个名字 [W111]

With --packages alone, only names shaped like an app's package.

  $ printf 'system_server=0\nsurfaceflinger=0\nandroid.hardware.graphics.composer@2.1-service=0\ncom.tencent.mn=0\nsurface*=0\n' | applist-lint -p 0-7 --packages=phone/packages -
  -:4:1: warning: 没有已安装的应用或运行中的进程叫 "com.tencent.mn"：规则不会生效（是不是 "com.tencent.mm"？） [W130]
  -:5:1: warning: 通配符 "surface*" 不匹配任何已安装的应用或运行中的进程：规则不会生效 [W131]
  [1]
  $ seq -f 'package:%g.Z_09.z' 40 > many && printf '4?.Z_09.z=0\n17.Z_09.y=0\nZ_09.z=0\n' | applist-lint -p 0-7 --packages=many -
  -:2:1: warning: 没有已安装的应用或运行中的进程叫 "17.Z_09.y"：规则不会生效（是不是 "17.Z_09.z"？） [W130]
  -:3:1: warning: 没有已安装的应用或运行中的进程叫 "Z_09.z"：规则不会生效（是不是 "1.Z_09.z"？） [W130]
  [1]

The README's commands: through adb, the CPUs too, then from files.

  $ cp phone.conf applist.conf && applist-lint --adb applist.conf > adb.out
  [1]
  $ adb shell pm list packages > packages.txt && adb shell ps -A -T -o CMD,NAME > threads.txt
  $ applist-lint -p 0-7 --packages=packages.txt --threads=threads.txt applist.conf > readme.out
  [1]
  $ sed s/^phone.conf/applist.conf/ files.out | cmp - adb.out && cmp adb.out readme.out && head -n 1 readme.out
  applist.conf:1:1: warning: 没有已安装的应用或运行中的进程叫 "com.tencent.mn"：规则不会生效（是不是 "com.tencent.mm"？） [W130]

adb's standard input is not the lint's; every format.

  $ printf 'com.tencent.mn=8\n' | applist-lint --adb -
  -:1:1: warning: 没有已安装的应用或运行中的进程叫 "com.tencent.mn"：规则不会生效（是不是 "com.tencent.mm"？） [W130]
  -:1:16: error: 无效 CPU 范围：8 在规则 com.tencent.mn{}=8，超出可用 CPU (0-7) [E011]
  -:1:1: error: 未加载有效规则 [E021]
  [1]
  $ applist-lint --adb -f github -e W112,W130 phone.conf > github.out
  [1]
  $ applist-lint --adb -f json phone.conf > json.out
  [1]
  $ sed -E 's/^::warning file=phone.conf,line=([0-9]+),col=([0-9]+),title=(....)::.*/\1:\2 \3/' github.out | paste -sd ' '
  2:24 W132 3:1 W131 4:16 W133 6:21 W132 10:24 W132 11:24 W132 25:15 W110 26:28 W111
  $ python3 -c 'import json, sys; print(*("%d:%d %s" % (d["line"], d["column"], d["code"]) for d in json.load(sys.stdin)["diagnostics"]))' < json.out
  1:1 W130 2:24 W132 3:1 W131 4:16 W133 6:21 W132 9:24 W112 10:24 W112 10:24 W132 11:24 W132 14:1 W130 15:1 W130 16:1 W130 17:1 W130 18:1 W130 19:1 W130 22:1 W130 23:1 W130 24:1 W130 25:15 W110 26:28 W111

Bad files and adb failures: one message, status 2, no output.

  $ printf 'CMD             NAME\n' > header && : > empty
  $ applist-lint -f json --packages=missing phone.conf
  applist-lint: 无法读取 --packages=missing: No such file or directory
  [2]
  $ applist-lint -f json --packages=empty phone.conf
  applist-lint: --packages=empty 为空：没有包名或线程
  [2]
  $ applist-lint -f json --threads=header phone.conf
  applist-lint: --threads=header 中没有 ps -A -T -o CMD,NAME 格式的行
  [2]
  $ applist-lint -f json --threads=empty phone.conf
  applist-lint: --threads=empty 为空：没有包名或线程
  [2]
  $ PATH=/nonexistent "$(command -v applist-lint)" --adb phone.conf
  applist-lint: 无法运行 adb: No such file or directory
  [2]
  $ FAKE_ADB=none applist-lint --adb phone.conf
  applist-lint: adb shell cat /sys/devices/system/cpu/present 失败: error: no devices/emulators found
  [2]
  $ FAKE_ADB=unauthorized applist-lint -p 0-7 --adb phone.conf
  applist-lint: adb shell pm list packages 失败: error: device unauthorized.
  [2]
  $ FAKE_ADB=status applist-lint -p 0-7 --adb phone.conf
  applist-lint: adb shell pm list packages 失败: cmd: Failure
  [2]
  $ FAKE_ADB=silent applist-lint -p 0-7 --threads=phone/threads --adb phone.conf
  applist-lint: adb shell pm list packages 失败，退出状态 1
  [2]
  $ printf '0-7 8\n' > phone/present && applist-lint --adb phone.conf
  applist-lint: adb shell cat /sys/devices/system/cpu/present 的输出不是 CPU 列表: "0-7 8"
  [2]

A command that never ends: after 30 s its whole process group is killed.

  $ FAKE_ADB=hang applist-lint --adb phone.conf
  applist-lint: adb shell cat /sys/devices/system/cpu/present 在 30 秒内没有结束，已终止
  [2]
  $ [ "$(cut -d ' ' -f 3 "/proc/$(cat phone/child)/stat" 2>/dev/null)" != S ] && echo ended
  ended
