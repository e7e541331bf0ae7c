#!/usr/bin/env bash
# Static checks of the i686 release build: it cannot run on this machine, so make sure that
# what it produced really is 32-bit x86 code.
set -euo pipefail
# objdump's text is parsed below: read it untranslated, whatever the user's locale.
export LC_ALL=C
build=$(realpath "${1:?usage: check-i686.sh BUILD_DIR}")
objdump=i686-w64-mingw32-objdump
status=0
count=0
while IFS= read -r -d '' file; do
  count=$((count + 1))
  format=$($objdump -f "$file" 2>/dev/null | sed -n 's/.*file format //p' | sort -u)
  if [ "$format" != "pe-i386" ] && [ "$format" != "pei-i386" ]; then
    echo "check-i686: $file is '$format', not pe-i386"
    status=1
  fi
done < <(find "$build" \( -name '*.exe' -o -name '*.dll' -o -name '*.a' \) -not -path "*/CMakeFiles/*" -print0)
if [ "$count" -eq 0 ]; then
  echo "check-i686: nothing was built in $build"
  exit 1
fi
echo "check-i686: $count files checked"

# A DLL's exported names, sorted, must be exactly the expected ones (undecorated: the host
# program finds the library's functions by these names, COM and regsvr32 the server's).
check_exports() {  # NAME "EXPECTED NAMES "
  local dll=$build/bin/$1 exports
  if [ ! -f "$dll" ]; then
    echo "check-i686: $dll was not built"
    status=1
    return
  fi
  exports=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/{print $NF}' | grep -v Table | sort | tr '\n' ' ')
  if [ "$exports" != "$2" ]; then
    echo "check-i686: $1 exports '$exports'"
    status=1
  else
    echo "check-i686: $1 exports $exports"
  fi
}
check_exports VexoTips.dll "Close_VexoTips Query_VexoTips Start_VexoTips "
check_exports VexoMedia.dll "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer "

# The decoding libraries ship beside the control, 32-bit too, and so does every library they
# load in turn: a missing one means the control does not register on a user's machine.
check_beside() {  # DLL
  local dll=$1 name
  for name in $($objdump -p "$dll" | sed -n 's/^\s*DLL Name: //p'); do
    case "$name" in
    av*.dll | sw*.dll | *dav1d*.dll)
      if [ ! -f "$build/bin/$name" ]; then
        echo "check-i686: $(basename "$dll") needs $name, which is not beside it"
        status=1
      else
        check_beside "$build/bin/$name"
      fi
      ;;
    esac
  done
}
check_beside "$build/bin/VexoMedia.dll"
echo "check-i686: the decoding libraries are beside VexoMedia.dll"
exit $status
