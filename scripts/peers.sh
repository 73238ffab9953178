#!/bin/bash
# start BUILD: real servers on free loopback ports, each with its own files
#   under BUILD/peers: nginx (HTTP, Range), pyftpdlib (anonymous and a user),
#   dante (SOCKS 4/5, and SOCKS 5 with user name/password), tinyproxy
#   (CONNECT with Basic auth). Their ports go to BUILD/peers/ports.env.
#   nginx also serves HTTPS with certificates from a test authority made
#   here (BUILD/peers/tls/ca.der; the tests trust it in their own prefix
#   only): a sound server and servers with a wrong name, an expired
#   certificate, a self-signed one, an incomplete chain and TLS 1.0 only.
# stop BUILD: ends them.
set -u
cmd=$1; BUILD=$(cd "$2" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)
P="$BUILD/peers"

stop() {
  for f in "$P"/*.pid; do
    [ -s "$f" ] && kill "$(cat "$f")" 2>/dev/null
    rm -f "$f"
  done
  rm -f "$P/ports.env"
}

free_ports() {
  /usr/bin/python3 -c '
import socket
socks = [socket.socket() for _ in range(int(__import__("sys").argv[1]))]
for s in socks: s.bind(("127.0.0.1", 0))
print(" ".join(str(s.getsockname()[1]) for s in socks))' "$1"
}

wait_port() {
  for _ in $(seq 100); do
    /usr/bin/python3 -c "import socket; socket.create_connection(('127.0.0.1', $1), 0.2)" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "peers: nothing listens on port $1 ($2)" >&2
  return 1
}

case "$cmd" in
stop) stop; exit 0 ;;
start) ;;
*) echo "usage: $0 start|stop BUILD" >&2; exit 2 ;;
esac

stop
mkdir -p "$P/www" "$P/nginx" "$P/logs"
# The files the tests fetch; the tests compare what arrives with them.
[ -s "$P/www/big.bin" ] || head -c 8000000 /dev/urandom >"$P/www/big.bin"
[ -s "$P/www/small.bin" ] || head -c 70001 /dev/urandom >"$P/www/small.bin"
[ -s "$P/www/bench.bin" ] || head -c 20000000 /dev/urandom >"$P/www/bench.bin"
# All ports at once, so that none is handed out twice.
read -r HTTP FTP SOCKS SOCKSAUTH TINY HTTPS WRONGNAME EXPIRED SELFSIGNED PARTIAL TLS10 <<<"$(free_ports 11)"
RUNAS=; [ "$(id -u)" -eq 0 ] && RUNAS=root
"$ROOT/scripts/test-certificates.sh" "$P/tls" || exit 1
# One HTTPS server block per certificate case.
tls_server() {  # port certificate-file [extra directives]
  echo "  server { listen 127.0.0.1:$1 ssl; root $P/www; ssl_certificate $P/tls/$2;"
  echo "    ssl_certificate_key $P/tls/leaf.key; ${3:-}"
  echo "    location = /to-http { return 302 http://127.0.0.1:$HTTP/small.bin; } }"
}

cat >"$P/nginx.conf" <<CONF
${RUNAS:+user root;}
worker_processes 1;
pid $P/nginx.pid;
error_log $P/logs/nginx-error.log;
events { worker_connections 512; }
http {
  access_log off;
  client_body_temp_path $P/nginx/body;
  proxy_temp_path $P/nginx/proxy;
  fastcgi_temp_path $P/nginx/fastcgi;
  uwsgi_temp_path $P/nginx/uwsgi;
  scgi_temp_path $P/nginx/scgi;
  default_type application/octet-stream;
  server { listen 127.0.0.1:$HTTP; root $P/www;
    location = /to-https { return 302 https://localhost:$HTTPS/small.bin; } }
$(tls_server "$HTTPS" good.pem)
$(tls_server "$WRONGNAME" wrongname.pem)
$(tls_server "$EXPIRED" expired.pem)
$(tls_server "$SELFSIGNED" selfsigned.pem)
$(tls_server "$PARTIAL" partial.pem)
$(tls_server "$TLS10" good.pem "ssl_protocols TLSv1; ssl_ciphers DEFAULT:@SECLEVEL=0;")
}
CONF
nginx -c "$P/nginx.conf" -p "$P/nginx" -g 'daemon on;' 2>>"$P/logs/nginx-error.log"

/usr/bin/python3 "$ROOT/tests/servers/ftp_peer.py" "$FTP" "$P/www" >"$P/logs/ftp.log" 2>&1 &
echo $! >"$P/ftp.pid"

# dante checks user names against the password files; a private set
# through nss_wrapper gives it a test user without touching the system's.
echo "tester:x:4242:4242:tester:/nonexistent:/bin/false" >"$P/passwd"
echo "root:x:0:0:root:/root:/bin/bash" >>"$P/passwd"
echo "nogroup:x:65534:" >"$P/group"; echo "tester:x:4242:" >>"$P/group"; echo "root:x:0:" >>"$P/group"
echo "tester:$(openssl passwd -6 secret):19000:0:99999:7:::" >"$P/shadow"
for kind in plain auth; do
  port=$SOCKS; method=none
  [ $kind = auth ] && port=$SOCKSAUTH && method=username
  cat >"$P/danted-$kind.conf" <<CONF
logoutput: $P/logs/danted-$kind.log
internal: 127.0.0.1 port = $port
external: 127.0.0.1
clientmethod: none
socksmethod: $method
user.privileged: ${RUNAS:-$(id -un)}
user.unprivileged: ${RUNAS:-$(id -un)}
client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }
socks pass { from: 127.0.0.0/8 to: 127.0.0.0/8 protocol: tcp }
CONF
  LD_PRELOAD=libnss_wrapper.so NSS_WRAPPER_PASSWD="$P/passwd" NSS_WRAPPER_GROUP="$P/group" \
    NSS_WRAPPER_SHADOW="$P/shadow" danted -f "$P/danted-$kind.conf" -p "$P/danted-$kind.pid" -D
done

cat >"$P/tinyproxy.conf" <<CONF
${RUNAS:+User root}
${RUNAS:+Group root}
Port $TINY
Listen 127.0.0.1
PidFile "$P/tinyproxy.pid"
LogFile "$P/logs/tinyproxy.log"
MaxClients 100
Allow 127.0.0.1
BasicAuth tester secret
DisableViaHeader Yes
CONF
tinyproxy -c "$P/tinyproxy.conf"

ok=0
wait_port "$HTTP" nginx && wait_port "$HTTPS" "nginx over TLS" && wait_port "$FTP" pyftpdlib && wait_port "$SOCKS" dante &&
  wait_port "$SOCKSAUTH" "dante with user names" && wait_port "$TINY" tinyproxy || ok=1
for _ in $(seq 50); do [ -s "$P/tinyproxy.pid" ] && [ -s "$P/nginx.pid" ] && break; sleep 0.1; done
cat >"$P/ports.env" <<ENV
http=$HTTP
ftp=$FTP
socks=$SOCKS
socksauth=$SOCKSAUTH
connect=$TINY
https=$HTTPS
https_wrongname=$WRONGNAME
https_expired=$EXPIRED
https_selfsigned=$SELFSIGNED
https_partial=$PARTIAL
https_tls10=$TLS10
user=tester
password=secret
ENV
exit $ok
