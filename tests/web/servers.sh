#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The settings that docs/web.md gives a school's web server send the folder's Brotli and gzip
# copies as they are, to a browser that accepts them, with the file's own type (application/wasm
# for the module), and the file itself to one that accepts neither. nginx and Apache, from this
# release's packages, run unprivileged on a port of their own with the document's very lines, over
# a small folder with copies made as the build makes them.
#   tests/web/servers.sh
# The servers' packages are unpacked, not installed (installing them would start them on port 80),
# into ~/.cache/corvallo/servers. Needs curl, node and apt-get's download.
set -euo pipefail
source_dir=$(realpath "$(dirname "$(realpath "$0")")/../..")
work=$(mktemp -d)
# Started by root, nginx serves from unprivileged workers, which must read the folder.
chmod 755 "$work"
cleanup() {
    [ ! -f "$work/nginx.pid" ] || kill "$(cat "$work/nginx.pid")" 2>/dev/null || true
    [ ! -f "$work/apache.pid" ] || kill "$(cat "$work/apache.pid")" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for tool in curl node apt-get dpkg-deb; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# A document's block of the given language, which follows the line holding MARK.
snippet() { # LANGUAGE MARK
    awk -v language="$1" -v mark="$2" 'index($0, mark) { found = 1; next }
        found && $0 == "```" language { inside = 1; next }
        inside && /^```/ { exit }
        inside { print }' "$source_dir/docs/web.md"
}

# The servers, unpacked once a release into the cache.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-unknown}")
servers=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/servers/$codename
if [ ! -f "$servers/unpacked" ]; then
    rm -rf "$servers"
    mkdir -p "$servers/debs"
    packages=(nginx nginx-common libnginx-mod-http-brotli-static apache2-bin libapr1 libaprutil1
        libaprutil1-ldap liblua5.3-0)
    (cd "$servers/debs" && apt-get download "${packages[@]}" >"$servers/download.log" 2>&1) \
        || { echo "SKIP: cannot download the servers' packages: $(tail -n 1 "$servers/download.log")"; exit 77; }
    for deb in "$servers"/debs/*.deb; do
        dpkg-deb -x "$deb" "$servers/root"
    done
    touch "$servers/unpacked"
fi
root=$servers/root
libraries=$root/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)

# The folder: a page, a script and a module, with the build's copies.
site=$work/site/corvallo
mkdir -p "$site"
for i in $(seq 300); do echo "<p>Corvallo $i</p>"; done >"$site/index.html"
for i in $(seq 300); do echo "console.log('Corvallo', $i);"; done >"$site/corvallo.js"
head -c 20000 /dev/zero | tr '\0' 'a' >"$site/corvallo.wasm"
node "$source_dir/scripts/lib/precompress.mjs" "$site" >/dev/null

port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

# nginx, with the document's location block.
nginx_port=$(port)
cat >"$work/nginx.conf" <<EOF
load_module $root/usr/lib/nginx/modules/ngx_http_brotli_static_module.so;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events {}
http {
    include $root/etc/nginx/mime.types;
    default_type application/octet-stream;
    access_log off;
    client_body_temp_path $work/nginx-body;
    proxy_temp_path $work/nginx-proxy;
    fastcgi_temp_path $work/nginx-fastcgi;
    uwsgi_temp_path $work/nginx-uwsgi;
    scgi_temp_path $work/nginx-scgi;
    server {
        listen 127.0.0.1:$nginx_port;
        root $work/site;
$(snippet nginx "nginx: the copies")
    }
}
EOF
grep -q gzip_static "$work/nginx.conf" || { echo "FAIL: docs/web.md has no nginx block for the copies" >&2; exit 1; }
"$root/usr/sbin/nginx" -p "$work" -e "$work/nginx-error.log" -c "$work/nginx.conf" \
    || { echo "FAIL: nginx did not start: $(cat "$work/nginx-error.log")" >&2; exit 1; }

# Apache, with the document's lines in the folder's Directory block.
apache_port=$(port)
modules=$root/usr/lib/apache2/modules
cat >"$work/apache.conf" <<EOF
ServerRoot $work
ServerName 127.0.0.1
Listen 127.0.0.1:$apache_port
PidFile $work/apache.pid
ErrorLog $work/apache-error.log
LoadModule mpm_event_module $modules/mod_mpm_event.so
LoadModule authz_core_module $modules/mod_authz_core.so
LoadModule mime_module $modules/mod_mime.so
LoadModule rewrite_module $modules/mod_rewrite.so
LoadModule headers_module $modules/mod_headers.so
LoadModule setenvif_module $modules/mod_setenvif.so
TypesConfig /etc/mime.types
DocumentRoot $work/site
<Directory $work/site/corvallo>
    Require all granted
$(snippet apache "Apache: the copies")
</Directory>
EOF
grep -q RewriteRule "$work/apache.conf" || { echo "FAIL: docs/web.md has no Apache block for the copies" >&2; exit 1; }
[ -f /etc/mime.types ] || sed -i "s|^TypesConfig .*|TypesConfig /dev/null|" "$work/apache.conf"
LD_LIBRARY_PATH=$libraries "$root/usr/sbin/apache2" -f "$work/apache.conf" -k start \
    || { echo "FAIL: Apache did not start: $(cat "$work/apache-error.log" 2>/dev/null)" >&2; exit 1; }
for _ in $(seq 50); do
    [ -f "$work/apache.pid" ] && curl -s -o /dev/null "http://127.0.0.1:$apache_port/" && break
    sleep 0.1
done

# Each row: the file, what the browser accepts, the encoding sent (- for the file as it is) and
# the type.
rows=(
    "corvallo.wasm|gzip, deflate, br|br|application/wasm"
    "corvallo.wasm|gzip, deflate|gzip|application/wasm"
    "corvallo.wasm||-|application/wasm"
    "corvallo.js|gzip, deflate, br|br|javascript"
    "corvallo.js|gzip|gzip|javascript"
    "index.html|br|br|text/html"
    "index.html||-|text/html"
)
failures=0 tried=0
for server in "nginx $nginx_port" "Apache $apache_port"; do
    read -r name at <<<"$server"
    for row in "${rows[@]}"; do
        IFS='|' read -r file accepts encoding type <<<"$row"
        tried=$((tried + 1))
        headers=(-H "Accept-Encoding: $accepts")
        [ -n "$accepts" ] || headers=(-H "Accept-Encoding:")
        # A server that does not answer leaves no headers: the row fails with its status.
        : >"$work/headers"
        : >"$work/body"
        status=$(curl -s -D "$work/headers" -o "$work/body" -w '%{http_code}' "${headers[@]}" \
            "http://127.0.0.1:$at/corvallo/$file" || true)
        sent=$(tr -d '\r' <"$work/headers" | sed -n 's/^[Cc]ontent-[Ee]ncoding: *//p' | tail -n 1)
        sent_type=$(tr -d '\r' <"$work/headers" | sed -n 's/^[Cc]ontent-[Tt]ype: *//p' | tail -n 1)
        expected_body=$site/$file
        case $encoding in br) expected_body=$site/$file.br ;; gzip) expected_body=$site/$file.gz ;; esac
        problem=
        [ "$status" = 200 ] || problem="status $status"
        [ "${sent:--}" = "$encoding" ] || problem+=" sent as ${sent:-it is}, not $encoding"
        [[ $sent_type == *"$type"* ]] || problem+=" of type ${sent_type:-none}, not $type"
        cmp -s "$work/body" "$expected_body" || problem+=" not the file's $encoding copy"
        if [ -n "$problem" ]; then
            echo "FAIL: $name, $file to a browser accepting '${accepts:-nothing}':$problem" >&2
            failures=$((failures + 1))
        fi
    done
done
[ "$failures" -eq 0 ] || { echo "FAIL: $failures of $tried requests" >&2; exit 1; }
echo "PASS: $tried requests to nginx $("$root/usr/sbin/nginx" -v 2>&1 | sed 's/.*\///') and Apache" \
    "$(LD_LIBRARY_PATH=$libraries "$root/usr/sbin/apache2" -v | sed -n 's/.*Apache\/\([^ ]*\).*/\1/p'), as docs/web.md sets them"
