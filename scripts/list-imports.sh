#!/usr/bin/env bash
# Lists the DLLs each shipped file imports, and fails when one is neither part of Windows
# itself nor shipped beside it (a compiler runtime such as libstdc++-6.dll or
# libwinpthread-1.dll would be missing on the users' machines). The shipped files are the
# programs, the libraries and the player control's decoding libraries.
#   list-imports.sh BUILD_DIR        (the objdump of the build's architecture is chosen)
set -euo pipefail
# objdump's text is parsed below: read it untranslated, whatever the user's locale.
export LC_ALL=C
build=$(realpath "${1:?usage: list-imports.sh BUILD_DIR}")
# The system's own DLLs the programs may use, in lower case.
system_dlls="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msimg32.dll msvcrt.dll netapi32.dll
  ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll winmm.dll wininet.dll ws2_32.dll
  bcrypt.dll"
media_dlls=$(cd "$build/bin" && ls avcodec-*.dll avformat-*.dll avutil-*.dll swscale-*.dll swresample-*.dll \
  avfilter-*.dll libdav1d.dll 2>/dev/null || true)
# What ships may use what ships beside it.
system_dlls=" $(echo $system_dlls $media_dlls | tr 'A-Z' 'a-z') "
status=0
if [ -z "$media_dlls" ]; then
  echo "imports: the player control's decoding libraries are not in $build/bin"
  status=1
fi
for name in play.exe VexoTip.exe VexoTips.dll VexoMedia.dll $media_dlls; do
  file="$build/bin/$name"
  if [ ! -f "$file" ]; then
    echo "imports: $file was not built"
    status=1
    continue
  fi
  format=$(objdump -f "$file" 2>/dev/null | sed -n 's/.*file format //p' | head -n 1)
  case "$format" in
    pei-i386) objdump=i686-w64-mingw32-objdump ;;
    pei-x86-64) objdump=x86_64-w64-mingw32-objdump ;;
    *) objdump=x86_64-w64-mingw32-objdump ;;
  esac
  dlls=$($objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  echo "imports of $name ($format): $(echo $dlls)"
  for dll in $dlls; do
    if [[ "$system_dlls" != *" $dll "* ]]; then
      echo "imports: $name needs $dll, which Windows does not have"
      status=1
    fi
  done
done
exit $status
