#!/usr/bin/env bash
# Runs a command with a real web server up: Debian's nginx on two free loopback ports, both
# serving one folder, one with gzip on (answers compressed and chunked, as nginx does for an
# HTTP/1.1 client) and one with gzip off. VEXO_NGINX_ROOT names the folder (a Linux path),
# VEXO_NGINX_GZIP_PORT and VEXO_NGINX_PLAIN_PORT the ports. nginx is stopped when the command
# ends and runs no longer than the command may.
set -u
dir=$(mktemp -d)
chmod 755 "$dir"
root=$dir/www
mkdir -p "$root" "$dir/tmp"
chmod 777 "$root"
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
gzip_port=$(free_port)
plain_port=$(free_port)
cat >"$dir/nginx.conf" <<CONF
worker_processes 1;
daemon off;
error_log $dir/error.log;
pid $dir/nginx.pid;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $dir/tmp/body;
  proxy_temp_path $dir/tmp/proxy;
  fastcgi_temp_path $dir/tmp/fastcgi;
  uwsgi_temp_path $dir/tmp/uwsgi;
  scgi_temp_path $dir/tmp/scgi;
  types { text/xml xml; application/x-shockwave-flash swf; }
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$gzip_port;
    root $root;
    gzip on;
    gzip_types text/xml application/x-shockwave-flash;
    gzip_min_length 0;
  }
  server {
    listen 127.0.0.1:$plain_port;
    root $root;
    gzip off;
  }
}
CONF
nginx -c "$dir/nginx.conf" -p "$dir" >"$dir/nginx.out" 2>&1 &
server=$!
for _ in $(seq 100); do
  (exec 3<>"/dev/tcp/127.0.0.1/$gzip_port") 2>/dev/null && (exec 3<>"/dev/tcp/127.0.0.1/$plain_port") 2>/dev/null && break
  sleep 0.05
done
if ! kill -0 $server 2>/dev/null; then
  echo "nginx did not start:"; cat "$dir/nginx.out" "$dir/error.log" 2>/dev/null; rm -rf "$dir"; exit 1
fi
export VEXO_NGINX_ROOT=$root VEXO_NGINX_GZIP_PORT=$gzip_port VEXO_NGINX_PLAIN_PORT=$plain_port
"$@"
rc=$?
kill $server 2>/dev/null
wait $server 2>/dev/null
rm -rf "$dir"
exit $rc
