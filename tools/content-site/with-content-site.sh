#!/usr/bin/env bash
# Runs a command with the content site up: VEXO_SITE_PORT names its port. The site is
# stopped when the command ends, and stops by itself if this script is killed.
set -u
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
# VEXO_SITE_ARGS adds server options, e.g. "--catalogue --episode-seconds 4".
python3 "$here/server.py" --port-file "$dir/port" --idle 900 ${VEXO_SITE_ARGS:-} >"$dir/server.log" 2>&1 </dev/null &
server=$!
for _ in $(seq 100); do [ -s "$dir/port" ] && break; sleep 0.05; done
if [ ! -s "$dir/port" ]; then
  echo "content site did not start:"; cat "$dir/server.log"; kill $server 2>/dev/null; exit 1
fi
export VEXO_SITE_PORT=$(cat "$dir/port")
"$@"
rc=$?
kill $server 2>/dev/null
wait $server 2>/dev/null
rm -rf "$dir"
exit $rc
