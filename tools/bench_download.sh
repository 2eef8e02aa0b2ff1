#!/usr/bin/env bash
# Download benchmark: one large file from the local FTPS test server, fetched in the same run
# by our download client (bench_download) and by the curl command line with the same
# settings (explicit TLS on the control connection, clear passive data). Prints each
# round's wall time and peak memory (max RSS, from /usr/bin/time -v), checks both copies
# byte for byte, and gives the throughput ratio of the best rounds.
#
# Our client puts a download in place only after fsync (it is never left half-written under
# its name), so it is also compared with curl followed by an fsync of curl's file. Written
# data is flushed between runs, so no run pays for the previous one's writeback.
#
# usage: tools/bench_download.sh [BUILD_DIR] [SIZE_MB] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
size_mb=${2:-300}
rounds=${3:-3}
client=$build/tests/engine/bench_download
[ -x "$client" ] || { echo "build the bench_download target first ($client)" >&2; exit 2; }

work=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

user=zvodl@zvofamily.example
password='V12dlSecret!'
mkdir -p "$work/root/ZVODL"
head -c $((size_mb * 1024 * 1024)) /dev/urandom > "$work/root/ZVODL/Big.bin"
cat "$work/root/ZVODL/Big.bin" > /dev/null # into the page cache: both read it warm
printf 'machine 127.0.0.1 login %s password %s\n' "$user" "$password" > "$work/netrc"

/usr/bin/python3 "$root/tests/support/ftps/ftps_server.py" --root "$work/root" \
  > "$work/server.out" 2> "$work/server.err" &
server_pid=$!
for _ in $(seq 100); do
  grep -q '^READY ' "$work/server.out" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/^READY //p' "$work/server.out")
[ -n "$port" ] || { cat "$work/server.err" >&2; exit 1; }

# wall seconds and max RSS in kB of one /usr/bin/time -v report
seconds_of() {
  awk -F': ' '/Elapsed \(wall clock\)/ {
    n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$1"
}
rss_of() { awk -F': ' '/Maximum resident set size/ { print $2 }' "$1"; }

run_ours() {
  /usr/bin/time -v -o "$work/time" "$client" 127.0.0.1 "$port" "$user" "$password" \
    /ZVODL/Big.bin "$work/ours.bin" > /dev/null
}
curl_command() {
  echo curl -sS --netrc-file "$work/netrc" --ftp-ssl-control -k \
    --tlsv1.0 --tls-max 1.2 --ciphers "'DEFAULT:@SECLEVEL=0'" --ftp-pasv \
    -o "$work/curl.bin" "ftp://127.0.0.1:$port/ZVODL/Big.bin"
}
run_curl() { /usr/bin/time -v -o "$work/time" sh -c "$(curl_command)"; }
run_curlsync() { /usr/bin/time -v -o "$work/time" sh -c "$(curl_command) && sync $work/curl.bin"; }

declare -A best rss
tools="curl curlsync ours"
for tool in $tools; do best[$tool]=999999; rss[$tool]=0; done
printf '%-6s %-9s %10s %12s %10s\n' round tool seconds 'MB/s' 'maxRSS kB'
for r in $(seq "$rounds"); do
  for tool in $tools; do
    if [ "$tool" = ours ]; then rm -f "$work/ours.bin"; else rm -f "$work/curl.bin"; fi
    sync
    "run_$tool"
    s=$(seconds_of "$work/time"); k=$(rss_of "$work/time")
    printf '%-6s %-9s %10.2f %12.1f %10s\n' "$r" "$tool" "$s" \
      "$(echo "$size_mb / $s" | bc -l)" "$k"
    best[$tool]=$(echo "if ($s < ${best[$tool]}) $s else ${best[$tool]}" | bc -l)
    [ "$k" -gt "${rss[$tool]}" ] && rss[$tool]=$k
  done
done

cmp "$work/root/ZVODL/Big.bin" "$work/ours.bin"
cmp "$work/root/ZVODL/Big.bin" "$work/curl.bin"
echo "both copies are byte-identical to the ${size_mb} MiB source"
printf 'peak RSS: ours %s kB, curl %s kB (ratio %.2f)\n' "${rss[ours]}" "${rss[curl]}" \
  "$(echo "${rss[ours]} / ${rss[curl]}" | bc -l)"
printf 'throughput of the best rounds, ours / curl: %.2f\n' \
  "$(echo "${best[curl]} / ${best[ours]}" | bc -l)"
printf 'throughput of the best rounds, ours / (curl + fsync): %.2f\n' \
  "$(echo "${best[curlsync]} / ${best[ours]}" | bc -l)"
